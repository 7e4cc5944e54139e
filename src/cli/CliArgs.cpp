#include "cli/Cli.h"

#include "ifeg/Ifeg.h"

namespace ssf::cli {

OutputArgs SplitOutputOption(const std::vector<std::string>& args) {
  OutputArgs result;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 >= args.size()) throw UsageError{"после -o нужен файл"};
      result.out = args[++i];
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      throw UsageError{"неизвестный параметр '" + args[i] + "'"};
    } else {
      result.positional.push_back(args[i]);
    }
  }
  return result;
}

uint32_t ParseMaxError(const std::string& value) {
  static_assert(kIfgMaxError == 8, "kMaxErrorRule names the largest error");
  const size_t first = value.find_first_not_of('0');
  const std::string significant = first == std::string::npos ? "" : value.substr(first);
  if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos || significant.size() > 1 ||
      (significant.size() == 1 && significant[0] > '8')) {
    throw UsageError{std::string("--max-error: нужно ") + kMaxErrorRule + ", а не '" + value + "'"};
  }
  return significant.empty() ? 0 : static_cast<uint32_t>(significant[0] - '0');
}

FitOptions TakeFitOptions(std::vector<std::string>& args) {
  FitOptions fit;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--fit") {
      if (i + 1 >= args.size()) throw UsageError{"после --fit нужно crop, pad или stretch"};
      const std::string& mode = args[++i];
      if (mode != "crop" && mode != "pad" && mode != "stretch") {
        throw UsageError{"--fit: crop, pad или stretch, а не '" + mode + "'"};
      }
      fit.mode = mode;
    } else if (args[i] == "--dither") {
      fit.dither = true;
    } else {
      rest.push_back(args[i]);
    }
  }
  if (fit.dither && !fit.mode) throw UsageError{"--dither действует только вместе с --fit"};
  args = std::move(rest);
  return fit;
}

}  // namespace ssf::cli
