#include "cli/Cli.h"

#include "ifeg/Ifeg.h"

namespace ssf::cli {

OutputArgs SplitOutputOption(const std::vector<std::string>& args) {
  OutputArgs result;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 >= args.size()) throw UsageError{"-o needs a file"};
      result.out = args[++i];
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      throw UsageError{"unknown option '" + args[i] + "'"};
    } else {
      result.positional.push_back(args[i]);
    }
  }
  return result;
}

uint32_t ParseMaxError(const std::string& value) {
  const std::string wanted = "--max-error wants 0.." + std::to_string(kIfgMaxError) + ", not '" + value + "'";
  if (value.empty() || value.size() > 2 || value.find_first_not_of("0123456789") != std::string::npos) {
    throw UsageError{wanted};
  }
  const uint32_t n = static_cast<uint32_t>(std::stoul(value));
  if (n > kIfgMaxError) throw UsageError{wanted};
  return n;
}

FitOptions TakeFitOptions(std::vector<std::string>& args) {
  FitOptions fit;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--fit") {
      if (i + 1 >= args.size()) throw UsageError{"--fit needs crop, pad or stretch"};
      const std::string& mode = args[++i];
      if (mode != "crop" && mode != "pad" && mode != "stretch") {
        throw UsageError{"--fit is crop, pad or stretch, not '" + mode + "'"};
      }
      fit.mode = mode;
    } else if (args[i] == "--dither") {
      fit.dither = true;
    } else {
      rest.push_back(args[i]);
    }
  }
  if (fit.dither && !fit.mode) throw UsageError{"--dither needs --fit"};
  args = std::move(rest);
  return fit;
}

}  // namespace ssf::cli
