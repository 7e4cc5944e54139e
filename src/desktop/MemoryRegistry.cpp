#include "desktop/MemoryRegistry.h"

#include "base/SsfError.h"

namespace ssf {

namespace {

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

const char* RootName(RegistryRoot root) {
  return root == RegistryRoot::ClassesRoot ? "HKEY_CLASSES_ROOT" : "HKEY_CURRENT_USER";
}

}  // namespace

// "a\\b\" and "A\b" name the same key.
std::string MemoryRegistry::Normalize(const std::string& key) {
  std::string out;
  for (char c : key) {
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out += c;
  }
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

void MemoryRegistry::Require(RegistryRoot root, const std::string& what) const {
  if (locked_.count(root) != 0) {
    throw SsfError(std::string("Нет доступа к разделу реестра: ") + RootName(root) + "\\" + what);
  }
}

bool MemoryRegistry::KeyExists(RegistryRoot root, const std::string& key) const {
  return keys_.count({root, Lower(Normalize(key))}) != 0;
}

void MemoryRegistry::CreateKey(RegistryRoot root, const std::string& key) { AddKey(root, key); }

void MemoryRegistry::AddKey(RegistryRoot root, const std::string& key) {
  const std::string path = Normalize(key);
  if (path.empty()) throw SsfError(std::string("Пустое имя раздела реестра в ") + RootName(root));
  Require(root, path);
  // Every parent exists as a key of its own, as in the real registry.
  for (size_t end = 0; end != std::string::npos;) {
    end = path.find('\\', end + 1);
    std::string part = path.substr(0, end);
    keys_.try_emplace({root, Lower(part)}, Key{part, {}});
  }
}

void MemoryRegistry::OpenKey(RegistryRoot root, const std::string& key) {
  AddKey(root, key);
  open_ = KeyId{root, Lower(Normalize(key))};
}

void MemoryRegistry::WriteValue(const std::string& name, Value value) {
  if (!open_) throw SsfError("Запись значения реестра без открытого раздела: " + name);
  Require(open_->first, open_->second);
  auto it = keys_.find(*open_);
  if (it == keys_.end()) throw SsfError("Раздел реестра удалён: " + open_->second);
  it->second.values[Lower(name)] = std::move(value);
}

void MemoryRegistry::WriteString(const std::string& name, const std::string& data) {
  WriteValue(name, data);
}

void MemoryRegistry::WriteBinary(const std::string& name, std::span<const uint8_t> data) {
  WriteValue(name, std::vector<uint8_t>(data.begin(), data.end()));
}

bool MemoryRegistry::DeleteKey(RegistryRoot root, const std::string& key) {
  const std::string path = Lower(Normalize(key));
  if (path.empty() || locked_.count(root) != 0) return false;
  if (keys_.count({root, path}) == 0) return false;
  const std::string prefix = path + "\\";
  std::erase_if(keys_, [&](const auto& entry) {
    const KeyId& id = entry.first;
    return id.first == root && (id.second == path || id.second.starts_with(prefix));
  });
  return true;
}

std::optional<MemoryRegistry::Value> MemoryRegistry::Read(RegistryRoot root, const std::string& key,
                                                          const std::string& name) const {
  auto it = keys_.find({root, Lower(Normalize(key))});
  if (it == keys_.end()) return std::nullopt;
  auto v = it->second.values.find(Lower(name));
  if (v == it->second.values.end()) return std::nullopt;
  return v->second;
}

std::vector<std::string> MemoryRegistry::Keys(RegistryRoot root) const {
  std::vector<std::string> out;
  for (const auto& [id, key] : keys_) {
    if (id.first == root) out.push_back(key.name);
  }
  return out;
}

}  // namespace ssf
