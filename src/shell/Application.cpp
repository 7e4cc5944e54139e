#include "shell/Application.h"

#include "base/MemoryShortage.h"
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>
#include <exception>

namespace ssf {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // Wayland matches the desktop entry by its file name, X11 by the class (the name).
  setApplicationName(QString::fromUtf8(kApplicationName));
  setDesktopFileName(QStringLiteral("quillbay-ssf-manager"));
}

bool Application::notify(QObject* receiver, QEvent* event) {
  QString error;
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    error = QString::fromUtf8(ssf::ErrorText(e));
  } catch (...) {
    error = QStringLiteral("Неизвестная ошибка.");
  }
  QMessageBox::critical(nullptr, QStringLiteral("Ошибка"), error);
  return false;
}

bool Application::LoadRussianTranslation(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  app.installTranslator(translator);
  return true;
}

}  // namespace ssf
