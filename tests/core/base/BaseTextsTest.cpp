// Small base helpers that shape what a user reads: the forced extension of a save name,
// Russian plural forms and the Russian texts of common system errors.
#include <gtest/gtest.h>

#include <cerrno>

#include "TestSupport.h"
#include "base/FileIO.h"
#include "base/RussianPlural.h"
#include "base/SsfError.h"
#include "platform/SystemErrorText.h"

namespace ssf::test {
namespace {

TEST(BaseTextsTest, ForceExtensionReplacesWhatFollowsTheLastDot) {
  const std::pair<const char*, const char*> cases[] = {
      {"dir/theme.txt", "dir/theme.res"}, {"dir/.txt", "dir/.res"},     {".txt", ".res"},
      {"dir/theme", "dir/theme.res"},     {"a.b.c", "a.b.res"},         {"dir.d/theme", "dir.d/theme.res"},
      {"theme.", "theme.res"},            {"/abs/x.RES", "/abs/x.res"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(ForceExtension(in, ".res"), std::filesystem::path(out)) << in;
}

TEST(BaseTextsTest, RussianPluralForms) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0 записей"},   {1, "1 запись"},    {2, "2 записи"},     {4, "4 записи"},   {5, "5 записей"},
      {11, "11 записей"}, {12, "12 записей"}, {14, "14 записей"},  {21, "21 запись"}, {22, "22 записи"},
      {101, "101 запись"}, {111, "111 записей"}, {1000000, "1000000 записей"}, {-3, "-3 записи"},
  };
  for (const auto& [n, text] : cases) EXPECT_EQ(CountText(n, "запись", "записи", "записей"), text) << n;
}

TEST(BaseTextsTest, CommonSystemErrorsReadInRussian) {
  for (int err : {ENOENT, EACCES, EPERM, ENOSPC, EROFS, ENAMETOOLONG, EISDIR}) {
    std::string text = SystemErrorText(err);
    EXPECT_TRUE(text.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos) << text;
  }
  EXPECT_EQ(SystemErrorText(std::make_error_code(std::errc::permission_denied)), "доступ запрещён");
  // Rare ones keep the system's text, after a Russian lead.
  EXPECT_EQ(SystemErrorText(EXDEV).rfind("системная ошибка ", 0), 0u);

  TempDir dir;
  try {
    ReadWholeFile(dir / "missing.bin");
    ADD_FAILURE();
  } catch (const SsfError& e) {
    EXPECT_EQ(std::string(e.what()), "Не удалось прочитать файл: " + (dir / "missing.bin").string() +
                                         " (файл не найден)");
  }
  try {
    WriteFileAtomic(dir / "no-such-folder" / "x.bin", std::string("x"));
    ADD_FAILURE();
  } catch (const SsfError& e) {
    EXPECT_NE(std::string(e.what()).find("(файл или папка не найдены)"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace ssf::test
