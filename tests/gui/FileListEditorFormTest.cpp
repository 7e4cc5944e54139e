#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QThread>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "../core/ScriptedUi.h"
#include "tools/forms/FileListEditorForm.h"

namespace {

namespace fs = std::filesystem;
using ssf::test::ScriptedUi;

std::vector<uint8_t> Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void Write(const fs::path& p, const std::vector<uint8_t>& bytes) {
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                           static_cast<std::streamsize>(bytes.size()));
}

// An FLM file of `count` records "\dir<k>" / "file<k>.jpg".
std::vector<uint8_t> MakeFlm(int count) {
  std::vector<uint8_t> out(16 + 96 * static_cast<size_t>(count), 0);
  std::memcpy(out.data(), "$FLM", 4);
  std::memcpy(out.data() + 8, &count, 4);  // little-endian host
  for (int k = 0; k < count; ++k) {
    std::string path = "\\dir" + std::to_string(k), name = "file" + std::to_string(k) + ".jpg";
    std::memcpy(out.data() + 16 + 96 * k, path.data(), path.size());
    std::memcpy(out.data() + 16 + 96 * k + 48, name.data(), name.size());
  }
  return out;
}

struct FileListEditorForm : ::testing::Test {
  QTemporaryDir tmp;
  fs::path dir{tmp.path().toStdString()};
  ScriptedUi ui;
  ssf::IniDocument settings;
  TForm_FileList_Editor form{nullptr, ui, settings};

  template <typename T>
  T* Find(const char* name) {
    T* w = form.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QString Label(const char* name) { return Find<QLabel>(name)->text(); }
  void Click(const char* name) {
    auto* b = Find<QPushButton>(name);
    ASSERT_TRUE(b->isEnabled()) << name;
    b->click();
  }
};

TEST_F(FileListEditorForm, ConvertsBothWaysThroughTheWindow) {
  form.show();
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Редактор файл-листа"));
  for (const char* name : {"PCtrl", "TShit0_1FLC_Editor", "lbl_FLC_Counter", "btn_FLC_OpenFLC", "btn_FLC_SaveFLM",
                           "PBar_FLC", "TShit0_2FLM_Editor", "lbl_FLM_Counter", "btn_FLM_OpenFLM", "btn_FLM_SaveFLC",
                           "PBar_FLM", "btn_exit"}) {
    EXPECT_NE(form.findChild<QWidget*>(name), nullptr) << name;
  }
  EXPECT_FALSE(Find<QPushButton>("btn_FLC_SaveFLM")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("btn_FLM_SaveFLC")->isEnabled());
  // Both tab titles whole, inside the window.
  QTabBar* tabs = Find<QTabWidget>("PCtrl")->tabBar();
  for (int i = 0; i < tabs->count(); ++i) {
    EXPECT_GE(tabs->tabRect(i).width(), tabs->fontMetrics().horizontalAdvance(tabs->tabText(i))) << i;
    EXPECT_LE(tabs->mapTo(&form, tabs->tabRect(i).topRight()).x(), form.width()) << i;
  }

  const auto flm = MakeFlm(2);
  Write(dir / "phone.flm", flm);
  Find<QTabWidget>("PCtrl")->setCurrentIndex(1);
  ui.AnswerOpen(dir / "phone.flm");
  Click("btn_FLM_OpenFLM");
  EXPECT_EQ(Label("lbl_FLM_Counter"), QStringLiteral("Файл загружен.\nКол-во файлов: 2"));
  ui.AnswerSave(dir / "list");
  Click("btn_FLM_SaveFLC");
  ASSERT_TRUE(fs::exists(dir / "list.flc"));
  EXPECT_EQ(Find<QProgressBar>("PBar_FLM")->value(), 2);

  Find<QTabWidget>("PCtrl")->setCurrentIndex(0);
  ui.AnswerOpen(dir / "list.flc");
  Click("btn_FLC_OpenFLC");
  EXPECT_EQ(Label("lbl_FLC_Counter"), QStringLiteral("Файл-лист загружен.\nКол-во файлов: 2"));
  ui.AnswerSave(dir / "back.flm");
  Click("btn_FLC_SaveFLM");
  EXPECT_EQ(Read(dir / "back.flm"), flm);

  EXPECT_EQ(ui.open_requests[0].filter, "Файл-лист телефона (*.flm)|*.flm");
  EXPECT_EQ(ui.save_requests[0].filter, "Файл-лист компьютера (*.flc)|*.flc");
  for (const char* key : {"FLM Open", "FLC Save", "FLC Open", "FLM Save"}) {
    EXPECT_EQ(settings.ReadString("FileList Editor", key), dir.string()) << key;
  }
  EXPECT_TRUE(ui.messages.empty());

  // Showing the window again starts afresh.
  form.hide();
  form.show();
  EXPECT_EQ(Find<QTabWidget>("PCtrl")->currentIndex(), 0);
  EXPECT_EQ(Label("lbl_FLC_Counter"), "");
  EXPECT_EQ(Label("lbl_FLM_Counter"), "");
  EXPECT_FALSE(Find<QPushButton>("btn_FLC_SaveFLM")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("btn_FLM_SaveFLC")->isEnabled());
  EXPECT_EQ(Find<QProgressBar>("PBar_FLM")->value(), 0);
}

TEST_F(FileListEditorForm, ALongListMovesTheBarAndTheLoopRuns) {
  const int count = 500;  // the most a list may hold
  Write(dir / "long.flm", MakeFlm(count));
  form.show();
  ui.AnswerOpen(dir / "long.flm");
  Click("btn_FLM_OpenFLM");

  auto* bar = Find<QProgressBar>("PBar_FLM");
  std::vector<int> values;
  QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) { values.push_back(v); });
  // A timer that fires only while the event loop runs: each tick stands for slow work,
  // so the next record lets the loop in again. It also tries to close the window.
  int ticks = 0;
  bool busy_seen = false;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    busy_seen = busy_seen || form.IsBusy();
    form.reject();
    QThread::msleep(40);
    if (++ticks == 5) timer.stop();
  });
  timer.start(0);
  ui.AnswerSave(dir / "long.flc");
  Click("btn_FLM_SaveFLC");

  EXPECT_TRUE(busy_seen);
  EXPECT_TRUE(form.isVisible());  // closing is refused while a save runs
  EXPECT_EQ(bar->maximum(), count);
  EXPECT_EQ(bar->value(), count);
  ASSERT_GE(values.size(), 3u);
  EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
  EXPECT_GT(values[values.size() - 2], 0);
  EXPECT_LT(values[values.size() - 2], count);
  EXPECT_TRUE(Find<QPushButton>("btn_exit")->isEnabled());
}

TEST_F(FileListEditorForm, AnIoErrorIsReportedAndEndsTheStep) {
  Write(dir / "phone.flm", MakeFlm(1));
  form.show();
  ui.AnswerOpen(dir / "phone.flm");
  Click("btn_FLM_OpenFLM");
  fs::remove(dir / "phone.flm");
  ui.AnswerSave(dir / "out.flc");
  Click("btn_FLM_SaveFLC");

  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].kind, ssf::kMsgError);
  EXPECT_NE(ui.messages[0].text.find("phone.flm"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "out.flc"));
  EXPECT_EQ(Label("lbl_FLM_Counter"), QStringLiteral("Файл загружен.\nКол-во файлов: 1"));
  EXPECT_TRUE(Find<QPushButton>("btn_FLM_SaveFLC")->isEnabled());
  EXPECT_FALSE(form.IsBusy());
}

}  // namespace
