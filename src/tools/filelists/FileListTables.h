#pragma once
// The file lists of the phone in their editable text form (FLC): a sequence of
// "Path: " and "Name: " lines, the k-th path and the k-th name forming record k.
//
// As written:                               As read (looser):
//   ;;;; banner of three comment lines        lines under 5 characters or starting with
//   (empty line)                              ';' are skipped; the key is the six
//   Path: <path>                              characters from the first P or N in any
//   Name: <name>                              case; the value follows the first ':'
//   ...                                       without its leading blanks.
//
// Texts are the bytes of the line (Windows-1251 when shown), carried unchanged into the
// FLM file and back. The FLM field of a text holds 48 bytes and the tables 500 records;
// a file beyond either limit is refused rather than cut.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ssf {

inline constexpr int kFileListCapacity = 500;
inline constexpr size_t kFileListTextMax = 48;

// The key of a file-list line: the six characters starting at its first P or N (either
// case), upper-cased; "PATH: " or "NAME: " for a path or name line. A NUL ends the line.
std::string ReadFLCKey(std::string_view line);
// The value of a path or name line: the text after its first ':' with the leading
// blanks removed (trailing blanks and later colons stay).
std::string ReadFLCValue(std::string_view line);

struct FlcLoadResult {
  enum Status { kOk, kUnpaired, kTooManyRecords, kPathTooLong, kNameTooLong };
  Status status = kOk;
  int line = 0;  // 1-based line of the file that broke a limit
  bool ok() const { return status == kOk; }
};

// The file-list tables: filled by a successful FLC read, read when an FLM file is written.
class FileListTables {
 public:
  // Reads an FLC file. On success the tables and the count are replaced; on any refusal
  // they keep what they held. Throws SsfError when the file cannot be read.
  FlcLoadResult LoadFLC(const std::filesystem::path& file);
  FlcLoadResult ParseFLC(std::string_view text);

  // Record k is at index k - 1.
  const std::vector<std::string>& FileListPaths() const { return paths_; }
  const std::vector<std::string>& FileListNames() const { return names_; }
  int32_t FileListCount() const { return static_cast<int32_t>(paths_.size()); }

 private:
  std::vector<std::string> paths_;
  std::vector<std::string> names_;
};

// The counter label text after an FLC open: the count, or why the file was refused.
std::string FlcCounterText(const FlcLoadResult& result, int32_t count);

}  // namespace ssf
