#pragma once
// Whole-file reads and writes. Writes are atomic: a sibling temporary file is written,
// flushed and renamed over the target, so a failure never leaves a half-written file
// and the previous file stays as it was.
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/ByteIO.h"

namespace ssf {

// Throws SsfError("Не удалось прочитать файл: <path>") when the file cannot be read.
Bytes ReadWholeFile(const std::filesystem::path& path);

// Throws SsfError("Не удалось записать файл: <path> (<reason>)") on any failure.
void WriteFileAtomic(const std::filesystem::path& path, ByteSpan bytes);
void WriteFileAtomic(const std::filesystem::path& path, const std::string& text);

// Size of the file in bytes (low 32 bits), 0 for a folder, -1 when nothing is there.
int32_t GetFileSize(const std::filesystem::path& path);

// Replaces the extension of a path by `ext` (with its dot), or adds it.
std::filesystem::path ForceExtension(const std::filesystem::path& path, const std::string& ext);

}  // namespace ssf
