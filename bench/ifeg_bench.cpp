// IFEG encode and decode (modes 1 and 2) beside libpng and libjpeg (quality 100) on the
// same pictures: a photo-like and a flat, UI-like one at 240x320 and 1920x1080. The
// counter "bytes" is the size of the encoded picture. The IFEG encoder also runs with an
// allowed error of 1 and 2 ("error N"); "psnr" is the decoded picture against the source
// in dB. Compare encoders by the CPU column: the machine may be shared.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "ifeg/Ifeg.h"
#include "pictures/Jpeg.h"
#include "pictures/Png.h"

namespace {

using ssf::Bytes;
using ssf::Image;

// Smooth colour fields with a little sensor noise.
Image PhotoLike(uint32_t w, uint32_t h) {
  Image img(w, h);
  std::mt19937 rng(1);
  std::uniform_int_distribution<int> noise(-4, 4);
  for (uint32_t y = 0; y < h; ++y) {
    for (uint32_t x = 0; x < w; ++x) {
      double fx = double(x) / w, fy = double(y) / h;
      double v[3] = {128 + 90 * std::sin(6 * fx + 2 * fy), 128 + 80 * std::cos(4 * fy - 3 * fx),
                     120 + 100 * std::sin(9 * fx * fy + 1)};
      uint8_t* p = img.Pixel(x, y);
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(std::clamp(int(v[c]) + noise(rng), 0, 255));
    }
  }
  return img;
}

// Flat panels, a title bar, icon squares and thin text-like strokes on a few colours.
Image UiLike(uint32_t w, uint32_t h) {
  Image img(w, h);
  const uint8_t palette[][3] = {{240, 240, 240}, {160, 80, 20}, {30, 30, 30}, {0, 140, 255}, {255, 255, 255}};
  for (uint32_t y = 0; y < h; ++y) {
    for (uint32_t x = 0; x < w; ++x) {
      int c = 0;
      if (y < h / 12) c = 1;
      else if ((x / (w / 6)) % 2 == 1 && (y / (h / 8)) % 2 == 1) c = 3;
      else if (y % 24 < 2 && x % 40 < 30) c = 2;
      else if (x < 4 || x >= w - 4) c = 4;
      uint8_t* p = img.Pixel(x, y);
      p[0] = palette[c][0]; p[1] = palette[c][1]; p[2] = palette[c][2];
    }
  }
  return img;
}

// Peak signal-to-noise ratio of the decoded picture against the 24-bit source.
double Psnr(const Image& source, const Bytes& ifg) {
  Image decoded;
  ssf::DecodeIFG(ifg, decoded);
  double sum = 0;
  for (size_t i = 0; i < source.bgr.size(); ++i) {
    const double d = double(source.bgr[i]) - double(decoded.bgr[i]);
    sum += d * d;
  }
  const double mse = sum / double(source.bgr.size());
  return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

template <typename Fn>
void Run(benchmark::State& state, Fn fn) {
  size_t bytes = 0;
  for (auto _ : state) {
    bytes = fn();
    benchmark::ClobberMemory();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

void RegisterFor(const std::string& name, const Image& img) {
  for (uint32_t mode : {1u, 2u}) {
    const std::string m = " mode " + std::to_string(mode);
    const Bytes ifg = ssf::EncodeIFG(img, mode == 1 ? 16 : 18, mode);
    for (uint32_t error : {0u, 1u, 2u}) {
      const std::string e = error == 0 ? "" : " error " + std::to_string(error);
      const double psnr = Psnr(img, ssf::EncodeIFG(img, mode == 1 ? 16 : 18, mode, error));
      benchmark::RegisterBenchmark((name + " IFEG encode" + m + e).c_str(), [img, mode, error, psnr](benchmark::State& s) {
        Run(s, [&] { return ssf::EncodeIFG(img, mode == 1 ? 16 : 18, mode, error).size(); });
        s.counters["psnr"] = psnr;
      });
    }
    benchmark::RegisterBenchmark((name + " IFEG decode" + m).c_str(), [ifg](benchmark::State& s) {
      Run(s, [&] { Image out; ssf::DecodeIFG(ifg, out); return ifg.size(); });
    });
  }
  const Bytes png = ssf::EncodePng(img);
  benchmark::RegisterBenchmark((name + " PNG encode").c_str(), [img](benchmark::State& s) {
    Run(s, [&] { return ssf::EncodePng(img).size(); });
  });
  benchmark::RegisterBenchmark((name + " PNG decode").c_str(), [png](benchmark::State& s) {
    Run(s, [&] { return ssf::DecodePng(png).image.bgr.size() ? png.size() : 0; });
  });
  const Bytes jpg = ssf::EncodeJpeg(img, 100);
  benchmark::RegisterBenchmark((name + " JPEG encode q100").c_str(), [img](benchmark::State& s) {
    Run(s, [&] { return ssf::EncodeJpeg(img, 100).size(); });
  });
  benchmark::RegisterBenchmark((name + " JPEG decode q100").c_str(), [jpg](benchmark::State& s) {
    Run(s, [&] { return ssf::DecodeJpeg(jpg).bgr.size() ? jpg.size() : 0; });
  });
}

}  // namespace

int main(int argc, char** argv) {
  for (auto [w, h] : {std::pair{240u, 320u}, std::pair{1920u, 1080u}}) {
    const std::string size = std::to_string(w) + "x" + std::to_string(h);
    RegisterFor("photo " + size, PhotoLike(w, h));
    RegisterFor("ui " + size, UiLike(w, h));
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
