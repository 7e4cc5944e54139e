#pragma once
// Splitting of tag lines such as <FILE Name="Обои" "1" "JPG" "240" "320">: keyword,
// quoted parameters, and the general cut-at-character routine. Lines are UTF-8 text;
// every character these routines look for is ASCII, so they work on bytes.
#include <array>
#include <string>
#include <string_view>

namespace ssf {

// The not-found result of CutAtChar and of everything built on it.
inline constexpr std::string_view kNotFound = "ERROR";

// Parameter slots of the last tag line read; slots beyond a line's count keep old values.
using TagParams = std::array<std::string, 6>;

// Cuts `text` at the first `ch` (a NUL ends the text). Mode 1: from ch to the end;
// 2: after ch; 3: up to and including ch; 4: before ch; other modes: the whole text.
// "ERROR" when ch does not occur.
std::string CutAtChar(std::string_view text, char ch, int mode);
std::string GetTagKeyword(std::string_view line);
// Number of quoted parameters, or -1 for an odd number of double quotes.
int GetParamCount(std::string_view line);
// Stores the line's parameters in slots 0..n-1 (at most six); nothing for a count of 0 or -1.
void ReadTagParams(std::string_view line, TagParams& params);
bool IsSkippedTagLine(std::string_view line);
bool IsSkippedListLine(std::string_view line);

}  // namespace ssf
