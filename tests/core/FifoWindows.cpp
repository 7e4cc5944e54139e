#include "TestSupport.h"

namespace ssf::test {

// Windows has no FIFOs in its file system: named pipes live in a name space of their own.
bool MakeFifo(const std::filesystem::path&) { return false; }

}  // namespace ssf::test
