#pragma once
// The system's own registry for the ".ssf" association, where the system has one.
#include <memory>

#include "platform/Registry.h"

namespace ssf {

// Windows: the registry of the current user; HKEY_CLASSES_ROOT is written as
// HKEY_CURRENT_USER\Software\Classes, which needs no administrator and which the shell merges
// into the classes it reads. Elsewhere nothing: the desktop keeps associations in files.
std::unique_ptr<Registry> OpenUserRegistry();

}  // namespace ssf
