#include "theme/ThemeFile.h"

#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "base/MemoryShortage.h"
#include "base/Limits.h"
#include "theme/ThemeHeader.h"
#include "platform/PathText.h"

namespace ssf {

namespace fs = std::filesystem;

namespace {

// The map read from a file, or its report; a fresh reader keeps no values of an earlier map.
Converted<ThemeMap> ReadSoundMap(const fs::path& map_file) {
  TagParams params;
  ParsedThemeMap parsed = ReadThemeMap(map_file, ThemeMap{}, params);
  if (!parsed.errors.empty()) {
    return {std::nullopt, Refusal{kMsgError, MapErrorReport(Utf8FromPath(map_file.filename()), parsed.errors, parsed.more_errors)}};
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

// Why no map opens this file, said so that the user knows what to do: a file that is no
// theme at all (its signature is not text), no maps folder, or no map for its model.
static std::string NoMapText(ByteSpan bytes, const fs::path& file, const fs::path& maps_dir) {
  bool signature_is_text = true;
  for (size_t i = kSignatureOffset; i < kSignatureOffset + kSignatureSize; ++i) {
    if (bytes[i] < 0x20 || bytes[i] > 0x7E) signature_is_text = false;
  }
  const std::string model = Cp1251ToUtf8(ReadTextField(bytes, kModelOffset, kModelSize));
  if (!signature_is_text || model.empty()) {
    return "Файл " + Utf8FromPath(file) + " не является темой: в его заголовке нет подписи темы и модели телефона";
  }
  std::error_code ec;
  if (!fs::is_directory(maps_dir, ec)) {
    return "Нет папки карт тем " + Utf8FromPath(maps_dir) + ", а в ней карты для модели '" + model + "' этой темы";
  }
  return "Нет карты темы для модели '" + model + "' в папке " + Utf8FromPath(maps_dir);
}

std::string ThemeFileError(const fs::path& file, const std::string& what) {
  return "Файл темы " + Utf8FromPath(file) + ": " + what;
}

std::optional<fs::path> FindMapForTheme(ByteSpan bytes, const fs::path& maps_dir, TagParams& params) {
  return FindMapForMobile(maps_dir, Cp1251ToUtf8(ReadTextField(bytes, kModelOffset, kModelSize)), params);
}

namespace {

Converted<OpenedTheme> ReadTheme(const fs::path& file, const fs::path& maps_dir) {
  const Bytes bytes = ReadWholeFile(file, kMaxContainerSize);
  if (std::optional<std::string> fault = ShortHeaderFault(bytes)) throw SsfError(ThemeFileError(file, *fault));
  TagParams params;
  const std::optional<fs::path> map_file = FindMapForTheme(bytes, maps_dir, params);
  if (!map_file) return {std::nullopt, Refusal{kMsgError, NoMapText(bytes, file, maps_dir)}};
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

}  // namespace

Converted<OpenedTheme> ReadThemeFile(const fs::path& file, const fs::path& maps_dir) {
  return ReadingFile(file, [&] { return ReadTheme(file, maps_dir); });
}

Converted<OpenedTheme> NewThemeForModel(const std::string& model, const fs::path& maps_dir) {
  TagParams params;
  for (const ListedMap& listed : ListThemeMapFiles(maps_dir, params)) {
    if (listed.model == model) return NewFromMap(listed.path);
  }
  return {std::nullopt, Refusal{kMsgError, "Нет карты темы для модели '" + model + "' в " + Utf8FromPath(maps_dir)}};
}

Converted<OpenedTheme> NewThemeForMap(const fs::path& map_file) { return NewFromMap(map_file); }

}  // namespace ssf
