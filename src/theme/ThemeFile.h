#pragma once
// A theme file opened as a value, without an editor: its map found in the maps folder by
// the model the container names, the map read, the container read against it.
#include <filesystem>
#include <optional>

#include "theme/Refusal.h"
#include "theme/Theme.h"

namespace ssf {

inline constexpr const char* kNoMapStatus = "Не найден файл карты темы. Дальнейшая работа невозможна.";
inline constexpr const char* kBadThemeMessage = "Некорректный файл темы!\r\nЗагрузка невозможна.";
// A structure failure names the file before what is wrong with it.
std::string ThemeFileError(const std::filesystem::path& file, const std::string& what);

// The map for the model a container names (its header must be whole), or nothing.
std::optional<std::filesystem::path> FindMapForTheme(ByteSpan bytes, const std::filesystem::path& maps_dir,
                                                     TagParams& params);

struct OpenedTheme {
  ThemeMap map;
  std::filesystem::path map_path;
  Theme theme;
};

// Refused as the window refuses: no map for the model (kNoMapStatus), a map with errors
// (its report), a bad signature or a zero offset (kBadThemeMessage). A file that cannot be
// read, or is cut short of what its header declares, throws SsfError naming it.
Converted<OpenedTheme> ReadThemeFile(const std::filesystem::path& file, const std::filesystem::path& maps_dir);

// The bytes a save writes to `target`, checked as an open of them would check: no larger
// than the largest theme the program opens (refused before they are put together), and
// readable against the map. A save never puts a theme on disk that the program then
// refuses to open; this throws SsfError naming the target instead, and the file stays.
Bytes SerializeThemeForSave(const Theme& theme, const ThemeMap& map, const std::filesystem::path& target);

// The map of a phone model, read and checked: refused with the map's report when it has
// errors, with a Russian text when no map names the model.
Converted<OpenedTheme> NewThemeForModel(const std::string& model, const std::filesystem::path& maps_dir);
// The same for a map file named directly.
Converted<OpenedTheme> NewThemeForMap(const std::filesystem::path& map_file);

}  // namespace ssf
