#pragma once
// Whole-file reads and writes on top of the system's file layer (platform/Files.h, included
// here for its handles, folder walk, atomic saves and locks). Reads take regular files only,
// within a size limit; writes are atomic.
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/ByteIO.h"
#include "base/Limits.h"
#include "base/ScratchBuffer.h"
#include "platform/Files.h"

namespace ssf {

// Opens `relative` below the folder `root` as OpenRegularFile does, and refuses a symbolic
// link on any component below `root` (and any ".." or absolute part), so a package of
// files from a stranger cannot name a file outside itself. Messages name root / relative.
ReadHandle OpenRegularFileBeneath(const std::filesystem::path& root, const std::filesystem::path& relative);

// The whole file; refused before allocating when it is larger than `max_size`.
// Throws SsfError("Не удалось прочитать файл: <path>...") when the file cannot be read.
Bytes ReadWholeFile(const std::filesystem::path& path, int64_t max_size = kMaxReadFileSize);
// The same for a file already opened; `path` names it in messages.
Bytes ReadWholeFile(ReadHandle& file, const std::filesystem::path& path, int64_t max_size = kMaxReadFileSize);

// The same into memory that is not cleared first, for files of a picture's size that are only
// read through once (a conversion's input).
ScratchBuffer ReadWholeFileScratch(const std::filesystem::path& path, int64_t max_size = kMaxReadFileSize);

// The first `count` bytes of a regular file, or fewer when the file is shorter.
Bytes ReadFileHead(const std::filesystem::path& path, size_t count);

// WriteFileAtomic of a text's bytes.
void WriteFileAtomic(const std::filesystem::path& path, const std::string& text);

// For packages written into a folder the user chose but a stranger may have prepared: the
// file `relative` below `root` is written atomically without following a link on any part
// of the way; the missing folders are made. A link (or a file where a folder goes) is
// refused with its name.
void WriteFileAtomicBeneath(const std::filesystem::path& root, const std::filesystem::path& relative, ByteSpan bytes);
// Makes the folders of `relative` below `root` in the same way.
void MakeFoldersBeneath(const std::filesystem::path& root, const std::filesystem::path& relative);
// Throws as the write would when a part of the way that exists is a link; writes nothing.
// Lets a writer of many files refuse before the first is written.
void CheckNoLinkBeneath(const std::filesystem::path& root, const std::filesystem::path& relative);

// Size of the file in bytes (low 32 bits), 0 for a folder, -1 when nothing is there.
int32_t GetFileSize(const std::filesystem::path& path);

// Replaces the extension of a path by `ext` (with its dot), or adds it.
std::filesystem::path ForceExtension(const std::filesystem::path& path, const std::string& ext);

}  // namespace ssf
