// The information panel through the tree selection: a table per kind, present and absent,
// the widening of RAW and ANI2, decoder failures and selections that are no theme file.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "PictureSupport.h"
#include "ThemeFileTestSupport.h"
#include "ifeg/Ifeg.h"
#include "pictures/Ani2.h"
#include "pictures/Jpeg.h"
#include "editor/MainFormHandlers.h"
#include "pictures/RawImage.h"
#include "base/SsfError.h"
#include "editor/ThemeFilePreview.h"
#include "editor/ThemeFileImport.h"

namespace ssf::test {
namespace {

struct PreviewCase {
  int file;                  // theme file index in kKindsMap
  const char* type;
  const char* width;
  const char* height;
  PreviewPicture::Kind picture;
  int frame;                 // PNL_IMG width
  int image;                 // IMG width
  int lbl_5, save, group;    // left edges
};

TEST(ThemeFilePreview, EachKindPresentAndAbsent) {
  const PreviewCase cases[] = {
      {kJpgFile, "JPG", "240", "320", PreviewPicture::Kind::kJpeg, 242, 242, 71, 140, 262},
      {kRawFile, "RAW", "240", "320", PreviewPicture::Kind::kBitmap, 242, 242, 71, 140, 262},
      {kAni2File, "ANI2", "16", "8", PreviewPicture::Kind::kPng, 242, 242, 71, 140, 262},
      {kIfgFile, "IFG", "16", "8", PreviewPicture::Kind::kBitmap, 242, 242, 71, 140, 262},
      {kWideRawFile, "RAW", "320", "8", PreviewPicture::Kind::kBitmap, 322, 320, 111, 220, 342},
      {kWideAni2File, "ANI2", "320", "8", PreviewPicture::Kind::kPng, 322, 320, 111, 220, 342},
      {kWideJpgFile, "JPG", "320", "8", PreviewPicture::Kind::kJpeg, 242, 242, 71, 140, 262},
      {kColorTabFile, "COLORTAB", "", "", PreviewPicture::Kind::kNone, 242, 242, 71, 140, 262},
  };
  for (bool present : {false, true}) {
    KindsTheme t;
    if (present) t.FillAll();
    for (const PreviewCase& c : cases) {
      SCOPED_TRACE(std::string(c.type) + " file " + std::to_string(c.file) + (present ? " present" : " absent"));
      t.Select(c.file);
      const ViewState& v = t.ed().view;
      const size_t size = t.ed().state.Theme->NewFiles[static_cast<size_t>(c.file)].f_size();
      EXPECT_TRUE(v.Pnl_ItemInfo_visible);
      EXPECT_EQ(v.ED_FileType, c.type);
      EXPECT_EQ(v.ED_FileWidth, c.width);
      EXPECT_EQ(v.ED_FileHeight, c.height);
      EXPECT_EQ(v.ED_FileSize, std::to_string(size) + " б");
      EXPECT_EQ(size > 0, present);
      EXPECT_EQ(v.lbl_5_visible, !present);
      EXPECT_EQ(v.btn_SaveFile_enabled, present);
      EXPECT_EQ(v.IMG.kind, present ? c.picture : PreviewPicture::Kind::kNone);
      EXPECT_EQ(v.PNL_IMG_width, c.frame);
      EXPECT_EQ(v.IMG_width, c.image);
      EXPECT_EQ(v.lbl_5_left, c.lbl_5);
      EXPECT_EQ(v.btn_SaveFile_left, c.save);
      EXPECT_EQ(v.GBox_FileInfo_left, c.group);
    }
    EXPECT_EQ(t.ed().state.ThemeModified, false);
    EXPECT_EQ(t.ed().view.status, t.status_after_create);
  }
}

TEST(ThemeFilePreview, PicturesComeFromTheStoredBytes) {
  KindsTheme t;
  t.FillAll();

  t.Select(kJpgFile);
  const PreviewPicture& jpg = t.ed().view.IMG;
  EXPECT_EQ(jpg.jpeg_bytes, t.Slot(kJpgFile));
  EXPECT_EQ(jpg.image, DecodeJpeg(t.Slot(kJpgFile)));

  t.Select(kRawFile);
  EXPECT_EQ(t.ed().view.IMG.image, RawToImage(t.Slot(kRawFile), 240, 320));
  EXPECT_EQ(t.ed().view.ED_FileSize, "153600 б");

  t.Select(kIfgFile);
  Image ifg;
  DecodeIFG(t.Slot(kIfgFile), ifg);
  EXPECT_EQ(t.ed().view.IMG.image, ifg);

  // ANI2 keeps its alpha so the window can show what lies behind.
  t.Select(kAni2File);
  const Image& ani2 = t.ed().view.IMG.image;
  ASSERT_TRUE(ani2.HasAlpha());
  EXPECT_EQ(ani2, Ani2ToImage(t.Slot(kAni2File)));
  EXPECT_EQ(ani2.alpha[0], 0);  // the test picture's first pixel is fully transparent
}

TEST(ThemeFilePreview, GroupsEmptyGroupsAndNoSelectionHideThePanel) {
  KindsTheme t;
  t.FillAll();
  t.Select(kRawFile);
  ASSERT_TRUE(t.ed().view.Pnl_ItemInfo_visible);
  const GroupTree& tree = t.ed().state.Map.Tree;
  for (int node : {0, t.EmptyGroupNode(), -1, tree.Size(), tree.Size() + 5}) {
    SCOPED_TRACE(node);
    SelectTreeNode(t.ed(), node);
    EXPECT_FALSE(t.ed().view.Pnl_ItemInfo_visible);
    SelectTreeNode(t.ed(), tree.FileNode(kRawFile));
    EXPECT_TRUE(t.ed().view.Pnl_ItemInfo_visible);
  }
  EXPECT_FALSE(tree.IsFileNode(t.EmptyGroupNode()));
  // The file after the empty group is the map's last file, not shifted past the tables.
  t.Select(kColorTabFile);
  EXPECT_EQ(t.ed().view.ED_FileType, "COLORTAB");
  EXPECT_EQ(t.ed().view.ED_FileSize, "64 б");
}

TEST(ThemeFilePreview, ThePanelStaysHiddenOnTheSecondPage) {
  KindsTheme t;
  PCtrlChange(t.ed(), 1);
  t.Select(kJpgFile);
  EXPECT_FALSE(t.ed().view.Pnl_ItemInfo_visible);
  PCtrlChange(t.ed(), 0);
  EXPECT_TRUE(t.ed().view.Pnl_ItemInfo_visible);
}

// A stored file its decoder refuses: the panel says why (no message box, so the tree can be
// browsed), the theme stays as it was, the fields show the map and the size, and the
// preview holds no picture (not the last one).
TEST(ThemeFilePreview, DecoderFailureShowsNoPictureAndChangesNothing) {
  struct Broken {
    int file;
    Bytes bytes;
  };
  const Broken cases[] = {
      {kJpgFile, Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1}},
      {kRawFile, Bytes(153599, 0x11)},
      {kAni2File, Bytes{'A', 'N', 'I', '2', 16, 0, 8, 0, 1, 2, 3}},
      {kIfgFile, Bytes{'I', 'F', 'E', 'G', 16, 0, 8, 0, 9, 0, 0, 0}},
      {kIfgFile, Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0}},
  };
  for (const Broken& c : cases) {
    SCOPED_TRACE(c.file);
    KindsTheme t;
    t.FillAll();
    t.ed().state.Theme->NewFiles[static_cast<size_t>(c.file)].f_file = c.bytes;
    t.ed().state.ThemeModified = false;
    const Bytes container = t.ed().state.Theme->Header;
    t.Select(kWideRawFile);  // a picture in the preview before
    ASSERT_NE(t.ed().view.IMG.kind, PreviewPicture::Kind::kNone);
    EXPECT_TRUE(t.ed().view.IMG_problem.empty());
    EXPECT_NO_THROW(SelectTreeNode(t.ed(), t.ed().state.Map.Tree.FileNode(c.file)));
    const ViewState& v = t.ed().view;
    EXPECT_FALSE(v.IMG_problem.empty());
    EXPECT_TRUE(t.f.ui.messages.empty());
    EXPECT_TRUE(v.Pnl_ItemInfo_visible);
    EXPECT_EQ(v.IMG.kind, PreviewPicture::Kind::kNone);
    EXPECT_EQ(v.ED_FileSize, std::to_string(c.bytes.size()) + " б");
    EXPECT_TRUE(v.btn_SaveFile_enabled);
    EXPECT_FALSE(t.ed().state.ThemeModified);
    EXPECT_EQ(t.ed().state.Theme->NewFiles[static_cast<size_t>(c.file)].f_file, c.bytes);
    EXPECT_EQ(t.ed().state.Theme->Header, container);
  }
}

// A file that decodes but is not what the map asks for says so too; a sound one and an
// absent one say nothing, and an import that mends the file clears the text.
TEST(ThemeFilePreview, ThePanelNamesTheChecksProblemOfTheSelectedFile) {
  KindsTheme t;
  t.FillAll();
  t.Select(kJpgFile);
  EXPECT_EQ(t.ed().view.IMG_problem, "");
  t.ed().state.Theme->NewFiles[kJpgFile].f_file = JpegOf(100, 20);
  t.Select(kJpgFile);
  EXPECT_NE(t.ed().view.IMG.kind, PreviewPicture::Kind::kNone);  // still drawn
  EXPECT_EQ(t.ed().view.IMG_problem, "Размер изображения 100x20, по карте нужен 240x320");
  StoreSelectedFile(t.ed(), kJpgFile, JpegOf(240, 320), std::nullopt);
  EXPECT_EQ(t.ed().view.IMG_problem, "");
  t.ed().state.Theme->NewFiles[kRawFile].f_file.clear();
  t.Select(kRawFile);
  EXPECT_EQ(t.ed().view.IMG_problem, "");
  EXPECT_TRUE(t.ed().view.lbl_5_visible);
}

TEST(ThemeFilePreview, NothingIsWrittenBesideTheProgram) {
  KindsTheme t;
  t.FillAll();
  for (int k = 0; k < kKindsFileCount; ++k) t.Select(k);
  for (const auto& e : std::filesystem::directory_iterator(t.f.dir.path())) {
    EXPECT_TRUE(e.path().filename() == "ThemeMaps" || e.path().filename() == "settings.ini") << e.path();
  }
}

}  // namespace
}  // namespace ssf::test
