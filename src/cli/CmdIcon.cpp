// ssftool icon THEME.ssf get OUT | set FILE | clear [-o OUT.ssf]: the theme icon as the
// icon's menu handles it. "get" writes the format of OUT's extension; "set" and "clear"
// save the theme (in place, atomically, unless -o names another file).
#include "base/FileIO.h"
#include "cli/CliTheme.h"
#include "cli/Commands.h"
#include "theme/ExportFormats.h"
#include "theme/ThemeHeader.h"
#include "platform/PathText.h"

namespace ssf::cli {

namespace {

std::string Extension(const std::string& file) {
  const std::string name = Utf8FromPath(PathFromUtf8(file).filename());
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

}  // namespace

int CmdIcon(Context& ctx, const std::vector<std::string>& args) {
  auto [pos, out] = SplitOutputOption(args);
  if (pos.size() < 2) throw UsageError{"нужны тема и get, set или clear"};
  const std::string& action = pos[1];
  const size_t want = action == "clear" ? 2 : 3;
  if ((action != "get" && action != "set" && action != "clear") || pos.size() != want) {
    throw UsageError{"укажите get OUT, set FILE или clear"};
  }
  if (action == "get" && !out.empty()) throw UsageError{"-o только для set и clear"};
  int filter = 0;
  if (action == "get") {
    filter = IconSaveFilterIndex(Extension(pos[2]));
    if (filter == 0) throw UsageError{"OUT должен оканчиваться на .bmp, .jpg, .jpeg, .png, .raw или .ifg"};
  }
  if (action == "set" && IconSaveFilterIndex(Extension(pos[2])) == 0) {
    throw UsageError{"FILE должен оканчиваться на .bmp, .jpg, .jpeg, .png, .raw или .ifg"};
  }

  // Held until the save: another ssftool (or the editor) saving this theme meanwhile
  // would otherwise lose its change or this one.
  const FileLock lock = LockFileForUpdate(PathFromUtf8(pos[0]));
  std::optional<OpenedTheme> t = OpenTheme(ctx, PathFromUtf8(pos[0]));
  if (!t) return kExitFailed;
  if (!HasIconArea(t->theme, t->map)) {
    ctx.err << kNoIconAreaText << "\n";
    return kExitFailed;
  }
  if (action == "get") {
    WriteFileAtomic(PathFromUtf8(pos[2]), IconFileBytes(t->theme, Image{}, filter));
    return kExitOk;
  }
  if (action == "set") {
    Converted<Image> picture = ConvertIconPicture(PathFromUtf8(pos[2]));
    if (!picture.value) {
      if (picture.refusal) PrintRefusal(ctx, *picture.refusal);
      return kExitFailed;
    }
    SetThemeIcon(t->theme, *picture.value);
  } else {
    ClearThemeIcon(t->theme);
  }
  return SaveTheme(ctx, *t, PathFromUtf8(out.empty() ? pos[0] : out)) ? kExitOk : kExitFailed;
}

}  // namespace ssf::cli
