#include "pictures/Rgb565Kernels.h"

#include "pictures/PixelFormats.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
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

// Byte k of a shuffle mask names the source byte for output byte k; -128 writes zero.
__attribute__((target("ssse3"))) size_t BgrToRgb565Ssse3(const uint8_t* bgr, uint8_t* raw, size_t count) {
  // Eight pixels are 24 bytes: bytes 0..15 in `lo`, 16..23 in the low half of `hi`.
  // Each channel is gathered into eight 16-bit lanes (high byte zero).
  const __m128i b_lo = _mm_setr_epi8(0, -128, 3, -128, 6, -128, 9, -128, 12, -128, 15, -128, -128, -128, -128, -128);
  const __m128i b_hi = _mm_setr_epi8(-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, 2, -128, 5, -128);
  const __m128i g_lo = _mm_setr_epi8(1, -128, 4, -128, 7, -128, 10, -128, 13, -128, -128, -128, -128, -128, -128, -128);
  const __m128i g_hi = _mm_setr_epi8(-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, 0, -128, 3, -128, 6, -128);
  const __m128i r_lo = _mm_setr_epi8(2, -128, 5, -128, 8, -128, 11, -128, 14, -128, -128, -128, -128, -128, -128, -128);
  const __m128i r_hi = _mm_setr_epi8(-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, 1, -128, 4, -128, 7, -128);
  const __m128i red_mask = _mm_set1_epi16(0xF8);
  const __m128i green_mask = _mm_set1_epi16(0xFC);
  size_t i = 0;
  for (; i + 8 <= count; i += 8, bgr += 24, raw += 16) {
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr));
    const __m128i hi = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bgr + 16));
    const __m128i b = _mm_or_si128(_mm_shuffle_epi8(lo, b_lo), _mm_shuffle_epi8(hi, b_hi));
    const __m128i g = _mm_or_si128(_mm_shuffle_epi8(lo, g_lo), _mm_shuffle_epi8(hi, g_hi));
    const __m128i r = _mm_or_si128(_mm_shuffle_epi8(lo, r_lo), _mm_shuffle_epi8(hi, r_hi));
    const __m128i v = _mm_or_si128(_mm_or_si128(_mm_slli_epi16(_mm_and_si128(r, red_mask), 8),
                                                _mm_slli_epi16(_mm_and_si128(g, green_mask), 3)),
                                   _mm_srli_epi16(b, 3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(raw), v);
  }
  return i;
}

__attribute__((target("ssse3"))) size_t Rgb565ToBgrSsse3(const uint8_t* raw, uint8_t* bgr, size_t count) {
  // After packing, `bg` holds blue 0..7 in bytes 0..7 and green 0..7 in bytes 8..15, and
  // `rr` red 0..7 in bytes 0..7; the masks interleave them into 24 output bytes.
  const __m128i out_lo_bg = _mm_setr_epi8(0, 8, -128, 1, 9, -128, 2, 10, -128, 3, 11, -128, 4, 12, -128, 5);
  const __m128i out_lo_r = _mm_setr_epi8(-128, -128, 0, -128, -128, 1, -128, -128, 2, -128, -128, 3, -128, -128, 4, -128);
  const __m128i out_hi_bg = _mm_setr_epi8(13, -128, 6, 14, -128, 7, 15, -128, -128, -128, -128, -128, -128, -128, -128, -128);
  const __m128i out_hi_r = _mm_setr_epi8(-128, 5, -128, -128, 6, -128, -128, 7, -128, -128, -128, -128, -128, -128, -128, -128);
  const __m128i five_bits = _mm_set1_epi16(0x1F);
  const __m128i six_bits = _mm_set1_epi16(0x3F);
  size_t i = 0;
  for (; i + 8 <= count; i += 8, raw += 16, bgr += 24) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(raw));
    const __m128i b = _mm_slli_epi16(_mm_and_si128(v, five_bits), 3);
    const __m128i g = _mm_slli_epi16(_mm_and_si128(_mm_srli_epi16(v, 5), six_bits), 2);
    const __m128i r = _mm_slli_epi16(_mm_srli_epi16(v, 11), 3);
    const __m128i bg = _mm_packus_epi16(b, g);
    const __m128i rr = _mm_packus_epi16(r, r);
    const __m128i lo = _mm_or_si128(_mm_shuffle_epi8(bg, out_lo_bg), _mm_shuffle_epi8(rr, out_lo_r));
    const __m128i hi = _mm_or_si128(_mm_shuffle_epi8(bg, out_hi_bg), _mm_shuffle_epi8(rr, out_hi_r));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bgr), lo);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(bgr + 16), hi);
  }
  return i;
}

// The same steps on sixteen pixels: each 128-bit lane does the work of one SSSE3 step.
__attribute__((target("avx2"))) size_t BgrToRgb565Avx2(const uint8_t* bgr, uint8_t* raw, size_t count) {
  const __m256i b_lo = _mm256_broadcastsi128_si256(_mm_setr_epi8(0, -128, 3, -128, 6, -128, 9, -128, 12, -128, 15, -128, -128, -128, -128, -128));
  const __m256i b_hi = _mm256_broadcastsi128_si256(_mm_setr_epi8(-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, 2, -128, 5, -128));
  const __m256i g_lo = _mm256_broadcastsi128_si256(_mm_setr_epi8(1, -128, 4, -128, 7, -128, 10, -128, 13, -128, -128, -128, -128, -128, -128, -128));
  const __m256i g_hi = _mm256_broadcastsi128_si256(_mm_setr_epi8(-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, 0, -128, 3, -128, 6, -128));
  const __m256i r_lo = _mm256_broadcastsi128_si256(_mm_setr_epi8(2, -128, 5, -128, 8, -128, 11, -128, 14, -128, -128, -128, -128, -128, -128, -128));
  const __m256i r_hi = _mm256_broadcastsi128_si256(_mm_setr_epi8(-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, 1, -128, 4, -128, 7, -128));
  const __m256i red_mask = _mm256_set1_epi16(0xF8);
  const __m256i green_mask = _mm256_set1_epi16(0xFC);
  size_t i = 0;
  for (; i + 16 <= count; i += 16, bgr += 48, raw += 32) {
    const __m256i lo = _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 24)), 1);
    const __m256i hi = _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(bgr + 16))),
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bgr + 40)), 1);
    const __m256i b = _mm256_or_si256(_mm256_shuffle_epi8(lo, b_lo), _mm256_shuffle_epi8(hi, b_hi));
    const __m256i g = _mm256_or_si256(_mm256_shuffle_epi8(lo, g_lo), _mm256_shuffle_epi8(hi, g_hi));
    const __m256i r = _mm256_or_si256(_mm256_shuffle_epi8(lo, r_lo), _mm256_shuffle_epi8(hi, r_hi));
    const __m256i v = _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi16(_mm256_and_si256(r, red_mask), 8),
                                                      _mm256_slli_epi16(_mm256_and_si256(g, green_mask), 3)),
                                      _mm256_srli_epi16(b, 3));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(raw), v);
  }
  return i;
}

__attribute__((target("avx2"))) size_t Rgb565ToBgrAvx2(const uint8_t* raw, uint8_t* bgr, size_t count) {
  const __m256i out_lo_bg = _mm256_broadcastsi128_si256(_mm_setr_epi8(0, 8, -128, 1, 9, -128, 2, 10, -128, 3, 11, -128, 4, 12, -128, 5));
  const __m256i out_lo_r = _mm256_broadcastsi128_si256(_mm_setr_epi8(-128, -128, 0, -128, -128, 1, -128, -128, 2, -128, -128, 3, -128, -128, 4, -128));
  const __m256i out_hi_bg = _mm256_broadcastsi128_si256(_mm_setr_epi8(13, -128, 6, 14, -128, 7, 15, -128, -128, -128, -128, -128, -128, -128, -128, -128));
  const __m256i out_hi_r = _mm256_broadcastsi128_si256(_mm_setr_epi8(-128, 5, -128, -128, 6, -128, -128, 7, -128, -128, -128, -128, -128, -128, -128, -128));
  const __m256i five_bits = _mm256_set1_epi16(0x1F);
  const __m256i six_bits = _mm256_set1_epi16(0x3F);
  size_t i = 0;
  for (; i + 16 <= count; i += 16, raw += 32, bgr += 48) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(raw));
    const __m256i b = _mm256_slli_epi16(_mm256_and_si256(v, five_bits), 3);
    const __m256i g = _mm256_slli_epi16(_mm256_and_si256(_mm256_srli_epi16(v, 5), six_bits), 2);
    const __m256i r = _mm256_slli_epi16(_mm256_srli_epi16(v, 11), 3);
    const __m256i bg = _mm256_packus_epi16(b, g);
    const __m256i rr = _mm256_packus_epi16(r, r);
    const __m256i lo = _mm256_or_si256(_mm256_shuffle_epi8(bg, out_lo_bg), _mm256_shuffle_epi8(rr, out_lo_r));
    const __m256i hi = _mm256_or_si256(_mm256_shuffle_epi8(bg, out_hi_bg), _mm256_shuffle_epi8(rr, out_hi_r));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bgr), _mm256_castsi256_si128(lo));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(bgr + 16), _mm256_castsi256_si128(hi));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bgr + 24), _mm256_extracti128_si256(lo, 1));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(bgr + 40), _mm256_extracti128_si256(hi, 1));
  }
  return i;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

bool HasSsse3() {
  static const bool has = __builtin_cpu_supports("ssse3");
  return has;
}

}  // namespace

void BgrToRgb565(const uint8_t* bgr, uint8_t* raw, size_t count) {
  size_t done = HasAvx2() ? BgrToRgb565Avx2(bgr, raw, count) : 0;
  if (HasSsse3()) done += BgrToRgb565Ssse3(bgr + done * 3, raw + done * 2, count - done);
  BgrToRgb565Scalar(bgr + done * 3, raw + done * 2, count - done);
}

void Rgb565ToBgr(const uint8_t* raw, uint8_t* bgr, size_t count) {
  size_t done = HasAvx2() ? Rgb565ToBgrAvx2(raw, bgr, count) : 0;
  if (HasSsse3()) done += Rgb565ToBgrSsse3(raw + done * 2, bgr + done * 3, count - done);
  Rgb565ToBgrScalar(raw + done * 2, bgr + done * 3, count - done);
}

#else

void BgrToRgb565(const uint8_t* bgr, uint8_t* raw, size_t count) { BgrToRgb565Scalar(bgr, raw, count); }
void Rgb565ToBgr(const uint8_t* raw, uint8_t* bgr, size_t count) { Rgb565ToBgrScalar(raw, bgr, count); }

#endif

}  // namespace ssf
