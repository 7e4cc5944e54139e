// The current user's registry behind the association: keys of HKEY_CLASSES_ROOT land under
// HKEY_CURRENT_USER\Software\Classes, texts arrive as UTF-16, and a removed key is gone with
// everything below it. A scratch key of its own, so a real association stays untouched.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>

#include "platform/UserRegistry.h"
#include "platform/WideText.h"

namespace ssf {
namespace {

constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

// The default value of a key of the user's classes, as the shell reads it.
std::wstring DefaultValue(const std::string& key) {
  wchar_t data[512] = {};
  DWORD size = sizeof data;
  const std::wstring sub = WideFromUtf8("Software\\Classes\\" + key);
  if (::RegGetValueW(HKEY_CURRENT_USER, sub.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
    return L"<missing>";
  }
  return data;
}

TEST(UserRegistry, WritesTheUsersClassesAndRemovesWholeKeys) {
  std::unique_ptr<Registry> reg = OpenUserRegistry();
  ASSERT_NE(reg, nullptr);
  const std::string key = "QuillbayRegistryTest." + std::to_string(::GetCurrentProcessId());
  const std::string command = key + "\\shell\\open\\command";
  const std::string text = "\"C:\\Программы\\ssf-manager.exe\" \"%1\"";
  ASSERT_FALSE(reg->KeyExists(kClasses, key));

  reg->CreateKey(kClasses, key + "\\DefaultIcon");
  reg->OpenKey(kClasses, command);
  reg->WriteString("", text);
  reg->WriteBinary("EditFlags", std::array<uint8_t, 4>{});
  EXPECT_TRUE(reg->KeyExists(kClasses, key + "\\DefaultIcon"));
  EXPECT_TRUE(reg->KeyExists(kUser, "Software\\Classes\\" + command));
  EXPECT_EQ(DefaultValue(command), WideFromUtf8(text));

  EXPECT_TRUE(reg->DeleteKey(kClasses, key));
  EXPECT_FALSE(reg->KeyExists(kClasses, key));
  EXPECT_FALSE(reg->KeyExists(kClasses, command));
  EXPECT_FALSE(reg->DeleteKey(kClasses, key));  // nothing left to remove
}

}  // namespace
}  // namespace ssf
