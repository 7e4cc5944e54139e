#include "shell/MainForm.h"
#include "shell/QtPathText.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <algorithm>
#include <exception>

#include "Version.h"
#include "base/MemoryShortage.h"
#include "editor/ColorTableEdit.h"
#include "shell/AboutDialog.h"
#include "shell/AccessKeys.h"
#include "shell/ColorTableView.h"
#include "theme/ColorTable.h"
#include "shell/EditorHabits.h"
#include "shell/ImageConvert.h"
#include "shell/WelcomePanel.h"
#include "editor/RecentThemes.h"
#include "editor/IfgImportOption.h"
#include "editor/MainFormHandlers.h"
#include "editor/ResourceHandlers.h"
#include "desktop/SsfAssociation.h"
#include "editor/ThemeFileImport.h"
#include "editor/ThemeIconHandlers.h"
#include "editor/ThemeFileExport.h"
#include "base/Ui.h"
#include "editor/WindowPlacement.h"
#include "editor/WindowTitle.h"

namespace ssf {

QString MainFormCaption() {
  return QStringLiteral("Quillbay SSF Manager v2.0 Build %1").arg(kVersionBuild);
}

TMainForm::TMainForm(Editor& editor, QWidget* parent) : QMainWindow(parent), editor_(editor) {
  setObjectName("TMainForm");
  setWindowTitle(MainFormCaption());
  setMinimumSize(kMinFormWidth, kMinFormHeight);
  BuildControls();
  BuildMenu();
  BuildThemeCheck();
  new EditorHabits(*this);
  // Access keys once every menu item is in place.
  SetAccessKeys(menuBar());
  SetAccessKeys(PM);
  SetAccessKeys(QList<QAbstractButton*>{btn_LoadFile, btn_SaveFile});
  resize(kDefaultFormWidth, kDefaultFormHeight);
  Render();
}

void TMainForm::BuildControls() {
  auto* client = new QWidget(this);
  client->setObjectName("Client");
  setCentralWidget(client);

  PCtrl = new QTabWidget(client);
  PCtrl->setObjectName("PCtrl");
  TShit_1Files = new QWidget;
  TShit_1Files->setObjectName("TShit_1Files");
  TShit_2Other = new QWidget;
  TShit_2Other->setObjectName("TShit_2Other");
  PCtrl->addTab(TShit_1Files, QStringLiteral("Файлы"));
  PCtrl->addTab(TShit_2Other, QStringLiteral("Другое"));
  connect(PCtrl, &QTabWidget::currentChanged, this,
          [this](int page) { RunHandler([&] { PCtrlChange(editor_, page); }); });

  TV = new QTreeWidget(TShit_1Files);
  TV->setObjectName("TV");
  TV->setHeaderHidden(true);
  TV->setIndentation(19);
  TV->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TV->setGeometry(0, 0, 273, 425);
  connect(TV, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item == nullptr) return;
    int flat = item->data(0, Qt::UserRole).toInt();
    RunHandler([&] { SelectTreeNode(editor_, flat); });
  });

  BuildOtherPage();

  Pnl_ItemInfo = new QFrame(client);
  Pnl_ItemInfo->setObjectName("Pnl_ItemInfo");
  Pnl_ItemInfo->setFrameShape(QFrame::StyledPanel);
  // A picture file dragged from the desktop onto the panel is imported like "Загрузить".
  Pnl_ItemInfo->setAcceptDrops(true);
  Pnl_ItemInfo->installEventFilter(this);
  item_info_ = std::make_unique<ItemInfoPanel>(Pnl_ItemInfo);
  btn_LoadFile = item_info_->btn_LoadFile;
  btn_SaveFile = item_info_->btn_SaveFile;
  connect(btn_LoadFile, &QPushButton::clicked, this, [this] { RunHandler([&] { btn_LoadFileClick(editor_); }); });
  connect(btn_SaveFile, &QPushButton::clicked, this, [this] { RunHandler([&] { btn_SaveFileClick(editor_); }); });
  connect(item_info_->GRID_ColorTab, &ColorTableView::entryActivated, this, [this](int n) { EditColour(n); });

  Pnl_Welcome = new WelcomePanel(client);
  connect(Pnl_Welcome, &WelcomePanel::createClicked, this, [this] { MM_Child_CreateTheme->trigger(); });
  connect(Pnl_Welcome, &WelcomePanel::openClicked, this, [this] { MM_Child_OpenTheme->trigger(); });
  connect(Pnl_Welcome, &WelcomePanel::recentClicked, this,
          [this](const QString& path) { RunHandler([&] { OpenThemePath(editor_, PathFromQString(path)); }); });

  auto* sbar = new QStatusBar(this);
  sbar->setObjectName("SBar");
  sbar->setSizeGripEnabled(false);
  for (int i = 0; i < 3; ++i) {
    SBar_Panels[i] = new QLabel(sbar);
    SBar_Panels[i]->setObjectName(QStringLiteral("SBar_Panel%1").arg(i));
    SBar_Panels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SBar_Panels[i]->setMinimumWidth(0);
    sbar->addWidget(SBar_Panels[i], i == 2 ? 1 : 0);
  }
  setStatusBar(sbar);
}

void TMainForm::BuildOtherPage() {
  auto label = [this](const char* name, const char* text, int y) {
    auto* l = new QLabel(QString::fromUtf8(text), TShit_2Other);
    l->setObjectName(name);
    l->move(8, y);
    return l;
  };
  auto edit = [this](const char* name, int y, const HeaderField& field) {
    auto* e = new QLineEdit(TShit_2Other);
    e->setObjectName(name);
    e->setGeometry(8, y, 199, 22);
    e->setMaxLength(static_cast<int>(field.max_chars));
    connect(e, &QLineEdit::textEdited, this, [this, e, field](const QString& text) { HeaderEdited(e, field, text); });
    return e;
  };
  lbl_1 = label("lbl_1", "Автор темы:", 8);
  ED_ThemeAuthor = edit("ED_ThemeAuthor", 24, kAuthorField);
  lbl_2 = label("lbl_2", "Название темы:", 54);
  ED_ThemeName = edit("ED_ThemeName", 70, kNameField);
  lbl_3 = label("lbl_3", "Версия темы:", 100);
  ED_ThemeVersion = edit("ED_ThemeVersion", 116, kVersionField);
  ED_ThemeVersion->setFixedWidth(64);
  lbl_4 = label("lbl_4", "Тип темы:", 146);

  CBox_ThemeType = new QComboBox(TShit_2Other);
  CBox_ThemeType->setObjectName("CBox_ThemeType");
  CBox_ThemeType->addItem(QStringLiteral("Черная тема"));
  CBox_ThemeType->addItem(QStringLiteral("Белая тема"));
  CBox_ThemeType->setGeometry(8, 162, 199, 24);
  connect(CBox_ThemeType, &QComboBox::activated, this,
          [this](int index) { RunHandler([&] { CBox_ThemeTypeChange(editor_, index); }); });

  Pnl_ThemeIcon = new QFrame(TShit_2Other);
  Pnl_ThemeIcon->setObjectName("Pnl_ThemeIcon");
  Pnl_ThemeIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Pnl_ThemeIcon->setGeometry(224, 10, 46, 46);
  IMG_ThemeIcon = new QLabel(Pnl_ThemeIcon);
  IMG_ThemeIcon->setObjectName("IMG_ThemeIcon");
  IMG_ThemeIcon->setGeometry(1, 1, 44, 44);

  PM = new QMenu(this);
  PM->setObjectName("PM");
  const char* const pm_items[][2] = {{"PM_LoadIMG", "Загрузить изображение"},
                                     {"PM_ExctractIMG", "Сохранить изображение"},
                                     {"PM_DelIMG", "Удалить иконку"}};
  for (const auto& item : pm_items) {
    QAction* a = PM->addAction(QString::fromUtf8(item[1]));
    a->setObjectName(item[0]);
  }
  const QList<QAction*> pm_actions = PM->actions();
  connect(pm_actions[0], &QAction::triggered, this, [this] { RunHandler([&] { IMG_ThemeIconClick(editor_); }); });
  connect(pm_actions[1], &QAction::triggered, this, [this] { RunHandler([&] { PM_ExctractIMGClick(editor_); }); });
  connect(pm_actions[2], &QAction::triggered, this, [this] { RunHandler([&] { PM_DelIMGClick(editor_); }); });
  IMG_ThemeIcon->installEventFilter(this);
}

namespace {

// A core handler of the main menu, run at the window's event boundary.
template <void (*Handler)(Editor&)>
void RunCore(TMainForm& form) {
  form.RunHandler([&] { Handler(form.editor()); });
}

enum class Mark { kPlain, kCheck, kRadio };  // kRadio: checked, drawn as a radio item

}  // namespace

void TMainForm::BuildMenu() {
  QMenuBar* mm = menuBar();
  mm->setObjectName("MM");
  using F = TMainForm;
  using enum Mark;
  enum { kFile, kExtra, kHelp };
  static constexpr struct {
    const char* name;
    const char* title;
  } kMenus[] = {{"MM_Main_File", "Файл"}, {"MM_Main_Extra", "Дополнительно"}, {"MM_Main_Help", "Помощь"}};

  static constexpr auto toggle_association = [](F& f) {
    // Qt has already flipped the check mark; the handler decides it from the old one.
    const bool was_checked = !f.MM_Child_RegEditSSF->isChecked();
    f.MM_Child_RegEditSSF->setChecked(was_checked);
    if (f.association_ == nullptr) return;
    f.RunHandler([&] {
      f.MM_Child_RegEditSSF->setChecked(MM_Child_RegEditSSFClick(*f.association_, f.editor_.ui, was_checked));
    });
  };
  static constexpr auto show_about = [](F& f) {
    f.MM_Child_AboutProgramm->setChecked(true);  // shown as a radio item: it stays checked
    f.RunHandler([&] {
      if (f.about_) {
        f.about_->exec();
      } else {
        TForm_AboutProgramm about(&f);
        about.exec();
      }
    });
  };
  static constexpr auto show_file_list_editor = [](F& f) {
    f.RunHandler([&] {
      if (f.file_list_editor_) f.file_list_editor_->exec();
    });
  };
  static constexpr auto show_colors_copy = [](F& f) {
    f.RunHandler([&] {
      if (f.colors_copy_) f.colors_copy_->exec();
    });
  };

  // The items in menu order; a row without a name is a separator. Shortcuts are set by
  // EditorHabits. "Проверить тему" is wired by the theme check (MainFormCheck.cpp).
  static constexpr struct {
    int menu;
    const char* name;
    const char* caption;
    QAction* F::*field;
    Mark mark;
    void (*click)(F&);
  } kItems[] = {
      {kFile, "MM_Child_CreateTheme", "Создать тему", &F::MM_Child_CreateTheme, kPlain, RunCore<MM_Child_CreateThemeClick>},
      {kFile, "MM_Child_OpenTheme", "Открыть тему", &F::MM_Child_OpenTheme, kPlain, RunCore<MM_Child_OpenThemeClick>},
      {kFile, "MM_Child_Save", "Сохранить", &F::MM_Child_Save, kPlain, RunCore<MM_Child_SaveClick>},
      {kFile, "MM_Child_SaveTheme", "Сохранить как…", &F::MM_Child_SaveTheme, kPlain, RunCore<MM_Child_SaveThemeClick>},
      {kFile, "MM_Child_PortTheme", "Перенести на другую модель…", &F::MM_Child_PortTheme, kPlain, [](F& f) { f.PortThemeClick(); }},
      {kFile, nullptr, nullptr, nullptr, kPlain, nullptr},
      {kFile, "MM_Child_RegEditSSF", "Ассоциировать с SSF", &F::MM_Child_RegEditSSF, kCheck, toggle_association},
      {kFile, nullptr, nullptr, nullptr, kPlain, nullptr},
      {kFile, "MM_Child_Exit", "Выход", &F::MM_Child_Exit, kPlain, [](F& f) { f.close(); }},
      {kExtra, "MM_Child_ImportRes", "Импорт ресурсов", &F::MM_Child_ImportRes, kPlain, RunCore<MM_Child_ImportResClick>},
      {kExtra, "MM_Child_ExportRes", "Экспорт ресурсов", &F::MM_Child_ExportRes, kPlain, RunCore<MM_Child_ExportResClick>},
      {kExtra, "MM_Child_CheckTheme", "Проверить тему", &F::MM_Child_CheckTheme, kPlain, nullptr},
      {kExtra, nullptr, nullptr, nullptr, kPlain, nullptr},
      {kExtra, "MM_Child_FileListEditor", "Редактор файл-листа", &F::MM_Child_FileListEditor, kPlain, show_file_list_editor},
      {kExtra, "MM_Child_ColorsCopy", "Копирование цветов", &F::MM_Child_ColorsCopy, kPlain, show_colors_copy},
      {kExtra, nullptr, nullptr, nullptr, kPlain, nullptr},
      {kHelp, "MM_Child_AboutProgramm", "О программе", &F::MM_Child_AboutProgramm, kRadio, show_about},
  };

  QMenu* menus[std::size(kMenus)];
  for (size_t m = 0; m < std::size(kMenus); ++m) {
    menus[m] = mm->addMenu(QString::fromUtf8(kMenus[m].title));
    menus[m]->setObjectName(kMenus[m].name);
  }
  auto item = [](QMenu* menu, const char* name, const char* text) {
    QAction* a = menu->addAction(QString::fromUtf8(text));
    a->setObjectName(name);
    return a;
  };
  for (const auto& row : kItems) {
    QMenu* menu = menus[row.menu];
    if (row.name == nullptr) {
      menu->addSeparator();
      continue;
    }
    QAction* a = this->*row.field = item(menu, row.name, row.caption);
    if (row.mark != kPlain) a->setCheckable(true);
    if (row.mark == kRadio) {
      a->setChecked(true);
      // A checked item of an exclusive group is drawn as a radio item.
      auto* group = new QActionGroup(this);
      group->setExclusive(true);
      group->addAction(a);
    }
    if (row.click) connect(a, &QAction::triggered, this, [this, click = row.click] { click(*this); });
  }

  // The allowed error of pictures imported into IFG theme files, one checked level; last
  // in "Дополнительно".
  QMenu* lossy = menus[kExtra]->addMenu(QStringLiteral("Сжатие с потерями (файлы IFG)"));
  lossy->setObjectName("MM_Child_IfgLossy");
  lossy->setToolTipsVisible(true);
  lossy->menuAction()->setStatusTip(
      QStringLiteral("Допустимая ошибка картинок, загружаемых в файлы темы вида IFG; другие виды не затрагивает"));
  auto* lossy_levels = new QActionGroup(lossy);
  const char* const lossy_names[][2] = {{"MM_Child_IfgLossy0", "Выключено"},
                                        {"MM_Child_IfgLossy1", "Уровень 1"},
                                        {"MM_Child_IfgLossy2", "Уровень 2"}};
  static_assert(std::size(lossy_names) == kIfgLossyLevels);
  for (uint32_t level = 0; level < kIfgLossyLevels; ++level) {
    QAction* a = item(lossy, lossy_names[level][0], lossy_names[level][1]);
    a->setCheckable(true);
    a->setChecked(level == IfgImportMaxError(editor_.settings));
    lossy_levels->addAction(a);
    connect(a, &QAction::triggered, this,
            [this, level] { RunHandler([&] { SetIfgImportMaxError(editor_.settings, level); }); });
  }
}

void TMainForm::SetToolWindows(QDialog* file_list_editor, QDialog* colors_copy) {
  file_list_editor_ = file_list_editor;
  colors_copy_ = colors_copy;
}

void TMainForm::SetAssociation(SsfAssociation* association, bool checked) {
  association_ = association;
  MM_Child_RegEditSSF->setChecked(association_ != nullptr && checked);
}

bool TMainForm::RunHandler(const std::function<void()>& handler) {
  bool ok = true;
  try {
    handler();
  } catch (const std::exception& e) {
    ok = false;
    try {
      editor_.ui.ShowMsg(ErrorText(e), kMsgError);
    } catch (...) {
    }
  } catch (...) {
    ok = false;
    try {
      editor_.ui.ShowMsg("Неизвестная ошибка.", kMsgError);
    } catch (...) {
    }
  }
  Render();
  return ok;
}

void TMainForm::EditColour(int n) {
  const Bytes* table = SelectedColorTable(editor_);
  const int k = SelectedThemeFile(editor_);
  if (table == nullptr || n < 0 || static_cast<size_t>(n) >= ColorTableEntryCount(*table)) return;
  const Rgb old = Rgb565ToRgb(ColorTableEntry(*table, static_cast<size_t>(n)));
  const QColor chosen = QColorDialog::getColor(QColor(old.r, old.g, old.b), this,
                                               QStringLiteral("Цвет № %1").arg(n), QColorDialog::DontUseNativeDialog);
  if (!chosen.isValid()) return;
  const Rgb picked{static_cast<uint8_t>(chosen.red()), static_cast<uint8_t>(chosen.green()),
                   static_cast<uint8_t>(chosen.blue())};
  RunHandler([&] { SetColorTableEntry(editor_, k, static_cast<size_t>(n), RgbToRgb565(picked)); });
}

void TMainForm::HeaderEdited(QLineEdit* edit, const HeaderField& field, const QString& text) {
  const int cursor = edit->cursorPosition();
  const int typed_length = static_cast<int>(text.size());
  std::string kept;
  RunHandler([&] { kept = ED_ThemeAuthorKeyPress(editor_, field, text.toStdString()); });
  // What was cut lay before the cursor: the cursor stays behind what was kept.
  QString shown = edit->text();
  if (shown != text) {
    int dropped = typed_length - static_cast<int>(shown.size());
    edit->setCursorPosition(std::max(0, cursor - dropped));
  }
}

std::string TMainForm::DraggedFile(const QMimeData* mime) {
  if (mime == nullptr || !mime->hasUrls() || mime->urls().size() != 1) return {};
  const QUrl url = mime->urls().front();
  return url.isLocalFile() ? url.toLocalFile().toStdString() : std::string();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == IMG_ThemeIcon && event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
      RunHandler([&] { IMG_ThemeIconClick(editor_); });
    } else if (mouse->button() == Qt::RightButton) {
      PM->popup(IMG_ThemeIcon->mapToGlobal(mouse->position().toPoint()));
    }
    return true;
  }
  if (watched == Pnl_ItemInfo) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
      auto* drag = static_cast<QDropEvent*>(event);
      if (!DraggedTheme(drag->mimeData()).empty()) return false;  // a theme opens, on the whole window
      if (!DraggedFile(drag->mimeData()).empty() && SelectedThemeFile(editor_) >= 0) drag->acceptProposedAction();
      return true;
    }
    if (event->type() == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      if (!DraggedTheme(drop->mimeData()).empty()) return false;
      const std::string file = DraggedFile(drop->mimeData());
      const int k = SelectedThemeFile(editor_);
      if (file.empty() || k < 0) return true;
      drop->acceptProposedAction();
      RunHandler([&] { ImportThemeFile(editor_, k, PathFromUtf8(file)); });
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::OpenStartupFile(const std::vector<std::string>& params) {
  RunHandler([&] { ssf::OpenStartupFile(editor_, params); });
}

void TMainForm::Render() {
  const ViewState& v = editor_.view;
  setWindowTitle(QString::fromStdString(WindowTitle(editor_.state, MainFormCaption().toStdString())));
  for (int i = 0; i < 3; ++i) {
    // A long text (a folder after an export) may not fit its panel: the tooltip has it whole.
    const QString text = QString::fromStdString(v.status[static_cast<size_t>(i)]);
    SBar_Panels[i]->setText(text);
    SBar_Panels[i]->setToolTip(text);
  }

  {
    QSignalBlocker block(PCtrl);
    PCtrl->setEnabled(v.PCtrl_enabled);
    PCtrl->setCurrentIndex(v.PCtrl_page);
  }
  MM_Child_SaveTheme->setEnabled(v.MM_Child_SaveTheme_enabled);
  MM_Child_Save->setEnabled(v.MM_Child_SaveTheme_enabled);
  MM_Child_PortTheme->setEnabled(editor_.state.Theme.has_value());
  MM_Child_ImportRes->setEnabled(v.MM_Child_ImportRes_enabled);
  MM_Child_ExportRes->setEnabled(v.MM_Child_ExportRes_enabled);
  Pnl_ItemInfo->setVisible(v.Pnl_ItemInfo_visible);
  // Without a theme the empty window greets and offers the ways in.
  const bool welcome = !editor_.state.Theme.has_value();
  if (welcome) Pnl_Welcome->SetRecent(ReadRecentThemes(editor_.settings));
  Pnl_Welcome->setVisible(welcome);
  item_info_->Render(v);
  item_info_->ShowColorTable(SelectedColorTable(editor_));

  auto set_text = [](QLineEdit* e, const std::string& s) {
    QString q = QString::fromStdString(s);
    if (e->text() != q) e->setText(q);
  };
  set_text(ED_ThemeAuthor, v.ED_ThemeAuthor);
  set_text(ED_ThemeName, v.ED_ThemeName);
  set_text(ED_ThemeVersion, v.ED_ThemeVersion);

  lbl_4->setVisible(v.CBox_ThemeType_visible);
  CBox_ThemeType->setVisible(v.CBox_ThemeType_visible);
  {
    QSignalBlocker block(CBox_ThemeType);
    int index = v.CBox_ThemeType_index;
    CBox_ThemeType->setCurrentIndex(index >= 0 && index < CBox_ThemeType->count() ? index : -1);
  }

  Pnl_ThemeIcon->setVisible(v.Pnl_ThemeIcon_visible);
  if (v.Pnl_ThemeIcon_visible) IMG_ThemeIcon->setPixmap(QPixmap::fromImage(ToQImage(v.IMG_ThemeIcon)));

  RenderTree();
  RenderThemeCheck();
  emit Rendered();
}

void TMainForm::setVisible(bool visible) {
  // The saved placement is applied once, not at every activation, so a window the user
  // moves stays where it was put. It is applied before the native window exists: a
  // position given then is the frame's, which the window manager honours. Moved after the
  // window exists but before the manager framed it, the position would go to the client
  // area, and the window would come back a title bar higher at every start.
  if (visible && !placement_restored_) {
    placement_restored_ = true;
    RestorePlacement();
  }
  QMainWindow::setVisible(visible);
}

void TMainForm::showEvent(QShowEvent* event) { QMainWindow::showEvent(event); }

void TMainForm::RestorePlacement() {
  WindowPlacement p = ReadWindowPlacement(editor_.settings);
  if (p.maximized) {
    setWindowState(windowState() | Qt::WindowMaximized);
    return;
  }
  std::vector<ScreenArea> screens;
  if (QScreen* primary = QGuiApplication::primaryScreen()) {
    const QRect r = primary->availableGeometry();
    screens.push_back({r.x(), r.y(), r.width(), r.height()});
  }
  for (QScreen* screen : QGuiApplication::screens()) {
    if (screen == QGuiApplication::primaryScreen()) continue;
    const QRect r = screen->availableGeometry();
    screens.push_back({r.x(), r.y(), r.width(), r.height()});
  }
  p = FitToScreens(p, screens, kMinFormWidth, kMinFormHeight);
  move(p.left, p.top);
  resize(std::max(p.width, kMinFormWidth), std::max(p.height, kMinFormHeight));
}

void TMainForm::closeEvent(QCloseEvent* event) {
  bool may_close = false;
  bool ok = RunHandler([&] {
    WindowPlacement p;
    p.maximized = isMaximized();
    // Where the frame the user saw stands, title bar included.
    p.left = frameGeometry().x();
    p.top = frameGeometry().y();
    p.width = width();
    p.height = height();
    WriteWindowPlacement(editor_.settings, p);
  });
  (void)ok;
  RunHandler([&] { may_close = FormClose(editor_); });
  if (may_close) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  ApplyLayout();
}

void TMainForm::ApplyLayout() {
  const int client_height = centralWidget() ? centralWidget()->height() : height();
  MainFormLayout l = ComputeMainFormLayout(size(), client_height);
  PCtrl->setGeometry(0, 0, l.page_width, client_height);
  FitOverviewPage();
  const int tab_bar = PCtrl->tabBar() ? PCtrl->tabBar()->sizeHint().height() : 24;
  TV->setGeometry(0, 0, l.tree_width, std::max(0, client_height - tab_bar - 6));
  Pnl_ItemInfo->setGeometry(l.item_info);
  Pnl_Welcome->setGeometry(l.item_info);
  item_info_->Layout(editor_.view);
  Pnl_ThemeIcon->move(l.icon_left, Pnl_ThemeIcon->y());
  for (QWidget* w : {static_cast<QWidget*>(ED_ThemeAuthor), static_cast<QWidget*>(ED_ThemeName),
                     static_cast<QWidget*>(CBox_ThemeType)}) {
    w->setFixedWidth(std::max(0, l.edit_width));
  }
  SBar_Panels[0]->setFixedWidth(l.status_widths[0]);
  FitStatusPanels();
}

void TMainForm::FitStatusPanels() {
  const int client_height = centralWidget() ? centralWidget()->height() : height();
  int width = ComputeMainFormLayout(size(), client_height).status_widths[1];
  if (SBar_Check != nullptr && !SBar_Check->isHidden()) width -= SBar_Check->sizeHint().width();
  SBar_Panels[1]->setFixedWidth(std::max(0, width));
}

void TMainForm::RenderTree() {
  const GroupTree& tree = editor_.state.Map.Tree;
  QSignalBlocker block(TV);
  if (tree.Nodes().size() != rendered_tree_.size() ||
      !std::equal(tree.Nodes().begin(), tree.Nodes().end(), rendered_tree_.begin(),
                  [](const GroupNode& a, const GroupNode& b) { return a.caption == b.caption && a.parent == b.parent; })) {
    rendered_tree_ = tree.Nodes();
    TV->clear();
    tree_items_.clear();
    for (int i = 0; i < tree.Size(); ++i) {
      const GroupNode& node = tree.Node(i);
      QTreeWidgetItem* item = node.parent < 0 ? new QTreeWidgetItem(TV) : new QTreeWidgetItem(tree_items_[static_cast<size_t>(node.parent)]);
      item->setText(0, QString::fromStdString(node.caption));
      item->setData(0, Qt::UserRole, i);
      tree_items_.push_back(item);
    }
  }
  if (editor_.view.TV_collapse_count != collapse_count_seen_) {
    collapse_count_seen_ = editor_.view.TV_collapse_count;
    TV->collapseAll();
  }
  if (editor_.view.TV_expand_count != expand_count_seen_) {
    expand_count_seen_ = editor_.view.TV_expand_count;
    TV->collapseAll();
    for (int i = 0; i < TV->topLevelItemCount(); ++i) TV->topLevelItem(i)->setExpanded(true);
  }
  const int selected = editor_.view.TV_selected;
  if (selected >= 0 && selected < static_cast<int>(tree_items_.size())) {
    TV->setCurrentItem(tree_items_[static_cast<size_t>(selected)]);
  } else {
    TV->setCurrentItem(nullptr);
    TV->clearSelection();
  }
}

}  // namespace ssf
