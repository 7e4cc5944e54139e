#pragma once
// The few registry operations the ".ssf" association needs. Windows implements them on
// the real registry; MemoryRegistry keeps them in memory so the association logic runs
// and is tested anywhere. Key paths use '\' between names and compare without case.
#include <cstdint>
#include <span>
#include <string>

namespace ssf {

enum class RegistryRoot { ClassesRoot, CurrentUser };

class Registry {
 public:
  virtual ~Registry() = default;

  virtual bool KeyExists(RegistryRoot root, const std::string& key) const = 0;
  // Creates the key and its missing parents; throws SsfError when it cannot.
  virtual void CreateKey(RegistryRoot root, const std::string& key) = 0;
  // Opens the key, creating it when missing, as the target of the following value writes;
  // throws SsfError when it cannot.
  virtual void OpenKey(RegistryRoot root, const std::string& key) = 0;
  // Value writes into the opened key; an empty name is the key's default value.
  // Throw SsfError when no key is open or the write fails.
  virtual void WriteString(const std::string& name, const std::string& data) = 0;
  virtual void WriteBinary(const std::string& name, std::span<const uint8_t> data) = 0;
  // Removes the key with all its subkeys and values; false when it cannot (or is gone).
  virtual bool DeleteKey(RegistryRoot root, const std::string& key) = 0;
};

}  // namespace ssf
