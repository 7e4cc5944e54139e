// ssftool screens THEME.ssf and ssftool render THEME.ssf [--screen NAME] -o OUT: the phone
// screens of the theme's model, from the layout file beside its map, as pictures.
#include <filesystem>
#include <set>

#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "cli/CliTheme.h"
#include "cli/Commands.h"
#include "pictures/Png.h"
#include "theme/FileNames.h"
#include "theme/ScreenRender.h"
#include "platform/PathText.h"

namespace ssf::cli {
namespace {

// The layouts of the theme's model; their problems go to the error stream, as the lines
// they name are skipped.
ScreenLayouts LoadLayouts(Context& ctx, const char* command, const OpenedTheme& t) {
  ScreenLayouts layouts = ReadScreenLayouts(t.map_path, t.map);
  if (!layouts.errors.empty()) {
    ctx.err << "ssftool " << command << ": "
            << ScreenLayoutReport(Utf8FromPath(ScreenLayoutPath(t.map_path).filename()), layouts);
  }
  return layouts;
}

void ReportNoScreens(Context& ctx, const char* command, const OpenedTheme& t) {
  ctx.err << "ssftool " << command << ": у модели нет раскладки экранов (нет файла "
          << Utf8FromPath(ScreenLayoutPath(t.map_path)) << ")\n";
}

void WriteScreen(Context& ctx, const ScreenLayout& screen, const OpenedTheme& t, const std::filesystem::path& out) {
  const RenderedScreen r = RenderScreen(screen, t.theme, t.map);
  for (const std::string& why : r.left_out) ctx.err << "ssftool render: " << screen.name << ": не нарисован " << why << "\n";
  WriteFileAtomic(out, EncodePng(r.image));
  ctx.out << Utf8FromPath(out) << "\n";
}

// A file name for each screen; names that strip to the same text get " (2)", " (3)", ...
std::vector<std::string> ScreenFileNames(const std::vector<ScreenLayout>& screens) {
  std::vector<std::string> names;
  std::set<std::string> taken;
  for (const ScreenLayout& s : screens) {
    std::string base = StripFileNameChars(s.name);
    if (base.empty() || base == "." || base == "..") base = "экран";
    std::string name = base + ".png";
    // Names that differ in case only are one file on Windows.
    for (int n = 2; !taken.insert(FoldedFileName(name)).second; ++n) name = base + " (" + std::to_string(n) + ").png";
    names.push_back(name);
  }
  return names;
}

}  // namespace

int CmdScreens(Context& ctx, const std::vector<std::string>& args) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') throw UsageError{"нужен один файл темы"};
  const std::optional<OpenedTheme> t = OpenTheme(ctx, PathFromUtf8(args[0]));
  if (!t) return kExitFailed;
  const ScreenLayouts layouts = LoadLayouts(ctx, "screens", *t);
  if (layouts.screens.empty() && layouts.errors.empty()) ReportNoScreens(ctx, "screens", *t);
  for (const ScreenLayout& s : layouts.screens) ctx.out << s.name << "\n";
  return kExitOk;
}

int CmdRender(Context& ctx, const std::vector<std::string>& args) {
  std::string file;
  std::optional<std::string> screen_name;
  std::optional<std::filesystem::path> out;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if ((a == "--screen" || a == "-o") && i + 1 >= args.size()) throw UsageError{"после " + a + " нужно значение"};
    if (a == "--screen") {
      screen_name = args[++i];
    } else if (a == "-o") {
      out = args[++i];
    } else if (file.empty() && !a.empty() && a[0] != '-') {
      file = a;
    } else {
      throw UsageError{"лишний аргумент '" + a + "'"};
    }
  }
  if (file.empty() || !out) throw UsageError{"нужны файл темы и -o"};

  const std::optional<OpenedTheme> t = OpenTheme(ctx, PathFromUtf8(file));
  if (!t) return kExitFailed;
  const ScreenLayouts layouts = LoadLayouts(ctx, "render", *t);
  if (layouts.screens.empty()) {
    if (layouts.errors.empty()) ReportNoScreens(ctx, "render", *t);
    return kExitFailed;
  }

  if (screen_name) {
    for (const ScreenLayout& s : layouts.screens) {
      if (s.name != *screen_name) continue;
      WriteScreen(ctx, s, *t, *out);
      return kExitOk;
    }
    ctx.err << "ssftool render: у модели нет экрана \"" << *screen_name << "\"; есть:";
    for (const ScreenLayout& s : layouts.screens) ctx.err << " \"" << s.name << "\"";
    ctx.err << "\n";
    return kExitFailed;
  }

  std::error_code ec;
  std::filesystem::create_directory(*out, ec);
  if (!std::filesystem::is_directory(std::filesystem::symlink_status(*out, ec))) {
    ctx.err << "ssftool render: без --screen -o должен быть папкой: " << Utf8FromPath(*out) << "\n";
    return kExitFailed;
  }
  const std::vector<std::string> names = ScreenFileNames(layouts.screens);
  for (size_t i = 0; i < layouts.screens.size(); ++i) WriteScreen(ctx, layouts.screens[i], *t, *out / PathFromUtf8(names[i]));
  return kExitOk;
}

}  // namespace ssf::cli
