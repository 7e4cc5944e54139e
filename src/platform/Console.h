#pragma once
// A console program's arguments and output streams.
#include <string>
#include <vector>

namespace ssf {

// The arguments after the program's name as UTF-8 texts: argv as it is on POSIX systems;
// on Windows the wide command line, since argv there is in the ANSI code page.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Lets the standard streams carry UTF-8 bytes unchanged: on Windows the console's output
// code page becomes UTF-8 and no "\n" turns into "\r\n" (nothing to do elsewhere).
void PrepareConsole();

}  // namespace ssf
