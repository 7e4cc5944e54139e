#pragma once
// An INI file ("settings.ini", the resource package descriptor). It keeps every other
// section, key, comment and the line order of the file; section and key names compare
// without regard to Latin case. Values are UTF-8; a file that is not valid UTF-8 is read
// as Windows-1251. A value keeps its control characters (a line feed in a file name) and
// its '%' as %XX, so no value can add a line. Files over kMaxIniFileSize are refused. With
// a path, every write goes to the file at once, atomically.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ssf {

// Largest INI file (settings.ini, package descriptors). Real ones are a few KB; every line
// of a document is kept, so a file of newlines costs about 140 bytes a byte.
inline constexpr int64_t kMaxIniFileSize = 256 * 1024;

class IniDocument {
 public:
  IniDocument() = default;
  // Reads the file; a missing file gives an empty document bound to that path, created
  // at the first write. An unreadable existing file throws SsfError.
  static IniDocument Load(const std::filesystem::path& path);
  static IniDocument Parse(const std::string& text);

  const std::filesystem::path& Path() const { return path_; }

  std::optional<std::string> Find(const std::string& section, const std::string& key) const;
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback = "") const;
  // A missing key or a value that is not a decimal integer reads as the fallback.
  int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
  bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;
  bool SectionExists(const std::string& section) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  std::string Text() const;
  // Writes the document to its path (no-op without one). Throws SsfError on failure.
  void Save() const;

 private:
  struct Line {
    std::string text;     // the line as it stands in the file
    std::string section;  // for a section header: its name
    std::string key;      // for a key line: its name, trimmed
    std::string value;    // for a key line: its value, trimmed
    enum Kind { kOther, kSection, kKey } kind = kOther;
  };
  // Index of the key line in the section, or -1; `section_end` gets the index after
  // the section's last key line (or -1 when the section is missing).
  int FindKey(const std::string& section, const std::string& key, int* section_end) const;

  std::filesystem::path path_;
  std::vector<Line> lines_;
  std::string eol_ = "\n";
};

}  // namespace ssf
