// Imports of pictures whose size differs from their theme file's: refused as before unless
// fitting is asked for, then fitted, converted and shown as stored.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "PictureSupport.h"
#include "editor/MainFormHandlers.h"
#include "editor/FitPicturesOption.h"
#include "editor/ThemeFileImport.h"
#include "ifeg/Ifeg.h"
#include "pictures/Ani2.h"
#include "pictures/Bmp.h"
#include "pictures/FileProbes.h"
#include "pictures/Jpeg.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"

namespace ssf {
namespace {

namespace fs = std::filesystem;
using Kind = PreviewPicture::Kind;

const char kFitMap[] =
    "<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"FIT-4\">\n"
    "<THEMESETTINGS FilesTable=\"0xFD0\" FilesStart=\"0x1000\" \"4\" \"YES\">\n"
    "<COLORTHEMESSETTINGS \"NO\">\n"
    "<FILE \"jpg\" \"1\" \"JPG\" \"8\" \"6\">\n"
    "<FILE \"raw\" \"2\" \"RAW\" \"8\" \"6\">\n"
    "<FILE \"ifg\" \"3\" \"IFG\" \"8\" \"6\">\n"
    "<FILE \"ani2\" \"4\" \"ANI2\" \"8\" \"6\">\n";

enum FileK { kJpg = 0, kRaw = 1, kIfg = 2, kAni2 = 3 };

const Image kBig = test::Gradient(20, 9);
const Image kBigAlpha = test::Gradient(20, 9, true);

struct FitImport : ::testing::Test {
  test::EditorFixture fx;
  std::vector<std::string> asked;  // kind and sizes of each question
  std::optional<FitChoice> answer;

  FitImport() {
    fx.AddMap("fit.rxt", kFitMap);
    fx.Create("FIT-4");
  }
  Editor& ed() { return *fx.ed; }
  fs::path Put(const std::string& name, const Bytes& bytes) {
    test::WriteFile(fx.dir / name, bytes);
    return fx.dir / name;
  }
  const Bytes& Slot(int k) { return ed().state.Theme->NewFiles[static_cast<size_t>(k)].f_file; }
  void AskUser() {
    ed().fit.ask = [this](const FitQuestion& q) {
      asked.push_back(q.kind + " " + std::to_string(q.picture.width) + "x" + std::to_string(q.picture.height) +
                      " -> " + std::to_string(q.width) + "x" + std::to_string(q.height) + " " + q.file);
      return answer;
    };
  }
};

TEST_F(FitImport, WithoutFittingAnotherSizeIsRefusedAsBefore) {
  EXPECT_FALSE(ImportThemeFile(ed(), kRaw, Put("big.bmp", EncodeBmp(kBig))));
  EXPECT_EQ(fx.ui.OnlyMessage().text, PictureSizeMessage(20, 9, 8, 6));
  EXPECT_TRUE(Slot(kRaw).empty());
}

TEST_F(FitImport, EachKindStoresTheFittedPictureConverted) {
  const Image crop = FitPicture(kBig, 8, 6, FitMode::kCrop);
  Image dithered = crop;
  DitherToRgb565(dithered);
  struct Case {
    const char* name;  // the file's name: its extension picks the reader
    int k;
    Bytes input;
    FitChoice choice;
    Bytes stored;
  } cases[] = {
      {"a.bmp", kRaw, EncodeBmp(kBig), {FitMode::kCrop, false}, ImageToRaw(crop)},
      {"b.bmp", kRaw, EncodeBmp(kBig), {FitMode::kCrop, true}, ImageToRaw(dithered)},
      {"c.png", kIfg, EncodePng(kBig), {FitMode::kCrop, true}, EncodeIFG(dithered, 16, 1)},
      {"d.ifg", kIfg, EncodeIFG(kBig, 16, 1), {FitMode::kStretch, false}, {}},
      {"e.png", kAni2, EncodePng(kBigAlpha), {FitMode::kPad, false},
       ImageToAni2(FitPicture(DecodePng(EncodePng(kBigAlpha)).image, 8, 6, FitMode::kPad), true)},
      {"f.ani2", kAni2, ImageToAni2(kBigAlpha, true), {FitMode::kStretch, false}, {}},
      {"g.jpg", kJpg, EncodeJpeg(kBig, 90), {FitMode::kCrop, true}, {}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    ed().fit.always = c.choice;
    ed().state.Theme->NewFiles[static_cast<size_t>(c.k)].f_file.clear();
    SelectTreeNode(ed(), ed().state.Map.Tree.FileNode(c.k));
    ASSERT_TRUE(ImportThemeFile(ed(), c.k, Put(c.name, c.input)));
    EXPECT_TRUE(fx.ui.messages.empty());
    if (!c.stored.empty()) {
      EXPECT_EQ(Slot(c.k), c.stored);
    }
    // The stored file has the theme file's size, and the preview shows it as stored.
    if (c.k == kRaw) {
      EXPECT_EQ(Slot(c.k).size(), 8u * 6 * 2);
    } else if (c.k == kIfg || c.k == kAni2) {
      EXPECT_EQ(GetHeaderWidth(Slot(c.k)), 8);
    }
    EXPECT_EQ(ed().view.IMG.image.width, 8u);
    EXPECT_EQ(ed().view.IMG.image.height, 6u);
    EXPECT_TRUE(ed().state.ThemeModified);
  }
  EXPECT_EQ(DecodeJpeg(Slot(kJpg)).width, 8u);
}

TEST_F(FitImport, TheUserIsAskedOnlyForAnotherSizeAndMayCancel) {
  AskUser();
  // Cancel: nothing stored, nothing said.
  EXPECT_FALSE(ImportThemeFile(ed(), kRaw, Put("big.png", EncodePng(kBig))));
  EXPECT_EQ(asked, (std::vector<std::string>{"RAW 20x9 -> 8x6 big.png"}));  // the question names the file
  EXPECT_TRUE(fx.ui.messages.empty());
  EXPECT_TRUE(Slot(kRaw).empty());
  EXPECT_FALSE(ed().state.ThemeModified);

  answer = FitChoice{FitMode::kStretch, false};
  EXPECT_TRUE(ImportThemeFile(ed(), kRaw, fx.dir / "big.png"));
  EXPECT_EQ(Slot(kRaw), ImageToRaw(FitPicture(kBig, 8, 6, FitMode::kStretch)));

  // The right size goes in as always, unasked: a JPEG into a JPG theme file keeps its bytes.
  asked.clear();
  const Bytes jpeg = EncodeJpeg(test::Gradient(8, 6), 90);
  EXPECT_TRUE(ImportThemeFile(ed(), kJpg, Put("exact.jpg", jpeg)));
  EXPECT_EQ(Slot(kJpg), jpeg);
  EXPECT_TRUE(asked.empty());

  // A file that is not what its extension says is still refused before any question.
  EXPECT_FALSE(ImportThemeFile(ed(), kRaw, Put("fake.png", Bytes{1, 2, 3})));
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(fx.ui.OnlyMessage().text, kNotPngMessage);
}

TEST(FitSetting, KeptInSettingsOffByDefault) {
  test::EditorFixture fx;
  EXPECT_FALSE(FitPicturesOn(fx.settings));
  SetFitPicturesOn(fx.settings, true);
  EXPECT_TRUE(FitPicturesOn(IniDocument::Load(fx.dir / "settings.ini")));
  SetFitPicturesOn(fx.settings, false);
  EXPECT_FALSE(FitPicturesOn(IniDocument::Load(fx.dir / "settings.ini")));
}

TEST(FitPreview, AsStoredShowsTheRgb565Levels) {
  const Image picture = test::Gradient(5, 4);
  EXPECT_EQ(AsStored(picture, "RAW"), RawToImage(ImageToRaw(picture), 5, 4));
  Image ifg;
  DecodeIFG(EncodeIFG(picture, 16, 1), ifg);
  EXPECT_EQ(AsStored(picture, "IFG"), ifg);
  EXPECT_EQ(AsStored(picture, "JPG").width, 5u);
  EXPECT_FALSE(AsStored(test::Gradient(5, 4, true), "ANI2").HasAlpha());
}

}  // namespace
}  // namespace ssf
