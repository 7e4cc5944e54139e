#pragma once
// UTF-8 <-> UTF-16 for the Windows API (Windows implementation files only).
#include <string>
#include <string_view>

namespace ssf {

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

}  // namespace ssf
