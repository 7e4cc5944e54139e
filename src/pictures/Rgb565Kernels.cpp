#include "pictures/Rgb565Kernels.h"

#include "pictures/PixelFormats.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include "pictures/PixelLanes.h"
#include "platform/CpuFeatures.h"
#define SSF_HAVE_X86 1
#endif

namespace ssf {

void BgrToRgb565Scalar(const uint8_t* bgr, uint8_t* raw, size_t count) {
  for (size_t i = 0; i < count; ++i, bgr += 3, raw += 2) {
    const uint16_t v = PixelToRGB565(bgr);
    raw[0] = static_cast<uint8_t>(v);
    raw[1] = static_cast<uint8_t>(v >> 8);
  }
}

void Rgb565ToBgrScalar(const uint8_t* raw, uint8_t* bgr, size_t count) {
  for (size_t i = 0; i < count; ++i, raw += 2, bgr += 3) {
    RGB565ToPixel(static_cast<uint16_t>(raw[0] | (raw[1] << 8)), bgr);
  }
}

#ifdef SSF_HAVE_X86

namespace {

using pixel_lanes::GatherRgb565x16;
using pixel_lanes::GatherRgb565x8;
using pixel_lanes::ScatterRgb565x16;
using pixel_lanes::ScatterRgb565x8;

__attribute__((target("ssse3"))) size_t BgrToRgb565Ssse3(const uint8_t* bgr, uint8_t* raw, size_t count) {
  size_t i = 0;
  for (; i + 8 <= count; i += 8, bgr += 24, raw += 16) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(raw), GatherRgb565x8(bgr));
  }
  return i;
}

__attribute__((target("ssse3"))) size_t Rgb565ToBgrSsse3(const uint8_t* raw, uint8_t* bgr, size_t count) {
  size_t i = 0;
  for (; i + 8 <= count; i += 8, raw += 16, bgr += 24) {
    ScatterRgb565x8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(raw)), bgr);
  }
  return i;
}

__attribute__((target("avx2"))) size_t BgrToRgb565Avx2(const uint8_t* bgr, uint8_t* raw, size_t count) {
  size_t i = 0;
  for (; i + 16 <= count; i += 16, bgr += 48, raw += 32) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(raw), GatherRgb565x16(bgr));
  }
  return i;
}

__attribute__((target("avx2"))) size_t Rgb565ToBgrAvx2(const uint8_t* raw, uint8_t* bgr, size_t count) {
  size_t i = 0;
  for (; i + 16 <= count; i += 16, raw += 32, bgr += 48) {
    ScatterRgb565x16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(raw)), bgr);
  }
  return i;
}

}  // namespace

void BgrToRgb565(const uint8_t* bgr, uint8_t* raw, size_t count) {
  size_t done = CpuHasAvx2() ? BgrToRgb565Avx2(bgr, raw, count) : 0;
  if (CpuHasSsse3()) done += BgrToRgb565Ssse3(bgr + done * 3, raw + done * 2, count - done);
  BgrToRgb565Scalar(bgr + done * 3, raw + done * 2, count - done);
}

void Rgb565ToBgr(const uint8_t* raw, uint8_t* bgr, size_t count) {
  size_t done = CpuHasAvx2() ? Rgb565ToBgrAvx2(raw, bgr, count) : 0;
  if (CpuHasSsse3()) done += Rgb565ToBgrSsse3(raw + done * 2, bgr + done * 3, count - done);
  Rgb565ToBgrScalar(raw + done * 2, bgr + done * 3, count - done);
}

#else

void BgrToRgb565(const uint8_t* bgr, uint8_t* raw, size_t count) { BgrToRgb565Scalar(bgr, raw, count); }
void Rgb565ToBgr(const uint8_t* raw, uint8_t* bgr, size_t count) { Rgb565ToBgrScalar(raw, bgr, count); }

#endif

}  // namespace ssf
