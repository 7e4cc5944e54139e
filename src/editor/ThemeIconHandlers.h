#pragma once
// The theme icon on the page "Другое": load from a picture file, save in five formats,
// clear. The icon is the 44x44 RGB565 area at offset 168 of the open theme.
#include <filesystem>
#include <string>

#include "editor/Editor.h"
#include "pictures/Image.h"
#include "theme/ExportFormats.h"

namespace ssf {

// Writes a 44x44 picture into the icon area, marks the theme modified and shows the icon
// as loaded.
void StoreThemeIcon(Editor& ed, const Image& picture);

// Left click on the icon and "Загрузить изображение".
void IMG_ThemeIconClick(Editor& ed);
// Loads the icon from `file` by its extension, as if chosen in the dialog (the remembered
// folder is not touched). True when the icon was stored; false when a check refused the
// file (its message shown) or the extension is not one of the six.
bool LoadThemeIconFile(Editor& ed, const std::filesystem::path& file);

// "Сохранить изображение".
void PM_ExctractIMGClick(Editor& ed);

// "Удалить иконку": the area becomes zeros (a black icon) and the theme is modified.
void PM_DelIMGClick(Editor& ed);

}  // namespace ssf
