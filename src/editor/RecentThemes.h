#pragma once
// "Последние темы": the themes opened or saved last, newest first, kept in settings.ini.
#include <filesystem>
#include <vector>

#include "base/IniDocument.h"

namespace ssf {

inline constexpr const char* kRecentSection = "RecentThemes";
inline constexpr size_t kRecentThemesMax = 8;

std::vector<std::filesystem::path> ReadRecentThemes(const IniDocument& settings);
// Puts the theme first (once). A settings file that cannot be written is no reason to
// fail the open or save that called this: the list just stays as it was.
void RememberRecentTheme(IniDocument& settings, const std::filesystem::path& theme);
void ForgetRecentTheme(IniDocument& settings, const std::filesystem::path& theme);

}  // namespace ssf
