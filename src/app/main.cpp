// ssf-manager: the theme editor's window program.
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "shell/AboutDialog.h"
#include "shell/Application.h"
#include "shell/MainForm.h"
#include "shell/MapChooserDialog.h"
#include "shell/QtUi.h"
#include "desktop/DesktopAssociation.h"
#include "desktop/SsfAssociation.h"
#include "editor/Editor.h"
#include "theme/MapsFolder.h"
#include "tools/forms/ColorsCopyForm.h"
#include "tools/forms/FileListEditorForm.h"
#include "base/IniDocument.h"
#include "base/ProgramFolder.h"

int main(int argc, char** argv) {
  ssf::Application app(argc, argv);
  ssf::Application::LoadRussianTranslation(app);

  ssf::QtUi ui;
  // The association mark is taken before settings.ini is read, as the window's creation
  // has always done; errors wait for the window.
  std::unique_ptr<ssf::SsfAssociation> association;
  bool associated = false;
  std::string association_error;
  try {
    association = ssf::DesktopAssociation::ForThisProgram();
    associated = ssf::RegEditSSFCheckedAtStart(*association);
  } catch (const std::exception& e) {
    association_error = e.what();
  }

  ssf::IniDocument settings;
  std::string settings_error;
  try {
    settings = ssf::IniDocument::Load(ssf::SettingsPath());
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
