// Selecting a 240x320 theme file of each kind (the whole information panel handler)
// against the bare decode of the same stored bytes. The handler should stay within
// twice the decode.
#include <benchmark/benchmark.h>

#include "base/SilentUi.h"
#include "ifeg/Ifeg.h"
#include "pictures/Ani2.h"
#include "editor/Editor.h"
#include "pictures/Jpeg.h"
#include "editor/MainFormHandlers.h"
#include "pictures/RawImage.h"

namespace {

using namespace ssf;

using NoUi = SilentUi;

constexpr uint32_t kW = 240, kH = 320;
enum Kind { kJpg, kRaw, kAni2, kIfg };
const char* const kKinds[] = {"JPG", "RAW", "ANI2", "IFG"};

// A picture with smooth areas and edges, as theme wallpapers have.
Image Wallpaper() {
  Image image(kW, kH);
  image.AddAlpha();
  for (uint32_t y = 0; y < kH; ++y) {
    for (uint32_t x = 0; x < kW; ++x) {
      uint8_t* p = image.Pixel(x, y);
      p[0] = static_cast<uint8_t>(x + y);
      p[1] = static_cast<uint8_t>(((x / 24) + (y / 24)) % 2 ? 200 : 40);
      p[2] = static_cast<uint8_t>(y * 3 / 4);
      image.alpha[static_cast<size_t>(y) * kW + x] = static_cast<uint8_t>(x);
    }
  }
  return image;
}

Bytes StoredBytes(int kind) {
  const Image picture = Wallpaper();
  switch (kind) {
    case kJpg: return EncodeJpeg(picture, 100);
    case kRaw: return ImageToRaw(picture);
    case kAni2: return ImageToAni2(picture, true);
    default: return EncodeIFG(picture, 16, 1);
  }
}

struct Fixture {
  NoUi ui;
  IniDocument settings;
  Editor ed{ui, settings, {}, {}, {}};
  explicit Fixture(int kind) {
    EditorState& s = ed.state;
    const int group = s.Map.Tree.Add("Картинки", -1, true);
    s.Map.Tree.Add("Файл", group);
    TTHemeFiles entry;
    entry.f_type = kKinds[kind];
    entry.f_width = kW;
    entry.f_height = kH;
    s.Map.ThemeFiles.push_back(entry);
    s.Map.FilesCount = 1;
    s.Theme.emplace();
    s.Theme->NewFiles.resize(1);
    s.Theme->NewFiles[0].f_file = StoredBytes(kind);
  }
};

void BM_SelectThemeFile(benchmark::State& st) {
  Fixture f(static_cast<int>(st.range(0)));
  for (auto _ : st) {
    SelectTreeNode(f.ed, 1);
    benchmark::DoNotOptimize(f.ed.view.IMG.image.bgr.data());
  }
  st.SetLabel(kKinds[st.range(0)]);
}

void BM_BareDecode(benchmark::State& st) {
  const int kind = static_cast<int>(st.range(0));
  const Bytes stored = StoredBytes(kind);
  for (auto _ : st) {
    Image picture;
    switch (kind) {
      case kJpg: picture = DecodeJpeg(stored); break;
      case kRaw: picture = RawToImage(stored, kW, kH); break;
      case kAni2: picture = Ani2ToImage(stored); break;
      default: DecodeIFG(stored, picture); break;
    }
    benchmark::DoNotOptimize(picture.bgr.data());
  }
  st.SetLabel(kKinds[kind]);
}

BENCHMARK(BM_SelectThemeFile)->DenseRange(kJpg, kIfg)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareDecode)->DenseRange(kJpg, kIfg)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
