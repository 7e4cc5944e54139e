// ssftool new (--model MODEL | --map FILE.rxt) -o OUT.ssf [options] [FILE ...]: a theme
// made from pictures, each file imported into the next theme file exactly as "Загрузить"
// would import it (with --fit, pictures of another size fitted instead of refused), or with --from PACKAGE.res from a resource package in one step.
// Nothing is written unless every file was taken.
#include <algorithm>
#include <optional>

#include "cli/CliTheme.h"
#include "cli/Commands.h"
#include "editor/MainFormHandlers.h"
#include "editor/ResourcePackage.h"
#include "editor/ThemeFileImport.h"

namespace ssf::cli {

namespace {

struct Options {
  std::string model;
  std::string map;
  std::string out;
  std::string from;  // a resource package to fill the theme from
  std::optional<std::string> author, name, version;
  int type = -1;
  std::vector<std::string> files;
  FitOptions fit;
};

Options Parse(std::vector<std::string> args) {
  Options o;
  o.fit = TakeFitOptions(args);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError{a + " needs a value"};
      return args[++i];
    };
    if (a == "--model") {
      o.model = value();
    } else if (a == "--map") {
      o.map = value();
    } else if (a == "-o") {
      o.out = value();
    } else if (a == "--from") {
      o.from = value();
    } else if (a == "--author") {
      o.author = value();
    } else if (a == "--name") {
      o.name = value();
    } else if (a == "--version") {
      o.version = value();
    } else if (a == "--type") {
      const std::string& t = value();
      if (t != "0" && t != "1") throw UsageError{"--type is 0 (black) or 1 (white), not '" + t + "'"};
      o.type = t == "1" ? 1 : 0;
    } else if (!a.empty() && a[0] == '-') {
      throw UsageError{"unknown option '" + a + "'"};
    } else {
      o.files.push_back(a);
    }
  }
  if (o.model.empty() == o.map.empty()) throw UsageError{"give either --model or --map"};
  if (o.out.empty()) throw UsageError{"-o OUT.ssf is needed"};
  if (!o.from.empty() && !o.files.empty()) throw UsageError{"give either --from PACKAGE.res or files"};
  return o;
}

}  // namespace

int CmdNew(Context& ctx, const std::vector<std::string>& args) {
  const Options o = Parse(args);
  CliEditor cli(ctx);
  ApplyFitOptions(cli, o.fit);
  Editor& ed = cli.ed;
  int item = 0;
  if (!o.map.empty()) {
    // The chooser's list holding just this map.
    ed.state.MapPaths = {{}, o.map};
  } else {
    ListThemeMaps(ed);
    const std::vector<std::string>& models = ed.state.MapModels;
    auto it = std::find(models.begin(), models.end(), o.model);
    if (it == models.end()) {
      ctx.err << "no theme map for the model '" << o.model << "' in " << ctx.maps_dir.string() << "\n";
      return kExitFailed;
    }
    item = static_cast<int>(it - models.begin());
  }
  lk_CreateNewTheme(ed, item);
  if (!ed.state.MapValid) {
    cli.PrintMessages(ctx);
    return kExitFailed;
  }
  if (o.files.size() > static_cast<size_t>(ed.state.FilesCount)) {
    throw UsageError{std::to_string(o.files.size()) + " files given, the map has " +
                     std::to_string(ed.state.FilesCount) + " theme files"};
  }
  if (o.type >= 0 && ed.state.IsColorTheme) {
    ctx.err << "--type: the themes of this map are colour themes, which have no type\n";
    return kExitFailed;
  }

  for (size_t k = 0; k < o.files.size(); ++k) {
    const int index = static_cast<int>(k);
    if (ImportThemeFile(ed, index, o.files[k])) continue;
    const TTHemeFiles& entry = ed.state.ThemeFiles[k];
    ctx.err << o.files[k] << " -> theme file " << k << " (" << entry.f_type << "): ";
    if (cli.ui.messages.empty()) ctx.err << "this kind does not take files of that extension\n";
    else ctx.err << "\n";
    cli.PrintMessages(ctx);
    return kExitFailed;
  }
  if (!o.from.empty() && !ImportResourcePackage(ed, o.from)) {
    cli.PrintMessages(ctx);
    return kExitFailed;
  }
  if (o.author) ED_ThemeAuthorKeyPress(ed, kAuthorField, *o.author);
  if (o.name) ED_ThemeAuthorKeyPress(ed, kNameField, *o.name);
  if (o.version) ED_ThemeAuthorKeyPress(ed, kVersionField, *o.version);
  if (o.type >= 0) CBox_ThemeTypeChange(ed, o.type);
  return SaveTheme(ctx, cli, o.out) ? kExitOk : kExitFailed;
}

}  // namespace ssf::cli
