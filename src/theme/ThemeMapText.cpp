#include "base/Cp1251.h"
#include "base/RussianPlural.h"
#include "base/TextLineReader.h"
#include "theme/ThemeMap.h"

namespace ssf {

void ForEachMapLine(const std::filesystem::path& path,
                    const std::function<bool(const std::string& line, size_t number)>& line) {
  TextLineReader reader(path, kMaxMapFileSize, kMaxTextLineLength);
  std::string raw;
  bool utf8 = false;
  while (reader.Next(raw)) {
    if (reader.LineNumber() == 1 && raw.starts_with("\xEF\xBB\xBF")) {
      utf8 = true;
      raw.erase(0, 3);
    }
    if (!line(utf8 ? raw : Cp1251ToUtf8(raw), reader.LineNumber())) return;
  }
}

std::string MapErrorReport(const std::string& map_file_name, const std::vector<std::string>& errors,
                           size_t more_errors) {
  std::string text = "В карте темы [" + map_file_name + "] допущены ошибки!\r\n"
                     "Не были обработаны следующие строки или допущены следующие ошибки:\r\n\r\n";
  for (size_t i = 0; i < errors.size(); ++i) {
    text += std::to_string(i + 1) + ". " + errors[i] + "\r\n";
  }
  if (more_errors > 0) {
    text += "\r\n… и ещё " + CountText(static_cast<int64_t>(more_errors), "ошибка", "ошибки", "ошибок") + ".\r\n";
  }
  return text;
}

}  // namespace ssf
