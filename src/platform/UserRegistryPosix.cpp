#include "platform/UserRegistry.h"

namespace ssf {

std::unique_ptr<Registry> OpenUserRegistry() { return nullptr; }

}  // namespace ssf
