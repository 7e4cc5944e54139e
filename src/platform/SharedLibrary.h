#pragma once
// Libraries loaded while the program runs, by their file name; they stay loaded for the rest
// of the run.
#include <string>

namespace ssf {

// The loaded library, or nullptr with the system's reason in `error`.
void* LoadSharedLibrary(const char* name, std::string& error);
// A function or variable of a loaded library; nullptr when it has none of that name.
void* FindSharedSymbol(void* library, const char* name);

}  // namespace ssf
