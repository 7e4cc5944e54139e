#pragma once
// Turning a file on disk into a theme file's bytes, as "Загрузить" takes it: the input is
// checked against the theme file's map entry and converted to the kind the map demands, in
// memory. The result is the bytes and what the preview shows, or a refusal for the user;
// nothing here talks to the user or changes a theme.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "base/ByteIO.h"
#include "pictures/Image.h"
#include "theme/PictureFit.h"
#include "theme/Refusal.h"
#include "theme/ThemeFilePicture.h"
#include "theme/ThemeMap.h"

namespace ssf {

inline constexpr const char* kImportFilterPictures =
    "Поддерживаемые изображения (*.bmp, *.jpg, *.jpeg, *.png, *.raw, *.ifg)|"
    "*.bmp;*.jpg;*.jpeg;*.png;*.raw;*.ifg|BMP-изображение (*.bmp)|*.bmp|"
    "JPEG-изображение (*.jpg, *.jpeg)|*.jpg;*.jpeg|PNG-изображение (*.png)|*.png|"
    "RAW-изображение (*.raw)|*.raw|IFEG-изображение (*.ifg)|*.ifg";
inline constexpr const char* kImportFilterAni2 =
    "Поддерживаемые изображения (*.png, *.ani2)|*.png;*.ani2|PNG-изображение (*.png)|*.png|"
    "ANI2-изображение (c) Harlund (*.ani2)|*.ani2";
inline constexpr const char* kImportFilterColorTab = "Файл цветов ColorTab (*.tab)|*.tab";

inline constexpr const char* kNotBmpMessage = "Выбранный файл не является BMP-изображением!";
inline constexpr const char* kNotJpegMessage = "Выбранный файл не является JPG-изображением!";
inline constexpr const char* kNotPngMessage = "Выбранный файл не является PNG-изображением!";
inline constexpr const char* kNotIfegMessage = "Выбранный файл не является IFEG-изображением!";
inline constexpr const char* kNotAni2Message = "Выбранный файл не является ANI2-изображением!";
// Two texts for a wrong length: the short one only for a RAW file into a JPG theme file.
inline constexpr const char* kWrongFileSizeMessage = "Некорректный размер файла. Загрузка невозможна.";
inline constexpr const char* kWrongLoadSizeMessage =
    "Некорректный размер загружаемого файла. Загрузка невозможна.";

// "Размеры загружаемого изображения должны соответствовать заданным в карте темы!\r\n
// Загружаемый размер: WxH, необходим: WxH".
std::string PictureSizeMessage(int64_t width, int64_t height, int64_t need_width, int64_t need_height);

// The open dialog's filter for a theme file kind; empty for a kind that cannot be loaded.
const char* ImportFilter(const std::string& kind);

struct ThemeFileBytes {
  Bytes stored;
  std::optional<PreviewPicture> preview;  // none: the panel keeps its picture (COLORTAB)
};

struct ImportOptions {
  // Pictures converted to IFEG may differ from the input by this much per channel.
  uint32_t ifg_max_error = 0;
  // How pictures of another size than the entry's are fitted; by default refused.
  FitPolicy fit;
};

// `file` as theme file bytes for `entry`. A file that cannot be read or a damaged picture
// throws SsfError naming the file.
Converted<ThemeFileBytes> ConvertForThemeFile(const std::filesystem::path& file, const TTHemeFiles& entry,
                                              const ImportOptions& options);

// A fitted picture as the bytes of a picture kind (JPG, RAW, IFG, ANI2), as an import
// stores it: JPEG quality 100, lossless IFEG, ANI2 with its alpha when `has_alpha_channel`.
Bytes EncodeThemePicture(const Image& picture, const std::string& kind, bool has_alpha_channel);

// A picture file (BMP, JPEG, PNG, RAW, IFEG by its extension) as the 44x44 theme icon.
Converted<Image> ConvertIconPicture(const std::filesystem::path& file);

}  // namespace ssf
