#include <cstdio>

#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "base/Limits.h"
#include "base/SsfError.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "theme/ThemeMap.h"
#include "platform/PathText.h"

namespace ssf::cli {

namespace {

std::string Hex(int32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%04X", static_cast<unsigned>(v));
  return buf;
}

// A theme map is text: control bytes other than tab and line ends mean a picture or another
// binary file, whose "lines" would only fill the terminal with noise.
void RefuseBinaryFile(const std::filesystem::path& path) {
  const Bytes bytes = ReadWholeFile(path, kMaxTextFileSize);
  int line = 1;
  for (uint8_t b : bytes) {
    if (b == '\n') ++line;
    if (b < 0x20 && b != '\t' && b != '\n' && b != '\r') {
      throw SsfError("Файл " + Utf8FromPath(path) + " не является текстовой картой темы (двоичные данные в строке " +
                     std::to_string(line) + ")");
    }
  }
}

}  // namespace

int CmdCheckMap(Context& ctx, const std::vector<std::string>& args) {
  if (args.size() != 1) throw UsageError{args.empty() ? "нужен файл карты темы" : "лишние аргументы"};
  const std::filesystem::path path = PathFromUtf8(args[0]);
  RefuseBinaryFile(path);
  TagParams params;
  // An unreadable map or a stray /GROUP throws: Run prints it.
  const ParsedThemeMap parsed = ReadThemeMap(path, ThemeMap{}, params);
  if (!parsed.errors.empty()) {
    ctx.out << ForTerminal(MapErrorReport(Utf8FromPath(path.filename()), parsed.errors, parsed.more_errors));
    return kExitFailed;
  }
  const ThemeMap& map = parsed.map;
  ctx.out << Utf8FromPath(path.filename()) << ": ошибок нет, модель " << Cp1251ToUtf8(map.SignMobile)
          << ", файлов темы: " << map.FilesCount << ", FilesTable " << Hex(map.FilesTable) << ", FilesStart "
          << Hex(map.FilesStart) << ", иконка: " << (map.HasIcon ? "есть" : "нет") << ", цветовая тема: "
          << (map.IsColorTheme ? "да" : "нет") << "\n";
  return kExitOk;
}

}  // namespace ssf::cli
