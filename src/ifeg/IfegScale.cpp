// The rounding scales of the IFEG codec: 8-bit channels to 5 or 6 bits and back, each
// to the nearest value (255 is odd, so no exact halves occur and no tie rule is needed).
// They differ from the truncating shifts used for raw RGB565 files.
#include <array>

#include "ifeg/Ifeg.h"

namespace ssf {

namespace {

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

constexpr auto kTo5 = MakeReduce<31>();
constexpr auto kTo6 = MakeReduce<63>();
constexpr auto kFrom5 = MakeExpand<31>();
constexpr auto kFrom6 = MakeExpand<63>();

static_assert(kTo5[4] == 0 && kTo6[4] == 1 && kTo5[8] == 1 && kTo6[8] == 2);
static_assert(kTo5[127] == 15 && kTo6[127] == 31 && kTo5[128] == 16 && kTo6[128] == 32);
static_assert(kFrom5[1] == 8 && kFrom5[15] == 123 && kFrom5[16] == 132 && kFrom5[31] == 255);
static_assert(kFrom6[1] == 4 && kFrom6[31] == 125 && kFrom6[32] == 130 && kFrom6[63] == 255);

}  // namespace

uint32_t PackRgb565(uint8_t blue, uint8_t green, uint8_t red) {
  return kTo5[blue] | (uint32_t{kTo6[green]} << 5) | (uint32_t{kTo5[red]} << 11);
}

uint32_t PackRgb666(uint8_t blue, uint8_t green, uint8_t red) {
  return kTo6[blue] | (uint32_t{kTo6[green]} << 6) | (uint32_t{kTo6[red]} << 12);
}

void UnpackRgb565(uint32_t value, uint8_t* bgr) {
  bgr[0] = kFrom5[value & 31];
  bgr[1] = kFrom6[(value >> 5) & 63];
  bgr[2] = kFrom5[(value >> 11) & 31];
}

void UnpackRgb666(uint32_t value, uint8_t* bgr) {
  bgr[0] = kFrom6[value & 63];
  bgr[1] = kFrom6[(value >> 6) & 63];
  bgr[2] = kFrom6[(value >> 12) & 63];
}

}  // namespace ssf
