#pragma once
// Windows-1251 stands for the phone's 8-bit code page: theme maps, the container's
// signature and model, file lists. Inside the program text is UTF-8.
#include <string>
#include <string_view>

namespace ssf {

std::string Cp1251ToUtf8(std::string_view bytes);
// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, char32_t c);
// Characters with no Windows-1251 byte become '?'.
std::string Utf8ToCp1251(std::string_view utf8);
bool IsValidUtf8(std::string_view bytes);
// Number of characters (code points) of UTF-8 text; a stray byte counts as one.
size_t Utf8Length(std::string_view utf8);
// Cuts UTF-8 text to at most `max_bytes` bytes without splitting a character.
std::string Utf8Truncate(std::string_view utf8, size_t max_bytes);
// Upper case of Latin letters only, as the map keywords are compared.
std::string AsciiUpper(std::string_view text);
// The key that two file names of one folder must not share: on FAT and NTFS "Обои" and
// "ОБОИ" are one file (Windows-1251 with Latin and Cyrillic capitals made small).
std::string FoldedFileName(std::string_view utf8);

}  // namespace ssf
