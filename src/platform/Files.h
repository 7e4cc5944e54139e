#pragma once
// The system's side of files: opening regular files only, the no-link walk below a package
// folder, atomic saves, locks and stamps. Each system has its own implementation file
// (FilesPosix.cpp, FilesWindows.cpp); base/FileIO.h builds whole-file reads on these.
// Saves are atomic: the bytes go into a temporary file in the target's folder (unnamed where
// the system has those, else a sibling ".<name>.<hex>.tmp" that the next save removes), are
// flushed and then replace the target, so a failure never leaves a half-written file and the
// previous file stays as it was.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace ssf {

// The system's handle of an open file or folder: a descriptor on POSIX systems, a HANDLE on
// Windows.
using NativeHandle = intptr_t;
inline constexpr NativeHandle kNoHandle = -1;

// A file or folder open for reading, closed when the handle goes.
class ReadHandle {
 public:
  explicit ReadHandle(NativeHandle handle = kNoHandle) : h_(handle) {}
  ReadHandle(ReadHandle&& other) noexcept : h_(other.h_) { other.h_ = kNoHandle; }
  ReadHandle& operator=(ReadHandle&& other) noexcept;
  ReadHandle(const ReadHandle&) = delete;
  ReadHandle& operator=(const ReadHandle&) = delete;
  ~ReadHandle();
  NativeHandle native() const { return h_; }
  bool IsOpen() const { return h_ != kNoHandle; }
  // Size in bytes; -1 when the system does not tell it.
  int64_t Size() const;

 private:
  NativeHandle h_;
};

// Opens a file for reading and refuses, before a byte is read, anything but a regular file
// (folder, FIFO, device, socket): files come from strangers, and a FIFO would block the
// program forever. A FIFO does not block the open itself. Throws SsfError
// ("Не удалось прочитать файл: <path> (<reason>)").
ReadHandle OpenRegularFile(const std::filesystem::path& path);

// Reads up to `count` bytes into `out`; fewer only at the end of the file. `path` names the
// file in messages (SsfError "Не удалось прочитать файл: ...").
size_t ReadUpTo(ReadHandle& file, uint8_t* out, size_t count, const std::filesystem::path& path);

// Throws SsfError("Не удалось записать файл: <path> (<reason>)") on any failure.
void WriteFileAtomic(const std::filesystem::path& path, std::span<const uint8_t> bytes);

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
  // Opens `relative` as OpenRegularFile does, refusing a link on the way or at the end.
  ReadHandle OpenRegular(const std::filesystem::path& relative) const;
  // WriteFileAtomic below the folder, making the missing folders; MakeFolders makes them
  // alone; CheckNoLink throws as the write would when a part of the way that exists is a
  // link, and writes nothing (a writer of many files refuses before the first is written).
  void WriteAtomic(const std::filesystem::path& relative, std::span<const uint8_t> bytes) const;
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

// Whether files can be made in the existing folder `folder` by this user.
bool CanCreateFilesIn(const std::filesystem::path& folder);

// Makes a FIFO (a named pipe in the file system) at `path`, for the tests and fuzzing of the
// refusal of special files; false when none was made, always on Windows, whose named pipes
// live in a name space of their own.
bool MakeFifo(const std::filesystem::path& path);

}  // namespace ssf
