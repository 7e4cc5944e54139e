// ssftool new (--model MODEL | --map FILE.rxt) -o OUT.ssf [options] [FILE ...]: a theme
// made from pictures, each file imported into the next theme file exactly as "Загрузить"
// would import it (with --fit, pictures of another size fitted instead of refused), or with --from PACKAGE.res from a resource package in one step.
// Nothing is written unless every file was taken.
#include <algorithm>
#include <optional>

#include "base/RussianPlural.h"
#include "cli/CliTheme.h"
#include "cli/Commands.h"
#include "theme/ResourcePackage.h"
#include "theme/ThemeHeader.h"
#include "platform/PathText.h"

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
      if (i + 1 >= args.size()) throw UsageError{"после " + a + " нужно значение"};
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
      if (t != "0" && t != "1") throw UsageError{"--type: 0 (черная тема) или 1 (белая тема), а не '" + t + "'"};
      o.type = t == "1" ? 1 : 0;
    } else if (!a.empty() && a[0] == '-') {
      throw UsageError{"неизвестный параметр '" + a + "'"};
    } else {
      o.files.push_back(a);
    }
  }
  if (o.model.empty() == o.map.empty()) throw UsageError{"укажите либо --model, либо --map"};
  if (o.out.empty()) throw UsageError{"нужен -o OUT.ssf"};
  if (!o.from.empty() && !o.files.empty()) throw UsageError{"укажите либо --from PACKAGE.res, либо файлы"};
  return o;
}

// Writes a header text as the window's edit would take it after typing it over the default.
// The window shows at once what its field kept; here a cut text is said on stderr.
void SetHeaderFromEdit(Context& ctx, Theme& theme, const char* option, const HeaderField& field,
                       const std::string& text) {
  const std::string kept = CapEditText(HeaderText(theme, field), text, field.max_bytes);
  if (kept != text) {
    ctx.err << "ssftool new: " << option << ": текст не помещается в поле (не более "
            << CountText(static_cast<int64_t>(field.max_bytes), "байта", "байт", "байт") << " UTF-8), записано: \""
            << kept << "\"\n";
  }
  SetHeaderText(theme, field, kept);
}

}  // namespace

int CmdNew(Context& ctx, const std::vector<std::string>& args) {
  const Options o = Parse(args);
  Converted<OpenedTheme> made = o.map.empty() ? NewThemeForModel(o.model, ctx.maps_dir) : NewThemeForMap(PathFromUtf8(o.map));
  if (!made.value) {
    if (made.refusal) PrintRefusal(ctx, *made.refusal);
    return kExitFailed;
  }
  OpenedTheme& t = *made.value;
  if (o.files.size() > static_cast<size_t>(t.map.FilesCount)) {
    throw UsageError{"файлов дано: " + std::to_string(o.files.size()) + ", а в карте файлов темы: " +
                     std::to_string(t.map.FilesCount)};
  }
  if (o.type >= 0 && t.map.IsColorTheme) {
    ctx.err << "--type: темы этой карты цветовые, у них нет типа\n";
    return kExitFailed;
  }

  const ImportOptions options = ImportOptionsFor(o.fit);
  for (size_t k = 0; k < o.files.size(); ++k) {
    const TTHemeFiles& entry = t.map.ThemeFiles.at(k);
    Converted<ThemeFileBytes> converted = ConvertForThemeFile(PathFromUtf8(o.files[k]), entry, options);
    if (converted.value) {
      t.theme.NewFiles.at(k).f_file = std::move(converted.value->stored);
      continue;
    }
    ctx.err << o.files[k] << " -> файл темы " << k << " (" << entry.f_type << "): ";
    if (converted.refusal) {
      ctx.err << "\n";
      PrintRefusal(ctx, *converted.refusal);
    } else {
      ctx.err << "файл темы этого вида не загружается из файлов с таким расширением\n";
    }
    return kExitFailed;
  }
  if (!o.from.empty()) {
    RequirePackageFile(PathFromUtf8(o.from));
    Converted<ResourceFiles> package = ReadResourcePackage(t.map, t.theme, PathFromUtf8(o.from));
    if (!package.value) {
      if (package.refusal) PrintRefusal(ctx, *package.refusal);
      return kExitFailed;
    }
    ApplyResourceFiles(t.theme, std::move(*package.value));
  }
  if (o.author) SetHeaderFromEdit(ctx, t.theme, "--author", kAuthorField, *o.author);
  if (o.name) SetHeaderFromEdit(ctx, t.theme, "--name", kNameField, *o.name);
  if (o.version) SetHeaderFromEdit(ctx, t.theme, "--version", kVersionField, *o.version);
  if (o.type >= 0) SetThemeType(t.theme, o.type);
  return SaveTheme(ctx, t, PathFromUtf8(o.out)) ? kExitOk : kExitFailed;
}

}  // namespace ssf::cli
