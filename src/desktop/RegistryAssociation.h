#pragma once
// The ".ssf" association as the Windows shell keeps it: the extension key and the ProgID
// "Quillbay Theme" under HKEY_CLASSES_ROOT, and the per-user Explorer keys.
#include <string>

#include "platform/Registry.h"
#include "desktop/SsfAssociation.h"

namespace ssf {

inline constexpr char kSsfProgId[] = "Quillbay Theme";
inline constexpr char kExplorerFileExts[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";

// The shell's open command for a program: "<path>" "%1".
std::string SsfOpenCommand(const std::string& program_path);

class RegistryAssociation : public SsfAssociation {
 public:
  // `program_path` is the full path of the executable, as the shell will start it.
  RegistryAssociation(Registry& registry, std::string program_path)
      : registry_(registry), program_path_(std::move(program_path)) {}

  // Present when HKEY_CLASSES_ROOT\.ssf exists, whichever program wrote it.
  bool IsPresent() const override;
  bool Register() override;
  // Removes the ".ssf" key, the ProgID and the per-user ".ssf" key with all they hold.
  bool Unregister() override;

 private:
  Registry& registry_;
  std::string program_path_;
};

}  // namespace ssf
