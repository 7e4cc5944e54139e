#pragma once
// "Сохранить" on the information panel: writes the selected theme file out. Pictures
// come from what the preview shows; ANI2 and COLORTAB can also be written as stored.
#include <filesystem>
#include <string>

#include "base/ByteIO.h"
#include "editor/Editor.h"
#include "editor/EditorState.h"
#include "editor/ViewState.h"

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

// The bytes filter `filter_index` of the kind writes for a theme file shown as `preview`
// and stored as `stored`. Throws SsfError for a kind or filter that has no export and for
// a picture that cannot be encoded.
Bytes ExportThemeFileBytes(const std::string& kind, int filter_index, const PreviewPicture& preview,
                           ByteSpan stored);

// The button's handler: asks for a file name and writes the selected theme file there,
// its extension forced by the chosen filter. Changes nothing in the theme.
void btn_SaveFileClick(Editor& ed);

}  // namespace ssf
