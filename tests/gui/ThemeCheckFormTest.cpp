// The theme check in the window: marks in the tree, the page "Обзор" (click, drop,
// thumbnails) and the dialog of "Проверить тему".
#include <QAction>
#include <QLabel>
#include <QApplication>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <QUrl>

#include "GuiTestSupport.h"
#include "../core/PictureSupport.h"
#include "base/FileIO.h"
#include "pictures/Bmp.h"
#include "shell/OverviewPage.h"
#include "shell/ThemeCheckDialog.h"
#include "shell/ThemeCheckWorker.h"
#include "shell/TreeMarks.h"

namespace ssf::test {
namespace {

constexpr int kWallpaper = 0;  // JPG 240x320 in QB-X240
constexpr int kRawFile = 6;    // RAW 240x320

struct ThemeCheckFormTest : MainFormTest {
  void CreateTheme() {
    AddMap("QB-X240.rxt");
    Form().show();
    Click("MM_Child_CreateTheme");
  }
  QTreeWidgetItem* TreeItem(int k) {
    const int flat = editor->state.Map.Tree.FileNode(k);
    QTreeWidgetItemIterator it(Control<QTreeWidget>("TV"));
    for (; *it; ++it) {
      if ((*it)->data(0, Qt::UserRole).toInt() == flat) return *it;
    }
    ADD_FAILURE() << "no item for theme file " << k;
    return nullptr;
  }
  int Mark(int k) { return TreeItem(k)->data(0, kTreeMarkRole).toInt(); }
  std::filesystem::path Picture(const char* name, uint32_t w, uint32_t h, uint8_t red = 0) {
    Image picture(w, h);
    for (uint32_t y = 0; y < h; ++y) {
      for (uint32_t x = 0; x < w; ++x) picture.Pixel(x, y)[2] = red;
    }
    WriteFileAtomic(Home() / name, EncodeBmp(picture));
    return Home() / name;
  }
  OverviewList* Tiles() { return Control<OverviewList>("LV_Overview"); }
  QPoint TileCentre(int k) { return Tiles()->visualItemRect(Tiles()->item(k)).center(); }
  void DropOnTile(int k, const std::filesystem::path& file) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
    QWidget* viewport = Tiles()->viewport();
    QDragEnterEvent enter(TileCentre(k), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent move(TileCentre(k), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    EXPECT_TRUE(move.isAccepted());
    QDropEvent drop(QPointF(TileCentre(k)), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
  }
  void FinishThumbnails() {
    auto* page = Form().findChild<OverviewPage*>("TShit_3Overview");
    ASSERT_NE(page, nullptr);
    page->maker().WaitForAll();
    QCoreApplication::processEvents();
  }
};

TEST_F(ThemeCheckFormTest, TreeMarksFollowImportsAndDamage) {
  CreateTheme();
  // A new theme: every file absent, drawn grey and italic, none with the warning sign.
  for (int k : {kWallpaper, kRawFile, 39}) {
    EXPECT_EQ(Mark(k), 1) << k;
    EXPECT_TRUE(TreeItem(k)->font(0).italic());
    EXPECT_TRUE(TreeItem(k)->icon(0).isNull());
    EXPECT_EQ(TreeItem(k)->toolTip(0), "Файл отсутствует");
  }

  // An import clears the mark at once.
  Control<QTreeWidget>("TV")->setCurrentItem(TreeItem(kRawFile));
  ui.AnswerOpen(Picture("p.bmp", 240, 320));
  QTest::mouseClick(Control<QPushButton>("btn_LoadFile"), Qt::LeftButton);
  ASSERT_TRUE(ui.messages.empty());
  EXPECT_EQ(Mark(kRawFile), 0);
  EXPECT_FALSE(TreeItem(kRawFile)->font(0).italic());
  EXPECT_EQ(TreeItem(kRawFile)->toolTip(0), "");

  // Bytes that do not decode (as an opened theme from elsewhere may hold) get the sign.
  editor->state.Theme->NewFiles[kWallpaper].f_file = Bytes(100, 0x55);
  form->Render();
  EXPECT_EQ(Mark(kWallpaper), 2);
  EXPECT_FALSE(TreeItem(kWallpaper)->icon(0).isNull());
  EXPECT_FALSE(TreeItem(kWallpaper)->font(0).italic());
  EXPECT_EQ(TreeItem(kWallpaper)->toolTip(0), "Не является JPEG-изображением JFIF");
}

// A file that takes long to check (hundreds of scans) is checked beside the window: the
// status bar says it is being checked, and its mark arrives when the worker is done.
TEST_F(ThemeCheckFormTest, SlowFileIsCheckedOffTheWindowsThread) {
  CreateTheme();
  Bytes slow = EmptyScanJpeg(240, 320, 497);
  slow.resize(slow.size() - 40);  // cut inside the last scans: undecodable, still slow
  ASSERT_TRUE(IsSlowToCheck(slow, *editor->state.Map.Entry(kWallpaper)));
  editor->state.Theme->NewFiles[kWallpaper].f_file = slow;
  form->Render();
  auto* summary = Control<QLabel>("SBar_Check");
  EXPECT_TRUE(summary->text().contains("Проверяется файлов: 1")) << summary->text().toStdString();
  EXPECT_EQ(Mark(kWallpaper), 0);

  auto* worker = Form().findChild<ThemeCheckWorker*>("ThemeCheckWorker");
  ASSERT_NE(worker, nullptr);
  worker->WaitForAll();
  QCoreApplication::processEvents();
  EXPECT_FALSE(summary->text().contains("Проверяется")) << summary->text().toStdString();
  EXPECT_EQ(Mark(kWallpaper), 2);
  EXPECT_TRUE(TreeItem(kWallpaper)->toolTip(0).startsWith("JPEG-изображение не читается"))
      << TreeItem(kWallpaper)->toolTip(0).toStdString();
}

TEST_F(ThemeCheckFormTest, ErrorsAreRedAndACollapsedGroupShowsTheMarkInside) {
  CreateTheme();
  auto* tree = Control<QTreeWidget>("TV");
  QTreeWidgetItem* desk = TreeItem(kWallpaper)->parent();
  ASSERT_NE(desk, nullptr);
  auto centre_colour = [](const QIcon& icon) { return icon.pixmap(16, 16).toImage().pixelColor(4, 8); };

  // Only absent files inside: a collapsed group says how many, with a grey ring.
  tree->collapseItem(desk);
  EXPECT_EQ(desk->data(0, kTreeMarkRole).toInt(), 1);
  EXPECT_FALSE(desk->icon(0).isNull());
  EXPECT_EQ(desk->toolTip(0), "Отсутствует 6 файлов");

  // A damaged file: red sign on the file, and on its group while that is collapsed.
  editor->state.Theme->NewFiles[kWallpaper].f_file = Bytes(100, 0x55);
  form->Render();
  EXPECT_EQ(desk->data(0, kTreeMarkRole).toInt(), 2);
  const QColor group_sign = centre_colour(desk->icon(0));
  EXPECT_GT(group_sign.red(), 180);
  EXPECT_LT(group_sign.green(), 80);
  EXPECT_EQ(desk->toolTip(0), "Ошибок в группе: 1\nОтсутствует 5 файлов");
  tree->expandItem(desk);
  EXPECT_TRUE(desk->icon(0).isNull()) << "an open group leaves the sign to its files";
  const QColor file_sign = centre_colour(TreeItem(kWallpaper)->icon(0));
  EXPECT_GT(file_sign.red(), 180);
  EXPECT_LT(file_sign.green(), 80);
  tree->collapseItem(desk);
  EXPECT_FALSE(desk->icon(0).isNull());
}

TEST_F(ThemeCheckFormTest, OverviewTileDoubleClickShowsTheFileAndADropImportsIntoIt) {
  CreateTheme();
  auto* pages = Control<QTabWidget>("PCtrl");
  ASSERT_EQ(pages->count(), 4);
  EXPECT_EQ(pages->tabText(2), "Обзор");
  pages->setCurrentIndex(2);
  EXPECT_EQ(editor->view.PCtrl_page, 2);
  ASSERT_EQ(Tiles()->count(), 40);
  EXPECT_TRUE(Tiles()->item(kRawFile)->text().endsWith("\n240x320")) << Tiles()->item(kRawFile)->text().toStdString();
  EXPECT_GT(pages->width(), 600) << "the overview takes the window's width";

  // A drop on a tile imports into that theme file, with the checks of "Загрузить".
  DropOnTile(kRawFile, Picture("tall.bmp", 240, 321));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find("Загружаемый размер: 240x321, необходим: 240x320"), std::string::npos);
  EXPECT_FALSE(editor->state.Theme->NewFiles[kRawFile].Present());
  ui.messages.clear();
  DropOnTile(kRawFile, Picture("red.bmp", 240, 320, 0xFF));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(editor->state.Theme->NewFiles[kRawFile].f_size(), 240u * 320 * 2);
  EXPECT_EQ(Status(2), "1/40");
  EXPECT_EQ(editor->view.PCtrl_page, 2);

  // The thumbnail comes from the worker; its answer waits in the window's event queue,
  // so the status bar tells of it until the events run.
  auto* progress = Control<QLabel>("SBar_Thumbnails");
  EXPECT_TRUE(progress->isVisibleTo(form.get()));
  EXPECT_EQ(progress->text(), "Миниатюры: 0 из 1");
  FinishThumbnails();
  QPixmap tile = Tiles()->item(kRawFile)->icon().pixmap(Tiles()->iconSize());
  QColor middle = tile.toImage().pixelColor(tile.width() / 2, tile.height() / 2);
  EXPECT_GT(middle.red(), 200);
  EXPECT_LT(middle.green(), 40);
  EXPECT_FALSE(progress->isVisibleTo(form.get()));

  // A click only selects; a double click shows the file on the page "Файлы" with its
  // information panel.
  QTest::mouseClick(Tiles()->viewport(), Qt::LeftButton, Qt::NoModifier, TileCentre(kRawFile));
  EXPECT_EQ(pages->currentIndex(), 2);
  EXPECT_EQ(Tiles()->currentRow(), kRawFile);
  QTest::mouseDClick(Tiles()->viewport(), Qt::LeftButton, Qt::NoModifier, TileCentre(kRawFile));
  EXPECT_EQ(pages->currentIndex(), 0);
  EXPECT_EQ(editor->view.TV_selected, editor->state.Map.Tree.FileNode(kRawFile));
  EXPECT_EQ(Control<QTreeWidget>("TV")->currentItem(), TreeItem(kRawFile));
  EXPECT_TRUE(Control<QWidget>("Pnl_ItemInfo")->isVisible());
  EXPECT_EQ(Control<QLineEdit>("ED_FileSize")->text(), "153600 б");
  EXPECT_LT(pages->width(), 400);

  // Enter on a tile opens it too.
  pages->setCurrentIndex(2);
  Tiles()->setFocus();
  Tiles()->setCurrentRow(kWallpaper);
  QTest::keyClick(Tiles(), Qt::Key_Return);
  EXPECT_EQ(pages->currentIndex(), 0);
  EXPECT_EQ(editor->view.TV_selected, editor->state.Map.Tree.FileNode(kWallpaper));
}

TEST_F(ThemeCheckFormTest, OverviewTellsAlikeCaptionsApartAndShowsColourTablesAsSwatches) {
  CreateTheme();
  constexpr int kMessages = 7, kSelectedMessages = 16, kColours = 38;
  EXPECT_EQ(Tiles()->item(kMessages)->text(), "Сообщения\nПиктограммы\n44x44");
  EXPECT_EQ(Tiles()->item(kSelectedMessages)->text(), "Сообщения\nВыделенные пиктограммы\n60x60");
  EXPECT_EQ(Tiles()->item(kWallpaper)->text(), "Обои\n240x320");

  // A colour table: red first entry, the rest black; the tile shows swatches, not a word.
  Bytes table(512, 0);
  table[1] = 0xF8;
  editor->state.Theme->NewFiles[kColours].f_file = table;
  form->Render();
  FinishThumbnails();
  const QImage tile = Tiles()->item(kColours)->icon().pixmap(Tiles()->iconSize()).toImage();
  // The swatches are centred in the tile: find the first red pixel, top left.
  bool red_found = false;
  for (int y = 0; y < tile.height() && !red_found; ++y) {
    for (int x = 0; x < tile.width() && !red_found; ++x) {
      const QColor c = tile.pixelColor(x, y);
      red_found = c.red() > 200 && c.green() < 40 && c.blue() < 40;
    }
  }
  EXPECT_TRUE(red_found);
}

TEST_F(ThemeCheckFormTest, CheckReportStaysOpenBesideTheWindowAndGoesToAFile) {
  AddMap("QB-X240.rxt");
  Form().show();
  EXPECT_FALSE(MenuItem("MM_Child_CheckTheme")->isEnabled()) << "no theme open";
  Click("MM_Child_CreateTheme");
  ASSERT_TRUE(MenuItem("MM_Child_CheckTheme")->isEnabled());

  Click("MM_Child_CheckTheme");  // returns at once: the report is no modal box
  auto* dialog = form->findChild<ThemeCheckDialog*>("Form_ThemeCheck");
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(dialog->isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  QTableWidget* table = dialog->table();
  // 40 absent files, the count at 148 against none present, and the empty icon.
  ASSERT_EQ(table->rowCount(), 42);
  EXPECT_TRUE(table->item(0, 0)->text().startsWith("0: ")) << table->item(0, 0)->text().toStdString();
  EXPECT_EQ(table->item(41, 0)->text(), "Тема");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));

  // A double click goes to the file; the report stays open.
  table->scrollToItem(table->item(kRawFile, 1));
  const QPoint row = table->visualItemRect(table->item(kRawFile, 1)).center();
  // An item view takes a double click only on the item the press before it hit.
  QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, row);
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, row);
  EXPECT_EQ(editor->view.TV_selected, editor->state.Map.Tree.FileNode(kRawFile));
  EXPECT_EQ(Control<QTabWidget>("PCtrl")->currentIndex(), 0);
  EXPECT_TRUE(dialog->isVisible());

  // Enter on another row goes there too, and still keeps the report open.
  table->setFocus();
  table->setCurrentCell(kWallpaper, 0);
  QTest::keyClick(table, Qt::Key_Return);
  EXPECT_EQ(editor->view.TV_selected, editor->state.Map.Tree.FileNode(kWallpaper));
  EXPECT_TRUE(dialog->isVisible());

  // The report follows the theme: an import takes its row away.
  Control<QTreeWidget>("TV")->setCurrentItem(TreeItem(kRawFile));
  ui.AnswerOpen(Picture("p.bmp", 240, 320));
  QTest::mouseClick(Control<QPushButton>("btn_LoadFile"), Qt::LeftButton);
  EXPECT_EQ(table->rowCount(), 41);
  Click("MM_Child_CheckTheme");
  EXPECT_EQ(form->findChildren<ThemeCheckDialog*>().size(), 1) << "one report, raised again";
}

TEST_F(ThemeCheckFormTest, SoundThemeReportSaysSoWithoutATable) {
  ThemeCheckDialog dialog{ThemeCheckReport{}};
  dialog.show();
  EXPECT_FALSE(dialog.table()->isVisible());
  EXPECT_EQ(dialog.findChild<QLabel*>("lbl_CheckSummary")->text(), "Проблем не найдено.");
}

}  // namespace
}  // namespace ssf::test
