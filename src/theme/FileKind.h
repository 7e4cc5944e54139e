#pragma once
// The kinds of theme file a map names. The map keeps the kind as text (another word is
// allowed and then simply not loadable); code that acts on a kind asks this enum.
#include <string_view>

namespace ssf {

enum class FileKind { kJpg, kRaw, kAni2, kIfg, kColorTab, kOther };

// The kind of a map entry's text, compared exactly (the map entry holds it upper-cased).
FileKind KindOf(std::string_view kind);

// Pictures with a width and a height in the map: JPG, RAW, ANI2, IFG.
bool IsPictureKind(FileKind kind);
// The opaque pictures, which import, export and fit treat alike: JPG, RAW, IFG.
bool IsOpaquePictureKind(FileKind kind);
// Stored as RGB565 (RAW, IFG, ANI2): where dithering helps.
bool IsRgb565Kind(FileKind kind);
inline bool IsRgb565Kind(std::string_view kind) { return IsRgb565Kind(KindOf(kind)); }

}  // namespace ssf
