#include <string>

#include "cli/Commands.h"
#include "tools/filelists/FileListTables.h"
#include "tools/filelists/FlmFile.h"
#include "platform/PathText.h"

namespace ssf::cli {

namespace {

// The counter texts break lines with CR LF as the window shows them; a terminal wants LF.
std::string ForTerminal(std::string text) {
  for (size_t p; (p = text.find("\r\n")) != std::string::npos;) text.erase(p, 1);
  return text;
}

void NeedTwoFiles(const std::vector<std::string>& args) {
  if (args.size() != 2) throw UsageError{"нужны входной и выходной файлы"};
}

}  // namespace

int CmdFlmToFlc(Context& ctx, const std::vector<std::string>& args) {
  NeedTwoFiles(args);
  FlmCheckResult check = CheckFLM(PathFromUtf8(args[0]));
  if (!check.ok()) {
    ctx.err << ForTerminal(FlmCounterText(check)) << "\n";
    return kExitFailed;
  }
  WriteFLCFromFLM(PathFromUtf8(args[0]), PathFromUtf8(args[1]));
  ctx.out << ForTerminal(FlmCounterText(check)) << "\n";
  return kExitOk;
}

int CmdFlcToFlm(Context& ctx, const std::vector<std::string>& args) {
  NeedTwoFiles(args);
  FileListTables tables;
  FlcLoadResult result = tables.LoadFLC(PathFromUtf8(args[0]));
  std::string text = ForTerminal(FlcCounterText(result, tables.FileListCount()));
  if (!result.ok()) {
    ctx.err << text << "\n";
    return kExitFailed;
  }
  WriteFLM(tables, PathFromUtf8(args[1]));
  ctx.out << text << "\n";
  return kExitOk;
}

}  // namespace ssf::cli
