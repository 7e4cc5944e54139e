#pragma once
// Reads a text file line by line through a small buffer, so a file of millions of lines
// costs no more memory than its longest line. Lines longer than a limit are refused with
// the file and line number: no text file of ours has them, and one line of megabytes would
// make every routine that looks at a line slow.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/FileIO.h"

namespace ssf {

// Longest line of a theme map. Real lines are under a hundred bytes; the tag-line routines
// look at a line several times, so a line of megabytes must not reach them.
inline constexpr size_t kMaxTextLineLength = 4096;

class TextLineReader {
 public:
  // Opens the file as OpenRegularFile does; refuses a file larger than `max_size` before
  // reading it. Lines longer than `max_line` bytes (without the line end) are refused.
  TextLineReader(const std::filesystem::path& path, int64_t max_size, size_t max_line);

  // The next line without its LF (and a CR before the LF) into `line`; false at the end.
  // Throws SsfError("Не удалось прочитать файл: <path> (строка N длиннее K байт)") for a
  // line over the limit, and as ReadWholeFile does when the file cannot be read.
  bool Next(std::string& line);
  // Number of the line Next returned last, from 1.
  size_t LineNumber() const { return line_number_; }

 private:
  bool Fill();

  std::filesystem::path path_;
  ReadHandle file_;
  int64_t max_size_;
  size_t max_line_;
  int64_t total_ = 0;
  std::vector<char> buffer_;
  size_t pos_ = 0;
  size_t end_ = 0;
  bool eof_ = false;
  size_t line_number_ = 0;
};

}  // namespace ssf
