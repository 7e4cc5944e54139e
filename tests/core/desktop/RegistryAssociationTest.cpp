#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedUi.h"
#include "desktop/MemoryRegistry.h"
#include "desktop/RegistryAssociation.h"
#include "base/SsfError.h"

namespace ssf {
namespace {

using test::ScriptedUi;

constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
const std::string kUserExt = std::string(kExplorerFileExts) + "\\.ssf";
const std::string kProgram = "C:\\Tools\\Editor.exe";

// Logs every operation that changes the registry, then passes it on.
class RecordingRegistry : public MemoryRegistry {
 public:
  std::vector<std::string> log;

  void CreateKey(RegistryRoot root, const std::string& key) override {
    log.push_back("create " + Name(root, key));
    MemoryRegistry::CreateKey(root, key);
  }
  void OpenKey(RegistryRoot root, const std::string& key) override {
    log.push_back("open " + Name(root, key));
    MemoryRegistry::OpenKey(root, key);
  }
  void WriteString(const std::string& name, const std::string& data) override {
    log.push_back("string [" + name + "] = " + data);
    MemoryRegistry::WriteString(name, data);
  }
  void WriteBinary(const std::string& name, std::span<const uint8_t> data) override {
    log.push_back("binary [" + name + "] = " + std::to_string(data.size()) + " bytes");
    for (uint8_t b : data) EXPECT_EQ(b, 0);
    MemoryRegistry::WriteBinary(name, data);
  }
  bool DeleteKey(RegistryRoot root, const std::string& key) override {
    log.push_back("delete " + Name(root, key));
    return MemoryRegistry::DeleteKey(root, key);
  }

 private:
  static std::string Name(RegistryRoot root, const std::string& key) {
    return (root == kClasses ? "HKCR\\" : "HKCU\\") + key;
  }
};

std::string StringValue(const MemoryRegistry& reg, RegistryRoot root, const std::string& key,
                        const std::string& name) {
  auto v = reg.Read(root, key, name);
  if (!v || !std::holds_alternative<std::string>(*v)) return "<missing>";
  return std::get<std::string>(*v);
}

TEST(RegistryAssociation, RegisterWritesTheSevenValuesInOrder) {
  RecordingRegistry reg;
  RegistryAssociation assoc(reg, kProgram);
  ScriptedUi ui;
  EXPECT_FALSE(RegEditSSFCheckedAtStart(assoc));

  EXPECT_TRUE(MM_Child_RegEditSSFClick(assoc, ui, false));
  EXPECT_TRUE(ui.messages.empty());
  const std::vector<std::string> expected = {
      "create HKCR\\.ssf",
      "open HKCR\\.ssf",
      "string [] = Quillbay Theme",
      "open HKCR\\Quillbay Theme",
      "string [] = Quillbay Theme",
      "open HKCR\\Quillbay Theme\\DefaultIcon",
      "string [] = C:\\Tools\\Editor.exe,0",
      "open HKCR\\Quillbay Theme\\shell\\open\\command",
      "string [] = \"C:\\Tools\\Editor.exe\" \"%1\"",
      "open HKCU\\" + kUserExt + "\\OpenWithList",
      "string [a] = Editor.exe",
      "string [MRUList] = a",
      "open HKCU\\" + kUserExt + "\\OpenWithProgids",
      "binary [Quillbay Theme] = 8 bytes",
  };
  EXPECT_EQ(reg.log, expected);
  EXPECT_TRUE(RegEditSSFCheckedAtStart(assoc));
}

TEST(RegistryAssociation, OpenCommandCharacterForCharacter) {
  // quote, path, quote, space, quote, %1, quote
  EXPECT_EQ(SsfOpenCommand("C:\\Tools\\Editor.exe"), "\"C:\\Tools\\Editor.exe\" \"%1\"");
  MemoryRegistry reg;
  RegistryAssociation assoc(reg, "C:\\Program Files\\Quillbay\\ssf.exe");
  ASSERT_TRUE(assoc.Register());
  EXPECT_EQ(StringValue(reg, kClasses, "Quillbay Theme\\shell\\open\\command", ""),
            "\"C:\\Program Files\\Quillbay\\ssf.exe\" \"%1\"");
  EXPECT_EQ(StringValue(reg, kUser, kUserExt + "\\OpenWithList", "a"), "ssf.exe");
}

TEST(RegistryAssociation, RegisteringOverExistingKeysKeepsOtherValues) {
  MemoryRegistry reg;
  reg.OpenKey(kClasses, "Quillbay Theme\\DefaultIcon");
  reg.WriteString("", "D:\\old.exe,3");
  reg.WriteString("Extra", "kept");
  reg.OpenKey(kUser, kUserExt + "\\OpenWithList");
  reg.WriteString("a", "old.exe");
  reg.WriteString("b", "viewer.exe");
  reg.WriteString("MRUList", "ba");

  RegistryAssociation assoc(reg, kProgram);
  ASSERT_TRUE(assoc.Register());
  EXPECT_EQ(StringValue(reg, kClasses, "Quillbay Theme\\DefaultIcon", ""), "C:\\Tools\\Editor.exe,0");
  EXPECT_EQ(StringValue(reg, kClasses, "Quillbay Theme\\DefaultIcon", "Extra"), "kept");
  EXPECT_EQ(StringValue(reg, kUser, kUserExt + "\\OpenWithList", "a"), "Editor.exe");
  EXPECT_EQ(StringValue(reg, kUser, kUserExt + "\\OpenWithList", "b"), "viewer.exe");
  EXPECT_EQ(StringValue(reg, kUser, kUserExt + "\\OpenWithList", "MRUList"), "a");
}

TEST(RegistryAssociation, UnregisterRemovesAllThreeKeysWithWhatTheShellAdded) {
  MemoryRegistry reg;
  RegistryAssociation assoc(reg, kProgram);
  ScriptedUi ui;
  ASSERT_TRUE(MM_Child_RegEditSSFClick(assoc, ui, false));
  // What Explorer adds on its own after the user opened a file.
  reg.OpenKey(kUser, kUserExt + "\\UserChoice");
  reg.WriteString("ProgId", "Quillbay Theme");
  reg.OpenKey(kUser, std::string(kExplorerFileExts) + "\\.txt\\OpenWithList");
  reg.WriteString("a", "notepad.exe");

  EXPECT_FALSE(MM_Child_RegEditSSFClick(assoc, ui, true));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(reg.KeyExists(kClasses, ".ssf"));
  EXPECT_FALSE(reg.KeyExists(kClasses, "Quillbay Theme"));
  EXPECT_FALSE(reg.KeyExists(kUser, kUserExt));
  EXPECT_TRUE(reg.Keys(kClasses).empty());
  EXPECT_EQ(StringValue(reg, kUser, std::string(kExplorerFileExts) + "\\.txt\\OpenWithList", "a"),
            "notepad.exe");
  EXPECT_FALSE(RegEditSSFCheckedAtStart(assoc));
}

TEST(RegistryAssociation, AnotherProgramsExtensionKeyShowsCheckedAndIsRemoved) {
  MemoryRegistry reg;
  reg.OpenKey(kClasses, ".SSF");
  reg.WriteString("", "Other.Theme");
  reg.OpenKey(kClasses, "Other.Theme\\shell\\open\\command");
  reg.WriteString("", "\"C:\\Other\\other.exe\" \"%1\"");

  RegistryAssociation assoc(reg, kProgram);
  ScriptedUi ui;
  ASSERT_TRUE(RegEditSSFCheckedAtStart(assoc));
  EXPECT_FALSE(MM_Child_RegEditSSFClick(assoc, ui, true));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(reg.KeyExists(kClasses, ".ssf"));
  // Only the three keys of this program's list go; the other program's ProgID stays.
  EXPECT_TRUE(reg.KeyExists(kClasses, "Other.Theme\\shell\\open\\command"));
}

TEST(RegistryAssociation, NoRightsShowsTheWarningAndChangesNothing) {
  ScriptedUi ui;
  {
    RecordingRegistry reg;
    reg.Lock(kClasses);
    RegistryAssociation assoc(reg, kProgram);
    EXPECT_FALSE(MM_Child_RegEditSSFClick(assoc, ui, false));
    EXPECT_EQ(reg.log, std::vector<std::string>{"create HKCR\\.ssf"});
    EXPECT_TRUE(reg.Keys(kClasses).empty());
    EXPECT_TRUE(reg.Keys(kUser).empty());
  }
  {
    MemoryRegistry reg;
    RegistryAssociation assoc(reg, kProgram);
    ASSERT_TRUE(assoc.Register());
    reg.Lock(kClasses);
    EXPECT_TRUE(MM_Child_RegEditSSFClick(assoc, ui, true));
    EXPECT_TRUE(reg.KeyExists(kClasses, ".ssf"));
    EXPECT_TRUE(reg.KeyExists(kUser, kUserExt + "\\OpenWithProgids"));
  }
  {
    // Checked, but the key went away meanwhile: the same warning, the mark stays.
    MemoryRegistry reg;
    RegistryAssociation assoc(reg, kProgram);
    EXPECT_TRUE(MM_Child_RegEditSSFClick(assoc, ui, true));
  }
  ASSERT_EQ(ui.messages.size(), 3u);
  for (const auto& m : ui.messages) {
    EXPECT_EQ(m.text,
              "У Вас недостаточно прав для выполнения данной операции!\r\n"
              "Попробуйте запустить программу с правами администратора.");
    EXPECT_EQ(m.kind, kMsgWarning);
  }
}

TEST(RegistryAssociation, ALaterFailedWriteIsAnErrorAndKeepsWhatWasWritten) {
  MemoryRegistry reg;
  reg.Lock(kUser);
  RegistryAssociation assoc(reg, kProgram);
  ScriptedUi ui;
  EXPECT_THROW(MM_Child_RegEditSSFClick(assoc, ui, false), SsfError);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(StringValue(reg, kClasses, "Quillbay Theme\\shell\\open\\command", ""),
            SsfOpenCommand(kProgram));
  EXPECT_TRUE(reg.Keys(kUser).empty());
}

}  // namespace
}  // namespace ssf
