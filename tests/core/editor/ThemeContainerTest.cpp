#include <gtest/gtest.h>

#include <functional>

#include "EditorTestSupport.h"
#include "base/ByteIO.h"
#include "base/Cp1251.h"
#include "base/SsfError.h"
#include "theme/ThemeContainer.h"

namespace ssf {
namespace {

using test::EditorFixture;
using test::ExampleMapWith;
using test::kExampleMap;

const char kBadTheme[] = "Некорректный файл темы!\r\nЗагрузка невозможна.";

struct ContainerTest : ::testing::Test {
  EditorFixture fx;
  ContainerTest() { fx.AddMap("example.rxt", kExampleMap); }
  Editor& ed() { return *fx.ed; }

  // A saved example theme with files of 10, 32 and 5 bytes.
  std::filesystem::path SavedExample(const std::string& name = "theme") {
    fx.Create("EXAMPLE-100");
    fx.Fill({10, 0x20, 5});
    return fx.Save(name);
  }
  // The saved example theme with its bytes changed by `edit`, reopened in a fresh editor.
  template <class Edit>
  void OpenEdited(Edit edit) {
    Bytes b = test::ReadFile(SavedExample("base.ssf"));
    edit(b);
    test::WriteFile(fx.dir / "edited.ssf", b);
    fx.Reset();
    OpenThemeFile(ed(), fx.dir / "edited.ssf");
  }
  void ExpectNoTheme() {
    EXPECT_FALSE(ed().view.PCtrl_enabled);
    EXPECT_EQ(ed().view.PCtrl_page, 0);
    EXPECT_FALSE(ed().view.MM_Child_SaveTheme_enabled);
    EXPECT_TRUE(ed().state.Map.Tree.Empty());
  }
};

TEST_F(ContainerTest, NewThemeFromExampleMap) {
  fx.Create("EXAMPLE-100");
  const Bytes b = SerializeTheme(*ed().state.Theme);
  ASSERT_EQ(b.size(), 0xFE0u);
  Bytes expected(0xFE0, 0);
  auto put = [&](size_t at, std::string_view s) { std::copy(s.begin(), s.end(), expected.begin() + at); };
  put(0, "SAMSUNG THEME");
  put(14, "EXAMPLE-100");
  put(32, "Автор темы");
  put(85, "Название темы");
  put(140, "1.0");
  WriteI32LE(expected, 148, 3);
  WriteI32LE(expected, 156, 0xFD0);
  WriteI32LE(expected, 160, 0xFE0);
  EXPECT_EQ(b, expected);

  const ViewState& v = ed().view;
  EXPECT_EQ(v.status, (std::array<std::string, 3>{"NewTheme.ssf [example.rxt]", "Создание новой темы.", "0/3"}));
  EXPECT_TRUE(v.PCtrl_enabled);
  EXPECT_TRUE(v.MM_Child_SaveTheme_enabled);
  EXPECT_TRUE(v.MM_Child_ImportRes_enabled);
  EXPECT_TRUE(v.MM_Child_ExportRes_enabled);
  EXPECT_FALSE(v.Pnl_ItemInfo_visible);
  EXPECT_EQ(v.ED_ThemeAuthor, "Автор темы");
  EXPECT_EQ(v.ED_ThemeName, "Название темы");
  EXPECT_EQ(v.ED_ThemeVersion, "1.0");
  EXPECT_TRUE(v.CBox_ThemeType_visible);
  EXPECT_EQ(v.CBox_ThemeType_index, 0);
  EXPECT_TRUE(v.Pnl_ThemeIcon_visible);
  EXPECT_EQ(v.IMG_ThemeIcon, Image(44, 44));  // black square
  EXPECT_EQ(ed().state.Theme->NewFiles.size(), 3u);
  for (const auto& f : ed().state.Theme->NewFiles) EXPECT_FALSE(f.Present());
  EXPECT_FALSE(ed().state.ThemeModified);

  // 0/3: refused without asking for a file.
  MM_Child_SaveThemeClick(ed());
  EXPECT_EQ(fx.ui.OnlyMessage().text, "Сохранение темы невозможно, пока не прикреплены все файлы!\r\n\r\nНе прикреплены:\r\n"
            "0: Рабочий стол/Обои\r\n1: Рабочий стол/Фон меню\r\n2: Цвета");
  EXPECT_EQ(fx.ui.OnlyMessage().kind, kMsgError);
  EXPECT_TRUE(fx.ui.save_requests.empty());
}

TEST_F(ContainerTest, SaveWritesTableAndFilesAndReopensEqual) {
  auto path = SavedExample("theme");  // no extension typed: .ssf is added
  EXPECT_EQ(path.filename(), "theme.ssf");
  ASSERT_EQ(fx.ui.save_requests.size(), 1u);
  EXPECT_EQ(fx.ui.save_requests[0].filter, "Файл темы (*.ssf)|*.ssf");
  EXPECT_TRUE(fx.ui.save_requests[0].ask_overwrite);
  EXPECT_FALSE(ed().state.ThemeModified);
  EXPECT_EQ(ed().view.status[1], "Тема сохранена.");
  EXPECT_EQ(ed().view.status[0], "NewTheme.ssf [example.rxt]");
  EXPECT_EQ(fx.settings.ReadString("ThemePaths", "SaveTheme"), fx.dir.path().string());

  Bytes b = test::ReadFile(path);
  ASSERT_EQ(b.size(), 0xFE0u + 47);
  EXPECT_EQ(ReadU32LE(b, 0xFD0), 10u);
  EXPECT_EQ(ReadU32LE(b, 0xFD4), 32u);
  EXPECT_EQ(ReadU32LE(b, 0xFD8), 5u);
  EXPECT_EQ(ReadU32LE(b, 0xFDC), 0u);
  EXPECT_EQ(Bytes(b.begin() + 0xFE0, b.begin() + 0xFEA), Bytes(10, 1));
  EXPECT_EQ(Bytes(b.begin() + 0xFEA, b.begin() + 0x100A), Bytes(32, 2));
  EXPECT_EQ(Bytes(b.begin() + 0x100A, b.end()), Bytes(5, 3));

  fx.Reset();
  OpenThemeFile(ed(), path);
  const ViewState& v = ed().view;
  EXPECT_EQ(v.status, (std::array<std::string, 3>{"theme.ssf [example.rxt]", "Тема загружена.", "3/3"}));
  EXPECT_EQ(v.ED_ThemeAuthor, "Автор темы");
  EXPECT_EQ(v.ED_ThemeName, "Название темы");
  EXPECT_EQ(v.ED_ThemeVersion, "1.0");
  EXPECT_TRUE(v.PCtrl_enabled);
  EXPECT_TRUE(v.MM_Child_SaveTheme_enabled);
  EXPECT_TRUE(v.MM_Child_ImportRes_enabled);
  EXPECT_EQ(v.CBox_ThemeType_index, 0);
  EXPECT_TRUE(v.Pnl_ThemeIcon_visible);
  ASSERT_EQ(ed().state.Theme->NewFiles.size(), 3u);
  EXPECT_EQ(ed().state.Theme->NewFiles[0].f_file, Bytes(10, 1));
  EXPECT_EQ(ed().state.Theme->NewFiles[1].f_file, Bytes(32, 2));
  EXPECT_EQ(ed().state.Theme->NewFiles[2].f_file, Bytes(5, 3));
  EXPECT_EQ(ed().state.Map.Tree.Size(), 4);
  EXPECT_TRUE(fx.ui.messages.empty());

  // Saving the reopened theme gives the same bytes.
  fx.Save("again.ssf");
  EXPECT_EQ(test::ReadFile(fx.dir / "again.ssf"), b);
  EXPECT_EQ(fx.ui.save_requests.back().initial_dir, fx.dir.path());  // the folder saved last
}

// A container made elsewhere may hold anything in its reserved bytes, fill its text fields
// to the last byte and leave junk after the size table. Opening reads each field at its own
// width; saving keeps every byte before the size table (the count at 148 included) and
// zeroes only the gap up to the file data.
TEST_F(ContainerTest, ForeignHeaderBytesSurviveASaveAndTheGapIsZeroed) {
  Bytes edited;
  OpenEdited([&](Bytes& b) {
    for (size_t at : {13, 31, 84, 137, 138, 139, 146, 147, 152, 153, 154, 155, 164, 166, 167}) {
      b[at] = static_cast<uint8_t>(0xA0 + at % 16);
    }
    std::fill(b.begin() + 32, b.begin() + 84, 'a');    // author: 52 bytes, no zero
    std::fill(b.begin() + 85, b.begin() + 137, 'n');   // name: 52 bytes, no zero
    std::fill(b.begin() + 140, b.begin() + 146, 'v');  // version: read with byte 145
    WriteI32LE(b, 148, 5);                              // more than the map's 3
    std::fill(b.begin() + 0xFC8, b.begin() + 0xFD0, 0x5A);  // after the icon area
    std::fill(b.begin() + 0xFDC, b.begin() + 0xFE0, 0xEE);  // the gap after the size table
    edited = b;
  });
  EXPECT_EQ(ed().view.ED_ThemeAuthor, std::string(52, 'a'));
  EXPECT_EQ(ed().view.ED_ThemeName, std::string(52, 'n'));
  EXPECT_EQ(ed().view.ED_ThemeVersion, std::string(6, 'v'));
  EXPECT_EQ(ed().view.status[2], "3/3");

  fx.Save("resaved.ssf");
  Bytes expected = edited;
  std::fill(expected.begin() + 0xFDC, expected.begin() + 0xFE0, 0);
  EXPECT_EQ(test::ReadFile(fx.dir / "resaved.ssf"), expected);
}

// Windows-1251 is what the phone's tools write; a Cyrillic model must reach the container
// as those bytes and be found again by them.
TEST_F(ContainerTest, CyrillicModelIsStoredAndMatchedAsWindows1251) {
  fx.AddMap("tel.rxt", ExampleMapWith("EXAMPLE-100", "ТЕЛЕФОН-7"));
  fx.Create("ТЕЛЕФОН-7");
  fx.Fill({1, 2, 3});
  const Bytes b = test::ReadFile(fx.Save("tel"));
  const std::string model = Utf8ToCp1251("ТЕЛЕФОН-7");
  EXPECT_EQ(std::string(b.begin() + 14, b.begin() + 14 + model.size()), model);
  EXPECT_EQ(b[14 + model.size()], 0);
  fx.Reset();
  OpenThemeFile(ed(), fx.dir / "tel.ssf");
  EXPECT_EQ(ed().view.status[0], "tel.ssf [tel.rxt]");
  EXPECT_EQ(ed().view.status[2], "3/3");
}

// A second create or open in the same editor starts from the new map and file only.
TEST_F(ContainerTest, ASecondThemeKeepsNothingOfTheFirst) {
  fx.AddMap("two.rxt",
            "<THEMESIGN \"SAMSUNG THEME\" \"TWO-2\">\n<THEMESETTINGS \"0xB0\" \"0xC0\" \"2\" \"NO\">\n"
            "<FILE \"Фон\" \"1\" \"ANI2\" \"16\" \"8\">\n<FILE \"Цвета\" \"2\" \"COLORTAB\" \"8\">\n");
  OpenThemeFile(ed(), SavedExample("three.ssf"));
  ASSERT_EQ(ed().view.status[2], "3/3");

  fx.Create("EXAMPLE-100");  // the same map again: the count starts from 0
  EXPECT_EQ(ed().view.status[2], "0/3");
  EXPECT_EQ(ed().state.Theme->StoredFiles(), 0);
  fx.ui.messages.clear();
  MM_Child_SaveThemeClick(ed());
  EXPECT_EQ(fx.ui.OnlyMessage().text.rfind("Сохранение темы невозможно, пока не прикреплены все файлы!", 0), 0u);

  fx.Create("TWO-2");
  const ThemeMap& st = ed().state.Map;
  ASSERT_EQ(st.ThemeFiles.size(), 2u);
  EXPECT_EQ(st.ThemeFiles[0].f_type, "ANI2");
  EXPECT_EQ(st.ThemeFiles[0].f_width, 16);
  EXPECT_EQ(st.ThemeFiles[1].f_type, "COLORTAB");
  EXPECT_EQ(st.ThemeFiles[1].f_size, 8);
  ASSERT_EQ(st.Tree.Size(), 2);
  EXPECT_EQ(st.Tree.Node(0).caption, "Фон");
  EXPECT_EQ(st.Tree.Node(1).caption, "Цвета");
  EXPECT_EQ(ed().state.Theme->NewFiles.size(), 2u);
  EXPECT_EQ(ed().view.status[2], "0/2");
}

TEST_F(ContainerTest, MapWithErrorsStopsTheOpenWithItsReport) {
  auto path = SavedExample("t.ssf");
  fx.AddMap("example.rxt", ExampleMapWith("\"3\" \"YES\"", "\"4\" \"YES\""));
  fx.Reset();
  OpenThemeFile(ed(), path);
  ExpectNoTheme();
  EXPECT_EQ(ed().view.status[1], "Некорректная карта темы!");
  EXPECT_EQ(fx.ui.OnlyMessage().text.rfind("В карте темы [example.rxt]", 0), 0u);
}

TEST_F(ContainerTest, StoredCountComesFromOffset148) {
  struct {
    int32_t at148;
    const char* shown;
  } cases[] = {{3, "3/3"}, {5, "3/3"}, {1, "1/3"}, {0, "0/3"}, {-2, "0/3"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.at148);
    OpenEdited([&](Bytes& b) { WriteI32LE(b, 148, c.at148); });
    EXPECT_EQ(ed().view.status[2], c.shown);
    fx.ui.messages.clear();
    if (std::string(c.shown) != "3/3") {
      MM_Child_SaveThemeClick(ed());
      EXPECT_EQ(fx.ui.OnlyMessage().text, "Сохранение темы невозможно, пока не прикреплены все файлы!");
      fx.ui.messages.clear();
    }
  }
}

TEST_F(ContainerTest, SignatureAndZeroOffsetsFailWithTheirStatus) {
  struct {
    const char* name;
    size_t offset;
    Bytes bytes;
    const char* status;
  } cases[] = {
      {"signature", 12, {'F'}, "Некорректный файл темы. [Ошибка в сигнатуре 1]"},
      {"zero FilesTable", 156, {0, 0, 0, 0}, "Некорректный файл темы. [Нулевой указатель размеров файлов]"},
      {"zero FilesStart", 160, {0, 0, 0, 0}, "Некорректный файл темы. [Нулевой указатель начала файлов]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fx.ui.messages.clear();
    OpenEdited([&](Bytes& b) { std::copy(c.bytes.begin(), c.bytes.end(), b.begin() + c.offset); });
    ExpectNoTheme();
    EXPECT_EQ(ed().view.status, (std::array<std::string, 3>{"edited.ssf", c.status, ""}));
    EXPECT_EQ(fx.ui.OnlyMessage().text, kBadTheme);
    EXPECT_EQ(fx.ui.OnlyMessage().kind, kMsgError);
  }
}

TEST_F(ContainerTest, ModelWithoutMapStopsWithoutMessage) {
  OpenEdited([](Bytes& b) { b[14] = 'X'; });
  ExpectNoTheme();
  EXPECT_EQ(ed().view.status,
            (std::array<std::string, 3>{"Ошибка #1#", "Не найден файл карты темы. Дальнейшая работа невозможна.", ""}));
  EXPECT_TRUE(fx.ui.messages.empty());
}

TEST_F(ContainerTest, ThemeTypeByteSelectsItem) {
  for (auto [byte, index] : {std::pair{0, 0}, {1, 1}, {7, -1}}) {
    OpenEdited([&](Bytes& b) { b[165] = static_cast<uint8_t>(byte); });
    EXPECT_EQ(ed().view.CBox_ThemeType_index, index) << byte;
    EXPECT_TRUE(ed().view.CBox_ThemeType_visible);
  }
}

// A container cut short, or whose offsets point outside it, stops the open with an error
// naming the file and the region; nothing of it can be saved afterwards.
TEST_F(ContainerTest, ContainerCutShortAtEachRegion) {
  struct {
    const char* name;
    std::function<void(Bytes&)> edit;
    const char* says;
  } cases[] = {
      {"header", [](Bytes& b) { b.resize(150); }, "заголовок"},
      {"icon area", [](Bytes& b) { b.resize(3000); }, "иконки"},
      {"size table", [](Bytes& b) { b.resize(0xFD6); }, "0xFD0"},
      {"file data", [](Bytes& b) { b.resize(b.size() - 1); }, "47 байт"},
      {"sizes beyond the file", [](Bytes& b) { WriteU32LE(b, 0xFD4, 0xFFFFFFFF); }, "от смещения 0xFE0"},
      {"table offset outside", [](Bytes& b) { WriteI32LE(b, 156, 0x7FFFFFF0); }, "0x7FFFFFF0"},
      {"negative table offset", [](Bytes& b) { WriteI32LE(b, 156, -4); }, "-4"},
      {"data offset outside", [](Bytes& b) { WriteI32LE(b, 160, 0x10000); }, "0x10000"},
      {"data inside the table", [](Bytes& b) { WriteI32LE(b, 160, 0xFD8); }, "0xFD8"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // An open theme first: its save item must not survive the failed open.
    fx.Reset();
    OpenThemeFile(ed(), SavedExample("good.ssf"));
    ASSERT_TRUE(ed().view.MM_Child_SaveTheme_enabled);
    Bytes b = test::ReadFile(fx.dir / "good.ssf");
    c.edit(b);
    test::WriteFile(fx.dir / "cut.ssf", b);
    try {
      OpenThemeFile(ed(), fx.dir / "cut.ssf");
      ADD_FAILURE() << "opened";
    } catch (const SsfError& e) {
      std::string m = e.what();
      EXPECT_NE(m.find("cut.ssf"), std::string::npos) << m;
      EXPECT_NE(m.find(c.says), std::string::npos) << m;
    }
    ExpectNoTheme();
    EXPECT_EQ(ed().view.status[0], "cut.ssf");
  }
}

TEST_F(ContainerTest, UnreadableFileKeepsTheOpenTheme) {
  fx.Create("EXAMPLE-100");
  Bytes before = ed().state.Theme->Header;
  EXPECT_THROW(OpenThemeFile(ed(), fx.dir / "missing.ssf"), SsfError);
  EXPECT_EQ(ed().state.Theme->Header, before);
  EXPECT_TRUE(ed().view.MM_Child_SaveTheme_enabled);
}

TEST_F(ContainerTest, FailedSaveKeepsModifiedAndOldFile) {
  fx.Create("EXAMPLE-100");
  fx.Fill({1, 2, 3});
  fx.ui.AnswerSave(fx.dir / "no-such-folder" / "t.ssf");
  EXPECT_THROW(MM_Child_SaveThemeClick(ed()), SsfError);
  EXPECT_TRUE(ed().state.ThemeModified);
  EXPECT_NE(ed().view.status[1], "Тема сохранена.");

  // A target that cannot be replaced (a folder of that name) stays as it was.
  std::filesystem::create_directory(fx.dir / "busy.ssf");
  test::WriteText(fx.dir / "busy.ssf" / "inside", "keep");
  fx.ui.AnswerSave(fx.dir / "busy.ssf");
  EXPECT_THROW(MM_Child_SaveThemeClick(ed()), SsfError);
  EXPECT_EQ(test::ReadText(fx.dir / "busy.ssf" / "inside"), "keep");
  EXPECT_TRUE(ed().state.ThemeModified);
  for (const auto& e : std::filesystem::directory_iterator(fx.dir.path())) {
    EXPECT_NE(e.path().extension(), ".tmp") << "temporary file left: " << e.path();
  }
}

TEST_F(ContainerTest, ForcedExtensionAsksBeforeReplacingAnotherFile) {
  fx.Create("EXAMPLE-100");
  fx.Fill({1, 2, 3});
  test::WriteText(fx.dir / "t.ssf", "old");
  fx.ui.AnswerSave(fx.dir / "t.bin");
  fx.ui.yes_no_answers.push_back(false);
  MM_Child_SaveThemeClick(ed());
  ASSERT_EQ(fx.ui.questions.size(), 1u);
  EXPECT_EQ(fx.ui.questions[0], "Файл t.ssf уже существует.\r\nЗаменить его?");
  EXPECT_EQ(fx.ui.question_defaults[0], YesNoDefault::kNo);
  EXPECT_EQ(test::ReadText(fx.dir / "t.ssf"), "old");
  EXPECT_TRUE(ed().state.ThemeModified);

  fx.ui.AnswerSave(fx.dir / "t.bin");
  fx.ui.yes_no_answers.push_back(true);
  MM_Child_SaveThemeClick(ed());
  EXPECT_EQ(test::ReadFile(fx.dir / "t.ssf").size(), 0xFE0u + 6);
  EXPECT_FALSE(std::filesystem::exists(fx.dir / "t.bin"));
}

TEST_F(ContainerTest, ModelFieldHolds17Bytes) {
  fx.AddMap("m17.rxt", ExampleMapWith("EXAMPLE-100", "ABCDEFGHIJKLMNOPQ"));
  fx.AddMap("m18.rxt", ExampleMapWith("EXAMPLE-100", "ABCDEFGHIJKLMNOPQR"));
  fx.Create("ABCDEFGHIJKLMNOPQ");
  fx.Fill({1, 1, 1});
  auto p17 = fx.Save("m17");
  EXPECT_EQ(test::ReadFile(p17)[31], 0);
  OpenThemeFile(ed(), p17);
  EXPECT_EQ(ed().view.status[0], "m17.ssf [m17.rxt]");

  fx.Create("ABCDEFGHIJKLMNOPQR");
  fx.Fill({1, 1, 1});
  auto p18 = fx.Save("m18");
  OpenThemeFile(ed(), p18);  // cut to 17 bytes, it finds the 17-byte map
  EXPECT_EQ(ed().view.status[0], "m18.ssf [m17.rxt]");
}

TEST_F(ContainerTest, ColourThemeAndMapWithoutFiles) {
  fx.AddMap("c.rxt",
            "<THEMESIGN \"SAMSUNG THEME\" \"COLOUR\">\n<THEMESETTINGS \"0xB0\" \"0xB0\" \"0\" \"NO\">\n"
            "<COLORTHEMESSETTINGS \"YES\">\n");
  fx.Create("COLOUR");
  EXPECT_FALSE(ed().view.CBox_ThemeType_visible);
  EXPECT_FALSE(ed().view.Pnl_ThemeIcon_visible);
  EXPECT_EQ(ed().view.status[2], "0/0");
  auto p = fx.Save("c");
  EXPECT_EQ(test::ReadFile(p).size(), 0xB0u);
  OpenThemeFile(ed(), p);
  EXPECT_EQ(ed().view.status[1], "Тема загружена.");
  EXPECT_FALSE(ed().view.CBox_ThemeType_visible);
}

TEST_F(ContainerTest, IconAreaIsShownWithShiftConversion) {
  OpenEdited([](Bytes& b) {
    WriteU16LE(b, 168, 0xF800);                   // pixel (0, 0): red
    WriteU16LE(b, 168 + 2 * (44 * 44 - 1), 0xFFFF);  // pixel (43, 43): white
  });
  const Image& icon = ed().view.IMG_ThemeIcon;
  ASSERT_EQ(icon.width, 44u);
  EXPECT_EQ(Bytes(icon.Pixel(0, 0), icon.Pixel(0, 0) + 3), (Bytes{0, 0, 248}));
  EXPECT_EQ(Bytes(icon.Pixel(43, 43), icon.Pixel(43, 43) + 3), (Bytes{248, 252, 248}));
  EXPECT_EQ(Bytes(icon.Pixel(1, 0), icon.Pixel(1, 0) + 3), (Bytes{0, 0, 0}));
}

}  // namespace
}  // namespace ssf
