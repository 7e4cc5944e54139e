// Importing a 240x320 picture into a theme file of each kind, through the handler, against
// the same read, decode, convert and encode run alone. The handler's checks, the preview
// and the bookkeeping should cost well under the conversions themselves (target: within 2x).
// The ANI2 kind takes PNG files only, so it imports a PNG; the others a BMP.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>

#include "base/SilentUi.h"
#include "ifeg/Ifeg.h"
#include "pictures/Ani2.h"
#include "pictures/Bmp.h"
#include "editor/Editor.h"
#include "base/FileIO.h"
#include "pictures/Jpeg.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"
#include "editor/ThemeFileImport.h"

namespace {

namespace fs = std::filesystem;
using namespace ssf;

class BenchUi : public SilentUi {
 public:
  void ShowMsg(const std::string&, int) override { std::abort(); }  // a refusal would measure nothing
};

Image Picture() {
  Image image(240, 320);
  for (uint32_t y = 0; y < 320; ++y) {
    for (uint32_t x = 0; x < 240; ++x) {
      uint8_t* p = image.Pixel(x, y);
      p[0] = static_cast<uint8_t>(x * 3 + y), p[1] = static_cast<uint8_t>(y * 2), p[2] = static_cast<uint8_t>(x ^ y);
    }
  }
  image.AddAlpha();
  for (size_t i = 0; i < image.PixelCount(); ++i) image.alpha[i] = static_cast<uint8_t>(i % 7 == 0 ? 0 : 255);
  return image;
}

struct Setup {
  fs::path dir, bmp, png;
  BenchUi ui;
  IniDocument settings;
  Editor ed{ui, settings, {}, {}, {}};
  Setup() {
    std::string tmpl = (fs::temp_directory_path() / "ssfimport.XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    dir = tmpl;
    fs::create_directory(dir / "ThemeMaps");
    WriteFileAtomic(dir / "ThemeMaps" / "bench.rxt",
                    std::string("<THEMESIGN \"SAMSUNG THEME\" \"BENCH-4\">\n"
                                "<THEMESETTINGS \"0xFD0\" \"0x1000\" \"4\" \"YES\">\n<GROUP \"g\">\n"
                                "<FILE \"jpg\" \"1\" \"JPG\" \"240\" \"320\">\n"
                                "<FILE \"raw\" \"2\" \"RAW\" \"240\" \"320\">\n"
                                "<FILE \"ifg\" \"3\" \"IFG\" \"240\" \"320\">\n"
                                "<FILE \"ani2\" \"4\" \"ANI2\" \"240\" \"320\">\n</GROUP>\n"));
    ed.maps_dir = dir / "ThemeMaps";
    ListThemeMaps(ed);
    lk_CreateNewTheme(ed, 0);
    const Image p = Picture();
    bmp = dir / "p.bmp";
    png = dir / "p.png";
    WriteFileAtomic(bmp, EncodeBmp(p));
    WriteFileAtomic(png, EncodePng(p));
  }
  ~Setup() { fs::remove_all(dir); }
};

Setup& S() {
  static Setup s;
  return s;
}

void Import(benchmark::State& state, int k) {
  Setup& s = S();
  s.ed.view.TV_selected = s.ed.state.Map.Tree.FileNode(k);  // the preview is made as well
  const fs::path& file = k == 3 ? s.png : s.bmp;
  for (auto _ : state) benchmark::DoNotOptimize(ImportThemeFile(s.ed, k, file));
}

// What the import of each kind must do at least: read, decode, convert, encode.
void Alone(benchmark::State& state, int k) {
  Setup& s = S();
  for (auto _ : state) {
    Bytes out;
    if (k == 3) {
      const PngPicture p = DecodePng(ReadWholeFile(s.png));
      out = ImageToAni2(p.image, p.has_alpha_channel);
    } else {
      const Image p = DecodeBmp(ReadWholeFile(s.bmp));
      out = k == 0 ? EncodeJpeg(p, 100) : k == 1 ? ImageToRaw(p) : EncodeIFG(p, 16, 1);
    }
    benchmark::DoNotOptimize(out.data());
  }
}

BENCHMARK_CAPTURE(Import, jpg_from_bmp, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Alone, jpg_from_bmp, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Import, raw_from_bmp, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Alone, raw_from_bmp, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Import, ifg_from_bmp, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Alone, ifg_from_bmp, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Import, ani2_from_png, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Alone, ani2_from_png, 3)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
