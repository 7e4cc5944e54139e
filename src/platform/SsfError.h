#pragma once
#include <stdexcept>
#include <string>

namespace ssf {

// The one error type of the core. Its message is shown to the user as it is,
// so it says what failed and where (file, field, offset, value).
class SsfError : public std::runtime_error {
 public:
  explicit SsfError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace ssf
