// Files from strangers: only regular files are read, links never lead out of a package,
// limits hold before allocation, and a save leaves no temporary file behind.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <tuple>
#include <set>

#include "EditorTestSupport.h"
#include "SchemeWorkbooks.h"
#include "base/FileIO.h"
#include "base/SsfError.h"
#include "editor/ResourceHandlers.h"
#include "editor/WindowPlacement.h"
#include "PictureSupport.h"
#include "pictures/Bmp.h"
#include "pictures/Jpeg.h"
#include "pictures/PictureHeader.h"
#include "pictures/Png.h"
#include "tools/workbook/Workbook.h"
#include "platform/PathText.h"

namespace ssf::test {
namespace {

namespace fs = std::filesystem;

// The message of the SsfError `f` throws, or "" when it throws none.
template <typename F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const SsfError& e) {
    return e.what();
  }
  return "";
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::set<std::string> Names(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(Utf8FromPath(e.path().filename()));
  return names;
}

TEST(UntrustedFiles, OnlyRegularFilesAreReadAndAFifoDoesNotBlock) {
  TempDir dir;
  WriteText(dir / "plain", "abc");
  if (!MakeFifo(dir / "fifo")) GTEST_SKIP() << "no FIFOs on this system";
  fs::create_directory(dir / "folder");
  fs::create_symlink(dir / "plain", dir / "link");  // a link the user names is followed
  struct Case {
    fs::path path;
    const char* reason;  // empty: read
  };
  const Case cases[] = {
      {dir / "plain", ""},
      {dir / "link", ""},
      {dir / "fifo", "канал"},
      {dir / "folder", "папка"},
      {"/dev/zero", "устройство"},
      {dir / "missing", "не найден"},
  };
  const auto start = std::chrono::steady_clock::now();
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8FromPath(c.path));
    for (auto read : {+[](const fs::path& p) { ReadWholeFile(p); }, +[](const fs::path& p) { ReadFileHead(p, 4); },
                      +[](const fs::path& p) { IniDocument::Load(p); }}) {
      if (c.path == dir / "missing") continue;  // a missing settings file is an empty one
      const std::string error = ErrorOf([&] { read(c.path); });
      if (*c.reason == '\0') {
        EXPECT_EQ(error, "");
      } else {
        EXPECT_TRUE(Contains(error, Utf8FromPath(c.path)) && Contains(error, c.reason)) << error;
      }
    }
  }
  EXPECT_TRUE(Contains(ErrorOf([&] { ReadWholeFile(dir / "missing"); }), "не найден"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

  // The size is checked before anything is allocated or read.
  WriteText(dir / "big", std::string(100, 'x'));
  EXPECT_TRUE(Contains(ErrorOf([&] { ReadWholeFile(dir / "big", 99); }), "предела 99"));
  EXPECT_EQ(ReadWholeFile(dir / "big", 100).size(), 100u);
}

TEST(UntrustedFiles, ReadsBeneathAFolderRefuseLinksOnEveryPart) {
  TempDir dir;
  fs::create_directories(dir / "pkg" / "Resources" / "g");
  WriteText(dir / "pkg" / "Resources" / "g" / "f.tab", "ok");
  WriteText(dir / "private", "secret");
  fs::create_directory_symlink(dir / "pkg" / "Resources" / "g", dir / "pkg" / "Resources" / "linked");
  fs::create_symlink(dir / "private", dir / "pkg" / "Resources" / "file-link");
  if (!MakeFifo(dir / "pkg" / "Resources" / "fifo")) GTEST_SKIP() << "no FIFOs on this system";
  const fs::path pkg = dir / "pkg";
  struct Case {
    const char* relative;
    const char* reason;
  };
  const Case cases[] = {
      {"Resources/g/f.tab", ""},
      {"Resources/linked/f.tab", "символическая ссылка"},
      {"Resources/file-link", "символическая ссылка"},
      {"Resources/fifo", "канал"},
      {"Resources/g", "папка"},
      {"Resources/../../private", "вне папки"},
      {"/etc/passwd", "вне папки"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.relative);
    const std::string error = ErrorOf([&] {
      ReadHandle h = OpenRegularFileBeneath(pkg, c.relative);
      EXPECT_EQ(ReadWholeFile(h, pkg / c.relative), (Bytes{'o', 'k'}));
    });
    if (*c.reason == '\0') {
      EXPECT_EQ(error, "");
    } else {
      EXPECT_TRUE(Contains(error, c.reason)) << error;
    }
  }
}

struct PackageFixture : ::testing::Test {
  EditorFixture fx;
  fs::path pkg;
  PackageFixture() : pkg(fx.dir / "pkg") {
    fx.AddMap("example.rxt", kExampleMap);
    fx.Create("EXAMPLE-100");
    fx.Fill({10, 20, 30});
    fs::create_directory(pkg);
    ExportResourcePackage(fx.ed->state.Map, *fx.ed->state.Theme, pkg / "p.res");
  }
  std::vector<Bytes> Slots() const {
    std::vector<Bytes> out;
    for (const TThemeNewFiles& f : fx.ed->state.Theme->NewFiles) out.push_back(f.f_file);
    return out;
  }
};

// A package whose file is a link to a private file, or a FIFO, or lies in a linked folder,
// is refused naming it, and no slot changes.
TEST_F(PackageFixture, ImportRefusesLinksAndSpecialFilesNamingThem) {
  WriteText(fx.dir / "private", "secret");
  const fs::path wall = pkg / "Resources" / u8"Рабочий стол" / u8"Обои.jpg";
  const fs::path colours = pkg / "Resources" / u8"Цвета.tab";
  struct Case {
    const char* name;
    std::function<void()> spoil;
    fs::path named;
  };
  const Case cases[] = {
      {"file linked to a private file", [&] { fs::remove(colours), fs::create_symlink(fx.dir / "private", colours); }, colours},
      {"FIFO", [&] { fs::remove(colours), MakeFifo(colours); }, colours},
      {"linked folder", [&] {
         fs::rename(pkg / "Resources" / u8"Рабочий стол", fx.dir / "elsewhere");
         fs::create_directory_symlink(fx.dir / "elsewhere", pkg / "Resources" / u8"Рабочий стол");
       }, pkg / "Resources" / u8"Рабочий стол"},
      {"linked Resources", [&] {
         fs::rename(pkg / "Resources", fx.dir / "res");
         fs::create_directory_symlink(fx.dir / "res", pkg / "Resources");
       }, pkg / "Resources"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(pkg), fs::remove_all(fx.dir / "elsewhere"), fs::remove_all(fx.dir / "res");
    fs::create_directory(pkg);
    ExportResourcePackage(fx.ed->state.Map, *fx.ed->state.Theme, pkg / "p.res");
    for (auto& f : fx.ed->state.Theme->NewFiles) f.f_file.assign(2, 0xEE);
    const std::vector<Bytes> before = Slots();
    c.spoil();
    const std::string error = ErrorOf([&] { ImportResourcePackage(*fx.ed, pkg / "p.res"); });
    EXPECT_TRUE(Contains(error, Utf8FromPath(c.named))) << error;
    EXPECT_EQ(Slots(), before);
  }
  (void)wall;
}

// A linked folder on the way of any file is refused before anything is written: the
// folder it points to and the descriptor stay as they were.
TEST_F(PackageFixture, ExportRefusesLinkedFoldersAndFilesBeforeWriting) {
  const fs::path out = fx.dir / "out";
  fs::create_directory(fx.dir / "outside");
  WriteText(fx.dir / "victim", "keep");
  struct Case {
    const char* name;
    std::function<void()> prepare;
    fs::path named;
  };
  const Case cases[] = {
      {"Resources linked outside", [&] { fs::create_directory_symlink(fx.dir / "outside", out / "Resources"); },
       out / "Resources"},
      {"group folder linked outside", [&] {
         fs::create_directory(out / "Resources");
         fs::create_directory_symlink(fx.dir / "outside", out / "Resources" / u8"Рабочий стол");
       }, out / "Resources" / u8"Рабочий стол"},
      {"file linked to another file", [&] {
         fs::create_directory(out / "Resources");
         fs::create_symlink(fx.dir / "victim", out / "Resources" / u8"Цвета.tab");
       }, out / "Resources" / u8"Цвета.tab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(out);
    fs::create_directory(out);
    c.prepare();
    const std::string error = ErrorOf([&] { ExportResourcePackage(fx.ed->state.Map, *fx.ed->state.Theme, out / "p.res"); });
    EXPECT_TRUE(Contains(error, Utf8FromPath(c.named))) << error;
    EXPECT_FALSE(fs::exists(out / "p.res"));
    EXPECT_TRUE(fs::is_empty(fx.dir / "outside"));
    EXPECT_EQ(ReadText(fx.dir / "victim"), "keep");
  }
}

TEST(UntrustedFiles, ASaveRemovesTheTemporaryFilesOfAKilledSaveOfTheSameTarget) {
  TempDir dir;
  WriteText(dir / "t.ssf", "old");
  // What a save killed after writing its temporary file leaves, and files that only look alike.
  WriteText(dir / ".t.ssf.0123abcd.tmp", "half");
  WriteText(dir / ".t.ssf.0123abcg.tmp", "not ours");
  WriteText(dir / ".other.ssf.0123abcd.tmp", "another target's");
  WriteFileAtomic(dir / "t.ssf", std::string("new"));
  EXPECT_EQ(ReadText(dir / "t.ssf"), "new");
  EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"t.ssf", ".t.ssf.0123abcg.tmp", ".other.ssf.0123abcd.tmp"}));
  // The same for a file written below a package folder.
  fs::create_directory(dir / "pkg");
  WriteText(dir / "pkg" / ".a.tab.ffffffff.tmp", "half");
  WriteFileAtomicBeneath(dir.path(), "pkg/a.tab", Bytes{1, 2});
  EXPECT_EQ(Names(dir / "pkg"), (std::set<std::string>{"a.tab"}));
}

TEST(UntrustedFiles, WorkbookTextIsBudgetedAcrossSharedStringsAndRepeats) {
  TempDir dir;
  const std::string mib(1 << 20, 'x');
  auto xlsx = [&](int uses) {
    fs::path path = dir / ("s" + std::to_string(uses) + ".xlsx");
    ZipWriter zip(path);
    zip.Add("xl/workbook.xml",
            "<workbook xmlns:r=\"r\"><sheets><sheet name=\"Colors\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    zip.Add("xl/_rels/workbook.xml.rels",
            "<Relationships><Relationship Id=\"rId1\" Type=\"t/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
            "</Relationships>");
    zip.Add("xl/sharedStrings.xml", "<sst><si><t>" + mib + "</t></si></sst>");
    std::string sheet = "<worksheet><sheetData>";
    for (int r = 1; r <= uses; ++r) sheet += "<row r=\"" + std::to_string(r) + "\"><c t=\"s\"><v>0</v></c></row>";
    zip.Add("xl/worksheets/sheet1.xml", sheet + "</sheetData></worksheet>");
    zip.Close();
    return path;
  };
  auto ods = [&](const std::string& cell, int columns, int rows) {
    fs::path path = dir / ("r" + std::to_string(columns) + "x" + std::to_string(rows) + ".ods");
    ZipWriter zip(path);
    zip.Add("content.xml",
            "<office:document-content xmlns:office=\"o\" xmlns:table=\"t\" xmlns:text=\"x\"><office:body>"
            "<office:spreadsheet><table:table table:name=\"Colors\"><table:table-row table:number-rows-repeated=\"" +
                std::to_string(rows) + "\"><table:table-cell table:number-columns-repeated=\"" +
                std::to_string(columns) + "\"><text:p>" + cell +
                "</text:p></table:table-cell></table:table-row></table:table></office:spreadsheet></office:body>"
                "</office:document-content>");
    zip.Close();
    return path;
  };
  std::string spaces;
  for (int i = 0; i < 20000; ++i) spaces += "<text:s text:c=\"1000\"/>";
  struct Case {
    const char* name;
    fs::path path;
    bool refused;
  };
  const Case cases[] = {
      {"1 MiB shared string used 15 times", xlsx(15), false},
      {"1 MiB shared string used 17 times", xlsx(17), true},
      {"repeats within the budget", ods("abc", 100, 1000), false},
      {"a 1 KB cell repeated over the sheet", ods(std::string(1000, 'y'), 16384, 100000), true},
      {"20 MB of spaces from 20000 tags", ods(spaces, 1, 1), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string error = ErrorOf([&] { OpenWorkbook(c.path); });
    if (c.refused) {
      EXPECT_TRUE(Contains(error, "предела 16777216")) << error;
    } else {
      EXPECT_EQ(error, "");
    }
  }
}

// An import compares this with the map before it decodes (and allocates) the pixels.
TEST(UntrustedFiles, PictureHeadersGiveTheirSizeWithoutDecoding) {
  const Image picture = Gradient(5, 4);
  for (const Bytes& file : {EncodeBmp(picture), EncodePng(picture), EncodeJpeg(picture, 90)}) {
    const std::optional<PictureSize> size = ReadPictureHeaderSize(file);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->width, 5);
    EXPECT_EQ(size->height, 4);
  }
  EXPECT_FALSE(ReadPictureHeaderSize(Bytes{'B', 'M', 0}).has_value());
  EXPECT_FALSE(ReadPictureHeaderSize(Bytes{0xFF, 0xD8, 0xFF, 0xDA, 0, 2}).has_value());
}

TEST(UntrustedFiles, StoredWindowPlacementComesBackOntoAScreen) {
  const std::vector<ScreenArea> two = {{0, 0, 1280, 1000}, {1280, 0, 1920, 1050}};
  struct Case {
    const char* name;
    WindowPlacement stored;
    WindowPlacement expected;
  };
  const Case cases[] = {
      {"fits as stored", {false, 100, 50, 800, 600}, {false, 100, 50, 800, 600}},
      {"on the second screen", {false, 1400, 10, 800, 600}, {false, 1400, 10, 800, 600}},
      {"huge size shrinks to the screen it overlaps most", {false, 0, 0, 100000, 100000},
       {false, 1280, 0, 1920, 1050}},
      {"off every screen goes to the primary", {false, -50000, 90000, 800, 600}, {false, 0, 400, 800, 600}},
      {"extremes do not overflow", {false, 2147483647, -2147483647 - 1, 2147483647, 2147483647},
       {false, 0, 0, 1280, 1000}},
      {"too small grows to the minimum", {false, 10, 10, 1, -5}, {false, 10, 10, 744, 500}},
      {"across two screens goes onto the one it overlaps most", {false, 1000, 0, 800, 600}, {false, 1280, 0, 800, 600}},
      {"hanging over the outer edge moves in", {false, 3000, 900, 800, 600}, {false, 2400, 450, 800, 600}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const WindowPlacement p = FitToScreens(c.stored, two, 744, 500);
    EXPECT_EQ(std::tie(p.left, p.top, p.width, p.height),
              std::tie(c.expected.left, c.expected.top, c.expected.width, c.expected.height));
  }
}

}  // namespace
}  // namespace ssf::test
