#include "cli/CliTheme.h"

#include <charconv>

#include "base/FileIO.h"
#include "base/SsfError.h"
#include "cli/CliUi.h"
#include "theme/ThemeCheck.h"
#include "platform/PathText.h"

namespace ssf::cli {

void PrintRefusal(Context& ctx, const Refusal& refusal) { ctx.err << ForTerminal(refusal.text) << "\n"; }

std::optional<OpenedTheme> OpenTheme(Context& ctx, const std::filesystem::path& file, std::string* refusal_text) {
  Converted<OpenedTheme> opened = ReadThemeFile(file, ctx.maps_dir);
  if (opened.refusal) {
    PrintRefusal(ctx, *opened.refusal);
    if (refusal_text) *refusal_text = opened.refusal->text;
  }
  return std::move(opened.value);
}

ImportOptions ImportOptionsFor(const FitOptions& fit) {
  ImportOptions options;
  if (fit.mode) options.fit.always = FitChoice{*ParseFitMode(*fit.mode), fit.dither};
  return options;
}

int ParseFileIndex(const std::string& text, int count) {
  int k = -1;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), k);
  if (ec != std::errc() || end != text.data() + text.size() || k < 0 || k >= count) {
    throw UsageError{"'" + text + "' не номер файла темы (0.." + std::to_string(count - 1) + ")"};
  }
  return k;
}

void RequirePackageFile(const std::filesystem::path& descriptor) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(descriptor, ec)) {
    throw SsfError("Не найден файл пакета ресурсов: " + Utf8FromPath(descriptor));
  }
}

bool SaveTheme(Context& ctx, const OpenedTheme& t, const std::filesystem::path& target) {
  if (!MaySaveTheme(t.theme, t.map)) {
    PrintRefusal(ctx, Refusal{kMsgError, SaveRefusalText(t.theme, t.map)});
    return false;
  }
  WriteFileAtomic(target, SerializeThemeForSave(t.theme, t.map, target));
  return true;
}

}  // namespace ssf::cli
