#pragma once
// "Загрузить": replacing a theme file from a file on disk. The input is checked against
// the theme file's map entry and converted to the kind the map demands, all in memory.
// An import is all or nothing: every check and conversion runs before anything changes,
// then the slot, the stored-file count, the preview and the modified flag change together.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "base/ByteIO.h"
#include "editor/Editor.h"

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

// Theme file index of the selected tree node, or -1 when no theme file node is selected
// (no selection, a group even without children, or a node past the file table).
int SelectedThemeFile(const Editor& ed);

// The button "Загрузить" for the selected theme file.
void btn_LoadFileClick(Editor& ed);

// Imports `file` into theme file k as if it had been chosen in the dialog (the same
// checks, messages and conversions; the remembered folder is not touched). Used by
// drag and drop and the command line. True when the file was stored.
bool ImportThemeFile(Editor& ed, int k, const std::filesystem::path& file);

// Makes `bytes` the content of theme file k and, when k is the selected theme file, shows
// `preview` (none: the picture stays) and the new size: raises the stored-file count when the slot was absent, sets the
// size field, hides "Файл отсутствует!", enables "Сохранить" and marks the theme modified.
void StoreSelectedFile(Editor& ed, int k, Bytes bytes, std::optional<PreviewPicture> preview);

}  // namespace ssf
