// Packages and themes from a hostile sharer, second round: names that collide, files whose
// length the file system invents (sparse), a descriptor or folder that is a link or goes
// away, and two savers of one theme.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <chrono>
#include <set>
#include <thread>

#include "EditorTestSupport.h"
#include "base/FileIO.h"
#include "base/SsfError.h"
#include "editor/ResourceHandlers.h"
#include "theme/ThemeFile.h"
#include "platform/PathText.h"

namespace ssf::test {
namespace {

namespace fs = std::filesystem;

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

std::set<std::string> FilesUnder(const fs::path& root) {
  std::set<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (!e.is_directory()) {
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

// Colour tables of 4 bytes under captions that are one file name, or none, or too long for one.
std::string CollidingMap() {
  const std::string longer(300, 'x');
  const char* captions[] = {"..", ".", "", "same", "same", "SAME", "sa/me", "sam/e", "g"};
  std::string map =
      "<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"CLASH-1\">\n"
      "<THEMESETTINGS FilesTable=\"0xB0\" FilesStart=\"0x200\" \"14\" \"NO\">\n";
  for (const char* c : captions) map += std::string("<FILE \"") + c + "\" \"1\" \"COLORTAB\" \"4\">\n";
  map += "<FILE \"" + longer + "1\" \"1\" \"COLORTAB\" \"4\">\n";
  map += "<FILE \"" + longer + "2\" \"1\" \"COLORTAB\" \"4\">\n";
  // A group whose folder has the name of a file beside it, holding two equal captions.
  map += "<GROUP \"g.tab\">\n<FILE \"x\" \"1\" \"COLORTAB\" \"4\">\n<FILE \"x\" \"1\" \"COLORTAB\" \"4\">\n</GROUP>\n";
  map += "<FILE \"x\" \"1\" \"COLORTAB\" \"4\">\n";
  return map;
}

struct HostilePackage : ::testing::Test {
  EditorFixture fx;
  fs::path pkg;
  HostilePackage() : pkg(fx.dir / "pkg") { fs::create_directory(pkg); }

  void DistinctTables() {
    for (size_t k = 0; k < fx.ed->state.Theme->NewFiles.size(); ++k) {
      fx.ed->state.Theme->NewFiles[k].f_file = {static_cast<uint8_t>(k), 1, 2, 3};
    }
    fx.ed->state.Theme->RecountStoredFiles();
  }
  // The example theme's files as its map wants them: a JPEG signature, the RAW and colour
  // table lengths.
  void FillDistinctPictures() {
    std::vector<TThemeNewFiles>& f = fx.ed->state.Theme->NewFiles;
    f[0].f_file = {0xFF, 0xD8, 0xFF, 0xE0};
    f[0].f_file.resize(200, 0x42);
    f[1].f_file.assign(240 * 320 * 2, 0x33);
    f[2].f_file.assign(1024, 0x44);
    fx.ed->state.Theme->RecountStoredFiles();
  }
};

TEST_F(HostilePackage, CollidingCaptionsGetAFileEachAndComeBackIntoTheirSlots) {
  fx.AddMap("clash.rxt", CollidingMap());
  fx.Create("CLASH-1");
  ASSERT_EQ(fx.ed->state.Map.FilesCount, 14);
  DistinctTables();
  const std::vector<Bytes> exported = Slots(*fx.ed);
  ExportResourcePackage(fx.ed->state.Map, *fx.ed->state.Theme, pkg / "p.res");

  const std::set<std::string> files = FilesUnder(pkg / "Resources");
  EXPECT_EQ(files.size(), 14u);
  for (const std::string& f : files) EXPECT_LE(fs::path(f).filename().string().size(), 140u) << f;
  // Later in tree order, later suffix; letter case and dropped characters collide too.
  for (const char* name : {"_.tab", "_~2.tab", "_~3.tab", "same.tab", "same~2.tab", "SAME~3.tab", "same~4.tab", "same~5.tab", "g.tab"}) {
    EXPECT_TRUE(files.count(name)) << name << " in " << ::testing::PrintToString(files);
  }
  EXPECT_TRUE(files.count("g.tab~2/x.tab") && files.count("g.tab~2/x~2.tab")) << ::testing::PrintToString(files);
  EXPECT_EQ(FilesUnder(fx.dir / "ThemeMaps").size(), 1u);  // nothing written beside the package

  for (auto& f : fx.ed->state.Theme->NewFiles) f.f_file.clear();
  ASSERT_TRUE(ImportResourcePackage(*fx.ed, pkg / "p.res"));
  EXPECT_EQ(Slots(*fx.ed), exported);

  // One file gone: refused naming it, no slot filled from another's file.
  fs::remove(pkg / "Resources" / "same~4.tab");
  for (auto& f : fx.ed->state.Theme->NewFiles) f.f_file.clear();
  EXPECT_FALSE(ImportResourcePackage(*fx.ed, pkg / "p.res"));
  EXPECT_TRUE(Contains(fx.ui.OnlyMessage().text, Utf8FromPath(pkg / "Resources" / "same~4.tab")));
  for (const TThemeNewFiles& f : fx.ed->state.Theme->NewFiles) EXPECT_TRUE(f.f_file.empty());

  // The command line writes and counts the same files.
  DistinctTables();
  const fs::path theme = fx.Save("clash.ssf");
  fs::remove_all(pkg);
  fs::create_directory(pkg);
  auto r = RunCli({"--maps", Utf8FromPath(fx.dir / "ThemeMaps"), "export-res", Utf8FromPath(theme), Utf8FromPath(pkg / "p.res")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "Экспортировано файлов: 14 ")) << r.out;
  EXPECT_EQ(FilesUnder(pkg / "Resources"), files);
}

// Lengths the file system reports (sparse files cost nothing on disk) are checked against
// the map and against the largest theme before a byte is read.
TEST_F(HostilePackage, FilesOfTheWrongLengthOrKindOrTooLargeTogetherAreRefusedBeforeReading) {
  fx.AddMap("example.rxt", kExampleMap);
  fx.Create("EXAMPLE-100");
  const fs::path wall = pkg / "Resources" / u8"Рабочий стол" / u8"Обои.jpg";
  const fs::path raw = pkg / "Resources" / u8"Рабочий стол" / u8"Фон меню.raw";
  const fs::path tab = pkg / "Resources" / u8"Цвета.tab";
  struct Case {
    const char* name;
    std::function<void()> spoil;
    std::string says;
  };
  const Case cases[] = {
      {"sparse RAW", [&] { fs::resize_file(raw, 64 << 20); }, Utf8FromPath(raw) + "\r\nДлина 67108864 байт"},
      {"sparse pictures", [&] { fs::resize_file(wall, (64 << 20) - 100000); }, kResTooLarge},
      {"short colour table", [&] { fs::resize_file(tab, 1000); }, Utf8FromPath(tab)},
      {"no JPEG", [&] { WriteText(wall, "GIF89a not a jpeg at all"); }, Utf8FromPath(wall) + "\r\nНе является JPEG"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(pkg / "Resources");
    FillDistinctPictures();
    ExportResourcePackage(fx.ed->state.Map, *fx.ed->state.Theme, pkg / "p.res");
    for (auto& f : fx.ed->state.Theme->NewFiles) f.f_file.assign(2, 0xEE);
    const std::vector<Bytes> before = Slots(*fx.ed);
    c.spoil();
    fx.ui.messages.clear();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ImportResourcePackage(*fx.ed, pkg / "p.res"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_TRUE(Contains(fx.ui.OnlyMessage().text, c.says)) << fx.ui.OnlyMessage().text;
    EXPECT_EQ(fx.ui.OnlyMessage().kind, kMsgError);
    EXPECT_EQ(Slots(*fx.ed), before);
  }
}

// Neither the editor nor ssftool replaces a theme with one that the program would refuse to open.
TEST_F(HostilePackage, ASaveThatCouldNotBeOpenedAgainLeavesTheFileAsItWas) {
  fx.AddMap("example.rxt", kExampleMap);
  fx.Create("EXAMPLE-100");
  fx.Fill({10, 20, 30});
  const fs::path file = fx.Save("t.ssf");
  const Bytes on_disk = ReadFile(file);
  struct Case {
    const char* name;
    std::function<void(Theme&)> spoil;
    const char* says;
  };
  const Case cases[] = {
      {"over the largest theme", [](Theme& t) { t.NewFiles[0].f_file.assign(64 << 20, 1); }, "не более"},
      {"signature lost", [](Theme& t) { t.Header[0] ^= 0x20; }, "нельзя было бы открыть"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Theme spoilt = *fx.ed->state.Theme;
    c.spoil(spoilt);
    std::swap(spoilt, *fx.ed->state.Theme);
    const std::string error = ErrorOf([&] { SaveThemeAs(*fx.ed, file); });
    EXPECT_TRUE(Contains(error, Utf8FromPath(file)) && Contains(error, c.says)) << error;
    EXPECT_EQ(ReadFile(file), on_disk);
    std::swap(spoilt, *fx.ed->state.Theme);
  }
}

// The descriptor is a package file like the others: a link is refused both ways and the
// file it points to stays as it was.
TEST_F(HostilePackage, ALinkedDescriptorIsRefused) {
  fx.AddMap("example.rxt", kExampleMap);
  fx.Create("EXAMPLE-100");
  fx.Fill({10, 20, 30});
  const fs::path victim = fx.Save("victim.ssf");
  const Bytes kept = ReadFile(victim);
  fs::create_symlink(victim, pkg / "p.res");
  std::string error = ErrorOf([&] { ExportResourcePackage(fx.ed->state.Map, *fx.ed->state.Theme, pkg / "p.res"); });
  EXPECT_TRUE(Contains(error, Utf8FromPath(pkg / "p.res")) && Contains(error, "ссылка")) << error;
  EXPECT_FALSE(fs::exists(pkg / "Resources"));
  error = ErrorOf([&] { ImportResourcePackage(*fx.ed, pkg / "p.res"); });
  EXPECT_TRUE(Contains(error, Utf8FromPath(pkg / "p.res")) && Contains(error, "ссылка")) << error;
  EXPECT_EQ(ReadFile(victim), kept);
  auto r = RunCli({"--maps", Utf8FromPath(fx.dir / "ThemeMaps"), "export-res", Utf8FromPath(victim), Utf8FromPath(pkg / "p.res")});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(Contains(r.err, "ссылка")) << r.err;
  EXPECT_EQ(ReadFile(victim), kept);
}

// A package folder opened once: swapping it for a link afterwards sends nothing elsewhere,
// and a folder that goes away is reported by name, not as a bad descriptor.
TEST(PackageFolder, ASwappedFolderReceivesNothingAndAVanishedOneIsNamed) {
  TempDir dir;
  fs::create_directories(dir / "pkg");
  fs::create_directories(dir / "elsewhere");
  fs::create_directory_symlink(dir / "pkg", dir / "linked");
  EXPECT_TRUE(Contains(ErrorOf([&] { FolderHandle::Open(dir / "linked"); }), "ссылка"));

  const FolderHandle package = FolderHandle::Open(dir / "pkg");
  fs::rename(dir / "pkg", dir / "moved");
  fs::create_directory_symlink(dir / "elsewhere", dir / "pkg");
  package.WriteAtomic("Resources/a.tab", Bytes{1});
  EXPECT_TRUE(fs::is_empty(dir / "elsewhere"));
  EXPECT_EQ(ReadFile(dir / "moved" / "Resources" / "a.tab"), Bytes{1});

  const FolderHandle gone = FolderHandle::Open(dir / "moved");
  fs::remove_all(dir / "moved");
  const std::string error = ErrorOf([&] { gone.WriteAtomic("Resources/b/c.tab", Bytes{2}); });
  EXPECT_TRUE(Contains(error, Utf8FromPath(dir / "moved" / "Resources"))) << error;
  EXPECT_FALSE(Contains(error, "ошибка 9")) << error;
}

// Two savers of one theme: the second waits for the first and then reads what it saved.
TEST_F(HostilePackage, ASecondSaverWaitsAndKeepsTheFirstOnesChange) {
  fx.AddMap("example.rxt", kExampleMap);
  fx.Create("EXAMPLE-100");
  FillDistinctPictures();
  const fs::path file = fx.Save("t.ssf");
  const std::string maps = Utf8FromPath(fx.dir / "ThemeMaps");
  const std::string colours(1024, 'n');
  WriteText(fx.dir / "colours.bin", colours);

  std::optional<FileLock> held = LockFileForUpdate(file);
  EXPECT_TRUE(Contains(ErrorOf([&] { LockFileForUpdate(file, std::chrono::milliseconds(50)); }), Utf8FromPath(file)));
  std::atomic<bool> done{false};
  CliResult second;
  std::thread other([&] {
    second = RunCli({"--maps", maps, "replace", Utf8FromPath(file), "2", Utf8FromPath(fx.dir / "colours.bin")});
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(done);
  // The holder changes slot 1 and saves; only then does the other go on.
  Converted<OpenedTheme> first = ReadThemeFile(file, maps);
  ASSERT_TRUE(first.value);
  first.value->theme.NewFiles[1].f_file.assign(240 * 320 * 2, 0x11);
  WriteFileAtomic(file, SerializeThemeForSave(first.value->theme, first.value->map, file));
  held.reset();
  other.join();
  ASSERT_EQ(second.code, 0) << second.err;
  Converted<OpenedTheme> both = ReadThemeFile(file, maps);
  ASSERT_TRUE(both.value);
  EXPECT_EQ(both.value->theme.NewFiles[1].f_file, Bytes(240 * 320 * 2, 0x11));
  EXPECT_EQ(both.value->theme.NewFiles[2].f_file, Bytes(colours.begin(), colours.end()));
}

// The editor asks before replacing the theme it opened when another program saved it since.
TEST_F(HostilePackage, TheEditorAsksBeforeOverwritingAThemeChangedOnDisk) {
  fx.AddMap("example.rxt", kExampleMap);
  fx.Create("EXAMPLE-100");
  FillDistinctPictures();
  const fs::path file = fx.Save("t.ssf");
  fx.Reset();
  OpenThemeFile(*fx.ed, file);
  ASSERT_TRUE(fx.ed->state.Theme);
  WriteText(fx.dir / "colours.bin", std::string(1024, 'n'));
  auto r = RunCli({"--maps", Utf8FromPath(fx.dir / "ThemeMaps"), "replace", Utf8FromPath(file), "2",
                   Utf8FromPath(fx.dir / "colours.bin")});
  ASSERT_EQ(r.code, 0) << r.err;
  const Bytes theirs = ReadFile(file);

  fx.ui.yes_no_answers = {false};
  EXPECT_FALSE(SaveThemeAs(*fx.ed, file));
  ASSERT_EQ(fx.ui.questions.size(), 1u);
  EXPECT_TRUE(Contains(fx.ui.questions[0], kThemeChangedOnDisk) && Contains(fx.ui.questions[0], Utf8FromPath(file)));
  EXPECT_EQ(fx.ui.question_defaults[0], YesNoDefault::kNo);
  EXPECT_EQ(ReadFile(file), theirs);

  fx.ui.yes_no_answers = {true};
  EXPECT_TRUE(SaveThemeAs(*fx.ed, file));
  EXPECT_NE(ReadFile(file), theirs);
  // Its own save is no change by another program.
  EXPECT_TRUE(SaveThemeAs(*fx.ed, file));
  EXPECT_EQ(fx.ui.questions.size(), 2u);
}

}  // namespace
}  // namespace ssf::test
