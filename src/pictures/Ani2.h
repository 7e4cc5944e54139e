#pragma once
// ANI2 image files: one picture with a 6-bit alpha channel.
//
//   offset  size        field
//   0       4           magic "ANI2"
//   4       2           width, little-endian
//   6       2           height, little-endian
//   8       3 * w * h   pixels, rows from the top: alpha 0..63, then RGB565 high byte first
//
// A complete file is exactly 8 + 3 * width * height bytes.
#include <filesystem>

#include "base/ByteIO.h"
#include "base/ScratchBuffer.h"
#include "pictures/Image.h"
#include "pictures/Png.h"

namespace ssf {

inline constexpr size_t kAni2HeaderSize = 8;

// Alpha byte = 8-bit alpha >> 2 when `has_alpha_channel` (and the picture has alpha), else 63.
// Width and height are stored as their low 16 bits.
Bytes ImageToAni2(const Image& image, bool has_alpha_channel);

// The magic is not checked here (callers probe with IsANI2 first). The 8-bit alpha is
// (alpha << 2) & 0xFF, so a stored alpha above 63 wraps: 64 gives 0, 255 gives 252, as
// stored files have always produced. Throws SsfError when the pixels are cut short.
Image Ani2ToImage(ByteSpan data);

// The colours of an ANI2 picture over black, as a raw image file's bytes: each 5- or 6-bit
// channel scaled by its 6-bit alpha (wrapped as above) and rounded, so an opaque pixel keeps
// its RGB565 value exactly, which an 8-bit alpha of 252 would not. Throws as Ani2ToImage.
Bytes Ani2ToRawOverBlack(ByteSpan data);

// In-memory forms of the file converters.
Bytes PngBytesToAni2(ByteSpan png);
Bytes Ani2BytesToPng(ByteSpan ani2);  // colour type 6, 16 bits per sample
// The same PNG in memory that is not cleared first, row by row without a whole picture.
ScratchBuffer Ani2ToPngScratch(ByteSpan ani2);

// File wrappers. The output is written atomically and not at all on an error.
void PngToAni2(const std::filesystem::path& png_file, const std::filesystem::path& ani2_file);
void Ani2ToPng(const std::filesystem::path& ani2_file, const std::filesystem::path& png_file);

}  // namespace ssf
