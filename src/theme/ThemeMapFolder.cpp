#include <algorithm>

#include "base/Cp1251.h"
#include "theme/ThemeMap.h"
#include "platform/PathText.h"

namespace ssf {

namespace fs = std::filesystem;

std::string ReadMapMobile(const fs::path& path, TagParams& params) {
  std::string mobile(kNotFound);
  // Stops at the first THEMESIGN line: the rest of the map is not read.
  ForEachMapLine(path, [&](const std::string& line, size_t) {
    if (IsSkippedTagLine(line)) return true;
    std::string keyword = AsciiUpper(GetTagKeyword(line));
    ReadTagParams(line, params);
    if (keyword != "THEMESIGN") return true;
    mobile = params[1];
    return false;
  });
  return mobile;
}

std::vector<fs::path> ListMapFiles(const fs::path& maps_dir) {
  std::vector<fs::path> maps;
  std::error_code ec;
  fs::directory_iterator it(maps_dir, ec);
  if (ec) return maps;
  for (const fs::directory_entry& e : it) {
    // The extension matches in any case, as file-name patterns do on the phone tools' home system.
    if (AsciiUpper(Utf8FromPath(e.path().extension())) != ".RXT") continue;
    // Only regular files: a FIFO or device among the maps would block or never end.
    if (!e.is_regular_file(ec)) continue;
    maps.push_back(e.path());
  }
  // By file name, byte-wise, so the order is the same on every machine.
  std::sort(maps.begin(), maps.end(),
            [](const fs::path& a, const fs::path& b) { return Utf8FromPath(a.filename()) < Utf8FromPath(b.filename()); });
  return maps;
}

std::vector<ListedMap> ListThemeMapFiles(const fs::path& maps_dir, TagParams& params) {
  std::vector<ListedMap> listed;
  for (const fs::path& map : ListMapFiles(maps_dir)) {
    std::string mobile = ReadMapMobile(map, params);
    if (mobile != kNotFound) listed.push_back({std::move(mobile), map});
  }
  return listed;
}

std::optional<fs::path> FindMapForMobile(const fs::path& maps_dir, std::string_view model, TagParams& params) {
  for (const fs::path& map : ListMapFiles(maps_dir)) {
    if (ReadMapMobile(map, params) == model) return map;
  }
  return std::nullopt;
}

}  // namespace ssf
