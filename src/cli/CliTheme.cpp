#include "cli/CliTheme.h"

#include <charconv>

namespace ssf::cli {

void CliEditor::PrintMessages(Context& ctx) {
  for (const CliUi::Message& m : ui.messages) ctx.err << ForTerminal(m.text) << "\n";
  ui.messages.clear();
}

void ApplyFitOptions(CliEditor& cli, const FitOptions& fit) {
  if (!fit.mode) return;
  cli.ed.fit.always = FitChoice{*ParseFitMode(*fit.mode), fit.dither};
}

bool OpenTheme(Context& ctx, CliEditor& cli, const std::filesystem::path& file) {
  OpenThemeFile(cli.ed, file);  // unreadable or cut short: throws, and Run prints it
  if (cli.ed.view.MM_Child_SaveTheme_enabled) return true;
  if (cli.ui.messages.empty()) ctx.err << cli.ed.view.status[1] << "\n";
  cli.PrintMessages(ctx);
  return false;
}

int ParseFileIndex(const std::string& text, int count) {
  int k = -1;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), k);
  if (ec != std::errc() || end != text.data() + text.size() || k < 0 || k >= count) {
    throw UsageError{"'" + text + "' is not a theme file index (0.." + std::to_string(count - 1) + ")"};
  }
  return k;
}

bool SaveTheme(Context& ctx, CliEditor& cli, const std::filesystem::path& target) {
  if (SaveThemeAs(cli.ed, target)) return true;
  cli.PrintMessages(ctx);
  return false;
}

}  // namespace ssf::cli
