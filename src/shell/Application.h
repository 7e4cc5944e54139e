#pragma once
// The editor's QApplication: the Russian standard texts of Qt's own dialogs, and a last
// guard so an exception that slips past a handler is reported instead of ending the
// program.
#include <QApplication>

namespace ssf {

// The application's name, which Qt makes the X11 window class; the desktop entry's
// StartupWMClass repeats it so docks match the window to the entry.
inline constexpr const char* kApplicationName = "Quillbay SSF Manager v2.0";

class Application : public QApplication {
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;

  // Installs Qt's own Russian translation ("Да", "Нет", "Отмена", ...); false when it
  // is not installed.
  static bool LoadRussianTranslation(QCoreApplication& app);
};

}  // namespace ssf
