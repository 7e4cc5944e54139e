// Importing theme files and the icon through the real window: a picture dropped on the
// information panel, the icon's clicks and its pop-up menu.
#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTreeWidgetItemIterator>
#include <QUrl>

#include "GuiTestSupport.h"
#include "pictures/Bmp.h"
#include "base/FileIO.h"
#include "theme/ThemeContainer.h"

namespace ssf::test {
namespace {

struct ThemeImportFormTest : MainFormTest {
  void CreateTheme() {
    AddMap("QB-X240.rxt");
    Form().show();
    Click("MM_Child_CreateTheme");
  }
  void SelectFile(int k) {
    auto* tv = Control<QTreeWidget>("TV");
    const int flat = editor->state.Map.Tree.FileNode(k);
    for (QTreeWidgetItemIterator it(tv); *it; ++it) {
      if ((*it)->data(0, Qt::UserRole).toInt() == flat) tv->setCurrentItem(*it);
    }
    ASSERT_EQ(editor->view.TV_selected, flat);
  }
  // Drops a file from the desktop on the information panel.
  void Drop(const std::filesystem::path& file) {
    QWidget* panel = Control<QWidget>("Pnl_ItemInfo");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &drop);
  }
};

TEST_F(ThemeImportFormTest, LoadButtonImportsIntoTheSelectedThemeFile) {
  CreateTheme();
  SelectFile(0);  // JPG 240x320, absent
  EXPECT_TRUE(Control<QLabel>("lbl_5")->isVisibleTo(form.get()));
  WriteFileAtomic(Home() / "p.bmp", EncodeBmp(Image(240, 320)));
  ui.AnswerOpen(Home() / "p.bmp");
  QTest::mouseClick(Control<QPushButton>("btn_LoadFile"), Qt::LeftButton);
  ASSERT_EQ(ui.open_requests.size(), 1u);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_GT(editor->state.Theme->NewFiles[0].f_size(), 0u);
  EXPECT_EQ(Status(2), "1/40");
  EXPECT_FALSE(Control<QLabel>("lbl_5")->isVisibleTo(form.get()));
  EXPECT_TRUE(Control<QPushButton>("btn_SaveFile")->isEnabled());
  EXPECT_EQ(Control<QLineEdit>("ED_FileSize")->text(),
            QString::number(editor->state.Theme->NewFiles[0].f_size()) + " б");
  EXPECT_EQ(settings.ReadString("ExecuteFiles", "OpenFile"), (Home() / "").string());
}

TEST_F(ThemeImportFormTest, APictureDroppedOnThePanelIsImportedLikeLoad) {
  CreateTheme();
  SelectFile(6);  // RAW 240x320
  Image picture(240, 320);
  picture.Pixel(0, 0)[2] = 0xF8;
  WriteFileAtomic(Home() / "p.bmp", EncodeBmp(picture));
  Drop(Home() / "p.bmp");
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(editor->state.Theme->NewFiles[6].f_size(), 153600u);
  EXPECT_EQ(editor->state.Theme->NewFiles[6].f_file[1], 0xF8);
  EXPECT_EQ(Status(1), "Тема изменена.");
  EXPECT_EQ(Status(2), "1/40");

  // The same refusal as "Загрузить" would show.
  WriteFileAtomic(Home() / "tall.bmp", EncodeBmp(Image(240, 321)));
  Drop(Home() / "tall.bmp");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "Размеры загружаемого изображения должны соответствовать заданным в карте темы!\r\n"
            "Загружаемый размер: 240x321, необходим: 240x320");
  EXPECT_EQ(Status(2), "1/40");
}

TEST_F(ThemeImportFormTest, IconClicksAndPopupMenu) {
  CreateTheme();
  Control<QTabWidget>("PCtrl")->setCurrentIndex(1);
  auto* icon = Control<QLabel>("IMG_ThemeIcon");
  ui.CancelOpen();
  QTest::mouseClick(icon, Qt::LeftButton);
  EXPECT_EQ(ui.open_requests.size(), 1u);

  QTest::mouseClick(icon, Qt::RightButton);
  auto* pm = Control<QMenu>("PM");
  EXPECT_TRUE(pm->isVisible());
  pm->close();
  EXPECT_EQ(ui.open_requests.size(), 1u);  // the right button opens the menu only

  Bytes raw(kIconBytes, 0xAB);
  WriteFileAtomic(Home() / "i.raw", raw);
  ui.AnswerOpen(Home() / "i.raw");
  Form().findChild<QAction*>("PM_LoadIMG")->trigger();
  const Bytes& data = editor->state.Theme->Header;
  EXPECT_EQ(Bytes(data.begin() + kIconOffset, data.begin() + kIconOffset + kIconBytes), raw);
  EXPECT_TRUE(editor->state.ThemeModified);

  ui.AnswerSave(Home() / "out", 4);
  Form().findChild<QAction*>("PM_ExctractIMG")->trigger();
  EXPECT_EQ(ReadWholeFile(Home() / "out.raw"), raw);

  Form().findChild<QAction*>("PM_DelIMG")->trigger();
  EXPECT_EQ(Bytes(data.begin() + kIconOffset, data.begin() + kIconOffset + kIconBytes), Bytes(kIconBytes, 0));
  EXPECT_EQ(icon->pixmap().toImage().pixelColor(10, 10), QColor(Qt::black));
}

}  // namespace
}  // namespace ssf::test
