// ssftool replace THEME.ssf INDEX FILE [-o OUT.ssf] [--fit crop|pad|stretch [--dither]]:
// imports FILE into one theme file as "Загрузить" would and saves the theme, in place
// (atomically) unless -o names another file. With --fit a picture of another size is
// fitted instead of refused.
#include "base/FileIO.h"
#include "cli/CliTheme.h"
#include "cli/Commands.h"
#include "platform/PathText.h"

namespace ssf::cli {

int CmdReplace(Context& ctx, const std::vector<std::string>& all_args) {
  std::vector<std::string> args = all_args;
  const FitOptions fit = TakeFitOptions(args);
  auto [pos, out] = SplitOutputOption(args);
  if (pos.size() != 3) throw UsageError{"нужны тема, номер файла темы и файл"};
  // Held until the save: another ssftool (or the editor) saving this theme meanwhile
  // would otherwise lose its change or this one.
  const FileLock lock = LockFileForUpdate(PathFromUtf8(pos[0]));
  std::optional<OpenedTheme> t = OpenTheme(ctx, PathFromUtf8(pos[0]));
  if (!t) return kExitFailed;
  const int k = ParseFileIndex(pos[1], t->map.FilesCount);
  const TTHemeFiles* entry = t->map.Entry(k);
  TThemeNewFiles* slot = k < static_cast<int>(t->theme.NewFiles.size()) ? &t->theme.NewFiles[static_cast<size_t>(k)] : nullptr;
  if (!entry || !slot) throw UsageError{"нет файла темы " + pos[1]};
  Converted<ThemeFileBytes> converted = ConvertForThemeFile(PathFromUtf8(pos[2]), *entry, ImportOptionsFor(fit));
  if (!converted.value) {
    if (converted.refusal) {
      PrintRefusal(ctx, *converted.refusal);
    } else {
      ctx.err << "файл темы " << k << " (" << entry->f_type << ") не загружается из файлов с таким расширением\n";
    }
    return kExitFailed;
  }
  slot->f_file = std::move(converted.value->stored);
  return SaveTheme(ctx, *t, PathFromUtf8(out.empty() ? pos[0] : out)) ? kExitOk : kExitFailed;
}

}  // namespace ssf::cli
