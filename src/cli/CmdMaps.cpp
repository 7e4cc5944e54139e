#include "cli/Commands.h"
#include "theme/ThemeMap.h"
#include "platform/PathText.h"

namespace ssf::cli {

int CmdMaps(Context& ctx, const std::vector<std::string>& args) {
  if (!args.empty()) throw UsageError{"лишний аргумент '" + args[0] + "'"};
  TagParams params;
  const std::vector<ListedMap> maps = ListThemeMapFiles(ctx.maps_dir, params);
  if (maps.empty()) {
    ctx.err << "ssftool maps: нет карт тем в папке " << Utf8FromPath(ctx.maps_dir) << "\n";
    return kExitFailed;
  }
  for (const ListedMap& m : maps) ctx.out << m.model << '\t' << Utf8FromPath(m.path.filename()) << '\n';
  return kExitOk;
}

}  // namespace ssf::cli
