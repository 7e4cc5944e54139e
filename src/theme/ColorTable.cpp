#include "theme/ColorTable.h"

#include <cstdio>

#include "base/SsfError.h"

namespace ssf {

namespace {

void CheckEntry(size_t count, size_t n) {
  if (n >= count) {
    throw SsfError("Нет цвета с номером " + std::to_string(n) + " в таблице цветов из " + std::to_string(count));
  }
}

}  // namespace

size_t ColorTableEntryCount(ByteSpan table) { return table.size() / 2; }

uint16_t ColorTableEntry(ByteSpan table, size_t n) {
  CheckEntry(ColorTableEntryCount(table), n);
  return ReadU16LE(table, 2 * n);
}

void SetColorTableEntry(Bytes& table, size_t n, uint16_t value) {
  CheckEntry(ColorTableEntryCount(table), n);
  WriteU16LE(table, 2 * n, value);
}

Rgb Rgb565ToRgb(uint16_t value) {
  return {static_cast<uint8_t>((value >> 11) << 3), static_cast<uint8_t>(((value >> 5) & 0x3F) << 2),
          static_cast<uint8_t>((value & 0x1F) << 3)};
}

uint16_t RgbToRgb565(Rgb c) {
  return static_cast<uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}

std::string ColorTableEntryText(ByteSpan table, size_t n) {
  const uint16_t value = ColorTableEntry(table, n);
  const Rgb c = Rgb565ToRgb(value);
  char text[64];
  std::snprintf(text, sizeof text, "№ %zu: 0x%04X (R %u, G %u, B %u)", n, static_cast<unsigned>(value),
                static_cast<unsigned>(c.r), static_cast<unsigned>(c.g), static_cast<unsigned>(c.b));
  return text;
}

Image ColorTableSwatches(ByteSpan table, uint32_t cell) {
  const size_t count = ColorTableEntryCount(table);
  if (count == 0 || cell == 0) return {};
  const uint32_t rows = static_cast<uint32_t>((count + kColorTableColumns - 1) / kColorTableColumns);
  const uint32_t step = cell + 1;
  Image out(kColorTableColumns * step + 1, rows * step + 1);
  for (uint8_t& b : out.bgr) b = 0xA0;  // the grid, and the empty places after the last entry
  for (size_t n = 0; n < count; ++n) {
    const Rgb c = Rgb565ToRgb(ColorTableEntry(table, n));
    const uint32_t left = static_cast<uint32_t>(n % kColorTableColumns) * step + 1;
    const uint32_t top = static_cast<uint32_t>(n / kColorTableColumns) * step + 1;
    for (uint32_t y = top; y < top + cell; ++y) {
      for (uint32_t x = left; x < left + cell; ++x) {
        uint8_t* p = out.Pixel(x, y);
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
      }
    }
  }
  return out;
}

}  // namespace ssf
