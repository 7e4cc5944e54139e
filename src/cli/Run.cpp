#include <exception>
#include <span>

#include "base/MemoryShortage.h"
#include "cli/Commands.h"
#include "theme/MapsFolder.h"

namespace ssf::cli {

namespace {

const Command kCommands[] = {
    {"maps", "", "list the theme maps: model, tab, file name", CmdMaps},
    {"check-map", "FILE.rxt", "load a theme map and report its errors", CmdCheckMap},
    {"flm2flc", "IN.flm OUT.flc", "convert a phone file list to its text form", CmdFlmToFlc},
    {"flc2flm", "IN.flc OUT.flm", "convert a file list text back to the phone's form", CmdFlcToFlm},
    {"info", "THEME.ssf [--json]", "open a theme as the editor does and describe it", CmdInfo},
    {"check", "THEME.ssf [--json]",
     "check every theme file against its map and the header; exit 1 when an error is found", CmdCheck},
    {"convert", "IN OUT [--size WxH] [--max-error N]",
     "convert a picture by the file extensions; --max-error lets an .ifg differ by up to N units a channel, "
     "N a whole number from 0 (exact, the default) to 8",
     CmdConvert},
    {"copy-colors", "SCHEME FIRST.tab SECOND.tab [--reverse]",
     "copy colour entries by a scheme workbook (.xls, .xlsx, .ods)", CmdCopyColors},
    {"ifeg", "decode|encode|info FILES...",
     "IFEG pictures: decode IN.ifg OUT.bmp|.png|.jpg; encode IN.bmp|.png|.jpg OUT.ifg "
     "[--mode 1|2|3] [--max-error N]; info IN.ifg",
     CmdIfeg},
    {"export-res", "THEME.ssf OUT.res", "write every theme file into a resource package", CmdExportRes},
    {"import-res", "THEME.ssf PACKAGE.res [-o OUT.ssf]",
     "replace every theme file from a resource package and save the theme (in place without -o)",
     CmdImportRes},
    {"new", "(--model MODEL | --map FILE.rxt) -o OUT.ssf [--author A] [--name N] [--version V] [--type 0|1] [--fit crop|pad|stretch [--dither]] [FILE... | --from PACKAGE.res]",
     "create a theme, importing the files into theme files 0, 1, 2, ... as \"Загрузить\" does, or "
     "every theme file from a resource package; needs a file for every theme file of the map, or --from",
     CmdNew},
    {"replace", "THEME.ssf INDEX FILE [-o OUT.ssf] [--fit crop|pad|stretch [--dither]]", "import a file into one theme file and save the theme",
     CmdReplace},
    {"icon", "THEME.ssf get OUT | set FILE | clear [-o OUT.ssf]", "write, load or clear the theme icon", CmdIcon},
    {"extract", "THEME.ssf INDEX OUT",
     "write theme file INDEX as the editor's export does; OUT's extension picks the format "
     "(.bmp .jpg .jpeg .png .raw .ifg, .png .ani2 for ANI2, .tab for COLORTAB)",
     CmdExtract},
    {"screens", "THEME.ssf", "перечислить экраны модели темы (из файла раскладки .screens рядом с картой)",
     CmdScreens},
    {"render", "THEME.ssf [--screen NAME] -o OUT",
     "нарисовать экран NAME в OUT.png; без --screen все экраны в папку OUT", CmdRender},
    {"port", "THEME.ssf (--model MODEL | --map FILE.rxt) -o OUT.ssf [--fit crop|pad|stretch] [--dither] [--fill INDEX=FILE]... [--json]",
     "перенести тему на другую модель: файлы темы по названиям, картинки подогнаны и преобразованы; "
     "тема записывается, только когда заполнены все файлы",
     CmdPort},
};

void PrintHelp(std::ostream& out) {
  out << "Usage: ssftool [--maps DIR] COMMAND [ARGS...]\n\n"
         "Quillbay SSF Manager command-line tool.\n\n"
         "Options:\n"
         "  --maps DIR   folder of theme maps (default: ThemeMaps beside the program)\n"
         "  --help       show this help\n\n"
         "Commands:\n";
  for (const Command& c : kCommands) {
    std::string head = std::string(c.name) + (*c.usage ? " " : "") + c.usage;
    out << "  " << head;
    out << "\n      " << c.help << '\n';
  }
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Context ctx{MapsFolder(), out, err};
  size_t i = 0;
  for (; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      PrintHelp(out);
      return kExitOk;
    }
    if (args[i] == "--maps") {
      if (i + 1 >= args.size()) {
        err << "ssftool: --maps needs a folder\n";
        return kExitUsage;
      }
      ctx.maps_dir = args[++i];
      continue;
    }
    break;
  }
  if (i >= args.size()) {
    PrintHelp(err);
    return kExitUsage;
  }
  const std::string& name = args[i];
  std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
  for (const Command& c : kCommands) {
    if (name != c.name) continue;
    try {
      return c.fn(ctx, rest);
    } catch (const UsageError& e) {
      err << "ssftool " << c.name << ": " << e.message << "\n"
          << "usage: ssftool " << c.name << (*c.usage ? " " : "") << c.usage << "\n";
      return kExitUsage;
    } catch (const std::exception& e) {
      err << ErrorText(e) << "\n";
      return kExitFailed;
    }
  }
  err << "ssftool: unknown command '" << name << "'\n";
  PrintHelp(err);
  return kExitUsage;
}

}  // namespace ssf::cli
