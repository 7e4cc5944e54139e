#include "shell/Application.h"

#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>
#include <exception>

namespace ssf {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Quillbay SSF Manager v2.0"));
}

bool Application::notify(QObject* receiver, QEvent* event) {
  QString error;
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    error = QString::fromUtf8(e.what());
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
