#include "shell/EditorHabits.h"
#include "shell/QtPathText.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPixmap>
#include <QUrl>

#include "editor/FitPicturesOption.h"
#include "editor/CommandLine.h"
#include "editor/MainFormHandlers.h"
#include "editor/RecentThemes.h"
#include "editor/ThemeDraft.h"
#include "editor/ThemeUndo.h"
#include "shell/FitDialog.h"
#include "shell/MainForm.h"

// The installed icon, compiled in for a program run from its build or a copied folder.
extern const unsigned char kAppIconSvgFile[];
extern const std::size_t kAppIconSvgFile_size;

namespace ssf {

namespace {

QAction* ActionNamed(TMainForm& form, const char* name) { return form.findChild<QAction*>(name); }

}  // namespace

std::filesystem::path DraggedTheme(const QMimeData* mime) {
  if (mime == nullptr || !mime->hasUrls() || mime->urls().size() != 1) return {};
  const QUrl url = mime->urls().front();
  if (!url.isLocalFile()) return {};
  const std::string file = url.toLocalFile().toStdString();
  return IsThemeFileName(file) ? PathFromUtf8(file) : std::filesystem::path();
}

EditorHabits::EditorHabits(TMainForm& form) : QObject(&form), form_(form) {
  setObjectName("EditorHabits");
  BuildEditMenu();
  SetShortcuts();
  BuildRecentMenu();
  BuildDraftItem();
  BuildFitItem();
  SetIcon();
  form_.setAcceptDrops(true);
  form_.installEventFilter(this);
  connect(&form_, &TMainForm::Rendered, this, &EditorHabits::Refresh);
  Refresh();
}

void EditorHabits::BuildEditMenu() {
  auto* edit = new QMenu(QStringLiteral("Правка"), &form_);
  edit->setObjectName("MM_Main_Edit");
  MM_Child_Undo = edit->addAction(QStringLiteral("Отменить"));
  MM_Child_Undo->setObjectName("MM_Child_Undo");
  MM_Child_Undo->setShortcut(QKeySequence::Undo);
  MM_Child_Redo = edit->addAction(QStringLiteral("Повторить"));
  MM_Child_Redo->setObjectName("MM_Child_Redo");
  MM_Child_Redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  QMenu* extra = form_.findChild<QMenu*>("MM_Main_Extra");
  form_.menuBar()->insertMenu(extra ? extra->menuAction() : nullptr, edit);
  connect(MM_Child_Undo, &QAction::triggered, this, [this] { form_.RunHandler([&] { UndoThemeChange(form_.editor()); }); });
  connect(MM_Child_Redo, &QAction::triggered, this, [this] { form_.RunHandler([&] { RedoThemeChange(form_.editor()); }); });
}

void EditorHabits::SetShortcuts() {
  const struct {
    const char* action;
    QKeySequence keys;
  } shortcuts[] = {
      {"MM_Child_CreateTheme", QKeySequence(Qt::CTRL | Qt::Key_N)},
      {"MM_Child_OpenTheme", QKeySequence(Qt::CTRL | Qt::Key_O)},
      {"MM_Child_Save", QKeySequence(Qt::CTRL | Qt::Key_S)},
      {"MM_Child_SaveTheme", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
      {"MM_Child_Exit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
      {"MM_Child_AboutProgramm", QKeySequence(Qt::Key_F1)},
  };
  for (const auto& s : shortcuts) {
    if (QAction* a = ActionNamed(form_, s.action)) a->setShortcut(s.keys);
  }
}

void EditorHabits::BuildRecentMenu() {
  MM_Child_RecentThemes = new QMenu(QStringLiteral("Последние темы"), &form_);
  MM_Child_RecentThemes->setObjectName("MM_Child_RecentThemes");
  QMenu* file = form_.findChild<QMenu*>("MM_Main_File");
  QAction* before = ActionNamed(form_, "MM_Child_RegEditSSF");
  if (file == nullptr) return;
  file->insertMenu(before, MM_Child_RecentThemes);
  // Filled when opened, not at every render: an item must not be deleted while it runs.
  connect(MM_Child_RecentThemes, &QMenu::aboutToShow, this, &EditorHabits::FillRecentMenu);
  file->insertSeparator(before);
}

void EditorHabits::BuildDraftItem() {
  MM_Child_SaveDraft = new QAction(QStringLiteral("Сохранить черновик…"), &form_);
  MM_Child_SaveDraft->setObjectName("MM_Child_SaveDraft");
  QMenu* file = form_.findChild<QMenu*>("MM_Main_File");
  QAction* save_as = ActionNamed(form_, "MM_Child_SaveTheme");
  const QList<QAction*> items = file ? file->actions() : QList<QAction*>();
  const qsizetype after = items.indexOf(save_as);
  if (file) file->insertAction(after >= 0 && after + 1 < items.size() ? items[after + 1] : nullptr, MM_Child_SaveDraft);
  connect(MM_Child_SaveDraft, &QAction::triggered, this,
          [this] { form_.RunHandler([&] { MM_Child_SaveDraftClick(form_.editor()); }); });
}

void EditorHabits::BuildFitItem() {
  QMenu* extra = form_.findChild<QMenu*>("MM_Main_Extra");
  MM_Child_FitPictures = new QAction(QStringLiteral("Подгонять размер изображений"), &form_);
  MM_Child_FitPictures->setObjectName("MM_Child_FitPictures");
  MM_Child_FitPictures->setCheckable(true);
  MM_Child_FitPictures->setChecked(FitPicturesOn(form_.editor().settings));
  if (extra) {
    extra->addSeparator();
    extra->addAction(MM_Child_FitPictures);
  }
  connect(MM_Child_FitPictures, &QAction::toggled, this, [this](bool on) {
    form_.RunHandler([&] { SetFitPicturesOn(form_.editor().settings, on); });
    ApplyFitSetting();
  });
  ApplyFitSetting();
}

void EditorHabits::ApplyFitSetting() {
  Editor& ed = form_.editor();
  if (!MM_Child_FitPictures->isChecked()) {
    ed.fit.ask = nullptr;
    return;
  }
  ed.fit.ask = [this](const FitQuestion& q) { return AskFitChoice(&form_, q); };
}

void EditorHabits::SetIcon() {
  QIcon icon = QIcon::fromTheme(QStringLiteral("quillbay-ssf-manager"));
  if (icon.isNull()) {
    QPixmap svg;
    if (svg.loadFromData(kAppIconSvgFile, static_cast<uint>(kAppIconSvgFile_size), "SVG")) icon = QIcon(svg);
  }
  if (!icon.isNull()) form_.setWindowIcon(icon);
}

void EditorHabits::Refresh() {
  const UndoStack& undo = form_.editor().state.Undo;
  MM_Child_Undo->setEnabled(undo.CanUndo());
  MM_Child_Redo->setEnabled(undo.CanRedo());
  MM_Child_SaveDraft->setEnabled(form_.editor().view.MM_Child_SaveTheme_enabled);

}

void EditorHabits::FillRecentMenu() {
  MM_Child_RecentThemes->clear();
  const std::vector<std::filesystem::path> recent = ReadRecentThemes(form_.editor().settings);
  if (recent.empty()) MM_Child_RecentThemes->addAction(QStringLiteral("(пусто)"))->setEnabled(false);
  for (size_t i = 0; i < recent.size(); ++i) {
    const std::filesystem::path path = recent[i];
    QAction* a = MM_Child_RecentThemes->addAction(
        QStringLiteral("&%1 %2").arg(i + 1).arg(QStringFromPath(path)));
    a->setObjectName(QStringLiteral("MM_Child_Recent%1").arg(i + 1));
    connect(a, &QAction::triggered, this, [this, path] { form_.RunHandler([&] { OpenThemePath(form_.editor(), path); }); });
  }
}

bool EditorHabits::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &form_) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
      auto* drag = static_cast<QDropEvent*>(event);
      if (!DraggedTheme(drag->mimeData()).empty()) {
        drag->acceptProposedAction();
        return true;
      }
    } else if (event->type() == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      const std::filesystem::path theme = DraggedTheme(drop->mimeData());
      if (!theme.empty()) {
        drop->acceptProposedAction();
        form_.RunHandler([&] { OpenThemePath(form_.editor(), theme); });
        return true;
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace ssf
