#pragma once
// The header fields of a theme: read and written in its header bytes, nowhere else.
#include <cstdint>
#include <string>
#include <string_view>

#include "pictures/Image.h"
#include "theme/HeaderEdit.h"
#include "theme/Theme.h"

namespace ssf {

// The text of a header field (author, name, version) up to its first zero byte, UTF-8.
std::string HeaderText(const Theme& theme, const HeaderField& field);
// Writes the text into its field, zero-padded. Text longer than the field allows is cut on a
// character boundary (CapEditText decides what an edit keeps before it gets here).
void SetHeaderText(Theme& theme, const HeaderField& field, std::string_view text);

// The phone model at offset 14, Windows-1251 bytes.
std::string ThemeModel(const Theme& theme);

// The theme type at offset 165 as the type box shows it: 0 black, 1 white, -1 another value.
int ThemeTypeIndex(const Theme& theme);
// Writes 0 (black) or 1 (white); another index is ignored.
void SetThemeType(Theme& theme, int index);

// The icon area exists only in themes whose map declares an icon.
bool HasIconArea(const Theme& theme, const ThemeMap& map);
// Why the icon of a theme without an icon area can be neither loaded nor written out.
inline constexpr const char* kNoIconAreaText = "У этой темы нет иконки (карта темы её не объявляет)";
// The icon as stored: 44x44, each RGB565 value widened by shifting (low bits zero).
Image ThemeIconPicture(const Theme& theme);
// The icon area's 3872 bytes.
Bytes ThemeIconBytes(const Theme& theme);
// Writes a 44x44 picture into the icon area as RGB565; another size throws SsfError.
void SetThemeIcon(Theme& theme, const Image& picture);
// The icon area becomes zeros (a black icon).
void ClearThemeIcon(Theme& theme);

}  // namespace ssf
