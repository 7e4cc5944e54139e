// Throughput of the picture conversions against a plain memcpy of the output's bytes.
// Run: build/bin/bench_pictures [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <cstring>

#include "pictures/Ani2.h"
#include "pictures/Bmp.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"
#include "pictures/Rgb565Kernels.h"

namespace {

using namespace ssf;

Image Picture(uint32_t width, uint32_t height) {
  Image image(width, height);
  for (size_t i = 0; i < image.bgr.size(); ++i) image.bgr[i] = static_cast<uint8_t>(i * 2654435761u >> 11);
  image.AddAlpha();
  for (size_t i = 0; i < image.alpha.size(); ++i) image.alpha[i] = static_cast<uint8_t>(i * 31);
  return image;
}

// Every benchmark reports bytes of its output per second, so the memcpy rows compare directly.
void SetBytes(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void Memcpy(benchmark::State& state, size_t bytes) {
  std::vector<uint8_t> src(bytes, 1), dst(bytes);
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), bytes);
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  SetBytes(state, bytes);
}

void BM_MemcpyRawSize(benchmark::State& state) { Memcpy(state, static_cast<size_t>(state.range(0) * state.range(1) * 2)); }
void BM_MemcpyPictureSize(benchmark::State& state) { Memcpy(state, static_cast<size_t>(state.range(0) * state.range(1) * 3)); }

void BM_PictureToRaw(benchmark::State& state) {
  const Image image = Picture(static_cast<uint32_t>(state.range(0)), static_cast<uint32_t>(state.range(1)));
  size_t bytes = 0;
  for (auto _ : state) {
    Bytes raw = ImageToRaw(image);
    bytes = raw.size();
    benchmark::DoNotOptimize(raw.data());
  }
  SetBytes(state, bytes);
}

void BM_RawToPicture(benchmark::State& state) {
  const uint32_t w = static_cast<uint32_t>(state.range(0)), h = static_cast<uint32_t>(state.range(1));
  const Bytes raw = ImageToRaw(Picture(w, h));
  for (auto _ : state) {
    Image image = RawToImage(raw, w, h);
    benchmark::DoNotOptimize(image.bgr.data());
  }
  SetBytes(state, size_t{w} * h * 3);
}

// The conversion loops alone, into buffers made beforehand as memcpy's are.
void BM_PictureToRawLoop(benchmark::State& state) {
  const Image image = Picture(static_cast<uint32_t>(state.range(0)), static_cast<uint32_t>(state.range(1)));
  Bytes raw(image.PixelCount() * 2);
  for (auto _ : state) {
    BgrToRgb565(image.bgr.data(), raw.data(), image.PixelCount());
    benchmark::DoNotOptimize(raw.data());
    benchmark::ClobberMemory();
  }
  SetBytes(state, raw.size());
}

void BM_RawToPictureLoop(benchmark::State& state) {
  const Image image = Picture(static_cast<uint32_t>(state.range(0)), static_cast<uint32_t>(state.range(1)));
  const Bytes raw = ImageToRaw(image);
  Bytes bgr(image.PixelCount() * 3);
  for (auto _ : state) {
    Rgb565ToBgr(raw.data(), bgr.data(), image.PixelCount());
    benchmark::DoNotOptimize(bgr.data());
    benchmark::ClobberMemory();
  }
  SetBytes(state, bgr.size());
}

void BM_PngToAni2(benchmark::State& state) {
  const Bytes png = EncodePng(Picture(static_cast<uint32_t>(state.range(0)), static_cast<uint32_t>(state.range(1))));
  size_t bytes = 0;
  for (auto _ : state) {
    Bytes ani2 = PngBytesToAni2(png);
    bytes = ani2.size();
    benchmark::DoNotOptimize(ani2.data());
  }
  SetBytes(state, bytes);
}

void BM_Ani2ToPng(benchmark::State& state) {
  const Bytes ani2 = ImageToAni2(Picture(static_cast<uint32_t>(state.range(0)), static_cast<uint32_t>(state.range(1))), true);
  size_t bytes = 0;
  for (auto _ : state) {
    Bytes png = Ani2BytesToPng(ani2);
    bytes = png.size();
    benchmark::DoNotOptimize(png.data());
  }
  SetBytes(state, bytes);
}

// The in-memory ANI2 steps alone, without the PNG codec.
void BM_PictureToAni2(benchmark::State& state) {
  const Image image = Picture(static_cast<uint32_t>(state.range(0)), static_cast<uint32_t>(state.range(1)));
  size_t bytes = 0;
  for (auto _ : state) {
    Bytes ani2 = ImageToAni2(image, true);
    bytes = ani2.size();
    benchmark::DoNotOptimize(ani2.data());
  }
  SetBytes(state, bytes);
}

void BM_Ani2ToPicture(benchmark::State& state) {
  const uint32_t w = static_cast<uint32_t>(state.range(0)), h = static_cast<uint32_t>(state.range(1));
  const Bytes ani2 = ImageToAni2(Picture(w, h), true);
  for (auto _ : state) {
    Image image = Ani2ToImage(ani2);
    benchmark::DoNotOptimize(image.bgr.data());
  }
  SetBytes(state, size_t{w} * h * 3);
}

void BM_BmpRead(benchmark::State& state) {
  const uint32_t w = static_cast<uint32_t>(state.range(0)), h = static_cast<uint32_t>(state.range(1));
  const Bytes bmp = EncodeBmp(Picture(w, h));
  for (auto _ : state) {
    Image image = DecodeBmp(bmp);
    benchmark::DoNotOptimize(image.bgr.data());
  }
  SetBytes(state, size_t{w} * h * 3);
}

void BM_BmpWrite(benchmark::State& state) {
  const Image image = Picture(static_cast<uint32_t>(state.range(0)), static_cast<uint32_t>(state.range(1)));
  size_t bytes = 0;
  for (auto _ : state) {
    Bytes bmp = EncodeBmp(image);
    bytes = bmp.size();
    benchmark::DoNotOptimize(bmp.data());
  }
  SetBytes(state, bytes);
}

#define SIZES Args({240, 320})->Args({1920, 1080})
BENCHMARK(BM_MemcpyRawSize)->SIZES;
BENCHMARK(BM_MemcpyPictureSize)->SIZES;
BENCHMARK(BM_PictureToRaw)->SIZES;
BENCHMARK(BM_RawToPicture)->SIZES;
BENCHMARK(BM_PictureToRawLoop)->SIZES;
BENCHMARK(BM_RawToPictureLoop)->SIZES;
BENCHMARK(BM_PictureToAni2)->SIZES;
BENCHMARK(BM_Ani2ToPicture)->SIZES;
BENCHMARK(BM_PngToAni2)->SIZES;
BENCHMARK(BM_Ani2ToPng)->SIZES;
BENCHMARK(BM_BmpRead)->SIZES;
BENCHMARK(BM_BmpWrite)->SIZES;

}  // namespace

BENCHMARK_MAIN();
