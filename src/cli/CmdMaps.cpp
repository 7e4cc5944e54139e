#include "cli/Commands.h"
#include "editor/ThemeMapLoader.h"

namespace ssf::cli {

int CmdMaps(Context& ctx, const std::vector<std::string>& args) {
  if (!args.empty()) throw UsageError{"unexpected argument '" + args[0] + "'"};
  EditorState state;
  ListThemeMaps(state, ctx.maps_dir);
  if (state.MapModels.empty()) {
    ctx.err << "ssftool maps: no theme maps in " << ctx.maps_dir.string() << "\n";
    return kExitFailed;
  }
  for (size_t i = 0; i < state.MapModels.size(); ++i) {
    ctx.out << state.MapModels[i] << '\t' << state.MapPaths[i + 1].filename().string() << '\n';
  }
  return kExitOk;
}

}  // namespace ssf::cli
