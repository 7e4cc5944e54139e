// export-res and import-res: a theme's files as a resource package and back.
#include <optional>

#include "base/FileIO.h"
#include "cli/CliTheme.h"
#include "cli/Commands.h"
#include "theme/ResourcePackage.h"
#include "platform/PathText.h"

namespace ssf::cli {

namespace fs = std::filesystem;

int CmdExportRes(Context& ctx, const std::vector<std::string>& args) {
  if (args.size() != 2) throw UsageError{"нужны тема и файл пакета ресурсов"};
  const std::optional<OpenedTheme> t = OpenTheme(ctx, PathFromUtf8(args[0]));
  if (!t) return kExitFailed;
  const fs::path descriptor = ForceExtension(PathFromUtf8(args[1]), ".res");
  ExportResourcePackage(t->map, t->theme, descriptor);
  ctx.out << "Экспортировано файлов: " << ResourceNodes(t->map, t->theme).size() << " (" << Utf8FromPath(descriptor)
          << ", " << Utf8FromPath(descriptor.parent_path() / kResFolder) << ")\n";
  return kExitOk;
}

int CmdImportRes(Context& ctx, const std::vector<std::string>& args) {
  auto [files, out_arg] = SplitOutputOption(args);
  if (files.size() != 2) throw UsageError{"нужны тема и файл пакета ресурсов"};

  const FileLock lock = LockFileForUpdate(PathFromUtf8(files[0]));  // held until the save, as replace does
  std::optional<OpenedTheme> t = OpenTheme(ctx, PathFromUtf8(files[0]));
  if (!t) return kExitFailed;
  RequirePackageFile(files[1]);
  Converted<ResourceFiles> package = ReadResourcePackage(t->map, t->theme, files[1]);
  if (!package.value) {
    if (package.refusal) PrintRefusal(ctx, *package.refusal);
    return kExitFailed;
  }
  ApplyResourceFiles(t->theme, std::move(*package.value));

  // Saved as the editor saves: refused while a theme file is missing, atomic in place.
  const fs::path target = ForceExtension(out_arg.empty() ? PathFromUtf8(files[0]) : PathFromUtf8(out_arg), ".ssf");
  if (!SaveTheme(ctx, *t, target)) return kExitFailed;
  ctx.out << "Импортировано файлов: " << t->theme.StoredFiles() << " из " << t->map.FilesCount << " ("
          << Utf8FromPath(target) << ")\n";
  return kExitOk;
}

}  // namespace ssf::cli
