#include <sys/stat.h>

#include "TestSupport.h"

namespace ssf::test {

bool MakeFifo(const std::filesystem::path& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

}  // namespace ssf::test
