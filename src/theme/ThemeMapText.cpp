#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "theme/ThemeMap.h"

namespace ssf {

std::vector<std::string> ReadMapLines(const std::filesystem::path& path) {
  Bytes bytes = ReadWholeFile(path, kMaxTextFileSize);
  std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::string text;
  if (raw.substr(0, 3) == "\xEF\xBB\xBF") {
    text = std::string(raw.substr(3));
  } else {
    text = Cp1251ToUtf8(raw);
  }
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t lf = text.find('\n', start);
    size_t end = lf == std::string::npos ? text.size() : lf;
    size_t cut = end;
    if (lf != std::string::npos && cut > start && text[cut - 1] == '\r') --cut;
    lines.push_back(text.substr(start, cut - start));
    if (lf == std::string::npos) break;
    start = lf + 1;
  }
  return lines;
}

std::string MapErrorReport(const std::string& map_file_name, const std::vector<std::string>& errors) {
  std::string text = "В карте темы [" + map_file_name + "] допущены ошибки!\r\n"
                     "Не были обработаны следующие строки или допущены следующие ошибки:\r\n\r\n";
  for (size_t i = 0; i < errors.size(); ++i) {
    text += std::to_string(i + 1) + ". " + errors[i] + "\r\n";
  }
  return text;
}

}  // namespace ssf
