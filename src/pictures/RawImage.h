#pragma once
// Raw image files: no header, no padding; width * height RGB565 values, low byte first,
// rows from the top, each row left to right. The size comes from the theme map, not the
// file, so a complete file is exactly width * height * 2 bytes.
#include <filesystem>

#include "base/ByteIO.h"
#include "pictures/Image.h"

namespace ssf {

// Every pixel through the truncating RGB565 conversion; alpha is ignored.
Bytes ImageToRaw(const Image& image);

// Throws SsfError when `raw` is shorter than width * height * 2; bytes after that are ignored.
Image RawToImage(ByteSpan raw, uint32_t width, uint32_t height);

// File wrappers. The output is written atomically and not at all on an error.
void BmpToRaw(const std::filesystem::path& bmp_file, const std::filesystem::path& raw_file);
void RawToBmp(const std::filesystem::path& raw_file, const std::filesystem::path& bmp_file,
              int32_t width, int32_t height);

}  // namespace ssf
