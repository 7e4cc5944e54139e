#pragma once
// The context every handler of the main window takes: the user interface, the settings
// file, the map folder, the editor state and what the window shows.
#include <filesystem>

#include "base/IniDocument.h"
#include "base/Ui.h"
#include "editor/EditorState.h"
#include "editor/ViewState.h"
#include "theme/PictureFit.h"

namespace ssf {

struct Editor {
  Ui& ui;
  IniDocument& settings;
  std::filesystem::path maps_dir;
  EditorState state;
  ViewState view;
  // How imports treat pictures of another size than their theme file's: refused unless set.
  FitPolicy fit = {};
};

// Rebuilds the chooser's model list (state.MapModels) and state.MapPaths from maps_dir.
void ListThemeMaps(Editor& ed);
// Loads a map into the editor, reporting map errors through its Ui.
void LoadThemeMap(Editor& ed, const std::filesystem::path& path);
// Theme file index of the node selected in the tree (view.TV_selected), or -1 when no
// theme file node with an entry and a slot is selected.
int SelectedThemeFile(const Editor& ed);

// Creates a new theme from the map of chooser item `item_index` (MapPaths[item_index + 1]).
void lk_CreateNewTheme(Editor& ed, int item_index);
// Opens a theme container. Map, signature and offset failures are reported to the user;
// a file that cannot be read or is cut short throws SsfError after putting the window
// into its no-theme state.
void OpenThemeFile(Editor& ed, const std::filesystem::path& path);
// "Сохранить как…": saves the open theme to a file the user chooses; the dialog starts in
// the theme's folder with its file name.
void MM_Child_SaveThemeClick(Editor& ed);
// "Сохранить": writes the open theme back to its file; a new theme asks as "Сохранить как…".
void MM_Child_SaveClick(Editor& ed);
// Writes the open theme to `target` as the save command does once its dialog is confirmed:
// refused with the command's message while theme files are missing, and with SsfError when
// the result could not be opened again. Over the theme's own file (ThemePath) after another
// program changed it since it was opened or saved, asks first (kThemeChangedOnDisk). True
// when written; the theme's file is then `target`.
inline constexpr const char* kThemeChangedOnDisk =
    "Файл темы изменён другой программой после того, как тема была открыта или сохранена:\r\n";
bool SaveThemeAs(Editor& ed, const std::filesystem::path& target);
// After a save dialog confirmed `chosen` and its extension was forced to give `forced`:
// asks before replacing an existing file of the forced name. True to go on.
bool ConfirmForcedName(Ui& ui, const std::filesystem::path& chosen, const std::filesystem::path& forced);
// Remembers the folder of a chosen file under `section`/`key` of the settings. The folder
// is a convenience: a settings file that cannot be written must not stop the command.
void RememberFolder(IniDocument& settings, const char* section, const char* key, const std::filesystem::path& folder);
// Shows the icon area of the open theme in view.IMG_ThemeIcon.
void ShowThemeIcon(Editor& ed);
// Fills the header edits, the type box and the icon from the open theme.
void ShowThemeHeader(Editor& ed);

}  // namespace ssf
