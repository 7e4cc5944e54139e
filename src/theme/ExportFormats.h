#pragma once
// What "Сохранить" writes for a theme file: the filters its dialog offers per kind, the
// extension each filter forces, and the bytes. Pictures come from what the preview shows;
// ANI2 and COLORTAB can also be written as stored.
#include <string>

#include "base/ByteIO.h"
#include "pictures/Image.h"
#include "theme/Theme.h"
#include "theme/ThemeFilePicture.h"

namespace ssf {

inline constexpr const char* kPictureExportFilter =
    "BMP-изображение (*.bmp)|*.bmp|JPEG-изображение (*.jpg, *.jpeg)|*.jpg;*.jpeg|PNG-изображение (*.png)|*.png|"
    "RAW-изображение (*.raw)|*.raw|IFEG-изображение (*.ifg)|*.ifg";
inline constexpr const char* kAni2ExportFilter =
    "PNG-изображение (*.png)|*.png|ANI2-изображение (c) Harlund (*.ani2)|*.ani2";
inline constexpr const char* kColorTabFilter = "Файл цветов ColorTab (*.tab)|*.tab";

// The file name "Сохранить" proposes for a theme file of any kind: the caption without the
// characters a file name cannot hold, "_" for a caption that would name a folder.
std::string ProposedFileName(const std::string& caption);

// The export dialog's filter for a kind; empty for a kind that cannot be exported.
std::string ExportFilter(const std::string& kind);
// The extension (with its dot) that filter `filter_index` (1-based) of the kind forces;
// empty when the kind has no such filter.
std::string ExportExtension(const std::string& kind, int filter_index);
// The 1-based filter of the kind that writes files with this extension (any case; ".jpeg"
// counts as ".jpg"), or 0 when there is none.
int ExportFilterForExtension(const std::string& kind, const std::string& extension);
// Whether filter `filter_index` of the kind writes from the picture (else the stored bytes).
bool ExportsFromPicture(const std::string& kind, int filter_index);

// The bytes filter `filter_index` of the kind writes for a theme file shown as `preview`
// and stored as `stored`. Throws SsfError for a kind or filter that has no export and for
// a picture that cannot be encoded.
Bytes ExportThemeFileBytes(const std::string& kind, int filter_index, const PreviewPicture& preview,
                           ByteSpan stored);

inline constexpr const char* kIconSaveFilter =
    "BMP-изображение (*.bmp)|*.bmp|JPEG-изображение (*.jpg, *.jpeg)|*.jpg;*.jpeg|"
    "PNG-изображение (*.png)|*.png|RAW-изображение (*.raw)|*.raw|IFEG-изображение (*.ifg)|*.ifg";
// The icon save filter's index (1..5) for an extension such as ".jpeg" (any case); 0 for another.
int IconSaveFilterIndex(const std::string& extension);
// The extension (with its dot) icon save filter 1..5 writes.
std::string IconExtension(int filter_index);
// The bytes of the icon in the format of save filter `filter_index` (1 BMP, 2 JPEG, 3 PNG,
// 4 raw, 5 IFEG): the raw icon area as stored, the others from `shown` (the picture as
// loaded, or the stored icon when `shown` is not 44x44).
Bytes IconFileBytes(const Theme& theme, const Image& shown, int filter_index);

}  // namespace ssf
