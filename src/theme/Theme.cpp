#include "theme/Theme.h"

#include <algorithm>
#include <cstring>

namespace ssf {

namespace {

void WriteText(Bytes& data, size_t offset, std::string_view text, size_t max) {
  const size_t n = std::min(text.size(), max);
  CheckRange(data.size(), offset, n, "новая тема");
  std::memcpy(data.data() + offset, text.data(), n);
}

}  // namespace

int32_t Theme::FilesStart() const { return ReadI32LE(Header, kFilesStartOffset); }

int32_t Theme::HeldFiles() const {
  return static_cast<int32_t>(
      std::count_if(NewFiles.begin(), NewFiles.end(), [](const TThemeNewFiles& f) { return f.Present(); }));
}

const TThemeNewFiles* Theme::Slot(int k) const {
  return k >= 0 && static_cast<size_t>(k) < NewFiles.size() ? &NewFiles[static_cast<size_t>(k)] : nullptr;
}

Theme NewTheme(const ThemeMap& map) {
  const int64_t table_end = int64_t{map.FilesTable} + 4 * int64_t{map.FilesCount};
  if (map.FilesTable < static_cast<int32_t>(kIconOffset) || map.FilesCount < 0 || table_end > map.FilesStart) {
    throw SsfError("Новая тема невозможна: карта темы задаёт FilesTable " + std::to_string(map.FilesTable) +
                   " и FilesStart " + std::to_string(map.FilesStart) + " для " + std::to_string(map.FilesCount) +
                   " файлов");
  }
  Theme theme;
  Bytes& data = theme.Header;
  data.assign(static_cast<size_t>(map.FilesTable), 0);
  WriteText(data, kSignatureOffset, map.SignMain, kSignatureSize);
  WriteText(data, kModelOffset, map.SignMobile, kModelSize);
  WriteText(data, kAuthorOffset, kNewThemeAuthor, kAuthorSize - 1);
  WriteText(data, kThemeNameOffset, kNewThemeName, kThemeNameSize - 1);
  WriteText(data, kVersionOffset, kNewThemeVersion, 4);
  WriteI32LE(data, kFileCountOffset, map.FilesCount);
  WriteI32LE(data, kFilesTableOffset, map.FilesTable);
  WriteI32LE(data, kFilesStartOffset, map.FilesStart);
  theme.NewFiles.assign(static_cast<size_t>(map.FilesCount), TThemeNewFiles{});
  return theme;
}

Bytes SerializeTheme(const Theme& theme) {
  const size_t table = theme.Header.size();
  const int32_t start_field = theme.FilesStart();
  const size_t start = static_cast<size_t>(std::max(start_field, 0));
  if (start_field < 0 || table + 4 * theme.NewFiles.size() > start) {
    throw SsfError("Сохранение темы невозможно: таблица размеров или начало данных вне файла темы");
  }
  size_t total = 0;
  for (const TThemeNewFiles& f : theme.NewFiles) total += f.f_file.size();
  Bytes out(start + total, 0);
  std::memcpy(out.data(), theme.Header.data(), table);
  size_t pos = start;
  for (size_t k = 0; k < theme.NewFiles.size(); ++k) {
    const Bytes& f = theme.NewFiles[k].f_file;
    WriteU32LE(out, table + 4 * k, static_cast<uint32_t>(f.size()));
    if (!f.empty()) std::memcpy(out.data() + pos, f.data(), f.size());
    pos += f.size();
  }
  return out;
}

}  // namespace ssf
