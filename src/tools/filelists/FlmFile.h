#pragma once
// The phone's binary file list (FLM), little-endian, 16 + 96 * N bytes:
//
//   offset  size  content
//   0       4     signature "$FLM"
//   4       4     zero
//   8       4     N, signed 32-bit record count
//   12      4     zero
//   16+96*i 96    record i+1: path in 48 bytes, then name in 48 bytes
//
// A text fills its field from the start and is ended by zero bytes; a 48-byte text
// fills the field and has no terminator. A reader takes a field's bytes up to the first
// zero, or all 48.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "base/ByteIO.h"
#include "tools/filelists/FileListTables.h"

namespace ssf {

inline constexpr size_t kFlmHeaderSize = 16;
inline constexpr size_t kFlmRecordSize = 96;
inline constexpr size_t kFlmFieldSize = 48;
// One header and one record: the smallest FLM file that is accepted.
inline constexpr int64_t kFlmMinSize = 112;

// Progress of writing a list: called with (0, total) before the first record and with
// (k, total) after record k.
using FileListProgress = std::function<void(int64_t done, int64_t total)>;

// The FLM file of the tables.
Bytes BuildFLM(const FileListTables& tables, const FileListProgress& progress = {});
// Writes it atomically. Throws SsfError when the file cannot be written.
void WriteFLM(const FileListTables& tables, const std::filesystem::path& file,
              const FileListProgress& progress = {});

struct FlmCheckResult {
  enum Status { kOk, kBadSize, kBadSignature, kBadRecords, kTooManyRecords };
  Status status = kOk;
  int32_t count = 0;  // N of the header when it was read
  bool ok() const { return status == kOk; }
};

// The three checks of an FLM file in their order: size of at least one record (a missing
// file fails it), the signature, and N = (size - 16) / 96 rounded towards zero, so up to
// 95 trailing bytes pass; more than kFileListCapacity records are refused, as an FLC file
// of more is (a sparse file of millions of empty records would otherwise pass). Only the
// header is read. Throws SsfError when an existing file
// cannot be read.
FlmCheckResult CheckFLM(const std::filesystem::path& file);
FlmCheckResult CheckFLMBytes(ByteSpan data);

// The counter label text after an FLM open.
std::string FlmCounterText(const FlmCheckResult& result);

// The FLC text of an FLM file: the banner, then a Path and a Name line per record. The
// records are counted from the size, not from the header.
std::string BuildFLC(ByteSpan flm, const FileListProgress& progress = {});
// Reads the FLM file again and writes the FLC file atomically. Throws SsfError on I/O and
// when the file no longer passes CheckFLM.
void WriteFLCFromFLM(const std::filesystem::path& flm, const std::filesystem::path& flc,
                     const FileListProgress& progress = {});

}  // namespace ssf
