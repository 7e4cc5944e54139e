// The information panel up close: a colour table's swatches with their colour chooser, and
// the preview's zoom for small pictures.
#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "GuiTestSupport.h"
#include "base/Cp1251.h"
#include "pictures/RawImage.h"
#include "shell/ColorTableView.h"
#include "theme/ColorTable.h"

namespace ssf::test {
namespace {

constexpr char kCloseMap[] =
    "<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"CLOSE-1\">\r\n"
    "<THEMESETTINGS FilesTable=\"0xFD0\" FilesStart=\"0xFE0\" \"2\" \"YES\">\r\n"
    "<COLORTHEMESSETTINGS \"NO\">\r\n"
    "<FILE \"Значок\" \"1\" \"RAW\" \"10\" \"6\">\r\n"
    "<FILE \"Цвета\" \"2\" \"COLORTAB\" \"64\">\r\n";

class ColourTableAndZoomTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    std::ofstream(Home() / "ThemeMaps" / "CLOSE-1.rxt", std::ios::binary) << Utf8ToCp1251(kCloseMap);
    Form().show();
    Click("MM_Child_CreateTheme");
    ASSERT_EQ(editor->state.Theme->NewFiles.size(), 2u);
  }
  void Select(int k) {
    auto* tv = Control<QTreeWidget>("TV");
    tv->setCurrentItem(tv->topLevelItem(k));
  }
};

TEST_F(ColourTableAndZoomTest, SwatchesShowTheEntriesAndADoubleClickChangesOneAsAnUndoableStep) {
  Bytes table(64, 0);
  table[2 * 17] = 0x1F;  // entry 17 blue: second row, second place
  editor->state.Theme->NewFiles[1].f_file = table;
  editor->state.ThemeModified = false;
  Select(1);
  auto* grid = Control<ColorTableView>("GRID_ColorTab");
  ASSERT_TRUE(grid->isVisible());
  EXPECT_FALSE(Control<QLabel>("IMG")->isVisible());
  EXPECT_EQ(grid->table(), table);
  const QRect blue = grid->EntryRect(17);
  EXPECT_EQ(grid->EntryRect(16).top(), blue.top());
  EXPECT_GT(blue.left(), grid->EntryRect(16).left()) << "sixteen to a row";
  EXPECT_EQ(grid->EntryAt(blue.center()), 17);
  EXPECT_EQ(grid->TipAt(blue.center()), "№ 17: 0x001F (R 0, G 0, B 248)\nДвойной щелчок — изменить цвет");
  const QImage drawn = grid->grab().toImage();
  EXPECT_EQ(drawn.pixelColor(blue.center()), QColor(0, 0, 248));

  // A double click opens the colour chooser; the chosen colour is stored as RGB565.
  QTimer::singleShot(0, [] {
    auto* chooser = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
    if (chooser == nullptr) return ADD_FAILURE() << "no colour chooser";
    EXPECT_EQ(chooser->currentColor(), QColor(0, 0, 248));
    chooser->setCurrentColor(QColor(255, 0, 0));
    chooser->accept();
  });
  QTest::mouseDClick(grid, Qt::LeftButton, Qt::NoModifier, blue.center());
  const Bytes& stored = editor->state.Theme->NewFiles[1].f_file;
  EXPECT_EQ(ColorTableEntry(stored, 17), 0xF800);
  Bytes expected = table;
  expected[2 * 17] = 0x00;
  expected[2 * 17 + 1] = 0xF8;
  EXPECT_EQ(stored, expected) << "only the two bytes of the entry change";
  EXPECT_TRUE(editor->state.ThemeModified);
  EXPECT_TRUE(form->windowTitle().contains("*"));
  EXPECT_EQ(grid->grab().toImage().pixelColor(blue.center()), QColor(248, 0, 0));

  // "Отменить" puts the colour back; a chooser that is cancelled changes nothing.
  form->findChild<QAction*>("MM_Child_Undo")->trigger();
  EXPECT_EQ(editor->state.Theme->NewFiles[1].f_file, table);
  EXPECT_FALSE(editor->state.ThemeModified);
  QTimer::singleShot(0, [] {
    if (auto* chooser = QApplication::activeModalWidget()) qobject_cast<QDialog*>(chooser)->reject();
  });
  QTest::mouseDClick(grid, Qt::LeftButton, Qt::NoModifier, blue.center());
  EXPECT_EQ(editor->state.Theme->NewFiles[1].f_file, table);

  // A picture theme file shows its picture again.
  Select(0);
  EXPECT_FALSE(grid->isVisible());
}

TEST_F(ColourTableAndZoomTest, PreviewZoomsByWholeFactorsWithSharpPixels) {
  Image icon(10, 6);
  icon.Pixel(0, 0)[2] = 0xF8;  // one red pixel top left, the rest black
  editor->state.Theme->NewFiles[0].f_file = ImageToRaw(icon);
  Select(0);
  auto* zoom = Control<QComboBox>("CBox_Zoom");
  auto* img = Control<QLabel>("IMG");
  ASSERT_EQ(zoom->count(), 9);
  EXPECT_EQ(zoom->currentText(), "1:1") << "the preview starts as it always was";
  EXPECT_EQ(img->pixmap().size(), QSize(10, 6));

  zoom->setCurrentIndex(zoom->findText("4x"));
  emit zoom->activated(zoom->currentIndex());
  QImage shown = img->pixmap().toImage();
  ASSERT_EQ(shown.size(), QSize(40, 24));
  EXPECT_EQ(shown.pixelColor(3, 3).red(), 248) << "the red pixel is a sharp 4x4 square";
  EXPECT_EQ(shown.pixelColor(4, 3).red(), 0);

  zoom->setCurrentIndex(zoom->findText("По размеру окна"));
  emit zoom->activated(zoom->currentIndex());
  EXPECT_EQ(img->pixmap().size(), QSize(80, 48)) << "grown by 8, the largest factor offered";

  // The zoom stays while the user goes through other files.
  Select(1);
  Select(0);
  EXPECT_EQ(zoom->currentText(), "По размеру окна");
  EXPECT_EQ(img->pixmap().size(), QSize(80, 48));
}

}  // namespace
}  // namespace ssf::test
