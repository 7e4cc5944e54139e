#pragma once
// What an operation that checks its input returns instead of asking or telling the user.
#include <optional>
#include <string>

#include "base/Ui.h"

namespace ssf {

// Why an input was not taken: the message box kind (kMsgError, kMsgWarning) and its text.
struct Refusal {
  int kind = kMsgWarning;
  std::string text;
};

// The value, or a refusal, or neither when the input was passed over without a word (an
// extension a kind does not take, a question the user cancelled).
template <typename T>
struct Converted {
  std::optional<T> value;
  std::optional<Refusal> refusal;
};

}  // namespace ssf
