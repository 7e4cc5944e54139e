#pragma once
// The cell text one workbook may make the reader hold. Every reader charges it before it
// copies text: each cell, each expanded repeat, each use of a shared string, each run of
// spaces, so a small file of references and repeat counts cannot grow into gigabytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Limits.h"
#include "base/SsfError.h"

namespace ssf {

class TextBudget {
 public:
  static constexpr uint64_t kHeldStringCost = sizeof(std::string);

  // `what` names the workbook (and part) in the error.
  explicit TextBudget(std::string what, int64_t limit = kMaxWorkbookText) : what_(std::move(what)), left_(limit), limit_(limit) {}

  // Takes `bytes` from the budget; over budget throws SsfError naming the workbook and the limit.
  void Charge(uint64_t bytes) {
    if (bytes > static_cast<uint64_t>(left_)) {
      throw SsfError(what_ + ": текст ячеек больше предела " + std::to_string(limit_) + " байт");
    }
    left_ -= static_cast<int64_t>(bytes);
  }
  // Charges a string the reader keeps for later (a shared string): its text and what holding
  // it costs, so a part of a million empty items is refused like a million letters.
  void ChargeHeld(uint64_t bytes) { Charge(bytes + kHeldStringCost); }
  // Charges `count` copies of `bytes` without overflow.
  void Charge(uint64_t bytes, uint64_t count) {
    if (count != 0 && bytes > static_cast<uint64_t>(left_) / count) Charge(static_cast<uint64_t>(left_) + 1);
    Charge(bytes * count);
  }

 private:
  std::string what_;
  int64_t left_;
  int64_t limit_;
};

}  // namespace ssf
