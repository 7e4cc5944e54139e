#include "pictures/FileProbes.h"

#include <cstring>
#include <string>

#include "base/FileIO.h"
#include "base/SsfError.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

// The first `count` bytes of a file, or fewer when the file is shorter.
Bytes ReadHead(const std::filesystem::path& file, size_t count) { return ReadFileHead(file, count); }

bool StartsWith(ByteSpan data, const char* magic, size_t min_size) {
  const size_t n = std::strlen(magic);
  return data.size() >= min_size && data.size() >= n && std::memcmp(data.data(), magic, n) == 0;
}

// The length test uses the file's size; only then are the first bytes read.
bool ProbeFile(const std::filesystem::path& file, const char* magic, size_t min_size) {
  const int32_t size = GetFileSize(file);
  if (size < 0 || static_cast<size_t>(size) < min_size) return false;
  const Bytes head = ReadHead(file, std::strlen(magic));
  return StartsWith(head, magic, 0);
}

uint16_t HeaderField(ByteSpan data, size_t offset, const char* what) {
  CheckRange(data.size(), offset, 2, what);
  return ReadU16LE(data, offset);
}

uint16_t HeaderFieldOfFile(const std::filesystem::path& file, size_t offset, const char* what) {
  const Bytes head = ReadHead(file, offset + 2);
  try {
    return HeaderField(head, offset, what);
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(file));
  }
}

const char kJfif[] = "\xFF\xD8\xFF\xE0";
constexpr size_t kJfifMinSize = 15;
constexpr size_t kAni2MinSize = 10;
constexpr size_t kIfegMinSize = 10;

}  // namespace

bool IsJFIF(const std::filesystem::path& file) { return ProbeFile(file, kJfif, kJfifMinSize); }
bool IsANI2(const std::filesystem::path& file) { return ProbeFile(file, "ANI2", kAni2MinSize); }
bool IsIFEG(const std::filesystem::path& file) { return ProbeFile(file, "IFEG", kIfegMinSize); }

uint16_t GetHeaderWidth(const std::filesystem::path& file) {
  return HeaderFieldOfFile(file, 4, "Ширина в заголовке");
}
uint16_t GetHeaderHeight(const std::filesystem::path& file) {
  return HeaderFieldOfFile(file, 6, "Высота в заголовке");
}

bool IsJFIF(ByteSpan data) { return StartsWith(data, kJfif, kJfifMinSize); }
bool IsANI2(ByteSpan data) { return StartsWith(data, "ANI2", kAni2MinSize); }
bool IsIFEG(ByteSpan data) { return StartsWith(data, "IFEG", kIfegMinSize); }
uint16_t GetHeaderWidth(ByteSpan data) { return HeaderField(data, 4, "Ширина в заголовке"); }
uint16_t GetHeaderHeight(ByteSpan data) { return HeaderField(data, 6, "Высота в заголовке"); }

}  // namespace ssf
