#include "cli/Commands.h"

namespace ssf::cli {

int CmdMaps(Context& ctx, const std::vector<std::string>&) {
  ctx.err << "ssftool maps: not built yet\n";
  return kExitFailed;
}

int CmdCheckMap(Context& ctx, const std::vector<std::string>&) {
  ctx.err << "ssftool check-map: not built yet\n";
  return kExitFailed;
}

}  // namespace ssf::cli
