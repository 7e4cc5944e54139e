#include "pictures/PngUnfilter.h"

#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ssf {

bool UnfilterPngRowScalar(uint8_t filter, uint8_t* r, const uint8_t* prior, size_t stride, size_t bpp) {
  switch (filter) {
    case 0:
      break;
    case 1:
      for (size_t i = bpp; i < stride; ++i) r[i] = static_cast<uint8_t>(r[i] + r[i - bpp]);
      break;
    case 2:
      if (prior) {
        for (size_t i = 0; i < stride; ++i) r[i] = static_cast<uint8_t>(r[i] + prior[i]);
      }
      break;
    case 3:
      if (prior) {
        for (size_t i = 0; i < bpp && i < stride; ++i) r[i] = static_cast<uint8_t>(r[i] + (prior[i] >> 1));
        for (size_t i = bpp; i < stride; ++i) r[i] = static_cast<uint8_t>(r[i] + ((r[i - bpp] + prior[i]) >> 1));
      } else {
        for (size_t i = bpp; i < stride; ++i) r[i] = static_cast<uint8_t>(r[i] + (r[i - bpp] >> 1));
      }
      break;
    case 4:
      if (prior) {
        for (size_t i = 0; i < bpp && i < stride; ++i) r[i] = static_cast<uint8_t>(r[i] + prior[i]);
        for (size_t i = bpp; i < stride; ++i) {
          const int a = r[i - bpp], b = prior[i], c = prior[i - bpp];
          const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
          const int p = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
          r[i] = static_cast<uint8_t>(r[i] + p);
        }
      } else {  // above the first row Paeth is Sub
        for (size_t i = bpp; i < stride; ++i) r[i] = static_cast<uint8_t>(r[i] + r[i - bpp]);
      }
      break;
    default:
      return false;
  }
  return true;
}

#if defined(__SSE2__)

namespace {

// One pixel of three or four bytes in the low lanes; the loads and stores touch no byte
// outside the pixel (the row may end the buffer, and the next pixel is not undone yet).
template <size_t Bpp>
__m128i Load(const uint8_t* p) {
  uint32_t v = 0;
  std::memcpy(&v, p, Bpp);
  return _mm_cvtsi32_si128(static_cast<int>(v));
}

template <size_t Bpp>
void Store(uint8_t* p, __m128i v) {
  const auto bits = static_cast<uint32_t>(_mm_cvtsi128_si32(v));
  std::memcpy(p, &bits, Bpp);
}

template <size_t Bpp>
void Sub(uint8_t* r, size_t stride) {
  __m128i a = Load<Bpp>(r);
  for (size_t i = Bpp; i + Bpp <= stride; i += Bpp) {
    a = _mm_add_epi8(Load<Bpp>(r + i), a);
    Store<Bpp>(r + i, a);
  }
}

template <size_t Bpp>
void Average(uint8_t* r, const uint8_t* prior, size_t stride) {
  const __m128i one = _mm_set1_epi8(1);
  __m128i a = _mm_setzero_si128();
  for (size_t i = 0; i + Bpp <= stride; i += Bpp) {
    const __m128i b = Load<Bpp>(prior + i);
    // The rounding-up average less the carried-out half: (a + b) >> 1 without widening.
    const __m128i mean = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
    a = _mm_add_epi8(Load<Bpp>(r + i), mean);
    Store<Bpp>(r + i, a);
  }
}

__m128i Abs16(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }
__m128i Select(__m128i mask, __m128i yes, __m128i no) {
  return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

template <size_t Bpp>
void Paeth(uint8_t* r, const uint8_t* prior, size_t stride) {
  const __m128i zero = _mm_setzero_si128();
  __m128i a = zero, c = zero;  // 16-bit lanes
  for (size_t i = 0; i + Bpp <= stride; i += Bpp) {
    const __m128i b = _mm_unpacklo_epi8(Load<Bpp>(prior + i), zero);
    const __m128i p = _mm_sub_epi16(b, c), q = _mm_sub_epi16(a, c);
    const __m128i pa = Abs16(p), pb = Abs16(q), pc = Abs16(_mm_add_epi16(p, q));
    const __m128i least = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
    // a where pa is least, else b where pb is, else c: the order of the ties in the format.
    const __m128i pick = Select(_mm_cmpeq_epi16(pa, least), a, Select(_mm_cmpeq_epi16(pb, least), b, c));
    const __m128i x = _mm_add_epi8(Load<Bpp>(r + i), _mm_packus_epi16(pick, pick));
    Store<Bpp>(r + i, x);
    a = _mm_unpacklo_epi8(x, zero);
    c = b;
  }
}

template <size_t Bpp>
bool UnfilterSse2(uint8_t filter, uint8_t* r, const uint8_t* prior, size_t stride) {
  switch (filter) {
    case 1:
      Sub<Bpp>(r, stride);
      return true;
    case 3:
      Average<Bpp>(r, prior, stride);
      return true;
    case 4:
      Paeth<Bpp>(r, prior, stride);
      return true;
    default:
      return UnfilterPngRowScalar(filter, r, prior, stride, Bpp);
  }
}

}  // namespace

bool UnfilterPngRow(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t stride, size_t bpp) {
  // The first row (no row above) is rare enough for the plain loop; a row not made of whole
  // pixels is no row of these pictures.
  if (prior && stride % bpp == 0) {
    if (bpp == 3) return UnfilterSse2<3>(filter, row, prior, stride);
    if (bpp == 4) return UnfilterSse2<4>(filter, row, prior, stride);
  }
  return UnfilterPngRowScalar(filter, row, prior, stride, bpp);
}

#else

bool UnfilterPngRow(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t stride, size_t bpp) {
  return UnfilterPngRowScalar(filter, row, prior, stride, bpp);
}

#endif

}  // namespace ssf
