#pragma once
// The vector step shared by the raw and ANI2 kernels: eight picture pixels (blue, green,
// red; 24 bytes) to eight RGB565 values in 16-bit lanes, and back. The shifts are those of
// PixelFormats.h, bit for bit. The AVX2 forms take sixteen pixels, eight in each 128-bit
// half, with the same masks. x86 only; callers are compiled for the same target.
#include <cstdint>

#include <immintrin.h>

namespace ssf::pixel_lanes {

// Byte k of a shuffle mask names the source byte for output byte k; -128 writes zero.
// Eight pixels are 24 bytes: bytes 0..15 in `lo`, 16..23 in the low half of `hi`. Each
// channel is gathered from both into eight 16-bit lanes (high byte zero).
alignas(16) inline constexpr int8_t kBlueLo[16] = {0, -128, 3, -128, 6, -128, 9, -128, 12, -128, 15, -128, -128, -128, -128, -128};
alignas(16) inline constexpr int8_t kBlueHi[16] = {-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, 2, -128, 5, -128};
alignas(16) inline constexpr int8_t kGreenLo[16] = {1, -128, 4, -128, 7, -128, 10, -128, 13, -128, -128, -128, -128, -128, -128, -128};
alignas(16) inline constexpr int8_t kGreenHi[16] = {-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, 0, -128, 3, -128, 6, -128};
alignas(16) inline constexpr int8_t kRedLo[16] = {2, -128, 5, -128, 8, -128, 11, -128, 14, -128, -128, -128, -128, -128, -128, -128};
alignas(16) inline constexpr int8_t kRedHi[16] = {-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, 1, -128, 4, -128, 7, -128};

// Back the other way, after packing: `bg` holds blue 0..7 in bytes 0..7 and green 0..7 in
// bytes 8..15, `rr` red 0..7 in bytes 0..7; the masks interleave them into 24 bytes.
alignas(16) inline constexpr int8_t kOutLoBg[16] = {0, 8, -128, 1, 9, -128, 2, 10, -128, 3, 11, -128, 4, 12, -128, 5};
alignas(16) inline constexpr int8_t kOutLoR[16] = {-128, -128, 0, -128, -128, 1, -128, -128, 2, -128, -128, 3, -128, -128, 4, -128};
alignas(16) inline constexpr int8_t kOutHiBg[16] = {13, -128, 6, 14, -128, 7, 15, -128, -128, -128, -128, -128, -128, -128, -128, -128};
alignas(16) inline constexpr int8_t kOutHiR[16] = {-128, 5, -128, -128, 6, -128, -128, 7, -128, -128, -128, -128, -128, -128, -128, -128};

__attribute__((target("ssse3"))) inline __m128i Mask(const int8_t (&m)[16]) {
  return _mm_load_si128(reinterpret_cast<const __m128i*>(m));
}

__attribute__((target("avx2"))) inline __m256i Mask2(const int8_t (&m)[16]) {
  return _mm256_broadcastsi128_si256(Mask(m));
}

// Eight pixels at `bgr` as eight RGB565 values.
__attribute__((target("ssse3"))) inline __m128i GatherRgb565x8(const uint8_t* bgr) {
  const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr));
  const __m128i hi = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bgr + 16));
  const __m128i b = _mm_or_si128(_mm_shuffle_epi8(lo, Mask(kBlueLo)), _mm_shuffle_epi8(hi, Mask(kBlueHi)));
  const __m128i g = _mm_or_si128(_mm_shuffle_epi8(lo, Mask(kGreenLo)), _mm_shuffle_epi8(hi, Mask(kGreenHi)));
  const __m128i r = _mm_or_si128(_mm_shuffle_epi8(lo, Mask(kRedLo)), _mm_shuffle_epi8(hi, Mask(kRedHi)));
  return _mm_or_si128(_mm_or_si128(_mm_slli_epi16(_mm_and_si128(r, _mm_set1_epi16(0xF8)), 8),
                                   _mm_slli_epi16(_mm_and_si128(g, _mm_set1_epi16(0xFC)), 3)),
                      _mm_srli_epi16(b, 3));
}

// Eight RGB565 values as eight pixels at `bgr`.
__attribute__((target("ssse3"))) inline void ScatterRgb565x8(__m128i v, uint8_t* bgr) {
  const __m128i b = _mm_slli_epi16(_mm_and_si128(v, _mm_set1_epi16(0x1F)), 3);
  const __m128i g = _mm_slli_epi16(_mm_and_si128(_mm_srli_epi16(v, 5), _mm_set1_epi16(0x3F)), 2);
  const __m128i r = _mm_slli_epi16(_mm_srli_epi16(v, 11), 3);
  const __m128i bg = _mm_packus_epi16(b, g);
  const __m128i rr = _mm_packus_epi16(r, r);
  const __m128i lo = _mm_or_si128(_mm_shuffle_epi8(bg, Mask(kOutLoBg)), _mm_shuffle_epi8(rr, Mask(kOutLoR)));
  const __m128i hi = _mm_or_si128(_mm_shuffle_epi8(bg, Mask(kOutHiBg)), _mm_shuffle_epi8(rr, Mask(kOutHiR)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(bgr), lo);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(bgr + 16), hi);
}

// Sixteen pixels: the first eight in the low half of the result, the next in the high half.
__attribute__((target("avx2"))) inline __m256i GatherRgb565x16(const uint8_t* bgr) {
  const __m256i lo = _mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr))),
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 24)), 1);
  const __m256i hi = _mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(bgr + 16))),
      _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bgr + 40)), 1);
  const __m256i b = _mm256_or_si256(_mm256_shuffle_epi8(lo, Mask2(kBlueLo)), _mm256_shuffle_epi8(hi, Mask2(kBlueHi)));
  const __m256i g = _mm256_or_si256(_mm256_shuffle_epi8(lo, Mask2(kGreenLo)), _mm256_shuffle_epi8(hi, Mask2(kGreenHi)));
  const __m256i r = _mm256_or_si256(_mm256_shuffle_epi8(lo, Mask2(kRedLo)), _mm256_shuffle_epi8(hi, Mask2(kRedHi)));
  return _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi16(_mm256_and_si256(r, _mm256_set1_epi16(0xF8)), 8),
                                         _mm256_slli_epi16(_mm256_and_si256(g, _mm256_set1_epi16(0xFC)), 3)),
                         _mm256_srli_epi16(b, 3));
}

__attribute__((target("avx2"))) inline void ScatterRgb565x16(__m256i v, uint8_t* bgr) {
  const __m256i b = _mm256_slli_epi16(_mm256_and_si256(v, _mm256_set1_epi16(0x1F)), 3);
  const __m256i g = _mm256_slli_epi16(_mm256_and_si256(_mm256_srli_epi16(v, 5), _mm256_set1_epi16(0x3F)), 2);
  const __m256i r = _mm256_slli_epi16(_mm256_srli_epi16(v, 11), 3);
  const __m256i bg = _mm256_packus_epi16(b, g);
  const __m256i rr = _mm256_packus_epi16(r, r);
  const __m256i lo = _mm256_or_si256(_mm256_shuffle_epi8(bg, Mask2(kOutLoBg)), _mm256_shuffle_epi8(rr, Mask2(kOutLoR)));
  const __m256i hi = _mm256_or_si256(_mm256_shuffle_epi8(bg, Mask2(kOutHiBg)), _mm256_shuffle_epi8(rr, Mask2(kOutHiR)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(bgr), _mm256_castsi256_si128(lo));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(bgr + 16), _mm256_castsi256_si128(hi));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(bgr + 24), _mm256_extracti128_si256(lo, 1));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(bgr + 40), _mm256_extracti128_si256(hi, 1));
}

}  // namespace ssf::pixel_lanes
