#pragma once
// The ".ssf" association of the system the program runs on.
#include <memory>

#include "desktop/SsfAssociation.h"

namespace ssf {

// Where the system has a registry (Windows), the association through the ".ssf" and ProgID
// registry keys for the current user (RegistryAssociation); elsewhere the desktop's MIME
// files (DesktopAssociation). For the running program.
std::unique_ptr<SsfAssociation> SsfAssociationForThisProgram();

}  // namespace ssf
