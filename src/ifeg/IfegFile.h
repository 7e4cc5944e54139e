#pragma once
// IFEG files on disk: thin wrappers over the in-memory codec and the BMP codec.
#include <filesystem>

namespace ssf {

// Decodes an IFEG file and writes the picture as a 24-bit BMP file. Throws SsfError,
// naming the file, when the source cannot be read, is not IFEG data or is damaged, or
// the target cannot be written; the target is then left as it was.
void IFGFileToBmp(const std::filesystem::path& source, const std::filesystem::path& target);

// Encodes a BMP file as IFEG mode 1 (RGB565). No target is written when the source fails.
void BmpFileToIFG(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace ssf
