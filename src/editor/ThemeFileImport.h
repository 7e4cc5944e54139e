#pragma once
// "Загрузить": replacing a theme file from a file on disk. The conversion
// (theme/ThemeFileConversion.h) checks and converts everything first; only then do the
// slot, the stored-file count, the preview and the modified flag change together.
#include <filesystem>
#include <optional>

#include "base/ByteIO.h"
#include "editor/Editor.h"
#include "theme/ThemeFileConversion.h"

namespace ssf {

// The button "Загрузить" for the selected theme file.
void btn_LoadFileClick(Editor& ed);

// Imports `file` into theme file k as if it had been chosen in the dialog (the same
// checks, messages and conversions; the remembered folder is not touched). Used by
// drag and drop. True when the file was stored.
bool ImportThemeFile(Editor& ed, int k, const std::filesystem::path& file);

// Makes `bytes` the content of theme file k and, when k is the selected theme file, shows
// `preview` (none: the picture stays) and the new size: raises the stored-file count when the slot was absent, sets the
// size field, hides "Файл отсутствует!", enables "Сохранить" and marks the theme modified.
void StoreSelectedFile(Editor& ed, int k, Bytes bytes, std::optional<PreviewPicture> preview);

}  // namespace ssf
