#pragma once
// expat, loaded when the first .xlsx or .ods workbook is read (platform/LateLibrary.h).
#include <expat.h>

#include "platform/LateLibrary.h"

#define SSF_LIBEXPAT_FUNCTIONS(X)                                                              \
  X(XML_ErrorString) X(XML_GetCurrentLineNumber) X(XML_GetErrorCode) X(XML_Parse)              \
  X(XML_ParserCreateNS) X(XML_ParserFree) X(XML_SetCharacterDataHandler) X(XML_SetElementHandler) \
  X(XML_SetStartDoctypeDeclHandler) X(XML_SetUserData) X(XML_StopParser)

namespace ssf {

struct Libexpat {
  SSF_LIBEXPAT_FUNCTIONS(SSF_LATE_MEMBER)
};

// Loaded on the first call; throws SsfError when it cannot be.
const Libexpat& LoadLibexpat();

}  // namespace ssf
