#pragma once
// Sets (or unsets) an environment variable for one scope and restores it afterwards.
#include <optional>
#include <string>

#include "platform/Environment.h"

namespace ssf::test {

class ScopedEnv {
 public:
  ScopedEnv(std::string name, const std::optional<std::string>& value)
      : name_(std::move(name)), old_(EnvironmentValue(name_.c_str())) {
    SetEnvironmentValue(name_.c_str(), value);
  }
  ~ScopedEnv() { SetEnvironmentValue(name_.c_str(), old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace ssf::test
