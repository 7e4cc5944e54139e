#include "base/FileIO.h"

#include <algorithm>
#include <string>

#include "base/MemoryShortage.h"
#include "platform/PathText.h"
#include "platform/SsfError.h"

namespace ssf {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void TooLarge(const fs::path& path, int64_t size, int64_t max_size) {
  throw SsfError("Не удалось прочитать файл: " + Utf8FromPath(path) + " (" +
                 (size >= 0 ? "файл длиной " + std::to_string(size) + " байт" : std::string("файл")) +
                 " больше предела " + std::to_string(max_size) + " байт)");
}

Bytes ReadAll(ReadHandle& file, const fs::path& path, int64_t max_size) {
  // A size the system does not tell (some special files) is read in steps below.
  const int64_t size = std::max<int64_t>(file.Size(), 0);
  if (size > max_size) TooLarge(path, size, max_size);
  Bytes data(static_cast<size_t>(size));
  size_t done = ReadUpTo(file, data.data(), data.size(), path);
  data.resize(done);
  if (done < static_cast<size_t>(size)) return data;
  // The file may have grown since its size was taken: read on in steps, within the limit.
  uint8_t chunk[65536];
  for (;;) {
    size_t n = ReadUpTo(file, chunk, sizeof chunk, path);
    if (n == 0) break;
    if (static_cast<int64_t>(data.size() + n) > max_size) TooLarge(path, -1, max_size);
    data.insert(data.end(), chunk, chunk + n);
  }
  return data;
}

}  // namespace

Bytes ReadWholeFile(ReadHandle& file, const fs::path& path, int64_t max_size) {
  return ReadingFile(path, [&] { return ReadAll(file, path, max_size); });
}

Bytes ReadWholeFile(const fs::path& path, int64_t max_size) {
  ReadHandle file = OpenRegularFile(path);
  return ReadWholeFile(file, path, max_size);
}

ScratchBuffer ReadWholeFileScratch(const fs::path& path, int64_t max_size) {
  return ReadingFile(path, [&] {
    ReadHandle file = OpenRegularFile(path);
    const int64_t size = std::max<int64_t>(file.Size(), 0);
    if (size > max_size) TooLarge(path, size, max_size);
    ScratchBuffer data(static_cast<size_t>(size));
    const size_t done = ReadUpTo(file, data.data(), data.size(), path);
    data.Shrink(done);
    if (done < static_cast<size_t>(size)) return data;
    // Grown since its size was taken (or a size the system does not tell): read on in steps,
    // within the limit, then all of it in one buffer.
    Bytes rest;
    uint8_t chunk[65536];
    for (;;) {
      const size_t n = ReadUpTo(file, chunk, sizeof chunk, path);
      if (n == 0) break;
      if (static_cast<int64_t>(done + rest.size() + n) > max_size) TooLarge(path, -1, max_size);
      rest.insert(rest.end(), chunk, chunk + n);
    }
    if (rest.empty()) return data;
    ScratchBuffer whole(done + rest.size());
    std::copy(data.data(), data.data() + done, whole.data());
    std::copy(rest.begin(), rest.end(), whole.data() + done);
    return whole;
  });
}

Bytes ReadFileHead(const fs::path& path, size_t count) {
  ReadHandle file = OpenRegularFile(path);
  Bytes head(count);
  head.resize(ReadUpTo(file, head.data(), count, path));
  return head;
}

void WriteFileAtomic(const fs::path& path, const std::string& text) {
  WriteFileAtomic(path, ByteSpan(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

ReadHandle OpenRegularFileBeneath(const fs::path& root, const fs::path& relative) {
  return FolderHandle::Open(root).OpenRegular(relative);
}

void CheckNoLinkBeneath(const fs::path& root, const fs::path& relative) {
  FolderHandle::Open(root).CheckNoLink(relative);
}

void MakeFoldersBeneath(const fs::path& root, const fs::path& relative) { FolderHandle::Open(root).MakeFolders(relative); }

void WriteFileAtomicBeneath(const fs::path& root, const fs::path& relative, ByteSpan bytes) {
  FolderHandle::Open(root).WriteAtomic(relative, bytes);
}

int32_t GetFileSize(const fs::path& path) {
  std::error_code ec;
  auto status = fs::status(path, ec);
  if (ec || !fs::exists(status)) return -1;
  if (fs::is_directory(status)) return 0;
  auto size = fs::file_size(path, ec);
  if (ec) return -1;
  return static_cast<int32_t>(static_cast<uint32_t>(size));
}

// What follows the last dot of the name is replaced, so ".txt" becomes ".res" (the
// library's rule would see a hidden file there and add ".res").
fs::path ForceExtension(const fs::path& path, const std::string& ext) {
  std::string name = Utf8FromPath(path.filename());
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return path.parent_path() / PathFromUtf8(name + ext);
}

}  // namespace ssf
