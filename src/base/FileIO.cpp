#include "base/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>

#include "base/SsfError.h"
#include "base/SystemErrorText.h"

namespace ssf {

namespace fs = std::filesystem;

Bytes ReadWholeFile(const fs::path& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) throw SsfError("Не удалось прочитать файл: " + path.string() + " (это папка)");
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    int err = errno;
    throw SsfError("Не удалось прочитать файл: " + path.string() + (err != 0 ? " (" + SystemErrorText(err) + ")" : ""));
  }
  Bytes data;
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0) throw SsfError("Не удалось прочитать файл: " + path.string());
  in.seekg(0, std::ios::beg);
  data.resize(static_cast<size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(data.data()), size)) {
    throw SsfError("Не удалось прочитать файл: " + path.string());
  }
  return data;
}

namespace {

[[noreturn]] void WriteFailed(const fs::path& path, int err) {
  throw SsfError("Не удалось записать файл: " + path.string() + " (" + SystemErrorText(err) + ")");
}

std::string RandomSuffix() {
  static thread_local std::mt19937_64 rng{std::random_device{}()};
  static const char digits[] = "0123456789abcdef";
  std::string s;
  for (int i = 0; i < 8; ++i) s += digits[rng() % 16];
  return s;
}

}  // namespace

void WriteFileAtomic(const fs::path& requested, ByteSpan bytes) {
  // A link is kept as a link: the file it points to is replaced.
  std::error_code ec;
  fs::path path = requested;
  if (fs::is_symlink(fs::symlink_status(requested, ec))) {
    fs::path target = fs::weakly_canonical(requested, ec);
    if (!ec) path = target;
  }
  // Only regular files are replaced; renaming over a device or a folder would destroy it.
  auto status = fs::status(path, ec);
  mode_t mode = 0644;
  if (!ec && fs::exists(status)) {
    if (!fs::is_regular_file(status)) {
      throw SsfError("Не удалось записать файл: " + requested.string() + " (это не обычный файл)");
    }
    mode = static_cast<mode_t>(status.permissions() & fs::perms::mask);
  }
  fs::path dir = path.parent_path();
  if (dir.empty()) dir = ".";
  fs::path tmp = dir / ("." + path.filename().string() + "." + RandomSuffix() + ".tmp");
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) WriteFailed(requested, errno);
  // The replacement keeps the permissions of the file it replaces.
  (void)::fchmod(fd, mode);
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      ::unlink(tmp.c_str());
      WriteFailed(requested, err);
    }
    done += static_cast<size_t>(n);
  }
  int err = ::fsync(fd) != 0 ? errno : 0;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err != 0) {
    ::unlink(tmp.c_str());
    WriteFailed(requested, err);
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(tmp.c_str());
    WriteFailed(requested, err);
  }
}

void WriteFileAtomic(const fs::path& path, const std::string& text) {
  WriteFileAtomic(path, ByteSpan(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
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
  std::string name = path.filename().string();
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return path.parent_path() / (name + ext);
}

}  // namespace ssf
