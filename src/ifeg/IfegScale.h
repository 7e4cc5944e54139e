#pragma once
// The rounding scales of the IFEG codec as lookup tables: 8-bit channels to 5 or 6 bits
// and back, each to the nearest value (255 is odd, so no exact halves occur and no tie
// rule is needed). They differ from the truncating shifts used for raw RGB565 files.
#include <array>
#include <cstdint>
#include <cstring>

namespace ssf::ifeg_scale {

template <unsigned kMax>
constexpr std::array<uint8_t, 256> MakeReduce() {
  std::array<uint8_t, 256> lut{};
  for (unsigned c = 0; c < 256; ++c) lut[c] = static_cast<uint8_t>((c * kMax + 127) / 255);
  return lut;
}

template <unsigned kMax>
constexpr std::array<uint8_t, kMax + 1> MakeExpand() {
  std::array<uint8_t, kMax + 1> lut{};
  for (unsigned c = 0; c <= kMax; ++c) lut[c] = static_cast<uint8_t>((c * 255 + kMax / 2) / kMax);
  return lut;
}

inline constexpr auto kTo5 = MakeReduce<31>();
inline constexpr auto kTo6 = MakeReduce<63>();
inline constexpr auto kFrom5 = MakeExpand<31>();
inline constexpr auto kFrom6 = MakeExpand<63>();

static_assert(kTo5[4] == 0 && kTo6[4] == 1 && kTo5[8] == 1 && kTo6[8] == 2);
static_assert(kTo5[127] == 15 && kTo6[127] == 31 && kTo5[128] == 16 && kTo6[128] == 32);
static_assert(kFrom5[1] == 8 && kFrom5[15] == 123 && kFrom5[16] == 132 && kFrom5[31] == 255);
static_assert(kFrom6[1] == 4 && kFrom6[31] == 125 && kFrom6[32] == 130 && kFrom6[63] == 255);

// Whole pixels as blue | green << 8 | red << 16: the low bits (green and blue) and the
// red bits of a packed value looked up apart, since no channel straddles that split.
template <unsigned kGreenBits, unsigned kBlueBits, unsigned kBlueMax, unsigned kGreenMax>
constexpr std::array<uint32_t, 1u << (kGreenBits + kBlueBits)> MakeLowBgr() {
  std::array<uint32_t, 1u << (kGreenBits + kBlueBits)> lut{};
  for (uint32_t v = 0; v < lut.size(); ++v) {
    const uint32_t b = v & ((1u << kBlueBits) - 1), g = v >> kBlueBits;
    lut[v] = (b * 255 + kBlueMax / 2) / kBlueMax | ((g * 255 + kGreenMax / 2) / kGreenMax) << 8;
  }
  return lut;
}
template <unsigned kMax>
constexpr std::array<uint32_t, kMax + 1> MakeRed() {
  std::array<uint32_t, kMax + 1> lut{};
  for (uint32_t r = 0; r <= kMax; ++r) lut[r] = ((r * 255 + kMax / 2) / kMax) << 16;
  return lut;
}
inline constexpr auto kLow565 = MakeLowBgr<6, 5, 31, 63>();
inline constexpr auto kRed565 = MakeRed<31>();
inline constexpr auto kLow666 = MakeLowBgr<6, 6, 63, 63>();
inline constexpr auto kRed666 = MakeRed<63>();

inline uint32_t Bgr565(uint32_t v) { return kLow565[v & 0x7FF] | kRed565[(v >> 11) & 31]; }
inline uint32_t Bgr666(uint32_t v) { return kLow666[v & 0xFFF] | kRed666[(v >> 12) & 63]; }
static_assert(kLow565[0x7FF] == 0xFFFF && kRed565[16] == 132u << 16 && kLow666[(31 << 6) | 1] == (125u << 8 | 4));

inline uint32_t Pack565(const uint8_t* bgr) {
  return kTo5[bgr[0]] | (uint32_t{kTo6[bgr[1]]} << 5) | (uint32_t{kTo5[bgr[2]]} << 11);
}
inline uint32_t Pack666(const uint8_t* bgr) {
  return kTo6[bgr[0]] | (uint32_t{kTo6[bgr[1]]} << 6) | (uint32_t{kTo6[bgr[2]]} << 12);
}
inline void Unpack565(uint32_t v, uint8_t* bgr) {
  bgr[0] = kFrom5[v & 31];
  bgr[1] = kFrom6[(v >> 5) & 63];
  bgr[2] = kFrom5[(v >> 11) & 31];
}
inline void Unpack666(uint32_t v, uint8_t* bgr) {
  bgr[0] = kFrom6[v & 63];
  bgr[1] = kFrom6[(v >> 6) & 63];
  bgr[2] = kFrom6[(v >> 12) & 63];
}

}  // namespace ssf::ifeg_scale
