#pragma once
// A registry in memory, for tests and for running the association logic off Windows.
// A root can be locked to act like a hive the user has no rights to change.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/Registry.h"

namespace ssf {

class MemoryRegistry : public Registry {
 public:
  using Value = std::variant<std::string, std::vector<uint8_t>>;

  bool KeyExists(RegistryRoot root, const std::string& key) const override;
  void CreateKey(RegistryRoot root, const std::string& key) override;
  void OpenKey(RegistryRoot root, const std::string& key) override;
  void WriteString(const std::string& name, const std::string& data) override;
  void WriteBinary(const std::string& name, std::span<const uint8_t> data) override;
  bool DeleteKey(RegistryRoot root, const std::string& key) override;

  // Every later change under this root fails, as without write rights.
  void Lock(RegistryRoot root) { locked_.insert(root); }
  void Unlock(RegistryRoot root) { locked_.erase(root); }

  // A value of a key, or nothing when the key or the value is missing.
  std::optional<Value> Read(RegistryRoot root, const std::string& key, const std::string& name) const;
  // The names of all keys under a root (as first created), for checking what is left.
  std::vector<std::string> Keys(RegistryRoot root) const;

 private:
  struct Key {
    std::string name;                    // as first written
    std::map<std::string, Value> values; // by lower-case value name
  };
  using KeyId = std::pair<RegistryRoot, std::string>;  // root and lower-case path

  static std::string Normalize(const std::string& key);
  void AddKey(RegistryRoot root, const std::string& key);
  void Require(RegistryRoot root, const std::string& what) const;
  void WriteValue(const std::string& name, Value value);

  std::map<KeyId, Key> keys_;
  std::set<RegistryRoot> locked_;
  std::optional<KeyId> open_;
};

}  // namespace ssf
