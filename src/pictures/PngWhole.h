#pragma once
// The PNGs that are most of what users bring and what the program writes, handled as one
// buffer through libdeflate: the compressed rows are all in memory and the size of the
// inflated rows is known from the header, which is what libdeflate wants, and it inflates
// about twice as fast as zlib. libpng stays for everything else (palette, greyscale, 16-bit,
// interlaced, a transparent colour, damage of any kind), with its checks and its messages.
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

// A PNG of colour type 6 at 16 bits from `pixels` (8 bytes a pixel: red, green, blue, alpha,
// big-endian, rows from the top): the rows filtered Up and deflated in one pass into one
// IDAT chunk.
Bytes WriteRgba16Png(const uint8_t* pixels, uint32_t width, uint32_t height);

}  // namespace ssf
