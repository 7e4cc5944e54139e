#pragma once
// The command-line tool `ssftool`: main() calls Run(), which returns the exit code.
// Exit codes: 0 success, 1 refused or failed, 2 usage error.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/TextOut.h"

namespace ssf::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Context {
  std::filesystem::path maps_dir;  // --maps DIR, else ThemeMaps of the program's folder
  TextOut& out;
  TextOut& err;
};

// Thrown by a command for a bad command line; Run prints it with the usage and returns 2.
struct UsageError {
  std::string message;
};

using CommandFn = int (*)(Context& ctx, const std::vector<std::string>& args);

struct Command {
  const char* name;
  const char* usage;  // arguments after the command name
  const char* help;   // one line
  CommandFn fn;
};

int Run(const std::vector<std::string>& args, TextOut& out, TextOut& err);

// The line of `--help` after which the commands are listed, each as "  NAME USAGE" and its
// description indented below; the bash completion and the manual page test read the list
// from there.
inline constexpr const char* kCommandsHeading = "Команды:";

}  // namespace ssf::cli

namespace ssf::cli {

// The arguments of a command that writes a theme: "-o FILE" picked out, the rest in order.
// Another option is a usage error.
struct OutputArgs {
  std::vector<std::string> positional;
  std::string out;  // empty without -o
};
OutputArgs SplitOutputOption(const std::vector<std::string>& args);

// The value of --max-error: the IFEG encoder's allowed error per channel, decimal digits
// (leading zeros allowed, as in 08 or 007) worth 0 to 8. The help and the refusal say it in
// these words (the manual page in its English ones).
inline constexpr const char* kMaxErrorRule = "целое число от 0 (без потерь, по умолчанию) до 8";
uint32_t ParseMaxError(const std::string& value);

// "--fit crop|pad|stretch" and "--dither" taken out of `args`: how imported pictures of
// another size are fitted (nothing: refused as the editor refuses them).
struct FitOptions {
  std::optional<std::string> mode;
  bool dither = false;
};
FitOptions TakeFitOptions(std::vector<std::string>& args);

}  // namespace ssf::cli
