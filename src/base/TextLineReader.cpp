#include "base/TextLineReader.h"

#include <algorithm>
#include <cstring>

#include "base/SsfError.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

constexpr size_t kBufferSize = 64 * 1024;

[[noreturn]] void ReadFailed(const std::filesystem::path& path, const std::string& reason) {
  throw SsfError("Не удалось прочитать файл: " + Utf8FromPath(path) + " (" + reason + ")");
}

}  // namespace

TextLineReader::TextLineReader(const std::filesystem::path& path, int64_t max_size, size_t max_line)
    : path_(path), file_(OpenRegularFile(path)), max_size_(max_size), max_line_(max_line),
      buffer_(std::max(kBufferSize, max_line + 2)) {
  const int64_t size = file_.Size();
  if (size > max_size_) {
    ReadFailed(path_, "файл длиной " + std::to_string(size) + " байт больше предела " + std::to_string(max_size_) +
                          " байт");
  }
}

bool TextLineReader::Fill() {
  if (eof_) return false;
  if (pos_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  const size_t n = ReadUpTo(file_, reinterpret_cast<uint8_t*>(buffer_.data()) + end_, buffer_.size() - end_, path_);
  if (n == 0) {
    eof_ = true;
    return false;
  }
  total_ += static_cast<int64_t>(n);
  // The file may have grown since it was opened.
  if (total_ > max_size_) ReadFailed(path_, "файл больше предела " + std::to_string(max_size_) + " байт");
  end_ += n;
  return true;
}

bool TextLineReader::Next(std::string& line) {
  size_t from = 0;  // bytes after pos_ already searched for a line end
  for (;;) {
    const char* base = buffer_.data();
    const void* lf = std::memchr(base + pos_ + from, '\n', end_ - pos_ - from);
    size_t cut = 0;
    if (lf != nullptr) {
      cut = static_cast<size_t>(static_cast<const char*>(lf) - base);
      const size_t next = cut + 1;
      if (cut > pos_ && base[cut - 1] == '\r') --cut;
      ++line_number_;
      if (cut - pos_ > max_line_) break;
      line.assign(base + pos_, cut - pos_);
      pos_ = next;
      return true;
    }
    from = end_ - pos_;
    // A line already over the limit is refused without reading the rest of it.
    if (from > max_line_ + 1) {
      ++line_number_;
      break;
    }
    if (!Fill()) {
      if (end_ == pos_) return false;
      // The last line, without a line end.
      ++line_number_;
      if (end_ - pos_ > max_line_) break;
      line.assign(buffer_.data() + pos_, end_ - pos_);
      pos_ = end_;
      return true;
    }
  }
  ReadFailed(path_, "строка " + std::to_string(line_number_) + " длиннее " + std::to_string(max_line_) + " байт");
}

}  // namespace ssf
