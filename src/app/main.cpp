// ssf-manager: the theme editor's window program.
#include <exception>
#include <string>
#include <vector>

#include "shell/AboutDialog.h"
#include "shell/Application.h"
#include "shell/MainForm.h"
#include "shell/MapChooserDialog.h"
#include "shell/QtUi.h"
#include "theme/Editor.h"
#include "theme/IniDocument.h"
#include "theme/ProgramFolder.h"

int main(int argc, char** argv) {
  ssf::Application app(argc, argv);
  ssf::Application::LoadRussianTranslation(app);

  ssf::QtUi ui;
  const std::filesystem::path home = ssf::ProgramFolder();
  ssf::IniDocument settings;
  std::string settings_error;
  try {
    settings = ssf::IniDocument::Load(home / "settings.ini");
  } catch (const std::exception& e) {
    settings_error = e.what();  // reported once the window exists; the defaults apply
  }
  ssf::Editor editor{ui, settings, home / "ThemeMaps", {}, {}};

  // The main window first, then the dialogs, as they are shown later on demand.
  ssf::TMainForm form(editor);
  ui.SetParent(&form);
  if (!settings_error.empty()) ui.ShowMsg(settings_error, ssf::kMsgError);

  std::vector<std::string> params;
  const QStringList args = QCoreApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) params.push_back(args[i].toStdString());
  form.OpenStartupFile(params);

  ssf::TForm_AboutProgramm about(&form);
  form.SetAboutDialog(&about);
  ssf::TForm_ChooseRXT chooser(&form);
  ui.SetChooser(&chooser);

  form.show();
  return app.exec();
}
