// The page "Экран телефона": the model's screens drawn from the theme, redrawn after a
// change, a hovered layer named, a click leading to the file, and a note without a layout.
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTreeWidgetItemIterator>

#include "GuiTestSupport.h"
#include "base/FileIO.h"
#include "pictures/Bmp.h"
#include "shell/ScreenPage.h"

namespace ssf::test {
namespace {

constexpr int kMenuBackground = 6;  // "Главное меню/Фон меню", RAW 240x320 in QB-X240
constexpr int kScreenPage = 3;

struct ScreenPageTest : MainFormTest {
  ScreenPage* Page() { return Control<ScreenPage>("TShit_4Screens"); }
  // The view of the screen "Меню", the second of the sample layout.
  ScreenView* MenuView() { return Page()->views().at(1); }
  void ImportRedMenuBackground() {
    Image red(240, 320);
    for (uint32_t i = 0; i < red.PixelCount(); ++i) red.bgr[i * 3 + 2] = 0xFF;
    WriteFileAtomic(Home() / "red.bmp", EncodeBmp(red));
    const int flat = editor->state.Map.Tree.FileNode(kMenuBackground);
    QTreeWidgetItemIterator it(Control<QTreeWidget>("TV"));
    for (; *it; ++it) {
      if ((*it)->data(0, Qt::UserRole).toInt() == flat) Control<QTreeWidget>("TV")->setCurrentItem(*it);
    }
    ui.AnswerOpen(Home() / "red.bmp");
    QTest::mouseClick(Control<QPushButton>("btn_LoadFile"), Qt::LeftButton);
    ASSERT_TRUE(ui.messages.empty());
  }
  void MoveTo(QWidget* w, QPoint p) {
    QMouseEvent move(QEvent::MouseMove, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
  }
};

TEST_F(ScreenPageTest, DrawsTheScreensAndLeadsFromALayerToItsFile) {
  AddMap("QB-X240.rxt");
  Form().show();
  Click("MM_Child_CreateTheme");
  ImportRedMenuBackground();  // on the page "Файлы": the screens page is drawn when it is shown

  auto* pages = Control<QTabWidget>("PCtrl");
  EXPECT_EQ(pages->tabText(kScreenPage), "Экран телефона");
  pages->setCurrentIndex(kScreenPage);
  ASSERT_EQ(Page()->views().size(), 6u);
  EXPECT_FALSE(Page()->note()->isVisible());
  EXPECT_EQ(MenuView()->size(), QSize(240, 320));
  const Image& menu = MenuView()->screen().image;
  EXPECT_GE(menu.Pixel(120, 160)[2], 0xF8);  // the menu background, red (RGB565), below no other layer
  EXPECT_EQ(menu.Pixel(120, 160)[0], 0);
  EXPECT_EQ(Page()->views().at(0)->screen().image.Pixel(120, 160)[2], 0) << "the main screen has no menu background";

  // Hover names the layer; a click shows its file on "Файлы".
  MoveTo(MenuView(), QPoint(120, 160));
  EXPECT_EQ(MenuView()->toolTip(), "Главное меню/Фон меню");
  EXPECT_GE(MenuView()->hovered(), 0);
  QTest::mouseClick(MenuView(), Qt::LeftButton, Qt::NoModifier, QPoint(120, 160));
  EXPECT_EQ(pages->currentIndex(), 0);
  EXPECT_EQ(editor->view.TV_selected, editor->state.Map.Tree.FileNode(kMenuBackground));

  // Undo takes the picture away again; the page follows when it is next shown.
  Click("MM_Child_Undo");
  pages->setCurrentIndex(kScreenPage);
  EXPECT_EQ(MenuView()->screen().image.Pixel(120, 160)[2], 0);

  Page()->zoom()->setCurrentIndex(1);
  EXPECT_EQ(MenuView()->size(), QSize(480, 640));
  MoveTo(MenuView(), QPoint(2 * 120, 2 * 160));
  EXPECT_EQ(MenuView()->toolTip(), "") << "an absent file is not drawn, so nothing is under the pointer";
}

TEST_F(ScreenPageTest, AModelWithoutLayoutSaysHowToAddOne) {
  AddMap("QB-X240.rxt");
  std::filesystem::remove(Home() / "ThemeMaps" / "QB-X240.screens");
  Form().show();
  Click("MM_Child_CreateTheme");
  Control<QTabWidget>("PCtrl")->setCurrentIndex(kScreenPage);
  EXPECT_TRUE(Page()->views().empty());
  EXPECT_TRUE(Page()->note()->text().contains("QB-X240.screens")) << Page()->note()->text().toStdString();
  EXPECT_TRUE(Page()->note()->text().contains("нет раскладки экранов"));
}

}  // namespace
}  // namespace ssf::test
