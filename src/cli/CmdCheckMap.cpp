#include <cstdio>

#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "base/Cp1251.h"
#include "editor/ThemeMapLoader.h"

namespace ssf::cli {

namespace {

std::string Hex(int32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%04X", static_cast<unsigned>(v));
  return buf;
}

}  // namespace

int CmdCheckMap(Context& ctx, const std::vector<std::string>& args) {
  if (args.size() != 1) throw UsageError{args.empty() ? "a map file is needed" : "too many arguments"};
  EditorState state;
  ViewState view;
  CliUi ui;
  std::filesystem::path path = args[0];
  LoadThemeMap(state, view, ui, path);  // an unreadable map or a stray /GROUP throws: Run prints it
  if (!state.MapValid) {
    for (const auto& m : ui.messages) ctx.out << ForTerminal(m.text);
    return kExitFailed;
  }
  ctx.out << path.filename().string() << ": OK, model " << Cp1251ToUtf8(state.SignMobile) << ", "
          << state.FilesCount << " theme files, FilesTable " << Hex(state.FilesTable) << ", FilesStart " << Hex(state.FilesStart)
          << ", icon " << (state.HasIcon ? "yes" : "no") << ", colour theme "
          << (state.IsColorTheme ? "yes" : "no") << "\n";
  return kExitOk;
}

}  // namespace ssf::cli
