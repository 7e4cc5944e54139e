// ssf-manager: the theme editor's window program.
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "shell/AboutDialog.h"
#include "shell/Application.h"
#include "shell/MainForm.h"
#include "shell/MapChooserDialog.h"
#include "shell/QtUi.h"
#include "desktop/SystemAssociation.h"
#include "desktop/SsfAssociation.h"
#include "editor/Editor.h"
#include "theme/MapsFolder.h"
#include "tools/forms/ColorsCopyForm.h"
#include "tools/forms/FileListEditorForm.h"
#include "base/IniDocument.h"
#include "platform/ProgramFolder.h"
#include "Version.h"

namespace {

// --help and --version answer on the terminal and end the program before any window opens.
bool AnsweredOnTerminal(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::cout << "Использование: ssf-manager [ТЕМА.ssf]\n\n"
                   "Quillbay SSF Manager: редактор тем телефонов. Открывает тему, указанную при запуске,\n"
                   "или начинает без темы.\n\n"
                   "Параметры:\n"
                   "  --help, -h   показать эту справку и выйти\n"
                   "  --version    показать версию и выйти\n\n"
                   "Работа из командной строки: ssftool --help.\n";
      return true;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::cout << "ssf-manager " << ssf::kVersion << "\n";
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (AnsweredOnTerminal(argc, argv)) return 0;
  ssf::Application app(argc, argv);
  ssf::Application::LoadRussianTranslation(app);

  ssf::QtUi ui;
  // The association mark is taken before settings.ini is read, as the window's creation
  // has always done; errors wait for the window.
  std::unique_ptr<ssf::SsfAssociation> association;
  bool associated = false;
  std::string association_error;
  try {
    association = ssf::SsfAssociationForThisProgram();
    associated = ssf::RegEditSSFCheckedAtStart(*association);
  } catch (const std::exception& e) {
    association_error = e.what();
  }

  ssf::IniDocument settings;
  std::string settings_error;
  try {
    // Without a place to keep them (no home folder) the settings live for this run only.
    if (const auto path = ssf::SettingsPath(); !path.empty()) settings = ssf::IniDocument::Load(path);
  } catch (const std::exception& e) {
    settings_error = e.what();  // reported once the window exists; the defaults apply
  }
  ssf::Editor editor{ui, settings, ssf::MapsFolder(), {}, {}};

  // The main window first, then the dialogs, as they are shown later on demand.
  ssf::TMainForm form(editor);
  ui.SetParent(&form);
  ui.SetBeforeModal([&form] { form.Render(); });
  form.SetAssociation(association.get(), associated);
  if (!association_error.empty()) ui.ShowMsg(association_error, ssf::kMsgError);
  if (!settings_error.empty()) ui.ShowMsg(settings_error, ssf::kMsgError);

  std::vector<std::string> params;
  const QStringList args = QCoreApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) params.push_back(args[i].toStdString());
  form.OpenStartupFile(params);

  ssf::TForm_AboutProgramm about(&form);
  form.SetAboutDialog(&about);
  TForm_FileList_Editor file_list_editor(&form, ui, settings);
  ssf::TForm_ChooseRXT chooser(&form);
  ui.SetChooser(&chooser);
  ssf::TForm_ColorsCopy colors_copy(&form, ui, settings);
  form.SetToolWindows(&file_list_editor, &colors_copy);

  form.show();
  return app.exec();
}
