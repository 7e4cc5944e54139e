#pragma once
// Quick looks at a file before it is converted. The length tests use GetFileSize, so a
// missing file fails them.
#include <cstdint>
#include <filesystem>

#include "base/ByteIO.h"

namespace ssf {

// At least 15 bytes and starting FF D8 FF E0 (start of image, then a JFIF APP0 marker).
// A JPEG whose second marker is another one, such as Exif's FF E1, is not recognised.
bool IsJFIF(const std::filesystem::path& file);
// At least 10 bytes and starting with "ANI2" / "IFEG", compared case-sensitively.
bool IsANI2(const std::filesystem::path& file);
bool IsIFEG(const std::filesystem::path& file);

// The unsigned 16-bit little-endian value at offset 4 / 6 of an ANI2 or IFEG file.
// Throws SsfError when the file is shorter than 6 / 8 bytes or cannot be read.
uint16_t GetHeaderWidth(const std::filesystem::path& file);
uint16_t GetHeaderHeight(const std::filesystem::path& file);

// The same tests on bytes in memory (a theme file held in the container).
bool IsJFIF(ByteSpan data);
bool IsANI2(ByteSpan data);
bool IsIFEG(ByteSpan data);
uint16_t GetHeaderWidth(ByteSpan data);
uint16_t GetHeaderHeight(ByteSpan data);

}  // namespace ssf
