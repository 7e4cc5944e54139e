#include <gtest/gtest.h>

#include <set>

#include "ShapedThemeFiles.h"
#include "EditorTestSupport.h"
#include "editor/MainFormHandlers.h"
#include "editor/ResourceHandlers.h"
#include "base/SsfError.h"
#include "theme/FileKind.h"
#include "platform/PathText.h"

namespace ssf {
namespace {

namespace fs = std::filesystem;
using test::DistinctFor;
using test::ReadFile;
using test::ReadText;
using test::WriteText;

// Every regular file under `root`, as paths relative to it.
std::set<std::string> FilesUnder(const fs::path& root) {
  std::set<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) {
      const std::u8string name = fs::relative(e.path(), root).generic_u8string();  // "/" on every system
      files.insert(std::string(name.begin(), name.end()));
    }
  }
  return files;
}

std::vector<Bytes> Slots(const Editor& ed) {
  std::vector<Bytes> out;
  for (const TThemeNewFiles& f : ed.state.Theme->NewFiles) out.push_back(f.f_file);
  return out;
}

void FillDistinct(Editor& ed, const std::set<size_t>& empty) {
  for (size_t k = 0; k < ed.state.Theme->NewFiles.size(); ++k) {
    Bytes& b = ed.state.Theme->NewFiles[k].f_file;
    b.clear();
    if (!empty.count(k)) b = DistinctFor(ed.state.Map.ThemeFiles.at(k), k);
  }
  ed.state.Theme->CountCorrection = ed.state.Map.FilesCount - ed.state.Theme->HeldFiles();
}

struct ResourcePackageTest : ::testing::Test {
  test::EditorFixture fx;
  fs::path pkg;
  ResourcePackageTest() : pkg(fx.dir / "pkg") { fs::create_directory(pkg); }

  void Export(const fs::path& chosen) {
    fx.ui.AnswerSave(chosen);
    MM_Child_ExportResClick(*fx.ed);
  }
  void Import(const fs::path& chosen) {
    fx.ui.AnswerOpen(chosen);
    MM_Child_ImportResClick(*fx.ed);
  }
  // The example theme with distinct bytes, exported to pkg/p.res.
  void ExportExample() {
    fx.AddMap("example.rxt", test::kExampleMap);
    fx.Create("EXAMPLE-100");
    FillDistinct(*fx.ed, {});
    Export(pkg / "p.res");
  }
};

TEST_F(ResourcePackageTest, FortyFileThemeRoundTripsThroughAPackage) {
  fs::copy_file(fs::path(SSF_SOURCE_DIR) / "ThemeMaps" / "QB-X240.rxt", fx.dir / "ThemeMaps" / "QB-X240.rxt");
  fx.Create("QB-X240");
  FillDistinct(*fx.ed, {1, 20, 38});
  const std::vector<Bytes> exported = Slots(*fx.ed);
  const ViewState view_before = fx.ed->view;
  fx.ed->state.ThemeModified = false;

  // A name with another extension writes the descriptor as .res beside the folder.
  Export(pkg / "theme.txt");
  EXPECT_EQ(fx.ui.save_requests.at(0).filter, "Файл импорта/экспорта ресурсов (*.res)|*.res");
  EXPECT_EQ(fx.settings.ReadString("Resources", "ExportRes"), Utf8FromPath(pkg));
  EXPECT_EQ(ReadText(pkg / "theme.res"), "[ResProperties]\nThemeSignMobile=QB-X240\nThemeFilesCount=40\n");
  EXPECT_FALSE(fs::exists(pkg / "theme.txt"));
  const fs::path res = pkg / "Resources";
  EXPECT_EQ(ReadFile(res / u8"Рабочий стол" / u8"Обои.jpg"), exported[0]);
  EXPECT_EQ(ReadFile(res / u8"Рабочий стол" / u8"Индикаторы" / u8"Антенна.ani2"), exported[2]);
  EXPECT_EQ(ReadFile(res / u8"Рабочий стол" / u8"Индикаторы" / u8"Новое сообщение.ifg"), exported[4]);
  EXPECT_EQ(ReadFile(res / u8"Главное меню" / u8"Фон меню.raw"), exported[6]);
  EXPECT_EQ(ReadFile(res / u8"Цвета.tab"), exported[38]);
  EXPECT_EQ(fs::file_size(res / u8"Рабочий стол" / u8"Фон заставки.jpg"), 0u);  // an empty slot
  // Two groups hold a "Сообщения": they stay apart in their own folders.
  EXPECT_EQ(FilesUnder(res).size(), 40u);
  // Export changes nothing the editor keeps; the status bar says what was written where.
  EXPECT_FALSE(fx.ed->state.ThemeModified);
  EXPECT_EQ(fx.ed->view.status[0], view_before.status[0]);
  EXPECT_EQ(fx.ed->view.status[1], "Экспорт ресурсов: 40 файлов в папку " + Utf8FromPath(res));
  EXPECT_EQ(fx.ed->view.status[2], view_before.status[2]);

  // Into a fresh theme of the same model, with a file inside a group selected.
  fx.Reset();
  fx.Create("QB-X240");
  SelectTreeNode(*fx.ed, fx.ed->state.Map.Tree.FileNode(2));  // Рабочий стол / Индикаторы / Антенна
  Import(pkg / "theme.res");
  EXPECT_TRUE(fx.ui.messages.empty());
  EXPECT_EQ(Slots(*fx.ed), exported);
  EXPECT_EQ(fx.ed->state.Theme->StoredFiles(), 37);
  EXPECT_EQ(fx.ed->view.status[2], "37/40");
  EXPECT_EQ(fx.ed->view.status[1], "Импорт ресурсов: 40 файлов из папки " + Utf8FromPath(res));
  EXPECT_TRUE(fx.ed->state.ThemeModified);  // a closed editor asks to save the import
  EXPECT_FALSE(fx.ed->view.Pnl_ItemInfo_visible);
  EXPECT_EQ(fx.ed->view.TV_collapse_count, 1);
  EXPECT_EQ(fx.ed->view.TV_selected, 0);  // moved up to the visible top-level group
  EXPECT_EQ(fx.settings.ReadString("Resources", "ImportRes"), Utf8FromPath(pkg));
}

TEST_F(ResourcePackageTest, ExportOverAPackageKeepsTheDescriptorsOtherContent) {
  WriteText(pkg / "p.res",
            "; mine\n[Other]\nA=1\n\n[ResProperties]\nThemeFilesCount=99\nNote=kept\nThemeSignMobile=X\n");
  fs::create_directories(pkg / "Resources");
  WriteText(pkg / "Resources" / u8"Цвета.tab", "old bytes, longer than the new ones");
  ExportExample();
  EXPECT_EQ(ReadText(pkg / "p.res"),
            "; mine\n[Other]\nA=1\n\n[ResProperties]\nThemeFilesCount=3\nNote=kept\nThemeSignMobile=EXAMPLE-100\n");
  EXPECT_EQ(ReadFile(pkg / "Resources" / u8"Цвета.tab"), fx.ed->state.Theme->NewFiles[2].f_file);
}

TEST_F(ResourcePackageTest, ADescriptorOfAnotherThemeIsRefusedWithAWarning) {
  ExportExample();
  struct Case {
    const char* descriptor;
    const char* message;
  };
  const Case cases[] = {
      {"[ResProperties]\nThemeSignMobile=QB-X240\nThemeFilesCount=3\n", kResWrongModel},
      {"[ResProperties]\nThemeSignMobile=example-100\nThemeFilesCount=3\n", kResWrongModel},  // case counts
      {"[ResProperties]\nThemeFilesCount=3\n", kResWrongModel},
      {"[ResProperties]\nThemeSignMobile=EXAMPLE-100\nThemeFilesCount=4\n", kResWrongCount},
      {"[ResProperties]\nThemeSignMobile=EXAMPLE-100\nThemeFilesCount=three\n", kResWrongCount},
      {"[ResProperties]\nThemeSignMobile=EXAMPLE-100\n", kResWrongCount},
  };
  const std::vector<Bytes> before = Slots(*fx.ed);
  for (const Case& c : cases) {
    fx.ui.messages.clear();
    fs::create_directory(fx.dir / "other");
    WriteText(fx.dir / "other" / "q.res", c.descriptor);
    fx.ed->view.Pnl_ItemInfo_visible = true;
    fx.ed->state.ThemeModified = false;
    Import(fx.dir / "other" / "q.res");
    ASSERT_EQ(fx.ui.messages.size(), 1u) << c.descriptor;
    EXPECT_EQ(fx.ui.messages[0].text, c.message) << c.descriptor;
    EXPECT_EQ(fx.ui.messages[0].kind, kMsgWarning);
    EXPECT_EQ(Slots(*fx.ed), before);
    EXPECT_TRUE(fx.ed->view.Pnl_ItemInfo_visible);
    EXPECT_FALSE(fx.ed->state.ThemeModified);
    EXPECT_EQ(fx.ed->view.TV_collapse_count, 0);
    EXPECT_EQ(fx.settings.ReadString("Resources", "ImportRes"), Utf8FromPath(fx.dir / "other"));
    fs::remove_all(fx.dir / "other");
  }
}

TEST_F(ResourcePackageTest, MissingFilesAreListedInTreeOrderAndNothingChanges) {
  ExportExample();
  const fs::path first = pkg / "Resources" / u8"Рабочий стол" / u8"Обои.jpg";
  const fs::path last = pkg / "Resources" / u8"Цвета.tab";
  fs::remove(last);
  fs::remove(first);
  fx.ed->state.Theme->NewFiles[1].f_file.assign(3, 9);  // differs from the package's file that is there
  const std::vector<Bytes> before = Slots(*fx.ed);
  fx.ed->view.Pnl_ItemInfo_visible = true;
  fx.ed->state.ThemeModified = false;
  Import(pkg / "p.res");
  EXPECT_EQ(fx.ui.OnlyMessage().text,
            std::string(kResMissingFiles) + Utf8FromPath(first) + "\r\n" + Utf8FromPath(last) + "\r\n");
  EXPECT_EQ(fx.ui.OnlyMessage().kind, kMsgError);
  EXPECT_EQ(Slots(*fx.ed), before);
  EXPECT_FALSE(fx.ed->state.ThemeModified);
  EXPECT_FALSE(fx.ed->view.Pnl_ItemInfo_visible);
}

TEST_F(ResourcePackageTest, AFileThatCannotBeReadStopsTheImportBeforeAnySlotChanges) {
  ExportExample();
  // The last file in tree order: a loader that replaced slots as it went would have
  // changed the first two by then. /proc/self/mem is a regular file that cannot be read
  // from its start, whoever runs the test.
  const fs::path last = pkg / "Resources" / u8"Цвета.tab";
  fs::remove(last);
  fs::create_symlink("/proc/self/mem", last);
  for (auto& f : fx.ed->state.Theme->NewFiles) f.f_file.assign(2, 0xEE);
  const std::vector<Bytes> before = Slots(*fx.ed);
  fx.ed->state.ThemeModified = false;
  fx.ui.AnswerOpen(pkg / "p.res");
  try {
    MM_Child_ImportResClick(*fx.ed);
    FAIL() << "no error";
  } catch (const SsfError& e) {
    EXPECT_NE(std::string(e.what()).find(Utf8FromPath(last)), std::string::npos) << e.what();
  }
  EXPECT_EQ(Slots(*fx.ed), before);
  EXPECT_FALSE(fx.ed->state.ThemeModified);
}

TEST_F(ResourcePackageTest, AFileThatCannotBeWrittenStopsTheExportNamingIt) {
  fx.AddMap("example.rxt", test::kExampleMap);
  fx.Create("EXAMPLE-100");
  FillDistinct(*fx.ed, {});
  const fs::path blocked = pkg / "Resources" / u8"Цвета.tab";
  fs::create_directories(blocked);  // a folder stands where the last file goes
  fx.ui.AnswerSave(pkg / "p.res");
  try {
    MM_Child_ExportResClick(*fx.ed);
    FAIL() << "no error";
  } catch (const SsfError& e) {
    EXPECT_NE(std::string(e.what()).find(Utf8FromPath(blocked)), std::string::npos) << e.what();
  }
  EXPECT_TRUE(fs::is_directory(blocked));
  // What was written before stays.
  EXPECT_EQ(ReadFile(pkg / "Resources" / u8"Рабочий стол" / u8"Обои.jpg"), fx.ed->state.Theme->NewFiles[0].f_file);
}

// After a failed open the map values and tree may belong to another map than the file
// table: neither operation goes past the shorter table.
TEST_F(ResourcePackageTest, AFileTableShorterThanTheTreeIsNotOverrun) {
  ExportExample();
  fx.ed->state.Theme->NewFiles.resize(1);
  fs::remove_all(pkg / "Resources");
  Export(pkg / "p.res");
  EXPECT_EQ(FilesUnder(pkg / "Resources"), (std::set<std::string>{"Рабочий стол/Обои.jpg"}));

  fx.ed->state.Theme->NewFiles[0].f_file.clear();
  Import(pkg / "p.res");
  EXPECT_TRUE(fx.ed->state.Theme->NewFiles[0].Present());
  EXPECT_EQ(fx.ed->view.status[2], "1/3");
}

TEST_F(ResourcePackageTest, ZeroByteFilesEmptyTheirSlots) {
  ExportExample();
  fs::resize_file(pkg / "Resources" / u8"Рабочий стол" / u8"Фон меню.raw", 0);
  Import(pkg / "p.res");
  EXPECT_FALSE(fx.ed->state.Theme->NewFiles[1].Present());
  EXPECT_EQ(fx.ed->view.status[2], "2/3");
}

// Captions that are no file names, an empty group and two captions that become one name
// ("Обои" and "Обои?"): each gets a file of its own.
const char kOddCaptionsMap[] =
    "<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"ODD-1\">\n"
    "<THEMESETTINGS FilesTable=\"0xB0\" FilesStart=\"0x100\" \"6\" \"NO\">\n"
    "<GROUP \"..\">\n"
    "  <FILE \".\" \"1\" \"JPG\" \"10\" \"10\">\n"
    "  <FILE \"\" \"2\" \"RAW\" \"10\" \"10\">\n"
    "</GROUP>\n"
    "<GROUP \"Фон: главный/1?*\">\n"
    "  <FILE \"..\" \"3\" \"COLORTAB\" \"16\">\n"
    "  <FILE \"a\\b\" \"4\" \"IFG\" \"10\" \"10\">\n"
    "</GROUP>\n"
    "<GROUP \"Пустая\">\n"
    "</GROUP>\n"
    "<FILE \"Обои\" \"5\" \"JPG\" \"10\" \"10\">\n"
    "<FILE \"Обои?\" \"6\" \"JPG\" \"10\" \"10\">\n";

TEST_F(ResourcePackageTest, OddCaptionsStayInsideThePackageAndEmptyGroupsAreSkipped) {
  fx.AddMap("odd.rxt", kOddCaptionsMap);
  fx.Create("ODD-1");
  ASSERT_EQ(fx.ed->state.Map.FilesCount, 6);
  FillDistinct(*fx.ed, {});
  const std::vector<Bytes> exported = Slots(*fx.ed);
  const fs::path deep = pkg / "a" / "b";
  fs::create_directories(deep);
  Export(deep / "p.res");

  EXPECT_EQ(FilesUnder(fx.dir.path()), (std::set<std::string>{
                                    "settings.ini",
                                    "ThemeMaps/odd.rxt",
                                    "pkg/a/b/p.res",
                                    "pkg/a/b/Resources/_/_.jpg",
                                    "pkg/a/b/Resources/_/_.raw",
                                    "pkg/a/b/Resources/Фон главный1/_.tab",
                                    "pkg/a/b/Resources/Фон главный1/ab.ifg",
                                    "pkg/a/b/Resources/Обои.jpg",
                                    "pkg/a/b/Resources/Обои~2.jpg",
                                }));
  EXPECT_FALSE(fs::exists(deep / "Resources" / u8"Пустая"));
  EXPECT_EQ(ReadFile(deep / "Resources" / u8"Обои.jpg"), exported[4]);
  EXPECT_EQ(ReadFile(deep / "Resources" / u8"Обои~2.jpg"), exported[5]);

  for (auto& f : fx.ed->state.Theme->NewFiles) f.f_file.clear();
  Import(deep / "p.res");
  EXPECT_TRUE(fx.ui.messages.empty());
  EXPECT_EQ(Slots(*fx.ed), exported);
  EXPECT_EQ(fx.ed->view.status[2], "6/6");
}

TEST(ResourcePaths, NodePathsAndExtensions) {
  GroupTree t;
  int g = t.Add("Главный экран", -1, true);
  int sub = t.Add("Фон: 1", g, true);
  int file = t.Add("Обои", sub);
  int dot = t.Add(std::string("..\0x", 4), sub);
  EXPECT_EQ(GetNodePath(t, file, '\\', true), "Главный экран\\Фон 1\\Обои.");
  EXPECT_EQ(GetNodePath(t, sub, '\\', false), "Главный экран\\Фон 1\\");
  EXPECT_EQ(GetNodePath(t, g, '/', false), "Главный экран/");
  // A NUL would end the name early and leave "..".
  EXPECT_EQ(GetNodePath(t, dot, '/', true), "Главный экран/Фон 1/.._x.");

  EXPECT_EQ(GetResExt("colortab"), "tab");
  EXPECT_EQ(GetResExt("jpg"), "jpg");
  EXPECT_EQ(GetResExt("ani2"), "ani2");
  EXPECT_EQ(GetResExt("../x"), "..x");  // a map's kind adds no folder
}

TEST_F(ResourcePackageTest, CancelledDialogsDoNothing) {
  ExportExample();
  fx.ui.CancelSave();
  MM_Child_ExportResClick(*fx.ed);
  fx.ui.CancelOpen();
  MM_Child_ImportResClick(*fx.ed);
  EXPECT_TRUE(fx.ui.messages.empty());
  EXPECT_EQ(fx.ed->view.TV_collapse_count, 0);
}

TEST_F(ResourcePackageTest, CommandLineExportsAndImports) {
  ExportExample();  // only for the map and a theme
  const fs::path theme = fx.Save("t.ssf");
  const std::string maps = Utf8FromPath(fx.dir / "ThemeMaps");
  const fs::path out = fx.dir / "cli";
  fs::create_directory(out);

  auto r = test::RunCli({"--maps", maps, "export-res", Utf8FromPath(theme), Utf8FromPath(out / "x.res")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadFile(out / "Resources" / u8"Цвета.tab"), fx.ed->state.Theme->NewFiles[2].f_file);

  const std::string colours(1024, 'c');  // the map's length for the colour table
  WriteText(out / "Resources" / u8"Цвета.tab", colours);
  r = test::RunCli({"--maps", maps, "import-res", Utf8FromPath(theme), Utf8FromPath(out / "x.res"), "-o",
                    Utf8FromPath(fx.dir / "new.ssf")});
  ASSERT_EQ(r.code, 0) << r.err;
  fx.Reset();
  OpenThemeFile(*fx.ed, fx.dir / "new.ssf");
  ASSERT_EQ(fx.ed->state.Theme->NewFiles.size(), 3u);
  EXPECT_EQ(fx.ed->state.Theme->NewFiles[2].f_file, Bytes(colours.begin(), colours.end()));

  // Without -o the theme is replaced in place.
  r = test::RunCli({"--maps", maps, "import-res", Utf8FromPath(theme), Utf8FromPath(out / "x.res")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadFile(theme), ReadFile(fx.dir / "new.ssf"));

  // Refusals: the message on stderr, exit 1, the theme untouched.
  const Bytes kept = ReadFile(theme);
  WriteText(out / "x.res", "[ResProperties]\nThemeSignMobile=EXAMPLE-100\nThemeFilesCount=2\n");
  r = test::RunCli({"--maps", maps, "import-res", Utf8FromPath(theme), Utf8FromPath(out / "x.res")});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Импорт данных ресурсов невозможен!\nКоличество ресурсов, нужных для темы не соответствует "
                   "количеству импортируемых файлов!\n");
  WriteText(out / "x.res", "[ResProperties]\nThemeSignMobile=EXAMPLE-100\nThemeFilesCount=3\n");
  fs::remove(out / "Resources" / u8"Цвета.tab");
  r = test::RunCli({"--maps", maps, "import-res", Utf8FromPath(theme), Utf8FromPath(out / "x.res")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find(Utf8FromPath(out / "Resources" / u8"Цвета.tab")), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(theme), kept);
  // A package that is not there is named as missing, not as one of another theme type.
  for (const std::vector<std::string>& cmd :
       {std::vector<std::string>{"import-res", Utf8FromPath(theme), Utf8FromPath(out / "none.res")},
        std::vector<std::string>{"new", "--model", "EXAMPLE-100", "-o", Utf8FromPath(fx.dir / "n.ssf"), "--from",
                                 Utf8FromPath(out / "none.res")}}) {
    std::vector<std::string> args{"--maps", maps};
    args.insert(args.end(), cmd.begin(), cmd.end());
    r = test::RunCli(args);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Не найден файл пакета ресурсов: " + Utf8FromPath(out / "none.res") + "\n") << cmd[0];
  }
  EXPECT_EQ(ReadFile(theme), kept);

  r = test::RunCli({"--maps", maps, "import-res", Utf8FromPath(theme)});
  EXPECT_EQ(r.code, 2);

  // A new theme filled from a package in one step holds the package's files.
  r = test::RunCli({"--maps", maps, "export-res", Utf8FromPath(theme), Utf8FromPath(out / "y.res")});
  ASSERT_EQ(r.code, 0) << r.err;
  r = test::RunCli({"--maps", maps, "new", "--model", "EXAMPLE-100", "-o", Utf8FromPath(fx.dir / "from.ssf"),
                    "--from", Utf8FromPath(out / "y.res")});
  ASSERT_EQ(r.code, 0) << r.err;
  fx.Reset();
  OpenThemeFile(*fx.ed, theme);
  const std::vector<Bytes> original = Slots(*fx.ed);
  fx.Reset();
  OpenThemeFile(*fx.ed, fx.dir / "from.ssf");
  EXPECT_EQ(Slots(*fx.ed), original);
  fs::remove(out / "Resources" / u8"Цвета.tab");
  r = test::RunCli({"--maps", maps, "new", "--model", "EXAMPLE-100", "-o", Utf8FromPath(fx.dir / "none.ssf"),
                    "--from", Utf8FromPath(out / "y.res")});
  EXPECT_EQ(r.code, 1);
  EXPECT_FALSE(fs::exists(fx.dir / "none.ssf"));
}

}  // namespace
}  // namespace ssf
