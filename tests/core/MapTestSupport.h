#pragma once
// Theme maps for tests: the example map of a made-up phone, written as the phone tools
// write maps (Windows-1251, CR LF).
#include <filesystem>
#include <string>

#include "TestSupport.h"
#include "base/Cp1251.h"

namespace ssf::test {

inline const char kExampleMap[] =
    "; example theme map\n"
    "<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"EXAMPLE-100\">\n"
    "<THEMESETTINGS FilesTable=\"0xFD0\" FilesStart=\"0xFE0\" \"3\" \"YES\">\n"
    "<COLORTHEMESSETTINGS \"NO\">\n"
    "<GROUP \"Рабочий стол\">\n"
    "  <FILE \"Обои\" \"1\" \"JPG\" \"240\" \"320\">\n"
    "  <FILE \"Фон меню\" \"2\" \"RAW\" \"240\" \"320\">\n"
    "</GROUP>\n"
    "<FILE \"Цвета\" \"3\" \"COLORTAB\" \"1024\">\n";

// The example map with the first occurrence of `from` replaced by `to`.
inline std::string ExampleMapWith(const std::string& from, const std::string& to) {
  std::string text = kExampleMap;
  size_t p = text.find(from);
  if (p == std::string::npos) throw std::runtime_error("not in the example map: " + from);
  return text.replace(p, from.size(), to);
}

// Writes UTF-8 map text as Windows-1251 with CR LF line ends.
inline void WriteMap(const std::filesystem::path& path, const std::string& utf8) {
  std::string crlf;
  for (char c : utf8) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  WriteText(path, Utf8ToCp1251(crlf));
}

}  // namespace ssf::test
