#pragma once
// The PNGs that are most of what users bring and what the program writes, handled as one
// buffer through libdeflate: the compressed rows are all in memory and the size of the
// inflated rows is known from the header, which is what libdeflate wants, and it inflates
// about twice as fast as zlib. libpng stays for everything else (palette, greyscale, 16-bit,
// interlaced, a transparent colour, damage of any kind), with its checks and its messages.
#include <functional>
#include <optional>

#include "base/ByteIO.h"
#include "base/ScratchBuffer.h"
#include "pictures/Png.h"

namespace ssf {

// The picture of a sound, non-interlaced 8-bit truecolour PNG with or without alpha (colour
// types 2 without tRNS, and 6), the same as DecodePng gives. Nothing for any other file,
// including any fault: the caller then reads it with libpng, which names the fault. The
// caller has checked the header's size against the limits.
std::optional<PngPicture> DecodeCommonPng(ByteSpan data);

// The same PNGs as a raw file's RGB565 values (ImageToRaw of the picture, flattened over black
// as FlattenOverBlack does), each row converted as it is unfiltered, without a whole picture
// in between. Nothing where DecodeCommonPng gives nothing.
std::optional<ScratchBuffer> CommonPngToRgb565(ByteSpan data);

// A PNG of colour type 6 at 16 bits, each row (8 bytes a pixel: red, green, blue, alpha,
// big-endian) written by `rows(y, row)` from the top: the rows filtered Up and deflated in one
// pass into one IDAT chunk. SsfError for an empty picture.
using Rgba16Rows = std::function<void(uint32_t y, uint8_t* row)>;
ScratchBuffer WriteRgba16Png(uint32_t width, uint32_t height, const Rgba16Rows& rows);

// `count` pixels (blue, green, red, and alpha from `alpha`, opaque when null) as such a row:
// each 8-bit value v as the 16-bit v * 257.
void BgrToRgba16(const uint8_t* bgr, const uint8_t* alpha, uint8_t* out, size_t count);

}  // namespace ssf
