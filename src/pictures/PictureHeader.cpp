#include "pictures/PictureHeader.h"

#include <cstring>
#include <cstdlib>

namespace ssf {

namespace {

uint32_t Be16(ByteSpan d, size_t at) { return uint32_t{d[at]} << 8 | d[at + 1]; }
uint32_t Be32(ByteSpan d, size_t at) { return Be16(d, at) << 16 | Be16(d, at + 2); }

std::optional<PictureSize> Bmp(ByteSpan d) {
  if (d.size() < 26) return std::nullopt;
  const uint32_t header = ReadU32LE(d, 14);
  if (header == 12) return PictureSize{ReadU16LE(d, 18), ReadU16LE(d, 20)};
  return PictureSize{ReadI32LE(d, 18), std::llabs(int64_t{ReadI32LE(d, 22)})};
}

// The frame header (SOFn) gives the size; the segments before it are skipped by length.
std::optional<PictureSize> Jpeg(ByteSpan d) {
  size_t at = 2;
  while (at + 4 <= d.size()) {
    if (d[at] != 0xFF) return std::nullopt;
    const uint8_t marker = d[at + 1];
    if (marker == 0xFF) {
      ++at;
      continue;
    }
    const size_t length = Be16(d, at + 2);
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (at + 9 > d.size()) return std::nullopt;
      return PictureSize{Be16(d, at + 7), Be16(d, at + 5)};
    }
    if (marker == 0xDA || length < 2) return std::nullopt;
    at += 2 + length;
  }
  return std::nullopt;
}

}  // namespace

std::optional<PictureSize> ReadPictureHeaderSize(ByteSpan d) {
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (d.size() >= 24 && std::memcmp(d.data(), kPng, 8) == 0 && std::memcmp(d.data() + 12, "IHDR", 4) == 0) {
    return PictureSize{Be32(d, 16), Be32(d, 20)};
  }
  if (d.size() >= 2 && d[0] == 'B' && d[1] == 'M') return Bmp(d);
  if (d.size() >= 4 && d[0] == 0xFF && d[1] == 0xD8) return Jpeg(d);
  return std::nullopt;
}

}  // namespace ssf
