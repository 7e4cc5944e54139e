#pragma once
// The program's texts are UTF-8; a path is the system's (bytes on Linux, UTF-16 on Windows,
// where std::filesystem::path(std::string) reads the bytes in the ANSI code page). Every
// crossing between a text and a path goes through these two, never through path(string)
// or path.string().
#include <filesystem>
#include <string>
#include <string_view>

namespace ssf {

std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace ssf
