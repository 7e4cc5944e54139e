#include "platform/SystemErrorText.h"

namespace ssf {

// The system's codes are errno values here.
std::string SystemCodeText(int code) { return SystemErrorText(code); }

}  // namespace ssf
