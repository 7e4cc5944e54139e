#include <cstdio>

#include "cli/Cli.h"
#include "platform/Console.h"

int main(int argc, char** argv) {
  ssf::PrepareConsole();
  ssf::cli::FileTextOut out(stdout), err(stderr);
  int code = ssf::cli::Run(ssf::CommandLineArguments(argc, argv), out, err);
  // A listing redirected to a full disk or a closed pipe must not end as a success.
  if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && code == ssf::cli::kExitOk) {
    err << "ssftool: не удалось записать вывод\n";
    code = ssf::cli::kExitFailed;
  }
  return code;
}
