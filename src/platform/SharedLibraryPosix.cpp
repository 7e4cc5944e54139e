#include <dlfcn.h>

#include "platform/SharedLibrary.h"

namespace ssf {

void* LoadSharedLibrary(const char* name, std::string& error) {
  void* lib = dlopen(name, RTLD_NOW | RTLD_LOCAL);
  if (lib == nullptr) {
    const char* why = dlerror();
    error = why != nullptr ? why : "";
  }
  return lib;
}

void* FindSharedSymbol(void* library, const char* name) { return dlsym(library, name); }

}  // namespace ssf
