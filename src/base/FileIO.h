#pragma once
// Whole-file reads and writes. Reads take regular files only, within a size limit. Writes
// are atomic: an unnamed temporary file (or, where the file system has none, a sibling
// ".<name>.<hex>.tmp" that the next save removes) is written, flushed and renamed over the
// target, so a failure never leaves a half-written file and the previous file stays as it was.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "base/ByteIO.h"
#include "base/Limits.h"

namespace ssf {

// A descriptor open for reading, closed when the handle goes.
class ReadHandle {
 public:
  explicit ReadHandle(int fd = -1) : fd_(fd) {}
  ReadHandle(ReadHandle&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  ReadHandle& operator=(ReadHandle&& other) noexcept;
  ReadHandle(const ReadHandle&) = delete;
  ReadHandle& operator=(const ReadHandle&) = delete;
  ~ReadHandle();
  int fd() const { return fd_; }
  // Size in bytes, from fstat.
  int64_t Size() const;

 private:
  int fd_;
};

// Opens a file for reading and refuses, before a byte is read, anything but a regular file
// (folder, FIFO, device, socket): files come from strangers, and a FIFO would block the
// program forever. A FIFO does not block the open itself. Throws SsfError
// ("Не удалось прочитать файл: <path> (<reason>)").
ReadHandle OpenRegularFile(const std::filesystem::path& path);

// Opens `relative` below the folder `root` as OpenRegularFile does, and refuses a symbolic
// link on any component below `root` (and any ".." or absolute part), so a package of
// files from a stranger cannot name a file outside itself. Messages name root / relative.
ReadHandle OpenRegularFileBeneath(const std::filesystem::path& root, const std::filesystem::path& relative);

// The whole file; refused before allocating when it is larger than `max_size`.
// Throws SsfError("Не удалось прочитать файл: <path>...") when the file cannot be read.
Bytes ReadWholeFile(const std::filesystem::path& path, int64_t max_size = kMaxReadFileSize);
// The same for a file already opened; `path` names it in messages.
Bytes ReadWholeFile(ReadHandle& file, const std::filesystem::path& path, int64_t max_size = kMaxReadFileSize);

// The first `count` bytes of a regular file, or fewer when the file is shorter.
Bytes ReadFileHead(const std::filesystem::path& path, size_t count);

// Throws SsfError("Не удалось записать файл: <path> (<reason>)") on any failure.
void WriteFileAtomic(const std::filesystem::path& path, ByteSpan bytes);
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

// A folder opened once, for a package of files from a stranger: every file below it is read
// and written relative to that descriptor, so a folder swapped for a link after it was
// opened receives nothing, and no link below it is followed (a link on the way, or where a
// file goes, is refused with its name). Messages name Path() / relative.
class FolderHandle {
 public:
  // Opens the folder; a link standing at `path` itself is refused as a link anywhere below it.
  // Throws SsfError naming the folder.
  static FolderHandle Open(const std::filesystem::path& path);

  const std::filesystem::path& Path() const { return path_; }

  // What stands at `relative`, links not followed; kMissing also when a folder on the way
  // is missing, kLink when one on the way is a link.
  enum class Entry { kMissing, kFile, kFolder, kLink, kOther };
  Entry Kind(const std::filesystem::path& relative) const;
  // As OpenRegularFileBeneath.
  ReadHandle OpenRegular(const std::filesystem::path& relative) const;
  // As WriteFileAtomicBeneath, MakeFoldersBeneath and CheckNoLinkBeneath.
  void WriteAtomic(const std::filesystem::path& relative, ByteSpan bytes) const;
  void MakeFolders(const std::filesystem::path& relative) const;
  void CheckNoLink(const std::filesystem::path& relative) const;

 private:
  FolderHandle(ReadHandle dir, std::filesystem::path path) : dir_(std::move(dir)), path_(std::move(path)) {}
  ReadHandle dir_;
  std::filesystem::path path_;
};

// What tells one version of a file from another: a save replaces the file (another inode),
// an edit in place changes its size or time.
struct FileStamp {
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = 0;
  int64_t modified_ns = 0;
  bool operator==(const FileStamp&) const = default;
};
// The stamp of an open file.
FileStamp StampOf(const ReadHandle& file);
// The stamp of what `path` names now (links followed, as a save follows them); nothing when
// no file is there.
std::optional<FileStamp> StampOf(const std::filesystem::path& path);

// An advisory lock (flock) on a file that is read, changed and saved in place, held until the
// object goes. Every saver of the program takes it, so two of them never both read the old
// file and the later save loses the other's change. The atomic save puts a new file at the
// path; a waiter that then gets the lock of the old one notices and locks the new one.
class FileLock {
 public:
  FileLock() = default;
  explicit FileLock(ReadHandle file) : file_(std::move(file)) {}

 private:
  ReadHandle file_;
};
// Waits up to `wait` for another holder; throws SsfError("Файл занят другой программой:
// <path> ...") after that. Nothing to lock (no file there yet, or no regular file) gives a
// lock that holds nothing: the read that follows reports such a file.
FileLock LockFileForUpdate(const std::filesystem::path& path,
                           std::chrono::milliseconds wait = std::chrono::seconds(30));

// Size of the file in bytes (low 32 bits), 0 for a folder, -1 when nothing is there.
int32_t GetFileSize(const std::filesystem::path& path);

// Replaces the extension of a path by `ext` (with its dot), or adds it.
std::filesystem::path ForceExtension(const std::filesystem::path& path, const std::string& ext);

}  // namespace ssf
