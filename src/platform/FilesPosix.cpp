#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <algorithm>
#include <random>
#include <vector>

#include "platform/SsfError.h"
#include "platform/SystemErrorText.h"

namespace ssf {

namespace fs = std::filesystem;

namespace {

int Fd(const ReadHandle& handle) { return static_cast<int>(handle.native()); }

}  // namespace

namespace {

[[noreturn]] void ReadFailed(const fs::path& path, const std::string& reason) {
  throw SsfError("Не удалось прочитать файл: " + path.string() + (reason.empty() ? "" : " (" + reason + ")"));
}

std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "это папка";
  if (S_ISLNK(mode)) return "это символическая ссылка";
  if (S_ISFIFO(mode)) return "это канал, а не обычный файл";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "это устройство, а не обычный файл";
  return "это не обычный файл";
}

// Checks the freshly opened descriptor and puts it back into blocking mode.
ReadHandle CheckRegular(int fd, const fs::path& path) {
  ReadHandle handle(fd);
  struct stat st {};
  if (::fstat(fd, &st) != 0) ReadFailed(path, SystemErrorText(errno));
  if (!S_ISREG(st.st_mode)) ReadFailed(path, KindOf(st.st_mode));
  int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) ReadFailed(path, SystemErrorText(errno));
  return handle;
}

}  // namespace

ReadHandle& ReadHandle::operator=(ReadHandle&& other) noexcept {
  if (this != &other) {
    if (h_ != kNoHandle) ::close(static_cast<int>(h_));
    h_ = other.h_;
    other.h_ = kNoHandle;
  }
  return *this;
}

ReadHandle::~ReadHandle() {
  if (h_ != kNoHandle) ::close(static_cast<int>(h_));
}

int64_t ReadHandle::Size() const {
  struct stat st {};
  if (::fstat(static_cast<int>(h_), &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

ReadHandle OpenRegularFile(const fs::path& path) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) ReadFailed(path, errno == ENOENT ? "файл не найден" : SystemErrorText(errno));
  return CheckRegular(fd, path);
}

size_t ReadUpTo(ReadHandle& file, uint8_t* out, size_t count, const fs::path& path) {
  const int fd = Fd(file);
  size_t done = 0;
  while (done < count) {
    ssize_t n = ::read(fd, out + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ReadFailed(path, SystemErrorText(errno));
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}


namespace {

[[noreturn]] void WriteFailed(const fs::path& path, int err) {
  throw SsfError("Не удалось записать файл: " + path.string() + " (" + SystemErrorText(err) + ")");
}

[[noreturn]] void WriteRefused(const fs::path& path, const std::string& reason) {
  throw SsfError("Не удалось записать файл: " + path.string() + " (" + reason + ")");
}

std::string RandomSuffix() {
  static thread_local std::mt19937_64 rng{std::random_device{}()};
  static const char digits[] = "0123456789abcdef";
  std::string s;
  for (int i = 0; i < 8; ++i) s += digits[rng() % 16];
  return s;
}

// Temporary names are "." + target name + "." + 8 hex digits + ".tmp", so a save killed
// half way leaves a name that the next save of the same target recognises and removes.
bool IsTempNameOf(const std::string& entry, const std::string& target) {
  const std::string prefix = "." + target + ".";
  if (entry.size() != prefix.size() + 8 + 4 || entry.compare(0, prefix.size(), prefix) != 0) return false;
  if (entry.compare(entry.size() - 4, 4, ".tmp") != 0) return false;
  return std::all_of(entry.begin() + static_cast<ptrdiff_t>(prefix.size()), entry.end() - 4,
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

void RemoveStaleTemps(int dir, const std::string& target) {
  int fd = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  DIR* d = ::fdopendir(fd);
  if (d == nullptr) {
    ::close(fd);
    return;
  }
  std::vector<std::string> stale;
  while (dirent* e = ::readdir(d)) {
    if (IsTempNameOf(e->d_name, target)) stale.emplace_back(e->d_name);
  }
  ::closedir(d);
  for (const std::string& name : stale) {
    struct stat st {};
    if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
      ::unlinkat(dir, name.c_str(), 0);
    }
  }
}

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// Replaces `name` in the folder `dir` with the bytes, atomically. The data goes into an
// unnamed file (O_TMPFILE) that only gets a name for the moment before the rename; where
// the file system has no unnamed files, into a named temporary file. `shown` names the
// target in messages. With `no_link`, a link standing at `name` is refused.
void WriteAtomicAt(int dir, const std::string& name, const fs::path& shown, std::span<const uint8_t> bytes, bool no_link) {
  struct stat st {};
  mode_t mode = 0644;
  if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
    if (S_ISLNK(st.st_mode) && no_link) WriteRefused(shown, "это символическая ссылка");
    if (!S_ISLNK(st.st_mode) && !S_ISREG(st.st_mode)) WriteRefused(shown, "это не обычный файл");
    // The replacement keeps the permissions of the file it replaces.
    if (S_ISREG(st.st_mode)) mode = st.st_mode & 07777;
  }
  RemoveStaleTemps(dir, name);

  // The unnamed file is given its name through /proc; without /proc, a named one at once.
  static const bool proc_fds = ::access("/proc/self/fd", X_OK) == 0;
  bool unnamed = proc_fds;
  int fd = proc_fds ? ::openat(dir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600) : -1;
  std::string tmp = "." + name + "." + RandomSuffix() + ".tmp";
  if (fd < 0) {
    unnamed = false;
    fd = ::openat(dir, tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) WriteFailed(shown, errno);
  }
  auto fail = [&](int err) {
    ::close(fd);
    if (!unnamed) ::unlinkat(dir, tmp.c_str(), 0);
    WriteFailed(shown, err);
  };
  (void)::fchmod(fd, mode);
  if (!WriteAll(fd, bytes)) fail(errno);
  if (::fsync(fd) != 0) fail(errno);
  if (unnamed) {
    const std::string proc = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, proc.c_str(), dir, tmp.c_str(), AT_SYMLINK_FOLLOW) != 0) fail(errno);
    unnamed = false;
  }
  if (::close(fd) != 0) {
    int err = errno;
    ::unlinkat(dir, tmp.c_str(), 0);
    WriteFailed(shown, err);
  }
  if (::renameat(dir, tmp.c_str(), dir, name.c_str()) != 0) {
    int err = errno;
    ::unlinkat(dir, tmp.c_str(), 0);
    WriteFailed(shown, err);
  }
}

}  // namespace

void WriteFileAtomic(const fs::path& requested, std::span<const uint8_t> bytes) {
  // A link the user named as the output is kept as a link: the file it points to is replaced.
  std::error_code ec;
  fs::path path = requested;
  if (fs::is_symlink(fs::symlink_status(requested, ec))) {
    fs::path target = fs::weakly_canonical(requested, ec);
    if (!ec) path = target;
  }
  fs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) WriteFailed(requested, errno);
  try {
    WriteAtomicAt(dir, path.filename().string(), requested, bytes, false);
  } catch (...) {
    ::close(dir);
    throw;
  }
  ::close(dir);
}

namespace {

enum class Side { kRead, kWrite };

[[noreturn]] void Refused(Side side, const fs::path& path, const std::string& reason) {
  if (side == Side::kRead) ReadFailed(path, reason);
  WriteRefused(path, reason);
}

[[noreturn]] void Failed(Side side, const fs::path& path, int err) {
  if (side == Side::kRead) ReadFailed(path, SystemErrorText(err));
  WriteFailed(path, err);
}

// The names below the folder in `relative`; "..", an absolute path or an empty one is refused.
std::vector<std::string> PartsBeneath(const fs::path& shown, const fs::path& relative, Side side) {
  std::vector<std::string> parts;
  if (!relative.is_absolute()) {
    for (const fs::path& part : relative) {
      const std::string name = part.string();
      if (name.empty() || name == ".") continue;
      if (name == "..") Refused(side, shown, "путь вне папки");
      parts.push_back(name);
    }
  }
  if (parts.empty()) Refused(side, shown, "путь вне папки");
  return parts;
}

// Opens the folders parts[0 .. count) below the folder `root` without following a link,
// making the missing ones when `create`. A missing folder gives a handle without descriptor
// when `missing_ok`, else it is refused; so is one that vanishes right after it was made.
ReadHandle OpenFoldersAt(int root, const fs::path& root_path, const std::vector<std::string>& parts, size_t count,
                         bool create, bool missing_ok, Side side) {
  ReadHandle dir(::fcntl(root, F_DUPFD_CLOEXEC, 0));
  if (Fd(dir) < 0) Failed(side, root_path, errno);
  fs::path walked = root_path;
  for (size_t i = 0; i < count; ++i) {
    walked /= parts[i];
    const char* name = parts[i].c_str();
    if (create && ::mkdirat(Fd(dir), name, 0777) != 0 && errno != EEXIST) Failed(side, walked, errno);
    int next = ::openat(Fd(dir), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0) {
      int err = errno;
      struct stat st {};
      if (::fstatat(Fd(dir), name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        Refused(side, walked, S_ISLNK(st.st_mode) ? "это символическая ссылка" : "это не папка");
      }
      if (err == ENOENT && missing_ok && !create) return ReadHandle();
      if (err == ENOENT) Refused(side, walked, "папка не найдена");
      Failed(side, walked, err);
    }
    dir = ReadHandle(next);
  }
  return dir;
}

}  // namespace

FolderHandle FolderHandle::Open(const fs::path& requested) {
  const fs::path path = requested.empty() ? fs::path(".") : requested;
  int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    int err = errno;
    struct stat st {};
    std::string reason = err == ENOENT ? "папка не найдена" : SystemErrorText(err);
    if (::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
      reason = S_ISLNK(st.st_mode) ? "это символическая ссылка" : "это не папка";
    }
    throw SsfError("Не удалось открыть папку: " + path.string() + " (" + reason + ")");
  }
  return FolderHandle(ReadHandle(fd), path);
}

FolderHandle::Entry FolderHandle::Kind(const fs::path& relative) const {
  const std::vector<std::string> parts = PartsBeneath(path_ / relative, relative, Side::kRead);
  ReadHandle dir;
  try {
    dir = OpenFoldersAt(Fd(dir_), path_, parts, parts.size() - 1, false, true, Side::kRead);
  } catch (const SsfError&) {
    return Entry::kLink;  // a link or a file where a folder goes: nothing is read through it
  }
  if (Fd(dir) < 0) return Entry::kMissing;
  struct stat st {};
  if (::fstatat(Fd(dir), parts.back().c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return Entry::kMissing;
  if (S_ISLNK(st.st_mode)) return Entry::kLink;
  if (S_ISDIR(st.st_mode)) return Entry::kFolder;
  return S_ISREG(st.st_mode) ? Entry::kFile : Entry::kOther;
}

ReadHandle FolderHandle::OpenRegular(const fs::path& relative) const {
  const fs::path shown = path_ / relative;
  const std::vector<std::string> parts = PartsBeneath(shown, relative, Side::kRead);
  ReadHandle dir = OpenFoldersAt(Fd(dir_), path_, parts, parts.size() - 1, false, false, Side::kRead);
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  int fd = ::openat(Fd(dir), parts.back().c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    int err = errno;
    if (err == ELOOP) ReadFailed(shown, "это символическая ссылка");
    ReadFailed(shown, err == ENOENT ? "файл не найден" : SystemErrorText(err));
  }
  return CheckRegular(fd, shown);
}

void FolderHandle::CheckNoLink(const fs::path& relative) const {
  const std::vector<std::string> parts = PartsBeneath(path_ / relative, relative, Side::kWrite);
  ReadHandle dir = OpenFoldersAt(Fd(dir_), path_, parts, parts.size() - 1, false, true, Side::kWrite);
  if (Fd(dir) < 0) return;  // a folder on the way is missing: the write makes it
  struct stat st {};
  if (::fstatat(Fd(dir), parts.back().c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) {
    WriteRefused(path_ / relative, "это символическая ссылка");
  }
}

void FolderHandle::MakeFolders(const fs::path& relative) const {
  const std::vector<std::string> parts = PartsBeneath(path_ / relative, relative, Side::kWrite);
  OpenFoldersAt(Fd(dir_), path_, parts, parts.size(), true, false, Side::kWrite);
}

void FolderHandle::WriteAtomic(const fs::path& relative, std::span<const uint8_t> bytes) const {
  const std::vector<std::string> parts = PartsBeneath(path_ / relative, relative, Side::kWrite);
  ReadHandle dir = OpenFoldersAt(Fd(dir_), path_, parts, parts.size() - 1, true, false, Side::kWrite);
  WriteAtomicAt(Fd(dir), parts.back(), path_ / relative, bytes, true);
}

namespace {

FileStamp StampFromStat(const struct stat& st) {
  FileStamp s;
  s.device = static_cast<uint64_t>(st.st_dev);
  s.inode = static_cast<uint64_t>(st.st_ino);
  s.size = static_cast<int64_t>(st.st_size);
  s.modified_ns = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return s;
}

}  // namespace

FileStamp StampOf(const ReadHandle& file) {
  struct stat st {};
  if (::fstat(Fd(file), &st) != 0) return FileStamp{};
  return StampFromStat(st);
}

std::optional<FileStamp> StampOf(const fs::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return StampFromStat(st);
}

FileLock LockFileForUpdate(const fs::path& path, std::chrono::milliseconds wait) {
  const auto until = std::chrono::steady_clock::now() + wait;
  for (;;) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return FileLock();
    ReadHandle file(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return FileLock();
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK && errno != EINTR) return FileLock();  // no locks here: nothing to wait for
      if (std::chrono::steady_clock::now() >= until) {
        throw SsfError("Файл занят другой программой: " + path.string() +
                       " (её изменения ещё не сохранены; повторите позже)");
      }
      ::usleep(20000);
    }
    // The holder may have saved meanwhile: then the path names a new file, and that is the
    // one to lock and read.
    std::optional<FileStamp> now = StampOf(path);
    const FileStamp locked = StampOf(file);
    if (now && now->device == locked.device && now->inode == locked.inode) return FileLock(std::move(file));
    if (!now) return FileLock();
  }
}

bool CanCreateFilesIn(const fs::path& folder) { return ::access(folder.c_str(), W_OK | X_OK) == 0; }

bool MakeFifo(const fs::path& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

}  // namespace ssf
