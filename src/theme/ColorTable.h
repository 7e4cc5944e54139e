#pragma once
// A COLORTAB theme file read as colours: 16-bit RGB565 entries, entry n at byte 2n, low
// byte first like the phone's raw pictures. Only the window's swatches read it this way;
// import and export keep treating the file as plain bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/ByteIO.h"
#include "pictures/Image.h"

namespace ssf {

// Entries to a row of swatches.
inline constexpr uint32_t kColorTableColumns = 16;

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// Whole entries in the table (an odd last byte is no entry).
size_t ColorTableEntryCount(ByteSpan table);
// Entry n; throws SsfError past the last entry.
uint16_t ColorTableEntry(ByteSpan table, size_t n);
// Replaces entry n's two bytes and nothing else; throws SsfError past the last entry.
void SetColorTableEntry(Bytes& table, size_t n, uint16_t value);

// The shift conversions of the phone's pictures: the low bits of each channel are zero
// on the way out and dropped on the way in, so a colour read and written back is the same.
Rgb Rgb565ToRgb(uint16_t value);
uint16_t RgbToRgb565(Rgb colour);

// "№ 12: 0xF800 (R 248, G 0, B 0)": an entry's number and value as a hover text.
std::string ColorTableEntryText(ByteSpan table, size_t n);

// The table as swatches, kColorTableColumns to a row, each `cell` pixels square with a
// one-pixel grey grid between them; an empty picture for a table without entries.
Image ColorTableSwatches(ByteSpan table, uint32_t cell);

}  // namespace ssf
