#include "platform/ExternalTool.h"

namespace ssf {

// The desktop tools this runs (MIME and desktop-entry caches) belong to Linux desktops;
// Windows has none of them.
std::filesystem::path FindInPath(const std::string&) { return {}; }

int RunToolIfInstalled(const std::vector<std::string>&) { return -1; }

}  // namespace ssf
