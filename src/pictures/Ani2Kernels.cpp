#include "pictures/Ani2Kernels.h"

#include "pictures/PixelFormats.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include "pictures/PixelLanes.h"
#include "platform/CpuFeatures.h"
#define SSF_HAVE_X86 1
#endif

namespace ssf {

void BgrToAni2Scalar(const uint8_t* bgr, const uint8_t* alpha, uint8_t* ani2, size_t count) {
  for (size_t i = 0; i < count; ++i, bgr += 3, ani2 += 3) {
    const uint16_t v = PixelToRGB565(bgr);
    ani2[0] = alpha ? static_cast<uint8_t>(alpha[i] >> 2) : 63;
    ani2[1] = static_cast<uint8_t>(v >> 8);
    ani2[2] = static_cast<uint8_t>(v);
  }
}

void Ani2ToBgrScalar(const uint8_t* ani2, uint8_t* bgr, uint8_t* alpha, size_t count) {
  for (size_t i = 0; i < count; ++i, ani2 += 3, bgr += 3) {
    alpha[i] = static_cast<uint8_t>(ani2[0] << 2);
    RGB565ToPixel(static_cast<uint16_t>((ani2[1] << 8) | ani2[2]), bgr);
  }
}

#ifdef SSF_HAVE_X86

namespace {

// Byte k of a shuffle mask names the source byte for output byte k; -128 writes zero.
// Eight pixels of three bytes are 24 bytes: 0..15 in one register, 16..23 in the low half
// of another.

__attribute__((target("ssse3"))) size_t BgrToAni2Ssse3(const uint8_t* bgr, const uint8_t* alpha, uint8_t* ani2,
                                                       size_t count) {
  // Output pixel p is alpha p, then byte 2p + 1 and byte 2p of the RGB565 lanes.
  const __m128i out_lo_v = _mm_setr_epi8(-128, 1, 0, -128, 3, 2, -128, 5, 4, -128, 7, 6, -128, 9, 8, -128);
  const __m128i out_lo_a = _mm_setr_epi8(0, -128, -128, 1, -128, -128, 2, -128, -128, 3, -128, -128, 4, -128, -128, 5);
  const __m128i out_hi_v = _mm_setr_epi8(11, 10, -128, 13, 12, -128, 15, 14, -128, -128, -128, -128, -128, -128, -128, -128);
  const __m128i out_hi_a = _mm_setr_epi8(-128, -128, 6, -128, -128, 7, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128);
  const __m128i six_bits = _mm_set1_epi8(0x3F);
  const __m128i opaque = _mm_set1_epi8(63);
  size_t i = 0;
  for (; i + 8 <= count; i += 8, bgr += 24, ani2 += 24) {
    const __m128i v = pixel_lanes::GatherRgb565x8(bgr);
    // Shifting 16-bit lanes moves two bits across each byte border; the mask drops them.
    const __m128i a = alpha ? _mm_and_si128(_mm_srli_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(alpha + i)), 2), six_bits)
                            : opaque;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(ani2), _mm_or_si128(_mm_shuffle_epi8(v, out_lo_v), _mm_shuffle_epi8(a, out_lo_a)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(ani2 + 16), _mm_or_si128(_mm_shuffle_epi8(v, out_hi_v), _mm_shuffle_epi8(a, out_hi_a)));
  }
  return i;
}

__attribute__((target("ssse3"))) size_t Ani2ToBgrSsse3(const uint8_t* ani2, uint8_t* bgr, uint8_t* alpha, size_t count) {
  // RGB565 lane p is low byte 3p + 2, high byte 3p + 1; alpha p is byte 3p.
  const __m128i v_lo = _mm_setr_epi8(2, 1, 5, 4, 8, 7, 11, 10, 14, 13, -128, -128, -128, -128, -128, -128);
  const __m128i v_hi = _mm_setr_epi8(-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, 1, 0, 4, 3, 7, 6);
  const __m128i a_lo = _mm_setr_epi8(0, 3, 6, 9, 12, 15, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128);
  const __m128i a_hi = _mm_setr_epi8(-128, -128, -128, -128, -128, -128, 2, 5, -128, -128, -128, -128, -128, -128, -128, -128);
  const __m128i high_six = _mm_set1_epi8(static_cast<char>(0xFC));
  size_t i = 0;
  for (; i + 8 <= count; i += 8, ani2 += 24, bgr += 24) {
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ani2));
    const __m128i hi = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(ani2 + 16));
    const __m128i v = _mm_or_si128(_mm_shuffle_epi8(lo, v_lo), _mm_shuffle_epi8(hi, v_hi));
    const __m128i a = _mm_or_si128(_mm_shuffle_epi8(lo, a_lo), _mm_shuffle_epi8(hi, a_hi));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(alpha + i), _mm_and_si128(_mm_slli_epi16(a, 2), high_six));
    pixel_lanes::ScatterRgb565x8(v, bgr);
  }
  return i;
}

}  // namespace

void BgrToAni2(const uint8_t* bgr, const uint8_t* alpha, uint8_t* ani2, size_t count) {
  const size_t done = CpuHasSsse3() ? BgrToAni2Ssse3(bgr, alpha, ani2, count) : 0;
  BgrToAni2Scalar(bgr + done * 3, alpha ? alpha + done : nullptr, ani2 + done * 3, count - done);
}

void Ani2ToBgr(const uint8_t* ani2, uint8_t* bgr, uint8_t* alpha, size_t count) {
  const size_t done = CpuHasSsse3() ? Ani2ToBgrSsse3(ani2, bgr, alpha, count) : 0;
  Ani2ToBgrScalar(ani2 + done * 3, bgr + done * 3, alpha + done, count - done);
}

#else

void BgrToAni2(const uint8_t* bgr, const uint8_t* alpha, uint8_t* ani2, size_t count) {
  BgrToAni2Scalar(bgr, alpha, ani2, count);
}
void Ani2ToBgr(const uint8_t* ani2, uint8_t* bgr, uint8_t* alpha, size_t count) { Ani2ToBgrScalar(ani2, bgr, alpha, count); }

#endif

}  // namespace ssf
