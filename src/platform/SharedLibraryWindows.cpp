#include <windows.h>

#include "platform/SharedLibrary.h"
#include "platform/SystemErrorText.h"
#include "platform/WideText.h"

namespace ssf {

void* LoadSharedLibrary(const char* name, std::string& error) {
  HMODULE lib = ::LoadLibraryW(WideFromUtf8(name).c_str());
  if (lib == nullptr) error = SystemCodeText(static_cast<int>(::GetLastError()));
  return reinterpret_cast<void*>(lib);
}

void* FindSharedSymbol(void* library, const char* name) {
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace ssf
