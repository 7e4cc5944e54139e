#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "PictureSupport.h"
#include "ifeg/Ifeg.h"
#include "pictures/Bmp.h"
#include "pictures/Jpeg.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"
#include "theme/ThemeContainer.h"
#include "editor/ThemeFileImport.h"
#include "editor/ThemeIconHandlers.h"

namespace ssf {
namespace {

namespace fs = std::filesystem;

const Image kIcon = test::Gradient(44, 44);

struct ThemeIconTest : ::testing::Test {
  test::EditorFixture fx;
  ThemeIconTest() {
    fx.AddMap("example.rxt", test::kExampleMap);
    fx.Create("EXAMPLE-100");
  }
  Editor& ed() { return *fx.ed; }
  Bytes Area() {
    const Bytes& d = ed().state.Theme->Header;
    return Bytes(d.begin() + kIconOffset, d.begin() + kIconOffset + kIconBytes);
  }
  fs::path Put(const std::string& name, const Bytes& bytes) {
    test::WriteFile(fx.dir / name, bytes);
    return fx.dir / name;
  }
  void Load(const fs::path& file) {
    fx.ui.AnswerOpen(file);
    IMG_ThemeIconClick(ed());
  }
};

std::string Not44(int w, int h) {
  return "Размеры загружаемого изображения должны быть равны 44х44!\r\nЗагружаемый размер: " + std::to_string(w) +
         "x" + std::to_string(h);
}

TEST_F(ThemeIconTest, LoadByExtension) {
  Bytes raw(kIconBytes);
  for (size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<uint8_t>(i * 31 + i / 7);
  Bytes exif = EncodeJpeg(kIcon);
  exif[3] = 0xE1;
  Image decoded_ifg;
  DecodeIFG(EncodeIFG(kIcon), decoded_ifg);
  const struct {
    const char* name;
    Bytes input;
    Bytes area;  // empty: refused
    std::string message = {};
    int kind = kMsgWarning;
  } rows[] = {
      // Raw values pass the shift conversions both ways unchanged: stored byte for byte.
      {"i.raw", raw, raw},
      {"i.bmp", EncodeBmp(kIcon), ImageToRaw(kIcon)},
      {"i.JpEg", EncodeJpeg(kIcon), ImageToRaw(DecodeJpeg(EncodeJpeg(kIcon)))},
      {"i.png", EncodePng(test::Gradient(44, 44, true)), ImageToRaw(FlattenOverBlack(test::Gradient(44, 44, true)))},
      {"i.ifg", EncodeIFG(kIcon), ImageToRaw(decoded_ifg)},
      // The BMP row names the map's wording, with 44 fixed rather than read from the map.
      {"wide.bmp", EncodeBmp(test::Gradient(45, 44)), {}, PictureSizeMessage(45, 44, 44, 44), kMsgError},
      {"wide.png", EncodePng(test::Gradient(45, 44)), {}, Not44(45, 44), kMsgError},
      {"wide.jpg", EncodeJpeg(test::Gradient(44, 45)), {}, Not44(44, 45), kMsgError},
      {"wide.ifg", EncodeIFG(test::Gradient(45, 44)), {}, Not44(45, 44), kMsgError},
      {"short.raw", Bytes(kIconBytes - 1), {}, "Некорректный размер файла. Загрузка невозможна."},
      {"long.raw", Bytes(kIconBytes + 1), {}, "Некорректный размер файла. Загрузка невозможна."},
      {"bad.bmp", Bytes(60, 'B'), {}, "Выбранный файл не является BMP-изображением!"},
      {"exif.jpg", exif, {}, "Выбранный файл не является JPG-изображением!"},
      {"bad.png", EncodeBmp(kIcon), {}, "Выбранный файл не является PNG-изображением!"},
      {"bad.ifg", Bytes(20, 'I'), {}, "Выбранный файл не является IFEG-изображением!"},
      {"i.gif", EncodePng(kIcon), {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    fx.ui.messages.clear();
    PM_DelIMGClick(ed());
    ed().state.ThemeModified = false;
    Load(Put(row.name, row.input));
    EXPECT_EQ(fx.settings.ReadString("ThemePaths", "ThemeIconOpen"), (fx.dir / "").string());
    if (!row.area.empty()) {
      EXPECT_TRUE(fx.ui.messages.empty());
      EXPECT_EQ(Area(), row.area);
      EXPECT_TRUE(ed().state.ThemeModified);
      EXPECT_EQ(ImageToRaw(ed().view.IMG_ThemeIcon), row.area);  // the icon shows what is stored
    } else {
      if (row.message.empty()) {
        EXPECT_TRUE(fx.ui.messages.empty());
      } else {
        EXPECT_EQ(fx.ui.OnlyMessage().text, row.message);
        EXPECT_EQ(fx.ui.OnlyMessage().kind, row.kind);
      }
      EXPECT_EQ(Area(), Bytes(kIconBytes, 0));
      EXPECT_FALSE(ed().state.ThemeModified);
    }
  }
  EXPECT_EQ(fx.ui.open_requests.back().filter, kImportFilterPictures);
}

TEST_F(ThemeIconTest, SavesInFiveFormatsWithTheFilterExtension) {
  ASSERT_TRUE(LoadThemeIconFile(ed(), Put("i.bmp", EncodeBmp(kIcon))));
  const Image shown = ed().view.IMG_ThemeIcon;
  // Until the theme is reopened, the icon is the picture as loaded, not its 16-bit form.
  EXPECT_EQ(shown, kIcon);
  ASSERT_NE(RawToImage(ImageToRaw(kIcon), 44, 44), kIcon);  // the stored form differs
  const struct {
    int filter;
    const char* file;
  } rows[] = {{1, "o.bmp"}, {2, "o.jpg"}, {3, "o.png"}, {4, "o.raw"}, {5, "o.ifg"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    fx.ui.AnswerSave(fx.dir / "o", row.filter);  // no extension typed: the filter's is added
    PM_ExctractIMGClick(ed());
    const Bytes out = test::ReadFile(fx.dir / row.file);
    if (row.filter == 1) {
      EXPECT_EQ(DecodeBmp(out), shown);
    }
    if (row.filter == 2) {
      EXPECT_EQ(out, EncodeJpeg(shown, 100));
      EXPECT_TRUE(test::AllQuantisationStepsAreOne(out));
    }
    if (row.filter == 3) {
      EXPECT_EQ(DecodePng(out).image, shown);
    }
    if (row.filter == 4) {
      EXPECT_EQ(out, Area());
    }
    if (row.filter == 5) {
      EXPECT_EQ(out, EncodeIFG(shown, 16, 1));
    }
  }
  EXPECT_EQ(fx.ui.save_requests.back().filter, kIconSaveFilter);
  EXPECT_EQ(fx.settings.ReadString("ThemePaths", "ThemeIconSave"), (fx.dir / "").string());
  EXPECT_EQ(IconSaveFilterIndex(".JPEG"), 2);
  EXPECT_EQ(IconSaveFilterIndex(".gif"), 0);
}

TEST_F(ThemeIconTest, ForcedNameAsksBeforeReplacingAnotherFile) {
  test::WriteText(fx.dir / "icon.jpg", "keep");
  fx.ui.AnswerSave(fx.dir / "icon.bmp", 2);  // the JPEG filter turns it into icon.jpg
  fx.ui.yes_no_answers.push_back(false);
  PM_ExctractIMGClick(ed());
  ASSERT_EQ(fx.ui.questions.size(), 1u);
  EXPECT_EQ(fx.ui.questions[0], "Файл icon.jpg уже существует.\r\nЗаменить его?");
  EXPECT_EQ(test::ReadText(fx.dir / "icon.jpg"), "keep");
  EXPECT_FALSE(fs::exists(fx.dir / "icon.bmp"));

  fx.ui.AnswerSave(fx.dir / "icon.bmp", 2);
  fx.ui.yes_no_answers.push_back(true);
  PM_ExctractIMGClick(ed());
  EXPECT_EQ(test::ReadFile(fx.dir / "icon.jpg"), EncodeJpeg(ed().view.IMG_ThemeIcon, 100));
}

TEST_F(ThemeIconTest, ClearingMakesZerosAndMarksTheThemeModified) {
  ASSERT_TRUE(LoadThemeIconFile(ed(), Put("i.bmp", EncodeBmp(kIcon))));
  ed().state.ThemeModified = false;
  PM_DelIMGClick(ed());
  EXPECT_EQ(Area(), Bytes(kIconBytes, 0));
  EXPECT_TRUE(ed().state.ThemeModified);
  EXPECT_EQ(ed().view.IMG_ThemeIcon, Image(44, 44));
  fx.ui.AnswerSave(fx.dir / "z.raw", 4);
  PM_ExctractIMGClick(ed());
  EXPECT_EQ(test::ReadFile(fx.dir / "z.raw"), Bytes(kIconBytes, 0));
}

TEST_F(ThemeIconTest, AThemeWithoutIconOffersNothing) {
  fx.AddMap("example.rxt", test::ExampleMapWith("\"3\" \"YES\"", "\"3\" \"NO\""));
  fx.Create("EXAMPLE-100");
  IMG_ThemeIconClick(ed());
  PM_ExctractIMGClick(ed());
  PM_DelIMGClick(ed());
  EXPECT_TRUE(fx.ui.open_requests.empty());
  EXPECT_TRUE(fx.ui.save_requests.empty());
  EXPECT_FALSE(ed().state.ThemeModified);
}

}  // namespace
}  // namespace ssf
