#pragma once
// One function per sub-command; each lives in its own Cmd*.cpp file.
#include "cli/Cli.h"

namespace ssf::cli {

int CmdMaps(Context& ctx, const std::vector<std::string>& args);
int CmdCheckMap(Context& ctx, const std::vector<std::string>& args);
int CmdFlmToFlc(Context& ctx, const std::vector<std::string>& args);
int CmdFlcToFlm(Context& ctx, const std::vector<std::string>& args);
int CmdInfo(Context& ctx, const std::vector<std::string>& args);
int CmdCheck(Context& ctx, const std::vector<std::string>& args);
int CmdConvert(Context& ctx, const std::vector<std::string>& args);
int CmdCopyColors(Context& ctx, const std::vector<std::string>& args);
int CmdIfeg(Context& ctx, const std::vector<std::string>& args);
int CmdExportRes(Context& ctx, const std::vector<std::string>& args);
int CmdImportRes(Context& ctx, const std::vector<std::string>& args);
int CmdNew(Context& ctx, const std::vector<std::string>& args);
int CmdReplace(Context& ctx, const std::vector<std::string>& args);
int CmdIcon(Context& ctx, const std::vector<std::string>& args);
int CmdExtract(Context& ctx, const std::vector<std::string>& args);
int CmdScreens(Context& ctx, const std::vector<std::string>& args);
int CmdRender(Context& ctx, const std::vector<std::string>& args);
int CmdPort(Context& ctx, const std::vector<std::string>& args);

}  // namespace ssf::cli
