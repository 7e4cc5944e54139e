#pragma once
// The theme icon on the page "Другое": load from a picture file, save in five formats,
// clear. The icon is the 44x44 RGB565 area at offset 168 of the open container.
#include <filesystem>
#include <string>

#include "editor/Editor.h"
#include "pictures/Image.h"

namespace ssf {

inline constexpr const char* kIconSaveFilter =
    "BMP-изображение (*.bmp)|*.bmp|JPEG-изображение (*.jpg, *.jpeg)|*.jpg;*.jpeg|"
    "PNG-изображение (*.png)|*.png|RAW-изображение (*.raw)|*.raw|IFEG-изображение (*.ifg)|*.ifg";

// Writes a 44x44 picture into the icon area, marks the theme modified and shows the icon
// as stored.
void StoreThemeIcon(Editor& ed, const Image& picture);

// Left click on the icon and "Загрузить изображение".
void IMG_ThemeIconClick(Editor& ed);
// Loads the icon from `file` by its extension, as if chosen in the dialog (the remembered
// folder is not touched). True when the icon was stored; false when a check refused the
// file (its message shown) or the extension is not one of the six.
bool LoadThemeIconFile(Editor& ed, const std::filesystem::path& file);

// "Сохранить изображение".
void PM_ExctractIMGClick(Editor& ed);
// The save filter's index (1..5) for an extension such as ".jpeg" (any case); 0 for another.
int IconSaveFilterIndex(const std::string& extension);
// Writes the icon to `file` in the format of save filter `filter_index` (1 BMP, 2 JPEG,
// 3 PNG, 4 raw, 5 IFEG), atomically.
void SaveThemeIconFile(const Editor& ed, const std::filesystem::path& file, int filter_index);

// "Удалить иконку": the area becomes zeros (a black icon) and the theme is modified.
void PM_DelIMGClick(Editor& ed);

}  // namespace ssf
