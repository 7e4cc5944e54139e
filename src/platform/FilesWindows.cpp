// Files on Windows. Paths reach the API as UTF-16 (path::c_str()); texts for the user are
// UTF-8. A folder of a package walk is held open without FILE_SHARE_DELETE while the walk
// lasts, so it cannot be renamed or replaced by a link meanwhile; reparse points (symbolic
// links, junctions) are opened as themselves and refused.
#include <windows.h>

#include <algorithm>
#include <random>
#include <thread>
#include <vector>

#include "platform/Files.h"
#include "platform/PathText.h"
#include "platform/SsfError.h"
#include "platform/SystemErrorText.h"

namespace ssf {

namespace fs = std::filesystem;

namespace {

HANDLE H(const ReadHandle& handle) { return reinterpret_cast<HANDLE>(handle.native()); }
ReadHandle Own(HANDLE handle) { return ReadHandle(reinterpret_cast<NativeHandle>(handle)); }

std::string LastErrorText() { return SystemCodeText(static_cast<int>(::GetLastError())); }

[[noreturn]] void ReadFailed(const fs::path& path, const std::string& reason) {
  throw SsfError("Не удалось прочитать файл: " + Utf8FromPath(path) + (reason.empty() ? "" : " (" + reason + ")"));
}

[[noreturn]] void WriteRefused(const fs::path& path, const std::string& reason) {
  throw SsfError("Не удалось записать файл: " + Utf8FromPath(path) + " (" + reason + ")");
}

bool NotFound(DWORD err) { return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND; }

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// What an open handle is: the reason to refuse it as a file to read, or empty for a
// regular file.
std::string NotRegularReason(HANDLE h) {
  const DWORD type = ::GetFileType(h);
  if (type == FILE_TYPE_PIPE) return "это канал, а не обычный файл";
  if (type == FILE_TYPE_CHAR) return "это устройство, а не обычный файл";
  if (type != FILE_TYPE_DISK) return "это не обычный файл";
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(h, &info)) return LastErrorText();
  if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return "это символическая ссылка";
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return "это папка";
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) return "это устройство, а не обычный файл";
  return {};
}

// Opens for reading; `no_link` opens a reparse point as itself (and then refuses it).
ReadHandle OpenForReading(const fs::path& path, const fs::path& shown, bool no_link) {
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (no_link ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD err = ::GetLastError();
    ReadFailed(shown, NotFound(err) ? "файл не найден" : SystemCodeText(static_cast<int>(err)));
  }
  ReadHandle file = Own(h);
  if (std::string reason = NotRegularReason(h); !reason.empty()) ReadFailed(shown, reason);
  return file;
}

}  // namespace

ReadHandle& ReadHandle::operator=(ReadHandle&& other) noexcept {
  if (this != &other) {
    if (h_ != kNoHandle) ::CloseHandle(reinterpret_cast<HANDLE>(h_));
    h_ = other.h_;
    other.h_ = kNoHandle;
  }
  return *this;
}

ReadHandle::~ReadHandle() {
  if (h_ != kNoHandle) ::CloseHandle(reinterpret_cast<HANDLE>(h_));
}

int64_t ReadHandle::Size() const {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(reinterpret_cast<HANDLE>(h_), &size)) return -1;
  return static_cast<int64_t>(size.QuadPart);
}

ReadHandle OpenRegularFile(const fs::path& path) { return OpenForReading(path, path, false); }

size_t ReadUpTo(ReadHandle& file, uint8_t* out, size_t count, const fs::path& path) {
  size_t done = 0;
  while (done < count) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(H(file), out + done, want, &got, nullptr)) {
      if (::GetLastError() == ERROR_HANDLE_EOF) break;
      ReadFailed(path, LastErrorText());
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

namespace {

[[noreturn]] void WriteFailed(const fs::path& path, DWORD err) {
  WriteRefused(path, SystemCodeText(static_cast<int>(err)));
}

std::string RandomSuffix() {
  static thread_local std::mt19937_64 rng{std::random_device{}()};
  static const char digits[] = "0123456789abcdef";
  std::string s;
  for (int i = 0; i < 8; ++i) s += digits[rng() % 16];
  return s;
}

// Temporary names are "." + target name + "." + 8 hex digits + ".tmp", as on other systems,
// so a save killed half way leaves a name the next save of the same target removes.
bool IsTempNameOf(const std::wstring& entry, const std::wstring& target) {
  const std::wstring prefix = L"." + target + L".";
  if (entry.size() != prefix.size() + 8 + 4 || entry.compare(0, prefix.size(), prefix) != 0) return false;
  if (entry.compare(entry.size() - 4, 4, L".tmp") != 0) return false;
  return std::all_of(entry.begin() + static_cast<ptrdiff_t>(prefix.size()), entry.end() - 4,
                     [](wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); });
}

void RemoveStaleTemps(const fs::path& folder, const std::wstring& target) {
  std::error_code ec;
  std::vector<fs::path> stale;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (IsTempNameOf(it->path().filename().wstring(), target) && it->is_regular_file(ec) && !it->is_symlink(ec)) {
      stale.push_back(it->path());
    }
  }
  for (const fs::path& p : stale) ::DeleteFileW(p.c_str());
}

// Replaces `target` in `folder` by the bytes: a temporary file beside it is written, flushed
// to the disk and put in the target's place. ReplaceFileW keeps the replaced file's
// attributes and permissions; a new target is moved in with write-through.
void WriteAtomicIn(const fs::path& folder, const fs::path& name, const fs::path& shown,
                   std::span<const uint8_t> bytes) {
  const fs::path target = folder / name;
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) WriteRefused(shown, "это не обычный файл");
  RemoveStaleTemps(folder, name.wstring());

  const fs::path tmp = folder / (L"." + name.wstring() + L"." + PathFromUtf8(RandomSuffix()).wstring() + L".tmp");
  HANDLE h = ::CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) WriteFailed(shown, ::GetLastError());
  auto fail = [&](DWORD err) {
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    ::DeleteFileW(tmp.c_str());
    WriteFailed(shown, err);
  };
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD put = 0;
    if (!::WriteFile(h, bytes.data() + done, want, &put, nullptr)) fail(::GetLastError());
    done += put;
  }
  if (!::FlushFileBuffers(h)) fail(::GetLastError());
  ::CloseHandle(h);
  h = INVALID_HANDLE_VALUE;

  if (exists && ::ReplaceFileW(target.c_str(), tmp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                               nullptr)) {
    return;
  }
  // No file to replace, or one ReplaceFileW cannot take (another volume's semantics, a file
  // system without its support): a move over it, flushed before it returns.
  if (!::MoveFileExW(tmp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    fail(::GetLastError());
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
  WriteAtomicIn(folder, path.filename(), requested, bytes);
}

namespace {

enum class Side { kRead, kWrite };

[[noreturn]] void Refused(Side side, const fs::path& path, const std::string& reason) {
  if (side == Side::kRead) ReadFailed(path, reason);
  WriteRefused(path, reason);
}

// The names below the folder in `relative`; "..", a drive, a root, an empty path or a name
// with ':' (an alternate data stream of a file on the way) is refused.
std::vector<fs::path> PartsBeneath(const fs::path& shown, const fs::path& relative, Side side) {
  std::vector<fs::path> parts;
  if (!relative.has_root_name() && !relative.has_root_directory()) {
    for (const fs::path& part : relative) {
      const std::wstring name = part.wstring();
      if (name.empty() || name == L".") continue;
      if (name == L".." || name.find(L':') != std::wstring::npos) Refused(side, shown, "путь вне папки");
      parts.push_back(part);
    }
  }
  if (parts.empty()) Refused(side, shown, "путь вне папки");
  return parts;
}

// Opens a folder as itself (never through a reparse point) and holds it: without
// FILE_SHARE_DELETE nobody can rename it or put a link in its place while it is held.
HANDLE OpenFolderHeld(const fs::path& path) {
  return ::CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// Why a held handle is not a folder to walk through, or empty.
std::string NotFolderReason(HANDLE h) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(h, &info)) return LastErrorText();
  if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return "это символическая ссылка";
  if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return "это не папка";
  return {};
}

// The folders of a walk, held until it ends.
struct HeldFolders {
  std::vector<ReadHandle> held;
  fs::path path;  // the last folder reached
  bool complete = true;
};

// Walks parts[0 .. count) below `root`, holding each folder, making the missing ones when
// `create`. A missing folder ends the walk incomplete when `missing_ok`, else it is refused.
HeldFolders WalkFolders(const fs::path& root, const std::vector<fs::path>& parts, size_t count, bool create,
                        bool missing_ok, Side side) {
  HeldFolders walk;
  walk.path = root;
  for (size_t i = 0; i < count; ++i) {
    walk.path /= parts[i];
    if (create && !::CreateDirectoryW(walk.path.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
      Refused(side, walk.path, LastErrorText());
    }
    HANDLE h = OpenFolderHeld(walk.path);
    if (h == INVALID_HANDLE_VALUE) {
      const DWORD err = ::GetLastError();
      if (NotFound(err) && missing_ok && !create) {
        walk.complete = false;
        return walk;
      }
      Refused(side, walk.path, NotFound(err) ? "папка не найдена" : SystemCodeText(static_cast<int>(err)));
    }
    walk.held.push_back(Own(h));
    if (std::string reason = NotFolderReason(h); !reason.empty()) Refused(side, walk.path, reason);
  }
  return walk;
}

FolderHandle::Entry EntryOf(const fs::path& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return FolderHandle::Entry::kMissing;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return FolderHandle::Entry::kLink;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FolderHandle::Entry::kFolder;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return FolderHandle::Entry::kOther;
  return FolderHandle::Entry::kFile;
}

}  // namespace

FolderHandle FolderHandle::Open(const fs::path& requested) {
  const fs::path path = requested.empty() ? fs::path(".") : requested;
  HANDLE h = OpenFolderHeld(path);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD err = ::GetLastError();
    throw SsfError("Не удалось открыть папку: " + Utf8FromPath(path) + " (" +
                   (NotFound(err) ? std::string("папка не найдена") : SystemCodeText(static_cast<int>(err))) + ")");
  }
  ReadHandle dir = Own(h);
  if (std::string reason = NotFolderReason(h); !reason.empty()) {
    throw SsfError("Не удалось открыть папку: " + Utf8FromPath(path) + " (" + reason + ")");
  }
  return FolderHandle(std::move(dir), path);
}

FolderHandle::Entry FolderHandle::Kind(const fs::path& relative) const {
  const std::vector<fs::path> parts = PartsBeneath(path_ / relative, relative, Side::kRead);
  HeldFolders walk;
  try {
    walk = WalkFolders(path_, parts, parts.size() - 1, false, true, Side::kRead);
  } catch (const SsfError&) {
    return Entry::kLink;  // a link or a file where a folder goes: nothing is read through it
  }
  if (!walk.complete) return Entry::kMissing;
  return EntryOf(walk.path / parts.back());
}

ReadHandle FolderHandle::OpenRegular(const fs::path& relative) const {
  const fs::path shown = path_ / relative;
  const std::vector<fs::path> parts = PartsBeneath(shown, relative, Side::kRead);
  HeldFolders walk = WalkFolders(path_, parts, parts.size() - 1, false, false, Side::kRead);
  return OpenForReading(walk.path / parts.back(), shown, true);
}

void FolderHandle::CheckNoLink(const fs::path& relative) const {
  const std::vector<fs::path> parts = PartsBeneath(path_ / relative, relative, Side::kWrite);
  HeldFolders walk = WalkFolders(path_, parts, parts.size() - 1, false, true, Side::kWrite);
  if (!walk.complete) return;  // a folder on the way is missing: the write makes it
  if (EntryOf(walk.path / parts.back()) == Entry::kLink) WriteRefused(path_ / relative, "это символическая ссылка");
}

void FolderHandle::MakeFolders(const fs::path& relative) const {
  const std::vector<fs::path> parts = PartsBeneath(path_ / relative, relative, Side::kWrite);
  WalkFolders(path_, parts, parts.size(), true, false, Side::kWrite);
}

void FolderHandle::WriteAtomic(const fs::path& relative, std::span<const uint8_t> bytes) const {
  const fs::path shown = path_ / relative;
  const std::vector<fs::path> parts = PartsBeneath(shown, relative, Side::kWrite);
  HeldFolders walk = WalkFolders(path_, parts, parts.size() - 1, true, false, Side::kWrite);
  const Entry entry = EntryOf(walk.path / parts.back());
  if (entry == Entry::kLink) WriteRefused(shown, "это символическая ссылка");
  if (entry != Entry::kMissing && entry != Entry::kFile) WriteRefused(shown, "это не обычный файл");
  WriteAtomicIn(walk.path, parts.back(), shown, bytes);
}

namespace {

FileStamp StampFromInfo(const BY_HANDLE_FILE_INFORMATION& info) {
  FileStamp s;
  s.device = info.dwVolumeSerialNumber;
  s.inode = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  s.size = static_cast<int64_t>((static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
  const uint64_t ticks =
      (static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
  s.modified_ns = static_cast<int64_t>(ticks) * 100;
  return s;
}

}  // namespace

FileStamp StampOf(const ReadHandle& file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(H(file), &info)) return FileStamp{};
  return StampFromInfo(info);
}

std::optional<FileStamp> StampOf(const fs::path& path) {
  HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  ReadHandle file = Own(h);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(h, &info)) return std::nullopt;
  return StampFromInfo(info);
}

// Windows locks are mandatory for the bytes they cover, even against the holder's other
// handles; the lock is therefore taken on one byte far beyond any theme file, which readers
// never touch, while every saver asks for that same byte.
FileLock LockFileForUpdate(const fs::path& path, std::chrono::milliseconds wait) {
  const auto until = std::chrono::steady_clock::now() + wait;
  for (;;) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return FileLock();
    ReadHandle file = Own(h);
    if (!NotRegularReason(h).empty()) return FileLock();
    for (;;) {
      OVERLAPPED at{};
      at.Offset = 0xFFFFFFFEu;
      at.OffsetHigh = 0x7FFFFFFFu;
      if (::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) break;
      if (::GetLastError() != ERROR_LOCK_VIOLATION && ::GetLastError() != ERROR_IO_PENDING) {
        return FileLock();  // no locks here: nothing to wait for
      }
      if (std::chrono::steady_clock::now() >= until) {
        throw SsfError("Файл занят другой программой: " + Utf8FromPath(path) +
                       " (её изменения ещё не сохранены; повторите позже)");
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // The holder may have saved meanwhile: then the path names a new file, and that is the
    // one to lock and read.
    std::optional<FileStamp> now = StampOf(path);
    const FileStamp locked = StampOf(file);
    if (now && now->device == locked.device && now->inode == locked.inode) return FileLock(std::move(file));
    if (!now) return FileLock();
  }
}

bool CanCreateFilesIn(const fs::path& folder) {
  const fs::path probe = folder / PathFromUtf8(".write-probe-" + RandomSuffix() + ".tmp");
  HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(h);
  return true;
}

bool MakeFifo(const fs::path&) { return false; }

}  // namespace ssf
