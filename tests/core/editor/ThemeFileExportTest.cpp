// u8"Сохранить" through the handler: every filter of every kind, the forced extension,
// the dialog's suggested name and folder, and what is written.
#include <gtest/gtest.h>

#include "ThemeFileTestSupport.h"
#include "pictures/Bmp.h"
#include "pictures/FileProbes.h"
#include "pictures/Png.h"
#include "base/SsfError.h"
#include "editor/ThemeFileExport.h"

namespace ssf::test {
namespace {

namespace fs = std::filesystem;

struct ExportFixture : KindsTheme {
  ExportFixture() { FillAll(); }
  // Selects theme file k and exports it under `name` with filter `filter`.
  fs::path Export(int k, const std::string& name, int filter) {
    Select(k);
    f.ui.AnswerSave(f.dir / name, filter);
    btn_SaveFileClick(ed());
    return f.dir / name;
  }
};

TEST(ThemeFileExport, PictureKindsUnderEachFilter) {
  for (int k : {kJpgFile, kRawFile, kIfgFile}) {
    ExportFixture t;
    t.Select(k);
    const Image shown = t.ed().view.IMG.image;
    const Bytes stored = t.Slot(k);
    const std::string ext[] = {"", ".bmp", ".jpg", ".png", ".raw", ".ifg"};
    for (int filter = 1; filter <= 5; ++filter) {
      SCOPED_TRACE("file " + std::to_string(k) + " filter " + std::to_string(filter));
      t.Export(k, "out" + std::to_string(filter) + ".txt", filter);
      const Bytes out = ReadFile(t.f.dir / ("out" + std::to_string(filter) + ext[filter]));
      EXPECT_FALSE(fs::exists(t.f.dir / ("out" + std::to_string(filter) + ".txt")));
      switch (filter) {
        case 1: EXPECT_EQ(DecodeBmp(out), shown); break;
        case 2:
          if (k == kJpgFile) {
            EXPECT_EQ(out, stored);  // the stored stream, not compressed again
          } else {
            EXPECT_TRUE(IsJFIF(out));
            EXPECT_EQ(DecodeJpeg(out).width, shown.width);
          }
          break;
        case 3: {
          PngPicture png = DecodePng(out);
          EXPECT_FALSE(png.image.HasAlpha());
          EXPECT_EQ(png.image, shown);
          break;
        }
        case 4:
          EXPECT_EQ(out, ImageToRaw(shown));
          if (k == kRawFile) {
            EXPECT_EQ(out, stored);  // RGB565 survives the 24-bit round trip
          }
          break;
        case 5: {
          const IfgPacked packed = DecodeIFGPacked(out);
          EXPECT_EQ(packed.header.mode, 1);
          if (k == kIfgFile) {
            EXPECT_EQ(packed.values, DecodeIFGPacked(stored).values);
          }
          break;
        }
      }
    }
    EXPECT_FALSE(t.ed().state.ThemeModified);
    EXPECT_EQ(t.ed().view.status, t.status_after_create);
  }
}

TEST(ThemeFileExport, Ani2AndColorTab) {
  ExportFixture t;
  t.Export(kAni2File, "clock", 1);
  PngPicture png = DecodePng(ReadFile(t.f.dir / "clock.png"));
  EXPECT_EQ(png.image, t.ed().view.IMG.image);  // with its alpha
  EXPECT_TRUE(png.has_alpha_channel);

  t.Export(kAni2File, "clock.png", 2);
  EXPECT_EQ(ReadFile(t.f.dir / "clock.ani2"), t.Slot(kAni2File));

  t.Export(kColorTabFile, "colours.dat", 1);
  EXPECT_EQ(ReadFile(t.f.dir / "colours.tab"), t.Slot(kColorTabFile));
}

// A caption from a stranger's map never proposes a name outside the chosen folder.
TEST(ThemeFileExport, ProposedNamesStayInTheChosenFolder) {
  const std::pair<std::string, std::string> cases[] = {
      {"../../.bashrc", ".....bashrc"}, {"/etc/passwd", "etcpasswd"}, {"..", "_"}, {".", "_"},
      {"a\\b", "ab"},                  {std::string("x\0y", 3), "xy"}, {"Часы: анимация", "Часы анимация"},
  };
  for (const auto& [caption, name] : cases) EXPECT_EQ(ProposedFileName(caption), name) << caption;
}

TEST(ThemeFileExport, DialogOffersTheCaptionAndTheLastFolder) {
  struct Case {
    int file;
    const char* name;
    const char* filter;
  };
  const Case cases[] = {
      {kJpgFile, "Обои главные", kPictureExportFilter},
      {kRawFile, "Фонменю", kPictureExportFilter},
      {kIfgFile, "Значок", kPictureExportFilter},
      {kAni2File, "Часы анимация", kAni2ExportFilter},
      {kColorTabFile, "Цвета главные", kColorTabFilter},
  };
  ExportFixture t;
  t.f.settings.WriteString("ExecuteFiles", "SaveFile", "/start/");
  for (const Case& c : cases) {
    t.Select(c.file);
    t.f.ui.CancelSave();
    btn_SaveFileClick(t.ed());
    const FileDialogRequest& r = t.f.ui.save_requests.back();
    EXPECT_EQ(r.file_name, c.name);
    EXPECT_EQ(r.filter, c.filter);
    EXPECT_EQ(r.initial_dir, fs::path("/start/"));
    EXPECT_TRUE(r.ask_overwrite);
  }
  EXPECT_EQ(t.f.settings.ReadString("ExecuteFiles", "SaveFile"), "/start/");  // cancel stores nothing

  fs::create_directory(t.f.dir / "sub");
  t.Export(kRawFile, "sub/a.bmp", 1);
  EXPECT_EQ(t.f.settings.ReadString("ExecuteFiles", "SaveFile"), (t.f.dir / "sub" / "").string());
}

TEST(ThemeFileExport, ForcedNameAsksBeforeReplacingAnotherFile) {
  ExportFixture t;
  WriteText(t.f.dir / "pic.bmp", "keep");
  t.f.ui.yes_no_answers.push_back(false);
  t.Export(kRawFile, "pic.txt", 1);
  EXPECT_EQ(ReadText(t.f.dir / "pic.bmp"), "keep");
  EXPECT_EQ(t.f.ui.questions.size(), 1u);

  t.f.ui.yes_no_answers.push_back(true);
  t.Export(kRawFile, "pic.txt", 1);
  EXPECT_NE(ReadText(t.f.dir / "pic.bmp"), "keep");

  // The name as confirmed in the dialog was asked about there already.
  t.Export(kRawFile, "pic.bmp", 1);
  EXPECT_EQ(t.f.ui.questions.size(), 2u);
}

TEST(ThemeFileExport, ABitmapPreviewOfAJpgFileIsCompressedAnew) {
  ExportFixture t;
  t.Select(kJpgFile);
  // As after an import from a BMP: the preview holds a bitmap, not the stored stream.
  t.ed().view.IMG = PreviewPicture{PreviewPicture::Kind::kBitmap, Gradient(240, 320), {}};
  t.f.ui.AnswerSave(t.f.dir / "new.jpg", 2);
  btn_SaveFileClick(t.ed());
  const Bytes out = ReadFile(t.f.dir / "new.jpg");
  EXPECT_NE(out, t.Slot(kJpgFile));
  EXPECT_EQ(out, EncodeJpeg(Gradient(240, 320), 100));
}

TEST(ThemeFileExport, FailedWriteKeepsTheFolderAndReportsTheError) {
  ExportFixture t;
  t.Select(kRawFile);
  t.f.ui.AnswerSave(t.f.dir / "missing" / "a.bmp", 1);
  EXPECT_THROW(btn_SaveFileClick(t.ed()), SsfError);
  EXPECT_EQ(t.f.settings.ReadString("ExecuteFiles", "SaveFile"), (t.f.dir / "missing" / "").string());
}

TEST(ThemeFileExport, DoesNothingForAnotherKindOrAnAbsentFile) {
  ExportFixture t;
  t.Select(kJpgFile);
  t.ed().state.Map.ThemeFiles[kJpgFile].f_type = "GIF";
  btn_SaveFileClick(t.ed());  // no dialog: ScriptedUi fails the test on one
  t.ed().state.Map.ThemeFiles[kJpgFile].f_type = "JPG";
  t.ed().state.Theme->NewFiles[kJpgFile].f_file.clear();
  btn_SaveFileClick(t.ed());
  EXPECT_TRUE(t.f.ui.save_requests.empty());
}

TEST(ThemeFileExport, AStoredFileThatDoesNotDecodeIsReportedNotWrittenEmpty) {
  ExportFixture t;
  t.ed().state.Theme->NewFiles[kRawFile].f_file.resize(100);
  t.Select(kRawFile);  // the panel tells what is wrong; the export must still refuse
  t.f.ui.AnswerSave(t.f.dir / "a.bmp", 1);
  EXPECT_THROW(btn_SaveFileClick(t.ed()), SsfError);
  EXPECT_FALSE(fs::exists(t.f.dir / "a.bmp"));
}

}  // namespace
}  // namespace ssf::test
