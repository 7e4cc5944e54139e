#pragma once
// Access keys (Alt+letter) for the captions of one menu or one row of buttons.
#include <string>
#include <vector>

namespace ssf {

// The captions (UTF-8) with "&" before one letter each, no letter used twice (case
// aside): the first letter of a word where one is free, else any free letter. A caption
// that already has its "&" keeps it and its letter; one with no free letter stays as it is.
std::vector<std::string> AssignMnemonics(const std::vector<std::string>& captions);

}  // namespace ssf
