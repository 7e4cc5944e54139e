#include "tools/forms/FileListEditorForm.h"

#include "base/MemoryShortage.h"
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <exception>

namespace {

// How often a running save lets the event loop in.
constexpr int kPumpIntervalMs = 30;

QString ToLabel(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).replace("\r\n", "\n");
}

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// A progress bar's range is int; a longer list is scaled down. A list of nothing shows
// an empty bar rather than Qt's busy animation of a 0..0 range.
void SetProgress(QProgressBar* bar, int64_t position, int64_t maximum) {
  int64_t div = maximum / INT_MAX + 1;
  bar->setRange(0, static_cast<int>(std::max<int64_t>(maximum / div, 1)));
  bar->setValue(static_cast<int>(position / div));
}

QWidget* MakePage(const char* name, QLabel* counter, QPushButton* open, QPushButton* save, QProgressBar* bar) {
  auto* page = Named(new QWidget, name);
  auto* layout = new QVBoxLayout(page);
  counter->setTextFormat(Qt::PlainText);
  counter->setMinimumSize(260, 48);
  counter->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  layout->addWidget(counter);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(open);
  buttons->addWidget(save);
  layout->addLayout(buttons);
  bar->setTextVisible(false);
  layout->addWidget(bar);
  return page;
}

}  // namespace

TForm_FileList_Editor::TForm_FileList_Editor(QWidget* parent, ssf::Ui& ui, ssf::IniDocument& settings)
    : QDialog(parent), ui_(ui), editor_(ui, settings) {
  setObjectName("TForm_FileList_Editor");
  setWindowTitle(QStringLiteral("Редактор файл-листа"));
  setModal(true);

  lbl_FLC_Counter = Named(new QLabel, "lbl_FLC_Counter");
  btn_FLC_OpenFLC = Named(new QPushButton(QStringLiteral("Открыть FLC")), "btn_FLC_OpenFLC");
  btn_FLC_SaveFLM = Named(new QPushButton(QStringLiteral("Сохранить FLM")), "btn_FLC_SaveFLM");
  PBar_FLC = Named(new QProgressBar, "PBar_FLC");
  lbl_FLM_Counter = Named(new QLabel, "lbl_FLM_Counter");
  btn_FLM_OpenFLM = Named(new QPushButton(QStringLiteral("Открыть FLM")), "btn_FLM_OpenFLM");
  btn_FLM_SaveFLC = Named(new QPushButton(QStringLiteral("Сохранить FLC")), "btn_FLM_SaveFLC");
  PBar_FLM = Named(new QProgressBar, "PBar_FLM");
  btn_exit = Named(new QPushButton(QStringLiteral("ОК")), "btn_exit");

  PCtrl = Named(new QTabWidget, "PCtrl");
  PCtrl->addTab(MakePage("TShit0_1FLC_Editor", lbl_FLC_Counter, btn_FLC_OpenFLC, btn_FLC_SaveFLM, PBar_FLC),
                QStringLiteral("Редактор FLC-файла"));
  PCtrl->addTab(MakePage("TShit0_2FLM_Editor", lbl_FLM_Counter, btn_FLM_OpenFLM, btn_FLM_SaveFLC, PBar_FLM),
                QStringLiteral("Редактор FLM-файла"));
  // Both titles whole: the window grows to the tab bar instead of eliding or scrolling it.
  PCtrl->tabBar()->setElideMode(Qt::ElideNone);
  PCtrl->tabBar()->setUsesScrollButtons(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PCtrl);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(btn_exit);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed border

  connect(btn_FLC_OpenFLC, &QPushButton::clicked, this, &TForm_FileList_Editor::btn_FLC_OpenFLCClick);
  connect(btn_FLC_SaveFLM, &QPushButton::clicked, this, &TForm_FileList_Editor::btn_FLC_SaveFLMClick);
  connect(btn_FLM_OpenFLM, &QPushButton::clicked, this, &TForm_FileList_Editor::btn_FLM_OpenFLMClick);
  connect(btn_FLM_SaveFLC, &QPushButton::clicked, this, &TForm_FileList_Editor::btn_FLM_SaveFLCClick);
  connect(btn_exit, &QPushButton::clicked, this, &QDialog::accept);

  Render();
}

void TForm_FileList_Editor::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormActivate();
}

void TForm_FileList_Editor::FormActivate() {
  editor_.FormActivate();
  PCtrl->setCurrentIndex(editor_.View().PCtrl_page);
  Render();
}

void TForm_FileList_Editor::closeEvent(QCloseEvent* event) {
  if (busy_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void TForm_FileList_Editor::reject() {
  if (!busy_) QDialog::reject();
}

void TForm_FileList_Editor::btn_FLC_OpenFLCClick() {
  RunHandler([this] { editor_.btn_FLC_OpenFLCClick(); });
}

void TForm_FileList_Editor::btn_FLC_SaveFLMClick() {
  RunHandler([this] { editor_.btn_FLC_SaveFLMClick([this] { OnProgress(); }); });
}

void TForm_FileList_Editor::btn_FLM_OpenFLMClick() {
  RunHandler([this] { editor_.btn_FLM_OpenFLMClick(); });
}

void TForm_FileList_Editor::btn_FLM_SaveFLCClick() {
  RunHandler([this] { editor_.btn_FLM_SaveFLCClick([this] { OnProgress(); }); });
}

void TForm_FileList_Editor::RunHandler(const std::function<void()>& handler) {
  if (busy_) return;
  busy_ = true;
  PCtrl->setEnabled(false);
  btn_exit->setEnabled(false);
  since_pump_.invalidate();
  try {
    handler();
  } catch (const std::exception& e) {
    ui_.ShowMsg(ssf::ErrorText(e), ssf::kMsgError);
  }
  busy_ = false;
  PCtrl->setEnabled(true);
  btn_exit->setEnabled(true);
  Render();
}

void TForm_FileList_Editor::OnProgress() {
  // The first record of a save always lets the loop in, so the bar's new range shows.
  if (since_pump_.isValid() && since_pump_.elapsed() < kPumpIntervalMs) return;
  since_pump_.restart();
  Render();
  QCoreApplication::processEvents();
}

void TForm_FileList_Editor::Render() {
  const ssf::FileListEditorView& v = editor_.View();
  lbl_FLC_Counter->setText(ToLabel(v.lbl_FLC_Counter));
  lbl_FLM_Counter->setText(ToLabel(v.lbl_FLM_Counter));
  btn_FLC_SaveFLM->setEnabled(v.btn_FLC_SaveFLM_enabled);
  btn_FLM_SaveFLC->setEnabled(v.btn_FLM_SaveFLC_enabled);
  SetProgress(PBar_FLC, v.PBar_FLC_position, v.PBar_FLC_max);
  SetProgress(PBar_FLM, v.PBar_FLM_position, v.PBar_FLM_max);
}
