#include "theme/ThemeFile.h"

#include <algorithm>

#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "base/Limits.h"
#include "theme/ThemeHeader.h"

namespace ssf {

namespace fs = std::filesystem;

namespace {

// The map read from a file, or its report; a fresh reader keeps no values of an earlier map.
Converted<ThemeMap> ReadSoundMap(const fs::path& map_file) {
  TagParams params;
  ParsedThemeMap parsed = ParseThemeMap(ReadMapLines(map_file), ThemeMap{}, params, map_file);
  if (!parsed.errors.empty()) {
    return {std::nullopt, Refusal{kMsgError, MapErrorReport(map_file.filename().string(), parsed.errors)}};
  }
  return {std::move(parsed.map), std::nullopt};
}

Converted<OpenedTheme> NewFromMap(const fs::path& map_file) {
  Converted<ThemeMap> map = ReadSoundMap(map_file);
  if (!map.value) return {std::nullopt, std::move(map.refusal)};
  Theme theme = NewTheme(*map.value);
  return {OpenedTheme{std::move(*map.value), map_file, std::move(theme)}, std::nullopt};
}

}  // namespace

std::string ThemeFileError(const fs::path& file, const std::string& what) {
  return "Файл темы " + file.string() + ": " + what;
}

std::optional<fs::path> FindMapForTheme(ByteSpan bytes, const fs::path& maps_dir, TagParams& params) {
  return FindMapForMobile(maps_dir, Cp1251ToUtf8(ReadTextField(bytes, kModelOffset, kModelSize)), params);
}

Converted<OpenedTheme> ReadThemeFile(const fs::path& file, const fs::path& maps_dir) {
  const Bytes bytes = ReadWholeFile(file, kMaxContainerSize);
  if (std::optional<std::string> fault = ShortHeaderFault(bytes)) throw SsfError(ThemeFileError(file, *fault));
  TagParams params;
  const std::optional<fs::path> map_file = FindMapForTheme(bytes, maps_dir, params);
  if (!map_file) return {std::nullopt, Refusal{kMsgError, kNoMapStatus}};
  Converted<ThemeMap> map = ReadSoundMap(*map_file);
  if (!map.value) return {std::nullopt, std::move(map.refusal)};
  try {
    Theme theme = ParseTheme(bytes, *map.value);
    return {OpenedTheme{std::move(*map.value), *map_file, std::move(theme)}, std::nullopt};
  } catch (const ThemeParseError& e) {
    if (e.kind() == ThemeParseError::Kind::kStructure) throw SsfError(ThemeFileError(file, e.what()));
    return {std::nullopt, Refusal{kMsgError, kBadThemeMessage}};
  }
}

Bytes SerializeThemeForSave(const Theme& theme, const ThemeMap& map, const fs::path& target) {
  const std::string refused = "Тема не сохранена: " + target.string() + "\r\n";
  int64_t size = std::max<int64_t>(theme.FilesStart(), int64_t{0});
  for (const TThemeNewFiles& f : theme.NewFiles) size += static_cast<int64_t>(f.f_file.size());
  if (size > kMaxContainerSize) {
    throw SsfError(refused + "Тема заняла бы " + std::to_string(size) + " байт, а открыть можно тему не более " +
                   std::to_string(kMaxContainerSize) + " байт.");
  }
  Bytes bytes = SerializeTheme(theme);
  try {
    (void)ParseTheme(bytes, map);
  } catch (const ThemeParseError& e) {
    throw SsfError(refused + "Сохранённую тему нельзя было бы открыть: " + e.what());
  }
  return bytes;
}

Converted<OpenedTheme> NewThemeForModel(const std::string& model, const fs::path& maps_dir) {
  TagParams params;
  for (const ListedMap& listed : ListThemeMapFiles(maps_dir, params)) {
    if (listed.model == model) return NewFromMap(listed.path);
  }
  return {std::nullopt, Refusal{kMsgError, "Нет карты темы для модели '" + model + "' в " + maps_dir.string()}};
}

Converted<OpenedTheme> NewThemeForMap(const fs::path& map_file) { return NewFromMap(map_file); }

}  // namespace ssf
