#include <windows.h>
#include <shlobj.h>

#include <string>

#include "platform/SsfError.h"
#include "platform/SystemErrorText.h"
#include "platform/UserRegistry.h"
#include "platform/WideText.h"

namespace ssf {

namespace {

// The current user's registry. HKEY_CLASSES_ROOT is the merged view of the machine's and
// the user's classes; a program that may not write the machine's writes the user's.
class WindowsRegistry : public Registry {
 public:
  ~WindowsRegistry() override {
    CloseOpenKey();
    // Explorer caches icons and open commands until it is told.
    if (changed_) ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  }

  bool KeyExists(RegistryRoot root, const std::string& key) const override {
    HKEY h = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, SubKey(root, key).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) {
      return false;
    }
    ::RegCloseKey(h);
    return true;
  }

  void CreateKey(RegistryRoot root, const std::string& key) override {
    ::RegCloseKey(Create(root, key));
  }

  void OpenKey(RegistryRoot root, const std::string& key) override {
    CloseOpenKey();
    open_ = Create(root, key);
    open_name_ = key;
  }

  void WriteString(const std::string& name, const std::string& data) override {
    const std::wstring wide = WideFromUtf8(data);
    SetValue(name, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()), (wide.size() + 1) * sizeof(wchar_t));
  }

  void WriteBinary(const std::string& name, std::span<const uint8_t> data) override {
    SetValue(name, REG_BINARY, data.data(), data.size());
  }

  bool DeleteKey(RegistryRoot root, const std::string& key) override {
    if (!KeyExists(root, key)) return false;
    const std::wstring sub = SubKey(root, key);
    // With a subkey named, RegDeleteTreeW removes that key itself too; asking RegDeleteKeyW
    // afterwards would find nothing and report a removal that worked as failed.
    if (::RegDeleteTreeW(HKEY_CURRENT_USER, sub.c_str()) != ERROR_SUCCESS) return false;
    changed_ = true;
    return !KeyExists(root, key) || ::RegDeleteKeyW(HKEY_CURRENT_USER, sub.c_str()) == ERROR_SUCCESS;
  }

 private:
  static std::wstring SubKey(RegistryRoot root, const std::string& key) {
    return WideFromUtf8(root == RegistryRoot::ClassesRoot ? "Software\\Classes\\" + key : key);
  }

  static std::string Shown(RegistryRoot root, const std::string& key) {
    return (root == RegistryRoot::ClassesRoot ? "HKEY_CLASSES_ROOT\\" : "HKEY_CURRENT_USER\\") + key;
  }

  HKEY Create(RegistryRoot root, const std::string& key) {
    HKEY h = nullptr;
    const LSTATUS rc = ::RegCreateKeyExW(HKEY_CURRENT_USER, SubKey(root, key).c_str(), 0, nullptr,
                                         REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &h, nullptr);
    if (rc != ERROR_SUCCESS) {
      throw SsfError("Не удалось создать раздел реестра: " + Shown(root, key) + " (" + SystemCodeText(rc) + ")");
    }
    changed_ = true;
    return h;
  }

  void SetValue(const std::string& name, DWORD type, const BYTE* data, size_t size) {
    if (open_ == nullptr) throw SsfError("Не удалось записать значение реестра " + name + ": раздел не открыт");
    const LSTATUS rc =
        ::RegSetValueExW(open_, WideFromUtf8(name).c_str(), 0, type, data, static_cast<DWORD>(size));
    if (rc != ERROR_SUCCESS) {
      throw SsfError("Не удалось записать значение реестра " + open_name_ + "\\" + name + " (" +
                     SystemCodeText(rc) + ")");
    }
    changed_ = true;
  }

  void CloseOpenKey() {
    if (open_ != nullptr) ::RegCloseKey(open_);
    open_ = nullptr;
  }

  HKEY open_ = nullptr;
  std::string open_name_;
  bool changed_ = false;
};

}  // namespace

std::unique_ptr<Registry> OpenUserRegistry() { return std::make_unique<WindowsRegistry>(); }

}  // namespace ssf
