// ssftool port THEME.ssf (--model MODEL | --map FILE.rxt) -o OUT.ssf [--fit crop|pad|stretch]
// [--dither] [--fill INDEX=FILE]... [--json]: carries a theme to another phone model. Each
// target theme file takes its paired source file (or a --fill file, imported as `replace`
// imports it); the theme is written only when every target file is filled.
#include <charconv>
#include <map>
#include <nlohmann/json.hpp>

#include "cli/CliTheme.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "theme/ThemePort.h"
#include "platform/PathText.h"

namespace ssf::cli {

namespace {

struct Options {
  std::string theme;
  std::string model;
  std::string map;
  std::string out;
  FitChoice fit;
  std::map<std::string, std::string> fills;  // index as given -> file, in index order once parsed
  bool json = false;
};

Options Parse(const std::vector<std::string>& args) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError{"после " + a + " нужно значение"};
      return args[++i];
    };
    if (a == "--model") {
      o.model = value();
    } else if (a == "--map") {
      o.map = value();
    } else if (a == "-o") {
      o.out = value();
    } else if (a == "--fit") {
      const std::string& mode = value();
      const std::optional<FitMode> parsed = ParseFitMode(mode);
      if (!parsed) throw UsageError{"--fit: crop, pad или stretch, а не '" + mode + "'"};
      o.fit.mode = *parsed;
    } else if (a == "--dither") {
      o.fit.dither = true;
    } else if (a == "--json") {
      o.json = true;
    } else if (a == "--fill") {
      const std::string& fill = value();
      const size_t eq = fill.find('=');
      if (eq == std::string::npos || eq == 0 || eq + 1 == fill.size()) {
        throw UsageError{"--fill ждёт НОМЕР=ФАЙЛ, а не '" + fill + "'"};
      }
      o.fills[fill.substr(0, eq)] = fill.substr(eq + 1);
    } else if (!a.empty() && a[0] == '-') {
      throw UsageError{"неизвестный параметр '" + a + "'"};
    } else if (o.theme.empty()) {
      o.theme = a;
    } else {
      throw UsageError{"лишний аргумент '" + a + "'"};
    }
  }
  if (o.theme.empty()) throw UsageError{"нужен файл темы"};
  if (o.model.empty() == o.map.empty()) throw UsageError{"укажите либо --model, либо --map"};
  if (o.out.empty()) throw UsageError{"нужен -o OUT.ssf"};
  return o;
}

struct Line {
  std::optional<int> source;
  std::string action;  // "copy", "convert", "fill", "none"
  std::string what;
};

const char* ActionName(CarryAction action) {
  switch (action) {
    case CarryAction::kCopy: return "copy";
    case CarryAction::kConvert: return "convert";
    case CarryAction::kNone: break;
  }
  return "none";
}

}  // namespace

int CmdPort(Context& ctx, const std::vector<std::string>& args) {
  const Options o = Parse(args);
  std::optional<OpenedTheme> from = OpenTheme(ctx, PathFromUtf8(o.theme));
  if (!from) return kExitFailed;
  Converted<OpenedTheme> made = o.map.empty() ? NewThemeForModel(o.model, ctx.maps_dir) : NewThemeForMap(PathFromUtf8(o.map));
  if (!made.value) {
    if (made.refusal) PrintRefusal(ctx, *made.refusal);
    return kExitFailed;
  }
  OpenedTheme& to = *made.value;

  std::map<int, std::string> fills;
  for (const auto& [index, file] : o.fills) fills[ParseFileIndex(index, to.map.FilesCount)] = file;

  const std::vector<PortPair> pairs = PairThemeFiles(from->map, to.map);
  std::vector<std::optional<int>> sources = PairedSources(pairs);
  for (const auto& fill : fills) {
    if (fill.first < static_cast<int>(sources.size())) sources[static_cast<size_t>(fill.first)].reset();
  }
  std::optional<PortedTheme> ported = PortTheme(from->theme, from->map, to.map, sources, o.fit);
  to.theme = std::move(ported->theme);

  std::vector<Line> lines;
  for (size_t k = 0; k < ported->files.size(); ++k) {
    const CarriedFile& carried = ported->files[k];
    const std::optional<int> source = sources[k];
    const std::string named = source ? std::to_string(*source) + " " + ThemeFilePath(from->map, *source) : "";
    if (carried.action == CarryAction::kNone) {
      lines.push_back({source, "none", "не заполнен: " + (source ? named + ": " : std::string()) + carried.what});
    } else {
      lines.push_back({source, ActionName(carried.action), "из " + named + ": " + carried.what});
    }
  }

  ImportOptions import;
  import.fit.always = o.fit;
  for (const auto& [k, file] : fills) {
    const TTHemeFiles& entry = to.map.ThemeFiles.at(static_cast<size_t>(k));
    Converted<ThemeFileBytes> converted = ConvertForThemeFile(file, entry, import);
    Line& line = lines.at(static_cast<size_t>(k));
    line.source.reset();
    if (converted.value) {
      to.theme.NewFiles.at(static_cast<size_t>(k)).f_file = std::move(converted.value->stored);
      line.action = "fill";
      line.what = "из файла " + file;
    } else {
      line.action = "none";
      line.what = "не заполнен: файл " + file + " не принят: " +
                  (converted.refusal ? ForTerminal(converted.refusal->text)
                                     : "файл вида " + entry.f_type + " не загружается из файлов с таким расширением");
    }
  }

  std::vector<int> unfilled;
  for (size_t k = 0; k < lines.size(); ++k) {
    if (lines[k].action == "none") unfilled.push_back(static_cast<int>(k));
  }
  const bool written = unfilled.empty() && SaveTheme(ctx, to, PathFromUtf8(o.out));

  if (o.json) {
    using Json = nlohmann::ordered_json;
    Json j;
    j["theme"] = o.theme;
    j["out"] = o.out;
    j["written"] = written;
    j["files"] = Json::array();
    for (size_t k = 0; k < lines.size(); ++k) {
      const Line& l = lines[k];
      j["files"].push_back({{"index", k},
                            {"path", ThemeFilePath(to.map, static_cast<int>(k))},
                            {"source", l.source ? Json(*l.source) : Json(nullptr)},
                            {"source_path", l.source ? Json(ThemeFilePath(from->map, *l.source)) : Json(nullptr)},
                            {"action", l.action},
                            {"what", l.what}});
    }
    j["unfilled"] = unfilled;
    ctx.out << j.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
  } else {
    for (size_t k = 0; k < lines.size(); ++k) {
      ctx.out << k << '\t' << ThemeFilePath(to.map, static_cast<int>(k)) << '\t' << lines[k].what << "\n";
    }
  }
  if (!unfilled.empty()) {
    ctx.err << "Тема не записана: не заполнено файлов темы: " << unfilled.size() << " (";
    for (size_t i = 0; i < unfilled.size(); ++i) ctx.err << (i ? ", " : "") << unfilled[i];
    ctx.err << "). Заполните их через --fill НОМЕР=ФАЙЛ.\n";
  }
  return written ? kExitOk : kExitFailed;
}

}  // namespace ssf::cli
