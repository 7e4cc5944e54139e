#include "editor/RecentThemes.h"

#include <algorithm>
#include <string>

#include "base/SsfError.h"
#include "platform/PathText.h"

namespace ssf {

namespace fs = std::filesystem;

namespace {

std::string Key(size_t i) { return "File" + std::to_string(i + 1); }

void Write(IniDocument& settings, const std::vector<fs::path>& list) {
  try {
    for (size_t i = 0; i < kRecentThemesMax; ++i) {
      settings.WriteString(kRecentSection, Key(i), i < list.size() ? Utf8FromPath(list[i]) : std::string());
    }
  } catch (const SsfError&) {
    // See the header: the list is a convenience.
  }
}

}  // namespace

std::vector<fs::path> ReadRecentThemes(const IniDocument& settings) {
  std::vector<fs::path> list;
  for (size_t i = 0; i < kRecentThemesMax; ++i) {
    const std::string value = settings.ReadString(kRecentSection, Key(i));
    if (value.empty()) continue;
    // "/t/x/../a.ssf" and "/t/a.ssf" are one theme, shown once.
    const fs::path path = PathFromUtf8(value).lexically_normal();
    if (std::find(list.begin(), list.end(), path) == list.end()) list.push_back(path);
  }
  return list;
}

void RememberRecentTheme(IniDocument& settings, const fs::path& theme) {
  std::error_code ec;
  fs::path absolute = fs::absolute(theme, ec);
  if (ec) absolute = theme;
  absolute = absolute.lexically_normal();
  std::vector<fs::path> list = ReadRecentThemes(settings);
  list.erase(std::remove(list.begin(), list.end(), absolute), list.end());
  list.insert(list.begin(), absolute);
  if (list.size() > kRecentThemesMax) list.resize(kRecentThemesMax);
  Write(settings, list);
}

void ForgetRecentTheme(IniDocument& settings, const fs::path& theme) {
  std::vector<fs::path> list = ReadRecentThemes(settings);
  list.erase(std::remove(list.begin(), list.end(), theme.lexically_normal()), list.end());
  Write(settings, list);
}

}  // namespace ssf
