// The information panel in the real window: selecting theme files shows their pictures
// and fields, and "Сохранить" writes the selected file through the save dialog.
#include <QGroupBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <fstream>

#include "GuiTestSupport.h"
#include "pictures/Ani2.h"
#include "pictures/Bmp.h"
#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "pictures/Jpeg.h"
#include "pictures/RawImage.h"

namespace ssf::test {
namespace {

constexpr char kPanelMap[] =
    "<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"PANEL-1\">\r\n"
    "<THEMESETTINGS FilesTable=\"0xFD0\" FilesStart=\"0xFE0\" \"3\" \"YES\">\r\n"
    "<COLORTHEMESSETTINGS \"NO\">\r\n"
    "<GROUP \"Картинки\">\r\n"
    "  <FILE \"Фон: меню\" \"1\" \"RAW\" \"320\" \"240\">\r\n"
    "  <FILE \"Часы\" \"2\" \"ANI2\" \"32\" \"32\">\r\n"
    "  <FILE \"Обои\" \"3\" \"JPG\" \"400\" \"500\">\r\n"
    "</GROUP>\r\n";

Image Stripes(uint32_t w, uint32_t h) {
  Image image(w, h);
  for (uint32_t y = 0; y < h; ++y) {
    for (uint32_t x = 0; x < w; ++x) {
      uint8_t* p = image.Pixel(x, y);
      p[0] = static_cast<uint8_t>(x * 8);
      p[1] = static_cast<uint8_t>(y * 8);
      p[2] = static_cast<uint8_t>((x / 16) % 2 ? 0xF8 : 0);
    }
  }
  return image;
}

class ThemeFilePanelTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    std::ofstream(Home() / "ThemeMaps" / "PANEL-1.rxt", std::ios::binary) << Utf8ToCp1251(kPanelMap);
    Form().show();
    Click("MM_Child_CreateTheme");
    ASSERT_EQ(editor->state.Theme->NewFiles.size(), 3u);
  }
  void Select(int k) {
    auto* tv = Control<QTreeWidget>("TV");
    tv->setCurrentItem(tv->topLevelItem(0)->child(k));
  }
  QString Text(const char* name) { return Control<QLineEdit>(name)->text(); }
};

TEST_F(ThemeFilePanelTest, SelectShowsTheFileAndSaveWritesIt) {
  const Image raw_picture = Stripes(320, 240);
  editor->state.Theme->NewFiles[0].f_file = ImageToRaw(raw_picture);
  Image clock = Stripes(32, 32);
  clock.AddAlpha(0);
  for (size_t i = 0; i < clock.PixelCount() / 2; ++i) clock.alpha[i] = 255;
  editor->state.Theme->NewFiles[1].f_file = ImageToAni2(clock, true);

  // An absent file: the label, a disabled button, size 0.
  Select(2);
  auto* frame = Control<QScrollArea>("PNL_IMG");
  auto* panel = Control<QFrame>("Pnl_ItemInfo");
  EXPECT_TRUE(panel->isVisible());
  EXPECT_TRUE(Control<QLabel>("lbl_5")->isVisible());
  EXPECT_TRUE(Control<QLabel>("lbl_5")->font().bold());
  EXPECT_FALSE(Control<QPushButton>("btn_SaveFile")->isEnabled());
  EXPECT_TRUE(Control<QPushButton>("btn_LoadFile")->isEnabled());
  EXPECT_EQ(Text("ED_FileSize"), "0 б");
  EXPECT_EQ(frame->width(), 242);

  // A wide RAW file widens the frame and moves the controls after it.
  Select(0);
  EXPECT_FALSE(Control<QLabel>("lbl_5")->isVisible());
  EXPECT_TRUE(Control<QPushButton>("btn_SaveFile")->isEnabled());
  EXPECT_EQ(Text("ED_FileWidth"), "320");
  EXPECT_EQ(Text("ED_FileHeight"), "240");
  EXPECT_EQ(Text("ED_FileSize"), "153600 б");
  EXPECT_EQ(Text("ED_FileType"), "RAW");
  EXPECT_TRUE(Control<QLineEdit>("ED_FileType")->isReadOnly());
  EXPECT_EQ(Control<QLabel>("IMG")->pixmap().size(), QSize(320, 240));  // not scaled
  auto* group = Control<QGroupBox>("GBox_FileInfo");
  // At the default size the frame gives way to the fields' whole texts and scrolls; the
  // controls after it keep their places relative to it.
  EXPECT_LE(frame->width(), 322);
  if (frame->width() < 322) {
    EXPECT_GT(frame->horizontalScrollBar()->maximum(), 0);
  }
  EXPECT_EQ(Control<QPushButton>("btn_SaveFile")->x(), frame->width() - 102);
  EXPECT_EQ(group->x(), frame->width() + 20);
  // With room, the frame has the picture's width plus its border.
  Form().resize(1000, Form().height());
  EXPECT_EQ(frame->width(), 322);
  EXPECT_EQ(Control<QPushButton>("btn_SaveFile")->x(), 220);
  EXPECT_EQ(group->x(), 342);

  // The group keeps its fields inside and stays inside the panel.
  EXPECT_LE(group->geometry().right(), panel->width());
  for (const char* field : {"ED_FileWidth", "ED_FileHeight", "ED_FileSize", "ED_FileType", "lbl_6", "lbl_9"}) {
    QWidget* w = group->findChild<QWidget*>(field);
    ASSERT_NE(w, nullptr) << field;
    EXPECT_TRUE(group->rect().contains(w->geometry())) << field;
  }
  // Each field shows its whole text, not only a rectangle inside the group ("400 б" of
  // "153600 б" was shown once).
  for (const char* field : {"ED_FileWidth", "ED_FileHeight", "ED_FileSize", "ED_FileType"}) {
    auto* e = group->findChild<QLineEdit*>(field);
    ASSERT_NE(e, nullptr) << field;
    EXPECT_LE(e->fontMetrics().horizontalAdvance(e->text()), e->width() - 8) << field << " " << e->width();
  }

  // Export through the real button: the picture the preview shows, as BMP.
  const auto target = Home() / "menu.txt";
  ui.AnswerSave(target, 1);
  QTest::mouseClick(Control<QPushButton>("btn_SaveFile"), Qt::LeftButton);
  ASSERT_EQ(ui.save_requests.size(), 1u);
  EXPECT_EQ(ui.save_requests[0].file_name, "Фон меню");
  EXPECT_EQ(DecodeBmp(ReadWholeFile(Home() / "menu.bmp")), raw_picture);
  EXPECT_TRUE(ui.messages.empty());

  // ANI2: drawn over a checkerboard, so the transparent half is not plain background.
  Select(1);
  const QImage shown = Control<QLabel>("IMG")->pixmap().toImage();
  ASSERT_EQ(shown.size(), QSize(32, 32));
  EXPECT_NE(shown.pixel(0, 31), shown.pixel(8, 31));  // two cells of the board
  EXPECT_EQ(frame->width(), 242);
}

TEST_F(ThemeFilePanelTest, ALargerPictureScrollsInsteadOfScaling) {
  editor->state.Theme->NewFiles[2].f_file = EncodeJpeg(Stripes(400, 500), 90);
  Select(2);
  auto* frame = Control<QScrollArea>("PNL_IMG");
  EXPECT_EQ(frame->width(), 242);
  EXPECT_EQ(Control<QLabel>("IMG")->pixmap().size(), QSize(400, 500));
  EXPECT_GT(frame->horizontalScrollBar()->maximum(), 0);
  EXPECT_GT(frame->verticalScrollBar()->maximum(), 0);
}

TEST_F(ThemeFilePanelTest, ADamagedFileIsReportedAndShowsNoPicture) {
  editor->state.Theme->NewFiles[0].f_file = ImageToRaw(Stripes(320, 240));
  editor->state.Theme->NewFiles[2].f_file = {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3};
  Select(0);
  Select(2);
  EXPECT_TRUE(ui.messages.empty()) << "the problem is told in the panel, not in a box per click";
  EXPECT_FALSE(Control<QLabel>("lbl_FileProblem")->text().isEmpty());
  EXPECT_TRUE(Control<QLabel>("IMG")->pixmap().isNull());
  EXPECT_EQ(Text("ED_FileSize"), "7 б");
}

}  // namespace
}  // namespace ssf::test
