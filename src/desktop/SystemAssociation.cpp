#include "desktop/SystemAssociation.h"

#include "desktop/DesktopAssociation.h"
#include "desktop/RegistryAssociation.h"
#include "platform/PathText.h"
#include "platform/ProgramFolder.h"
#include "platform/UserRegistry.h"

namespace ssf {

namespace {

// Owns the registry the association writes to; the holder is built first.
struct RegistryHolder {
  std::unique_ptr<Registry> registry;
};

class SystemRegistryAssociation : private RegistryHolder, public RegistryAssociation {
 public:
  SystemRegistryAssociation(std::unique_ptr<Registry> registry, std::string program)
      : RegistryHolder{std::move(registry)}, RegistryAssociation(*this->registry, std::move(program)) {}
};

}  // namespace

std::unique_ptr<SsfAssociation> SsfAssociationForThisProgram() {
  if (std::unique_ptr<Registry> registry = OpenUserRegistry()) {
    return std::make_unique<SystemRegistryAssociation>(std::move(registry), Utf8FromPath(ExecutablePath()));
  }
  return DesktopAssociation::ForThisProgram();
}

}  // namespace ssf
