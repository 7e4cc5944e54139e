#include <iostream>

#include "cli/Cli.h"
#include "platform/Console.h"

int main(int argc, char** argv) {
  ssf::PrepareConsole();
  return ssf::cli::Run(ssf::CommandLineArguments(argc, argv), std::cout, std::cerr);
}
