#include <exception>
#include <span>

#include "base/MemoryShortage.h"
#include "cli/Commands.h"
#include "theme/MapsFolder.h"
#include "Version.h"
#include "platform/PathText.h"

namespace ssf::cli {

namespace {

const Command kCommands[] = {
    {"maps", "", "перечислить карты тем: модель, табуляция, имя файла", CmdMaps},
    {"check-map", "FILE.rxt", "загрузить карту темы и сообщить о её ошибках", CmdCheckMap},
    {"flm2flc", "IN.flm OUT.flc", "преобразовать список файлов телефона в текстовый вид", CmdFlmToFlc},
    {"flc2flm", "IN.flc OUT.flm", "преобразовать текстовый список файлов обратно в вид для телефона", CmdFlcToFlm},
    {"info", "THEME.ssf [--json]", "открыть тему, как это делает редактор, и описать её", CmdInfo},
    {"check", "THEME.ssf [--json]",
     "проверить каждый файл темы по карте и заголовок темы; код выхода 1, если найдена ошибка", CmdCheck},
    {"convert", "IN OUT [--size WxH] [--fit crop|pad|stretch [--dither]] [--max-error N]",
     "преобразовать изображение, форматы по расширениям файлов; с --max-error изображение .ifg может "
     "отличаться не более чем на N единиц в канале, N — целое число от 0 (без потерь, по умолчанию) до 8; "
     "с --fit изображение подгоняется к размеру --size (crop обрезает, pad дополняет, stretch растягивает), "
     "--dither смягчает переходы цвета в .raw, .ifg и .ani2",
     CmdConvert},
    {"copy-colors", "SCHEME FIRST.tab SECOND.tab [--reverse]",
     "скопировать цвета по схеме цветов (.xls, .xlsx, .ods)", CmdCopyColors},
    {"ifeg", "decode|encode|info FILES...",
     "изображения IFEG: decode IN.ifg OUT.bmp|.png|.jpg распаковывает; encode IN.bmp|.png|.jpg OUT.ifg "
     "[--mode 1|2|3] [--max-error N] сжимает; info IN.ifg описывает",
     CmdIfeg},
    {"export-res", "THEME.ssf OUT.res", "записать все файлы темы в пакет ресурсов", CmdExportRes},
    {"import-res", "THEME.ssf PACKAGE.res [-o OUT.ssf]",
     "заменить все файлы темы файлами пакета ресурсов и сохранить тему (без -o на прежнее место)",
     CmdImportRes},
    {"new", "(--model MODEL | --map FILE.rxt) -o OUT.ssf [--author A] [--name N] [--version V] [--type 0|1] [--fit crop|pad|stretch [--dither]] [FILE... | --from PACKAGE.res]",
     "создать тему, загрузив файлы в файлы темы 0, 1, 2, ..., как это делает \"Загрузить\", или все файлы "
     "темы из пакета ресурсов; нужен файл для каждого файла темы карты либо --from",
     CmdNew},
    {"replace", "THEME.ssf INDEX FILE [-o OUT.ssf] [--fit crop|pad|stretch [--dither]]", "загрузить файл в один файл темы и сохранить тему",
     CmdReplace},
    {"icon", "THEME.ssf get OUT | set FILE | clear [-o OUT.ssf]", "записать иконку темы в файл, загрузить её из файла или удалить", CmdIcon},
    {"extract", "THEME.ssf INDEX OUT",
     "записать файл темы INDEX, как это делает экспорт редактора; формат выбирается по расширению OUT "
     "(.bmp .jpg .jpeg .png .raw .ifg, для ANI2 .png .ani2, для COLORTAB .tab)",
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

void PrintHelp(TextOut& out) {
  out << "Использование: ssftool [--maps DIR] КОМАНДА [АРГУМЕНТЫ...]\n\n"
         "Quillbay SSF Manager: темы телефонов из командной строки.\n\n"
         "Параметры:\n"
         "  --maps DIR   папка карт тем (по умолчанию ThemeMaps папки из SSF_MANAGER_HOME,\n"
         "               иначе рядом с программой, иначе карты установленной программы)\n"
         "  --help, -h   показать эту справку и выйти\n"
         "  --version    показать версию и выйти\n\n"
      << kCommandsHeading << "\n";
  for (const Command& c : kCommands) {
    std::string head = std::string(c.name) + (*c.usage ? " " : "") + c.usage;
    out << "  " << head;
    out << "\n      " << c.help << '\n';
  }
}

}  // namespace

int Run(const std::vector<std::string>& args, TextOut& out, TextOut& err) {
  Context ctx{MapsFolder(), out, err};
  size_t i = 0;
  for (; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      PrintHelp(out);
      return kExitOk;
    }
    if (args[i] == "--version") {
      out << "ssftool " << kVersion << "\n";
      return kExitOk;
    }
    if (args[i] == "--maps") {
      if (i + 1 >= args.size()) {
        err << "ssftool: после --maps нужна папка\n";
        return kExitUsage;
      }
      ctx.maps_dir = PathFromUtf8(args[++i]);
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
          << "использование: ssftool " << c.name << (*c.usage ? " " : "") << c.usage << "\n";
      return kExitUsage;
    } catch (const std::exception& e) {
      err << ErrorText(e) << "\n";
      return kExitFailed;
    }
  }
  err << "ssftool: неизвестная команда '" << name << "'\n";
  PrintHelp(err);
  return kExitUsage;
}

}  // namespace ssf::cli
