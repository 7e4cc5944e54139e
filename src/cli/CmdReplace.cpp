// ssftool replace THEME.ssf INDEX FILE [-o OUT.ssf] [--fit crop|pad|stretch [--dither]]:
// imports FILE into one theme file as "Загрузить" would and saves the theme, in place
// (atomically) unless -o names another file. With --fit a picture of another size is
// fitted instead of refused.
#include "cli/CliTheme.h"
#include "cli/Commands.h"
#include "editor/ThemeFileImport.h"

namespace ssf::cli {

int CmdReplace(Context& ctx, const std::vector<std::string>& all_args) {
  std::vector<std::string> args = all_args;
  const FitOptions fit = TakeFitOptions(args);
  auto [pos, out] = SplitOutputOption(args);
  if (pos.size() != 3) throw UsageError{"a theme, a theme file index and a file are needed"};
  CliEditor cli(ctx);
  ApplyFitOptions(cli, fit);
  if (!OpenTheme(ctx, cli, pos[0])) return kExitFailed;
  const int k = ParseFileIndex(pos[1], cli.ed.state.FilesCount);
  if (!ImportThemeFile(cli.ed, k, pos[2])) {
    if (cli.ui.messages.empty()) {
      ctx.err << "theme file " << k << " (" << cli.ed.state.ThemeFiles[static_cast<size_t>(k)].f_type
              << ") does not take files of that extension\n";
    }
    cli.PrintMessages(ctx);
    return kExitFailed;
  }
  return SaveTheme(ctx, cli, out.empty() ? pos[0] : out) ? kExitOk : kExitFailed;
}

}  // namespace ssf::cli
