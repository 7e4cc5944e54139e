// The main window's parts that show the theme check: the page "Обзор", the menu item
// "Проверить тему" and the marks in the tree. Kept apart from MainForm.cpp, which holds
// the window of the original program.
#include <QAction>
#include "shell/QtPathText.h"
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <algorithm>

#include "editor/CheckSummary.h"
#include "editor/MainFormHandlers.h"
#include "editor/ThemeFileImport.h"
#include "shell/MainForm.h"
#include "shell/OverviewPage.h"
#include "shell/ScreenPage.h"
#include "shell/ThemeCheckDialog.h"
#include "shell/ThemeCheckWorker.h"
#include "shell/TreeMarks.h"

namespace ssf {

namespace {

constexpr int kOverviewPage = 2;
constexpr int kScreenPage = 3;

}  // namespace

void TMainForm::BuildThemeCheck() {
  TShit_3Overview = new OverviewPage;
  PCtrl->addTab(TShit_3Overview, QStringLiteral("Обзор"));
  TShit_3Overview->AttachProgress(statusBar());
  SBar_Check = new QLabel(statusBar());
  SBar_Check->setObjectName("SBar_Check");
  SBar_Check->setTextFormat(Qt::RichText);
  SBar_Check->hide();
  statusBar()->addPermanentWidget(SBar_Check);
  connect(TV, &QTreeWidget::itemExpanded, this, [](QTreeWidgetItem* item) { ShowGroupMark(item); });
  connect(TV, &QTreeWidget::itemCollapsed, this, [](QTreeWidgetItem* item) { ShowGroupMark(item); });
  connect(SBar_Check, &QLabel::linkActivated, this, [this] { MM_Child_CheckTheme->trigger(); });
  connect(TShit_3Overview, &OverviewPage::fileClicked, this, [this](int k) { ShowThemeFile(k); });
  connect(TShit_3Overview, &OverviewPage::fileDropped, this, [this](int k, const QString& file) {
    RunHandler([&] { ImportThemeFile(editor_, k, PathFromQString(file)); });
  });
  TShit_4Screens = new ScreenPage;
  TShit_4Screens->setObjectName("TShit_4Screens");
  PCtrl->addTab(TShit_4Screens, QStringLiteral("Экран телефона"));
  connect(TShit_4Screens, &ScreenPage::fileClicked, this, [this](int k) { ShowThemeFile(k); });

  // Files slow to check (crafted JPEGs of hundreds of scans) are checked beside the window,
  // which stays usable meanwhile; each result redraws the marks.
  check_worker_ = new ThemeCheckWorker(this);
  check_worker_->setObjectName("ThemeCheckWorker");
  connect(check_worker_, &ThemeCheckWorker::done, this,
          [this](int index, quint64 ticket, const std::vector<CheckProblem>& problems) {
            if (check_.Store(index, ticket, problems)) RenderThemeCheck();
          });

  connect(MM_Child_CheckTheme, &QAction::triggered, this, [this] {
    RunHandler([&] {
      if (!editor_.state.Theme) return;
      // The report as the last render left it: files slow to check stay with the worker.
      const ThemeCheckReport& report = check_.Report();
      if (check_dialog_ == nullptr) {
        check_dialog_ = new ThemeCheckDialog(report, this);
        connect(check_dialog_, &ThemeCheckDialog::fileChosen, this, [this](int k) { ShowThemeFile(k); });
        PlaceBeside(check_dialog_);
      } else {
        check_dialog_->SetReport(report);
      }
      check_dialog_->show();
      check_dialog_->raise();
      check_dialog_->activateWindow();
    });
  });
}

void TMainForm::PlaceBeside(QWidget* window) {
  // Right of the main window when the screen has room there, else over its right edge.
  const QRect frame = frameGeometry();
  const QScreen* screen = this->screen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
  const QSize size = window->size();
  int left = frame.right() + 1;
  if (left + size.width() > area.right() + 1) left = std::max(area.left(), area.right() + 1 - size.width());
  const int top = std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height()));
  window->move(left, top);
}

void TMainForm::RenderThemeCheck() {
  const bool open = editor_.view.PCtrl_enabled && editor_.state.Theme && !editor_.state.Theme->NewFiles.empty();
  MM_Child_CheckTheme->setEnabled(open);
  if (!open) {
    check_.Clear();
  } else {
    std::vector<DeferredCheck> deferred;
    check_.Update(*editor_.state.Theme, editor_.state.Map, &deferred);
    for (DeferredCheck& d : deferred) check_worker_->Request(std::move(d));
  }
  MarkTreeItems(tree_items_, editor_.state.Map.Tree, check_.Report());
  QString summary = QString::fromStdString(CheckSummaryText(check_.Report()));
  if (check_.Pending() > 0) {
    const QString pending = QStringLiteral("Проверяется файлов: %1").arg(check_.Pending());
    summary = summary.isEmpty() ? pending : summary + QStringLiteral("; ") + pending;
  }
  const QString shown = summary.isEmpty() ? QString() : summary + QStringLiteral(" — <a href=\"check\">Проверить тему</a>");
  if (shown != SBar_Check->text()) {
    SBar_Check->setText(shown);
    SBar_Check->setVisible(!shown.isEmpty());
    FitStatusPanels();
  }
  if (check_dialog_ != nullptr && check_dialog_->isVisible()) {
    if (open) {
      check_dialog_->SetReport(check_.Report());
    } else {
      check_dialog_->hide();
    }
  }
  if (open) {
    TShit_3Overview->Render(editor_.state.Map, &*editor_.state.Theme, check_.Report());
    TShit_4Screens->Render(editor_.state.Map, editor_.state.MapPath, &*editor_.state.Theme);
  } else {
    TShit_3Overview->Render(ThemeMap{}, nullptr, ThemeCheckReport{});
    TShit_4Screens->Render(editor_.state.Map, editor_.state.MapPath, nullptr);
  }
  FitOverviewPage();
}

void TMainForm::FitOverviewPage() {
  // The overview and the screens take the whole width; the information panel is hidden there.
  if (PCtrl->currentIndex() != kOverviewPage && PCtrl->currentIndex() != kScreenPage) {
    const int client_height = centralWidget() ? centralWidget()->height() : height();
    PCtrl->resize(ComputeMainFormLayout(size(), client_height).page_width, PCtrl->height());
    return;
  }
  PCtrl->resize(centralWidget() ? centralWidget()->width() : width(), PCtrl->height());
}

void TMainForm::ShowThemeFile(int k) {
  const int flat = editor_.state.Map.Tree.FileNode(k);
  if (flat < 0) return;
  RunHandler([&] {
    PCtrlChange(editor_, 0);
    SelectTreeNode(editor_, flat);
  });
  if (static_cast<size_t>(flat) < tree_items_.size()) TV->scrollToItem(tree_items_[static_cast<size_t>(flat)]);
}

}  // namespace ssf
