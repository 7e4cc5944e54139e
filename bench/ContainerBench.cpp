// Opening and saving a theme container of 40 theme files (about 5 MB) against a plain read
// and write of the same bytes. The handlers should cost at most a few times the plain I/O.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "base/SilentUi.h"
#include "editor/Editor.h"
#include "base/FileIO.h"

namespace {

namespace fs = std::filesystem;
using namespace ssf;

// Answers every save dialog with one path; nothing else is asked in these runs.
class BenchUi : public SilentUi {
 public:
  fs::path save_to;
  bool AskYesNo(const std::string&, YesNoDefault) override { return true; }
  std::optional<FileDialogResult> SaveDialog(const FileDialogRequest&) override {
    return FileDialogResult{save_to, 1};
  }
};

constexpr int kFiles = 40;
constexpr size_t kFileBytes = 128 * 1024;  // 40 files: 5 MiB

struct Setup {
  fs::path dir;
  fs::path theme;
  Bytes bytes;
  Setup() {
    std::string tmpl = (fs::temp_directory_path() / "ssfbench.XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    dir = tmpl;
    fs::create_directory(dir / "ThemeMaps");
    std::string map =
        "<THEMESIGN \"SAMSUNG THEME\" \"BENCH-40\">\n"
        "<THEMESETTINGS \"0xFD0\" \"0x1070\" \"40\" \"YES\">\n<GROUP \"Files\">\n";
    for (int k = 0; k < kFiles; ++k) map += "<FILE \"f" + std::to_string(k) + "\" \"1\" \"RAW\" \"256\" \"256\">\n";
    map += "</GROUP>\n";
    WriteFileAtomic(dir / "ThemeMaps" / "bench.rxt", map);

    BenchUi ui;
    IniDocument settings;
    Editor ed{ui, settings, dir / "ThemeMaps", {}, {}};
    ListThemeMaps(ed);
    lk_CreateNewTheme(ed, 0);
    std::vector<TThemeNewFiles>& theme_files = ed.state.Theme->NewFiles;
    for (int k = 0; k < kFiles; ++k) theme_files[static_cast<size_t>(k)].f_file.assign(kFileBytes, uint8_t(k));
    ed.state.Theme->CountCorrection = kFiles - ed.state.Theme->HeldFiles();
    theme = dir / "bench.ssf";
    ui.save_to = theme;
    MM_Child_SaveThemeClick(ed);
    bytes = ReadWholeFile(theme);
  }
  ~Setup() { fs::remove_all(dir); }
};

Setup& Shared() {
  static Setup s;
  return s;
}

void BM_PlainRead(benchmark::State& st) {
  Setup& s = Shared();
  for (auto _ : st) benchmark::DoNotOptimize(ReadWholeFile(s.theme));
  st.SetBytesProcessed(int64_t(st.iterations()) * int64_t(s.bytes.size()));
}

void BM_OpenTheme(benchmark::State& st) {
  Setup& s = Shared();
  BenchUi ui;
  IniDocument settings;
  Editor ed{ui, settings, s.dir / "ThemeMaps", {}, {}};
  for (auto _ : st) {
    OpenThemeFile(ed, s.theme);
    if (!ed.view.MM_Child_SaveTheme_enabled) st.SkipWithError("open failed");
  }
  st.SetBytesProcessed(int64_t(st.iterations()) * int64_t(s.bytes.size()));
}

// The same atomic write (temporary file, flush to disk, rename) that saving uses.
void BM_PlainWriteAtomic(benchmark::State& st) {
  Setup& s = Shared();
  for (auto _ : st) WriteFileAtomic(s.dir / "plain.ssf", s.bytes);
  st.SetBytesProcessed(int64_t(st.iterations()) * int64_t(s.bytes.size()));
}

// A bare stream write without flushing to disk, for reference.
void BM_PlainWriteStream(benchmark::State& st) {
  Setup& s = Shared();
  for (auto _ : st) {
    std::ofstream out(s.dir / "plain2.ssf", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(s.bytes.data()), std::streamsize(s.bytes.size()));
  }
  st.SetBytesProcessed(int64_t(st.iterations()) * int64_t(s.bytes.size()));
}

void BM_SaveTheme(benchmark::State& st) {
  Setup& s = Shared();
  BenchUi ui;
  ui.save_to = s.dir / "saved.ssf";
  IniDocument settings;
  Editor ed{ui, settings, s.dir / "ThemeMaps", {}, {}};
  OpenThemeFile(ed, s.theme);
  for (auto _ : st) MM_Child_SaveThemeClick(ed);
  st.SetBytesProcessed(int64_t(st.iterations()) * int64_t(s.bytes.size()));
}

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTheme)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteAtomic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteStream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveTheme)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
