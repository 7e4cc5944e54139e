#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>

#include "EditorTestSupport.h"
#include "PictureSupport.h"
#include "PngBuilder.h"
#include "ifeg/Ifeg.h"
#include "pictures/Ani2.h"
#include "pictures/Bmp.h"
#include "pictures/Jpeg.h"
#include "editor/MainFormHandlers.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"
#include "base/SsfError.h"
#include "editor/IfgImportOption.h"
#include "editor/ThemeFileImport.h"

namespace ssf {
namespace {

namespace fs = std::filesystem;
using Kind = PreviewPicture::Kind;

// One theme file of every kind, small pictures of 8x6.
const char kImportMap[] =
    "<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"IMPORT-5\">\n"
    "<THEMESETTINGS FilesTable=\"0xFD0\" FilesStart=\"0x1000\" \"5\" \"YES\">\n"
    "<COLORTHEMESSETTINGS \"NO\">\n"
    "<GROUP \"Картинки\">\n"
    "  <FILE \"jpg\" \"1\" \"JPG\" \"8\" \"6\">\n"
    "  <FILE \"raw\" \"2\" \"RAW\" \"8\" \"6\">\n"
    "  <FILE \"ifg\" \"3\" \"IFG\" \"8\" \"6\">\n"
    "  <FILE \"ani2\" \"4\" \"ANI2\" \"8\" \"6\">\n"
    "</GROUP>\n"
    "<FILE \"Цвета\" \"5\" \"COLORTAB\" \"16\">\n";

enum FileK { kJpg = 0, kRaw = 1, kIfg = 2, kAni2 = 3, kTab = 4 };

const Image kPicture = test::Gradient(8, 6);
const Image kAlphaPicture = test::Gradient(8, 6, true);  // pixel 0 fully transparent

Bytes Jpeg() { return EncodeJpeg(kPicture, 90); }
Bytes Png() { return EncodePng(kAlphaPicture); }
Bytes Ifg() { return EncodeIFG(kPicture, 16, 1); }
Bytes Ani2() { return ImageToAni2(kAlphaPicture, true); }
Image FlatPng() { return FlattenOverBlack(DecodePng(Png())); }
Image IfgPicture() {
  Image p;
  DecodeIFG(Ifg(), p);
  return p;
}

const std::string kSizeError8x7 = PictureSizeMessage(8, 7, 8, 6);

struct ImportTest : ::testing::Test {
  test::EditorFixture fx;
  ImportTest() {
    fx.AddMap("import.rxt", kImportMap);
    fx.Create("IMPORT-5");
  }
  Editor& ed() { return *fx.ed; }
  void Select(int k) { SelectTreeNode(ed(), ed().state.Map.Tree.FileNode(k)); }
  fs::path Put(const std::string& name, const Bytes& bytes) {
    test::WriteFile(fx.dir / name, bytes);
    return fx.dir / name;
  }
  // Chooses the file in the dialog of "Загрузить" for theme file k.
  void Load(int k, const fs::path& file) {
    Select(k);
    fx.ui.AnswerOpen(file);
    btn_LoadFileClick(ed());
  }
  const Bytes& Slot(int k) { return ed().state.Theme->NewFiles[static_cast<size_t>(k)].f_file; }
};

// A row of a kind's table: an input file and what the import does with it.
struct Row {
  const char* name;
  std::function<Bytes()> input;
  std::function<Bytes()> stored;  // null: refused with `message`
  Kind preview = Kind::kNone;
  std::string message = {};
  int kind = kMsgWarning;
};

void RunRows(ImportTest& t, int k, const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    t.fx.ui.messages.clear();
    t.ed().state.Theme->NewFiles[static_cast<size_t>(k)].f_file.clear();
    t.ed().state.Theme->CountCorrection = 0 - t.ed().state.Theme->HeldFiles();
    t.ed().state.ThemeModified = false;
    t.ed().view.IMG = {};
    t.Load(k, t.Put(row.name, row.input()));
    if (row.stored) {
      EXPECT_TRUE(t.fx.ui.messages.empty()) << t.fx.ui.messages[0].text;
      EXPECT_EQ(t.Slot(k), row.stored());
      EXPECT_EQ(t.ed().view.IMG.kind, row.preview);
      EXPECT_EQ(t.ed().state.Theme->StoredFiles(), 1);
      EXPECT_TRUE(t.ed().state.ThemeModified);
    } else {
      if (row.message.empty()) {
        EXPECT_TRUE(t.fx.ui.messages.empty());
      } else {
        auto m = t.fx.ui.OnlyMessage();
        EXPECT_EQ(m.text, row.message);
        EXPECT_EQ(m.kind, row.kind);
      }
      EXPECT_TRUE(t.Slot(k).empty());
      EXPECT_EQ(t.ed().state.Theme->StoredFiles(), 0);
      EXPECT_FALSE(t.ed().state.ThemeModified);
      EXPECT_EQ(t.ed().view.IMG.kind, Kind::kNone);
    }
  }
}

Bytes Exif() {
  Bytes b = Jpeg();
  b[3] = 0xE1;
  return b;
}
Bytes Text(const char* s) { return Bytes(s, s + std::strlen(s)); }
Bytes Bmp8x7() { return EncodeBmp(test::Gradient(8, 7)); }
Bytes RawOf(size_t n) { return Bytes(n, 0x5A); }

// 48 RGB565 values spread over the range, most of which a detour through 8-bit channels
// would move by a unit; and as a RAW file.
std::vector<uint32_t> SpreadValues() {
  std::vector<uint32_t> v(48);
  for (uint32_t i = 0; i < v.size(); ++i) v[i] = (i * 1367u + 611u) & 0xFFFF;
  return v;
}
Bytes SpreadRaw() {
  Bytes raw;
  for (uint32_t v : SpreadValues()) raw.insert(raw.end(), {uint8_t(v), uint8_t(v >> 8)});
  return raw;
}

// Refusals shared by the JPG, RAW and IFG kinds.
std::vector<Row> CommonRefusals() {
  return {
      {"not.bmp", [] { return Text("BM but no bitmap at all"); }, nullptr, Kind::kNone,
       "Выбранный файл не является BMP-изображением!"},
      {"tall.bmp", Bmp8x7, nullptr, Kind::kNone, kSizeError8x7, kMsgError},
      {"exif.jpg", Exif, nullptr, Kind::kNone, "Выбранный файл не является JPG-изображением!"},
      {"tall.jpeg", [] { return EncodeJpeg(test::Gradient(8, 7)); }, nullptr, Kind::kNone, kSizeError8x7, kMsgError},
      {"not.png", Jpeg, nullptr, Kind::kNone, "Выбранный файл не является PNG-изображением!"},
      {"tall.png", [] { return EncodePng(test::Gradient(8, 7)); }, nullptr, Kind::kNone, kSizeError8x7, kMsgError},
      {"lower.ifg", [] { Bytes b = Ifg(); b[0] = 'i'; return b; }, nullptr, Kind::kNone,
       "Выбранный файл не является IFEG-изображением!"},
      {"wide.ifg", [] { return EncodeIFG(test::Gradient(9, 6)); }, nullptr, Kind::kNone,
       PictureSizeMessage(9, 6, 8, 6), kMsgError},
      {"typed.gif", Png, nullptr},
      {"noext", Png, nullptr},
  };
}

TEST_F(ImportTest, JpgKind) {
  std::vector<Row> rows = {
      {"p.bmp", [] { return EncodeBmp(kPicture); }, [] { return EncodeJpeg(kPicture, 100); }, Kind::kBitmap},
      {"p.jpg", Jpeg, Jpeg, Kind::kJpeg},
      {"P.JPEG", Jpeg, Jpeg, Kind::kJpeg},
      {"p.png", Png, [] { return EncodeJpeg(FlatPng(), 100); }, Kind::kPng},
      {"p.raw", [] { return ImageToRaw(kPicture); },
       [] { return EncodeJpeg(RawToImage(ImageToRaw(kPicture), 8, 6), 100); }, Kind::kJpeg},
      {"p.ifg", Ifg, [] { return EncodeJpeg(IfgPicture(), 100); }, Kind::kJpeg},
      {"long.raw", [] { return RawOf(97); }, nullptr, Kind::kNone, "Некорректный размер файла. Загрузка невозможна."},
      {"p.ani2", Ani2, nullptr},
  };
  for (Row& r : CommonRefusals()) rows.push_back(r);
  RunRows(*this, kJpg, rows);
}

TEST_F(ImportTest, RawKind) {
  std::vector<Row> rows = {
      {"p.bmp", [] { return EncodeBmp(kPicture); }, [] { return ImageToRaw(kPicture); }, Kind::kBitmap},
      {"p.jpg", Jpeg, [] { return ImageToRaw(DecodeJpeg(Jpeg())); }, Kind::kJpeg},
      {"p.png", Png, [] { return ImageToRaw(FlatPng()); }, Kind::kPng},
      {"p.raw", [] { return RawOf(96); }, [] { return RawOf(96); }, Kind::kBitmap},
      {"p.ifg", Ifg, [] { return ImageToRaw(IfgPicture()); }, Kind::kBitmap},
      {"long.raw", [] { return RawOf(97); }, nullptr, Kind::kNone, kWrongLoadSizeMessage},
      {"short.raw", [] { return RawOf(95); }, nullptr, Kind::kNone, kWrongLoadSizeMessage},
  };
  for (Row& r : CommonRefusals()) rows.push_back(r);
  RunRows(*this, kRaw, rows);
}

TEST_F(ImportTest, IfgKind) {
  std::vector<Row> rows = {
      {"p.bmp", [] { return EncodeBmp(kPicture); }, [] { return EncodeIFG(kPicture, 16, 1); }, Kind::kBitmap},
      {"p.jpg", Jpeg, [] { return EncodeIFG(DecodeJpeg(Jpeg()), 16, 1); }, Kind::kJpeg},
      {"p.png", Png, [] { return EncodeIFG(FlatPng(), 16, 1); }, Kind::kPng},
      {"p.raw", SpreadRaw, [] { return EncodeIFGPacked(8, 6, 1, SpreadValues()); }, Kind::kBitmap},
      {"p.ifg", [] { return EncodeIFG(kPicture, 18, 3); }, [] { return EncodeIFG(kPicture, 18, 3); }, Kind::kBitmap},
      {"long.raw", [] { return RawOf(97); }, nullptr, Kind::kNone, kWrongLoadSizeMessage},
  };
  for (Row& r : CommonRefusals()) rows.push_back(r);
  RunRows(*this, kIfg, rows);
}

// u8"Сжатие с потерями": pictures converted into an IFG theme file take the chosen error,
// and the preview shows what is stored; an IFEG file is still stored as it is, and the
// other kinds never change.
TEST_F(ImportTest, IfgLossyLevelFromTheSettings) {
  const Image photo = test::Gradient(8, 6);
  auto decoded = [](const Bytes& ifg) {
    Image p;
    DecodeIFG(ifg, p);
    return p;
  };
  for (uint32_t level : {1u, 2u}) {
    SCOPED_TRACE(level);
    SetIfgImportMaxError(fx.settings, level);
    EXPECT_EQ(IfgImportMaxError(IniDocument::Load(fx.dir / "settings.ini")), level);
    Load(kIfg, Put("p.bmp", EncodeBmp(photo)));
    const Bytes lossy = EncodeIFG(photo, 16, 1, level);
    ASSERT_NE(lossy, EncodeIFG(photo, 16, 1));
    EXPECT_EQ(Slot(kIfg), lossy);
    EXPECT_EQ(ed().view.IMG.kind, Kind::kBitmap);
    EXPECT_EQ(ed().view.IMG.image, decoded(lossy));
    EXPECT_EQ(ed().view.ED_FileSize, std::to_string(lossy.size()) + " б");

    // A RAW file's values are the ones the error is counted from.
    Load(kIfg, Put("p.raw", SpreadRaw()));
    const std::vector<uint32_t> got = DecodeIFGPacked(Slot(kIfg)).values;
    ASSERT_EQ(got.size(), 48u);
    for (size_t i = 0; i < got.size(); ++i) {
      const uint32_t want = SpreadValues()[i];
      EXPECT_LE(std::abs(int(got[i] >> 11) - int(want >> 11)), int(level)) << i;
      EXPECT_LE(std::abs(int((got[i] >> 5) & 63) - int((want >> 5) & 63)), int(level)) << i;
      EXPECT_LE(std::abs(int(got[i] & 31) - int(want & 31)), int(level)) << i;
    }

    Load(kIfg, Put("p.ifg", Ifg()));
    EXPECT_EQ(Slot(kIfg), Ifg());
    Load(kRaw, Put("p.bmp", EncodeBmp(photo)));
    EXPECT_EQ(Slot(kRaw), ImageToRaw(photo));
  }
  SetIfgImportMaxError(fx.settings, 0);
  Load(kIfg, Put("p.bmp", EncodeBmp(photo)));
  EXPECT_EQ(Slot(kIfg), EncodeIFG(photo, 16, 1));

  for (const char* value : {"3", "-1", "x", ""}) {
    EXPECT_EQ(IfgImportMaxError(IniDocument::Parse(std::string("[Import]\nIfgLossy=") + value + "\n")), 0u) << value;
  }
}

TEST_F(ImportTest, Ani2Kind) {
  // 8-bit grey with alpha: expanded to truecolour, never refused for its colour type.
  test::PngLayout grey{.width = 8, .height = 6, .colour_type = 4};
  for (int i = 0; i < 48; ++i) grey.samples.insert(grey.samples.end(), {uint16_t(i * 5), uint16_t(i * 5 + 7)});
  const Bytes grey_png = test::BuildPng(grey);
  Bytes swapped = Ani2();  // right length, header 6x8
  swapped[4] = 6, swapped[6] = 8;
  RunRows(*this, kAni2,
          {
              {"p.png", Png, [] { return ImageToAni2(kAlphaPicture, true); }, Kind::kPng},
              {"grey.png", [&] { return grey_png; }, [&] { return PngBytesToAni2(grey_png); }, Kind::kPng},
              {"p.ani2", Ani2, Ani2, Kind::kPng},
              {"swapped.ani2", [&] { return swapped; }, nullptr, Kind::kNone, PictureSizeMessage(6, 8, 8, 6), kMsgError},
              {"long.ani2", [] { Bytes b = Ani2(); b.push_back(0); return b; }, nullptr, Kind::kNone, kWrongLoadSizeMessage},
              {"lower.ani2", [] { Bytes b = Ani2(); b[0] = 'a'; return b; }, nullptr, Kind::kNone,
               "Выбранный файл не является ANI2-изображением!"},
              {"not.png", Ani2, nullptr, Kind::kNone, "Выбранный файл не является PNG-изображением!"},
              {"tall.png", [] { return EncodePng(test::Gradient(8, 7)); }, nullptr, Kind::kNone, kSizeError8x7, kMsgError},
              {"p.bmp", [] { return EncodeBmp(kPicture); }, nullptr},
          });
  // The transparent pixel keeps its alpha (reduced to 6 bits) in ANI2 ...
  Load(kAni2, Put("a.png", Png()));
  EXPECT_EQ(Slot(kAni2)[8], 0);
  EXPECT_EQ(Slot(kAni2)[11], 37 >> 2);
  // ... and turns black in the opaque kinds.
  Load(kRaw, Put("a.png", Png()));
  EXPECT_EQ(Slot(kRaw)[0], 0);
  EXPECT_EQ(Slot(kRaw)[1], 0);
}

TEST_F(ImportTest, ColorTabKindChecksTheLengthOnly) {
  RunRows(*this, kTab,
          {
              {"c.tab", [] { return RawOf(16); }, [] { return RawOf(16); }, Kind::kNone},
              {"any.bmp", [] { return Text("sixteen bytes!!!"); }, [] { return Text("sixteen bytes!!!"); }, Kind::kNone},
              {"long.tab", [] { return RawOf(17); }, nullptr, Kind::kNone, kWrongLoadSizeMessage},
              {"short.tab", [] { return RawOf(15); }, nullptr, Kind::kNone, kWrongLoadSizeMessage},
          });
}

TEST_F(ImportTest, CountsOnlyAbsentFilesAndShowsTheNewFile) {
  Select(kRaw);
  EXPECT_EQ(ed().view.status[2], "0/5");
  Load(kRaw, Put("p.raw", RawOf(96)));
  EXPECT_EQ(ed().view.status[1], "Тема изменена.");
  EXPECT_EQ(ed().view.status[2], "1/5");
  EXPECT_EQ(ed().view.ED_FileSize, "96 б");
  EXPECT_FALSE(ed().view.lbl_5_visible);
  EXPECT_TRUE(ed().view.btn_SaveFile_enabled);
  EXPECT_EQ(ed().view.IMG.image, RawToImage(RawOf(96), 8, 6));

  Load(kRaw, Put("q.bmp", EncodeBmp(kPicture)));  // replacing: the count stays
  EXPECT_EQ(ed().view.status[2], "1/5");
  EXPECT_EQ(ed().state.Theme->StoredFiles(), 1);
  EXPECT_EQ(ed().view.IMG.image, kPicture);

  // The JPEG shown for a JPEG theme file keeps its bytes, so export can write them unchanged.
  Load(kJpg, Put("p.jpg", Jpeg()));
  EXPECT_EQ(ed().view.IMG.jpeg_bytes, Jpeg());
  EXPECT_EQ(ed().view.status[2], "2/5");
  EXPECT_FALSE(fs::exists(fx.dir / "temp"));
  EXPECT_FALSE(fs::exists(fx.dir / "temp2"));
}

// A file that passes every check but does not convert changes nothing at all: not the
// slot, not the count, not the preview, not the modified flag.
TEST_F(ImportTest, AConversionErrorChangesNothing) {
  Bytes damaged_jpeg = Jpeg();
  damaged_jpeg.resize(40);
  Bytes damaged_ifg = Ifg();
  damaged_ifg.resize(20);
  Bytes damaged_png = Png();
  damaged_png.resize(40);
  const struct {
    int k;
    const char* name;
    Bytes bytes;
  } cases[] = {{kRaw, "d.jpg", damaged_jpeg}, {kJpg, "d.jpg", damaged_jpeg}, {kIfg, "d.ifg", damaged_ifg},
               {kJpg, "d.ifg", damaged_ifg},  {kAni2, "d.png", damaged_png}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " into " + std::to_string(c.k));
    Select(c.k);
    ed().view.IMG = PreviewPicture{Kind::kBitmap, kPicture, {}};
    const fs::path file = Put(c.name, c.bytes);
    fx.ui.AnswerOpen(file);
    try {
      btn_LoadFileClick(ed());
      ADD_FAILURE() << "no error";
    } catch (const SsfError& e) {
      EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();  // names the file
    }
    EXPECT_TRUE(Slot(c.k).empty());
    EXPECT_EQ(ed().state.Theme->StoredFiles(), 0);
    EXPECT_EQ(ed().view.status[2], "0/5");
    EXPECT_FALSE(ed().state.ThemeModified);
    EXPECT_EQ(ed().view.IMG.image, kPicture);
  }
  // Nothing half-stored can be saved.
  fx.ui.messages.clear();
  fx.ed->state.ThemeModified = true;
  fx.ui.save_answers.clear();
  MM_Child_SaveThemeClick(ed());
  EXPECT_EQ(fx.ui.OnlyMessage().text.rfind("Сохранение темы невозможно, пока не прикреплены все файлы!\r\n\r\nНе прикреплены:\r\n0: ", 0), 0u);
}

TEST_F(ImportTest, DialogByKindAndTheFolderRememberedBeforeAnyCheck) {
  fx.settings.WriteString("ExecuteFiles", "OpenFile", "/start/here/");
  const struct {
    int k;
    const char* filter;
  } kinds[] = {{kJpg, kImportFilterPictures}, {kRaw, kImportFilterPictures}, {kIfg, kImportFilterPictures},
               {kAni2, kImportFilterAni2}, {kTab, kImportFilterColorTab}};
  for (const auto& c : kinds) {
    Select(c.k);
    fx.ui.CancelOpen();
    btn_LoadFileClick(ed());
    EXPECT_EQ(fx.ui.open_requests.back().filter, c.filter);
    EXPECT_EQ(fx.ui.open_requests.back().initial_dir, "/start/here/");
  }
  EXPECT_EQ(fx.settings.ReadString("ExecuteFiles", "OpenFile"), "/start/here/");  // a cancel keeps it

  fs::create_directory(fx.dir / "in");
  Load(kJpg, Put("in/typed.gif", Png()));
  EXPECT_EQ(fx.settings.ReadString("ExecuteFiles", "OpenFile"), ((fx.dir / "in") / "").string());
  EXPECT_TRUE(fx.ui.messages.empty());
  EXPECT_FALSE(ed().state.ThemeModified);
}

TEST_F(ImportTest, NoDialogWithoutASelectedThemeFile) {
  btn_LoadFileClick(ed());  // nothing selected
  SelectTreeNode(ed(), 0);  // the group "Картинки"
  btn_LoadFileClick(ed());
  EXPECT_TRUE(fx.ui.open_requests.empty());
}

// Drag and drop and the command line import a named file without the dialog.
TEST_F(ImportTest, ImportWithoutTheDialogLeavesTheRememberedFolder) {
  EXPECT_TRUE(ImportThemeFile(ed(), kIfg, Put("p.bmp", EncodeBmp(kPicture))));
  EXPECT_FALSE(ImportThemeFile(ed(), kIfg, Put("tall.bmp", Bmp8x7())));
  EXPECT_EQ(fx.ui.OnlyMessage().text, kSizeError8x7);
  EXPECT_EQ(Slot(kIfg), EncodeIFG(kPicture, 16, 1));
  EXPECT_EQ(fx.settings.ReadString("ExecuteFiles", "OpenFile"), "");
  EXPECT_THROW(ImportThemeFile(ed(), 5, fx.dir / "p.bmp"), SsfError);
}

}  // namespace
}  // namespace ssf
