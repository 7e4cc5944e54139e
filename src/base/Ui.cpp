#include "base/Ui.h"

namespace ssf {

const char* MsgCaption(int kind) {
  switch (kind) {
    case kMsgError: return "Ошибка";
    case kMsgWarning: return "Внимание";
    case kMsgInformation: return "Информация";
    default: return "";
  }
}

}  // namespace ssf
