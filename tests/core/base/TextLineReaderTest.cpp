#include <gtest/gtest.h>

#include <fstream>

#include "TestSupport.h"
#include "base/SsfError.h"
#include "base/TextLineReader.h"

namespace ssf {
namespace {

std::vector<std::string> AllLines(const std::filesystem::path& file, size_t max_line) {
  TextLineReader reader(file, 1 << 20, max_line);
  std::vector<std::string> lines;
  std::string line;
  while (reader.Next(line)) {
    lines.push_back(line);
    EXPECT_EQ(reader.LineNumber(), lines.size());
  }
  return lines;
}

std::string ErrorOf(const std::filesystem::path& file, size_t max_line) {
  try {
    AllLines(file, max_line);
  } catch (const SsfError& e) {
    return e.what();
  }
  return "";
}

TEST(TextLineReader, SplitsAtLineFeedsAndDropsTheCarriageReturnBeforeOne) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\r\n\r\nb\rc\r", {"a", "", "b\rc\r"}},
      {"\n\n", {"", ""}},
      {std::string("x\0y\n", 4), {std::string("x\0y", 3)}},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    test::WriteText(dir / "t.txt", c.text);
    EXPECT_EQ(AllLines(dir / "t.txt", 16), c.lines) << c.text;
  }
}

TEST(TextLineReader, LinesAcrossTheBufferAndUpToTheLimitAreWhole) {
  test::TempDir dir;
  // Lines of every length around the 64 KiB buffer, the limit above them.
  std::string text;
  std::vector<std::string> want;
  for (size_t length : {65533u, 1u, 65536u, 70000u, 0u, 131072u}) {
    want.push_back(std::string(length, 'q'));
    text += want.back() + "\r\n";
  }
  test::WriteText(dir / "t.txt", text);
  EXPECT_EQ(AllLines(dir / "t.txt", 131072), want);
}

TEST(TextLineReader, RefusesALineOverTheLimitNamingFileAndLine) {
  test::TempDir dir;
  struct Case {
    std::string text;
    std::string reason;
  };
  const Case cases[] = {
      {"ok\n" + std::string(11, 'x') + "\nok\n", "строка 2 длиннее 10 байт"},
      {"ok\nok\n" + std::string(11, 'x'), "строка 3 длиннее 10 байт"},
      {std::string(10, 'x') + "\r\n" + std::string(200000, '"'), "строка 2 длиннее 10 байт"},
  };
  for (const Case& c : cases) {
    test::WriteText(dir / "m.rxt", c.text);
    EXPECT_EQ(ErrorOf(dir / "m.rxt", 10), "Не удалось прочитать файл: " + (dir / "m.rxt").string() + " (" + c.reason + ")");
  }
}

TEST(TextLineReader, RefusesAFileOverTheSizeLimitBeforeReading) {
  test::TempDir dir;
  {
    std::ofstream f(dir / "big.txt");
    f.seekp((1 << 20) + 1);
    f.put('\n');
  }
  EXPECT_THROW(TextLineReader(dir / "big.txt", 1 << 20, 16), SsfError);
  EXPECT_THROW(TextLineReader(dir.path(), 1 << 20, 16), SsfError);
}

}  // namespace
}  // namespace ssf
