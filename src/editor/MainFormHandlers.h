#pragma once
// The main window's own commands: creating, opening and closing themes around the
// container operations, the header edits, the theme type and the page switch.
// They work on the Editor and talk to the user only through its Ui.
#include <filesystem>
#include <string>
#include <vector>

#include "editor/Editor.h"
#include "theme/HeaderEdit.h"

namespace ssf {

inline constexpr const char* kLoseChangesQuestion =
    "Тема была изменена.\r\nВы хотите продолжить, потеряв изменения?";
inline constexpr const char* kSaveBeforeExitQuestion = "Сохранить тему перед выходом?";
inline constexpr const char* kThemeFileFilter = "Файл темы (*.ssf)|*.ssf";
// Status after an edit of the header fields or the theme type.
inline constexpr const char* kHeaderChangedStatus = "Заголовок темы изменён.";
// Below this size a file cannot hold the container header.
inline constexpr int32_t kMinThemeFileSize = 148;

// "Создать тему": with one map the theme is created at once, with several the user
// picks the model in the map chooser.
void MM_Child_CreateThemeClick(Editor& editor);
// "Открыть тему".
void MM_Child_OpenThemeClick(Editor& editor);

// A theme named by path, from the recent themes or dropped on the window: asks before
// unsaved changes are lost, then opens it as "Открыть тему" would. A file that is gone is
// reported and leaves the recent themes.
void OpenThemePath(Editor& editor, const std::filesystem::path& path);
inline constexpr const char* kThemeGoneMessage = "Файл темы не найден:\r\n";

// Start-up: the parameters joined with blanks become StartupFile, opened when it
// names a ".ssf" file (any case).
void OpenStartupFile(Editor& editor, const std::vector<std::string>& params);

// A header edit's text changed to `text` (typing, paste, input method, undo). Returns
// the text the edit keeps (capped to its field) and writes it into the open theme.
std::string ED_ThemeAuthorKeyPress(Editor& editor, const HeaderField& field, const std::string& text);

// The type box: writes the item's index at offset 165.
void CBox_ThemeTypeChange(Editor& editor, int index);

// The user switched pages of the page control.
void PCtrlChange(Editor& editor, int page);

// The user selected the tree node with this flat index.
void SelectTreeNode(Editor& editor, int flat_index);

// The window is closing: asks to save a modified theme. Returns whether the window may
// close: Cancel keeps it open, and after Yes it stays open unless the theme was saved.
bool FormClose(Editor& editor);

}  // namespace ssf
