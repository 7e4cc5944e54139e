#include "cli/Cli.h"

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

}  // namespace ssf::cli
