// ssftool extract THEME.ssf INDEX OUT: writes one theme file as "Сохранить" would, the
// format chosen by OUT's extension.
#include <algorithm>
#include <charconv>

#include "base/FileIO.h"
#include "cli/CliTheme.h"
#include "cli/Commands.h"
#include "theme/ExportFormats.h"
#include "theme/FileKind.h"
#include "platform/PathText.h"

namespace ssf::cli {

namespace {

std::string ExtensionsOf(const std::string& kind) {
  const FileKind k = KindOf(kind);
  if (IsOpaquePictureKind(k)) return ".bmp .jpg .jpeg .png .raw .ifg";
  if (k == FileKind::kAni2) return ".png .ani2";
  if (k == FileKind::kColorTab) return ".tab";
  return "";
}

}  // namespace

int CmdExtract(Context& ctx, const std::vector<std::string>& args) {
  if (args.size() != 3) throw UsageError{"нужны THEME.ssf, INDEX и OUT"};
  const std::string& theme = args[0];
  const std::string& index_text = args[1];
  const std::filesystem::path out = PathFromUtf8(args[2]);
  int index = -1;
  auto [end, ec] = std::from_chars(index_text.data(), index_text.data() + index_text.size(), index);
  if (ec != std::errc() || end != index_text.data() + index_text.size() || index < 0) {
    throw UsageError{"INDEX — номер файла темы от 0, а не '" + index_text + "'"};
  }

  const std::optional<OpenedTheme> opened = OpenTheme(ctx, theme);
  if (!opened) return kExitFailed;
  const TTHemeFiles* found = opened->map.Entry(index);
  const TThemeNewFiles* held = opened->theme.Slot(index);
  if (!found || !held) {
    ctx.err << "ssftool extract: файла темы " << index << " нет, в теме файлов темы: "
            << std::min(opened->map.ThemeFiles.size(), opened->theme.NewFiles.size()) << "\n";
    return kExitFailed;
  }
  const TTHemeFiles& entry = *found;
  const TThemeNewFiles& slot = *held;
  const std::string extensions = ExtensionsOf(entry.f_type);
  if (extensions.empty()) {
    ctx.err << "ssftool extract: файл темы " << index << " вида " << entry.f_type << " в файл не записывается\n";
    return kExitFailed;
  }
  const int filter = ExportFilterForExtension(entry.f_type, Utf8FromPath(out.extension()));
  if (filter == 0) {
    throw UsageError{"файл темы вида " + entry.f_type + " записывается как " + extensions + ", а не '" +
                     Utf8FromPath(out.extension()) + "'"};
  }
  if (!slot.Present()) {
    ctx.err << "ssftool extract: файл темы " << index << " в теме отсутствует\n";
    return kExitFailed;
  }
  const PreviewPicture preview =
      ExportsFromPicture(entry.f_type, filter) ? MakePreviewPicture(slot.f_file, entry) : PreviewPicture{};
  WriteFileAtomic(out, ExportThemeFileBytes(entry.f_type, filter, preview, slot.f_file));
  return kExitOk;
}

}  // namespace ssf::cli
