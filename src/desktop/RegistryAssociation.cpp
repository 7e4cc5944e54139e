#include "desktop/RegistryAssociation.h"

#include <array>

#include "base/SsfError.h"

namespace ssf {

namespace {

constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

// The last component of a Windows or POSIX path.
std::string ProgramFileName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string SsfOpenCommand(const std::string& program_path) {
  return "\"" + program_path + "\" \"%1\"";
}

bool RegistryAssociation::IsPresent() const {
  return registry_.KeyExists(kClasses, ".ssf");
}

bool RegistryAssociation::Register() {
  // Creating the extension key is the rights test: when it fails nothing has been written.
  try {
    registry_.CreateKey(kClasses, ".ssf");
  } catch (const SsfError&) {
    return false;
  }
  const std::string prog_id = kSsfProgId;
  const std::string user_ext = std::string(kExplorerFileExts) + "\\.ssf";

  registry_.OpenKey(kClasses, ".ssf");
  registry_.WriteString("", prog_id);
  registry_.OpenKey(kClasses, prog_id);
  registry_.WriteString("", prog_id);
  registry_.OpenKey(kClasses, prog_id + "\\DefaultIcon");
  registry_.WriteString("", program_path_ + ",0");
  registry_.OpenKey(kClasses, prog_id + "\\shell\\open\\command");
  registry_.WriteString("", SsfOpenCommand(program_path_));
  registry_.OpenKey(kUser, user_ext + "\\OpenWithList");
  registry_.WriteString("a", ProgramFileName(program_path_));
  registry_.WriteString("MRUList", "a");
  registry_.OpenKey(kUser, user_ext + "\\OpenWithProgids");
  const std::array<uint8_t, 8> zeros{};
  registry_.WriteBinary(prog_id, zeros);
  return true;
}

bool RegistryAssociation::Unregister() {
  if (!registry_.DeleteKey(kClasses, ".ssf")) return false;
  // What remains is cleaned up as far as it goes; the switch is off already.
  registry_.DeleteKey(kClasses, kSsfProgId);
  try {
    registry_.OpenKey(kUser, kExplorerFileExts);
  } catch (const SsfError&) {
    // The per-user key cannot be opened; the delete below fails quietly too.
  }
  registry_.DeleteKey(kUser, std::string(kExplorerFileExts) + "\\.ssf");
  return true;
}

}  // namespace ssf
