#pragma once
// PNG files put together chunk by chunk, for the colour types, depths and interlacing that
// our writer never makes.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/ByteIO.h"

namespace ssf::test {

// Samples are given per channel, row-major, at the file's bit depth.
struct PngLayout {
  uint32_t width = 3;
  uint32_t height = 2;
  uint8_t depth = 8;
  uint8_t colour_type = 2;
  bool interlace = false;
  Bytes plte = {};
  Bytes trns = {};
  std::vector<uint16_t> samples = {};
  // The filter of row y is filters[y % size] (non-interlaced files); none when empty.
  Bytes filters = {};
};

inline int Channels(uint8_t colour_type) {
  switch (colour_type) {
    case 0: case 3: return 1;
    case 4: return 2;
    case 2: return 3;
    default: return 4;
  }
}

inline void AppendChunk(Bytes& out, const char* type, const Bytes& body) {
  out.push_back(static_cast<uint8_t>(body.size() >> 24));
  out.push_back(static_cast<uint8_t>(body.size() >> 16));
  out.push_back(static_cast<uint8_t>(body.size() >> 8));
  out.push_back(static_cast<uint8_t>(body.size()));
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), body.begin(), body.end());
  out.insert(out.end(), typed.begin(), typed.end());
  const uLong crc = crc32(0, typed.data(), static_cast<uInt>(typed.size()));
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(crc >> shift));
}

// One filtered row (filter 0) of the pixels at x = x0, x0 + dx, ... of row y.
inline void AppendRow(Bytes& raw, const PngLayout& s, uint32_t y, uint32_t x0, uint32_t dx) {
  raw.push_back(0);
  const int channels = Channels(s.colour_type);
  uint32_t bits = 0, acc = 0;
  for (uint32_t x = x0; x < s.width; x += dx) {
    for (int c = 0; c < channels; ++c) {
      const uint16_t v = s.samples[(static_cast<size_t>(y) * s.width + x) * channels + c];
      if (s.depth == 16) {
        raw.push_back(static_cast<uint8_t>(v >> 8));
        raw.push_back(static_cast<uint8_t>(v));
      } else if (s.depth == 8) {
        raw.push_back(static_cast<uint8_t>(v));
      } else {
        acc = (acc << s.depth) | v;
        bits += s.depth;
        if (bits == 8) raw.push_back(static_cast<uint8_t>(acc)), bits = 0, acc = 0;
      }
    }
  }
  if (bits) raw.push_back(static_cast<uint8_t>(acc << (8 - bits)));
}

// Applies the row filters of `s` to `raw` (rows of a filter byte 0 and `stride` bytes).
inline void FilterRows(Bytes& raw, const PngLayout& s, size_t stride) {
  const size_t bpp = std::max<size_t>(1, static_cast<size_t>(Channels(s.colour_type)) * s.depth / 8);
  const Bytes plain = raw;
  for (uint32_t y = 0; y < s.height; ++y) {
    const uint8_t filter = s.filters[y % s.filters.size()];
    const uint8_t* row = &plain[y * (stride + 1) + 1];
    const uint8_t* up = y > 0 ? row - stride - 1 : nullptr;
    uint8_t* out = &raw[y * (stride + 1)];
    out[0] = filter;
    for (size_t i = 0; i < stride; ++i) {
      const int a = i >= bpp ? row[i - bpp] : 0, b = up ? up[i] : 0, c = up && i >= bpp ? up[i - bpp] : 0;
      const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
      const int predicted = filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2
                          : filter == 4 ? (pa <= pb && pa <= pc ? a : pb <= pc ? b : c) : 0;
      out[1 + i] = static_cast<uint8_t>(row[i] - predicted);
    }
  }
}

inline Bytes BuildPng(const PngLayout& s) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr(13, 0);
  for (int i = 0; i < 4; ++i) ihdr[i] = static_cast<uint8_t>(s.width >> (24 - 8 * i));
  for (int i = 0; i < 4; ++i) ihdr[4 + i] = static_cast<uint8_t>(s.height >> (24 - 8 * i));
  ihdr[8] = s.depth, ihdr[9] = s.colour_type, ihdr[12] = s.interlace ? 1 : 0;
  AppendChunk(out, "IHDR", ihdr);
  if (!s.plte.empty()) AppendChunk(out, "PLTE", s.plte);
  if (!s.trns.empty()) AppendChunk(out, "tRNS", s.trns);
  Bytes raw;  // no samples: a header-only file for the size limits
  if (s.samples.empty()) {
  } else if (!s.interlace) {
    for (uint32_t y = 0; y < s.height; ++y) AppendRow(raw, s, y, 0, 1);
    if (!s.filters.empty()) FilterRows(raw, s, raw.size() / s.height - 1);
  } else {
    const uint32_t passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& p : passes) {
      if (p[0] >= s.width) continue;
      for (uint32_t y = p[1]; y < s.height; y += p[3]) AppendRow(raw, s, y, p[0], p[2]);
    }
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes idat(size);
  compress(idat.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
  idat.resize(size);
  AppendChunk(out, "IDAT", idat);
  AppendChunk(out, "IEND", {});
  return out;
}

}  // namespace ssf::test
