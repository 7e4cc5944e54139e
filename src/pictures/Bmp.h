#pragma once
// Windows bitmap files, read and written by our own code.
//
// Reads: uncompressed 1/4/8-bit palette, RLE8 and RLE4, 16-bit (5-5-5, or BI_BITFIELDS masks
// such as 5-6-5), 24-bit and 32-bit (BI_RGB or BI_BITFIELDS), rows bottom-up or top-down, info
// headers of 12 (OS/2 core), 40, 52, 56, 108 and 124 bytes, and OS/2 2.x headers of 16..64
// bytes. The result is always opaque: a 32-bit file's fourth byte is dropped. Embedded
// JPEG/PNG files and the OS/2 Huffman and RLE24 compressions are refused.
// Writes: 24-bit, bottom-up, 40-byte info header; the picture's alpha is ignored.
#include <memory>

#include "base/ByteIO.h"
#include "pictures/Image.h"
#include "pictures/PictureRows.h"

namespace ssf {

// Throws SsfError for a file that is not a BMP, is cut short, or uses a refused variant.
Image DecodeBmp(ByteSpan data);
// The same picture row by row, for a small picture made from a large one (FitPicture): an
// uncompressed file's rows are read from `data` when asked for (`data` must outlive the
// result), an RLE file costs a byte and a bit a pixel. Throws as DecodeBmp, and for an
// empty picture.
std::unique_ptr<PictureRows> OpenBmpRows(ByteSpan data);

Bytes EncodeBmp(const Image& image);

// What EncodeBmp writes, with every row still black, for writers that fill the rows in place:
// row y from the top starts at kBmpHeaderSize + BmpStride(width) * (height - 1 - y).
inline constexpr size_t kBmpHeaderSize = 54;
size_t BmpStride(uint32_t width);
Bytes NewBmp(uint32_t width, uint32_t height);
// The file's size (SsfError beyond what its header can hold), and its header written into the
// first kBmpHeaderSize bytes of `out`, for writers that bring their own memory.
size_t BmpFileSize(uint32_t width, uint32_t height);
void WriteBmpHeader(std::span<uint8_t> out, uint32_t width, uint32_t height);

}  // namespace ssf
