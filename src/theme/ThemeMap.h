#pragma once
// Theme maps (*.rxt): per phone model, the container's signature and model, where its size
// table and file data begin, whether it holds an icon or is a colour theme, and its theme
// files with their groups, kinds and sizes. A map is Windows-1251 text (a UTF-8 byte-order
// mark makes it UTF-8); it is converted to UTF-8 before the tag-line routines see it.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "taglines/XmlLib.h"
#include "theme/GroupTree.h"

namespace ssf {

// One entry of the map entry table (one FILE line of the map).
struct TTHemeFiles {
  std::string f_type;    // kind, upper case: JPG, RAW, ANI2, IFG, COLORTAB or another word
  int32_t f_width = 0;   // picture kinds; 0 otherwise
  int32_t f_height = 0;  // picture kinds; 0 otherwise
  int32_t f_size = 0;    // COLORTAB: expected byte size; 0 otherwise

  bool operator==(const TTHemeFiles&) const = default;
};

// What a map says about the themes of one phone model.
struct ThemeMap {
  // Windows-1251 bytes, as the container holds them.
  std::string SignMain;
  std::string SignMobile;
  int32_t FilesTable = 0;
  int32_t FilesStart = 0;
  int32_t FilesCount = 0;
  bool HasIcon = false;
  bool IsColorTheme = false;
  // FILE lines seen; a sound map has as many as FilesCount.
  int32_t MapFileCounter = 0;
  // Map entry table, one entry per FILE line, in map order.
  std::vector<TTHemeFiles> ThemeFiles;
  // Group tree (tree view TV); its k-th theme file node is map entry k.
  GroupTree Tree;

  // Entry k, or nullptr past the table.
  const TTHemeFiles* Entry(int k) const;
};

// The map error report lists this many entries at most and then their count: a map of
// millions of bad lines must not build a report of millions of lines.
inline constexpr size_t kMaxListedMapErrors = 100;

struct ParsedThemeMap {
  ThemeMap map;
  // Entries of the map error report, the first kMaxListedMapErrors of them; none for a sound map.
  std::vector<std::string> errors;
  // Entries found beyond those listed.
  size_t more_errors = 0;
};

// Parses a map line by line; ParseThemeMap and ReadThemeMap feed it.
class ThemeMapParser {
 public:
  ThemeMapParser(const ThemeMap& previous, const TagParams& params, std::filesystem::path path);
  // One line of the map (UTF-8) and its number, from 1.
  void Line(const std::string& line, size_t number);
  // The map and its report; `params` gets the parameter slots as the last line left them.
  ParsedThemeMap Finish(TagParams& params);

 private:
  void KeepListedErrors();

  ParsedThemeMap parsed_;
  std::vector<int> groups_;  // open groups, innermost last
  bool too_deep_ = false;
  TagParams p_;
  std::filesystem::path path_;
};

// Reads a map's lines (UTF-8). A map without a THEMESIGN, THEMESETTINGS or
// COLORTHEMESSETTINGS line keeps the values `previous` has for that block; the entry table
// and the tree always start empty. `params` are the tag-line parameter slots, which keep
// their values from line to line and from map to map. Throws SsfError naming `path` and the
// line for a "/GROUP" with no open group.
ParsedThemeMap ParseThemeMap(const std::vector<std::string>& lines, const ThemeMap& previous, TagParams& params,
                             const std::filesystem::path& path);
// The same for a map file, read line by line. Throws SsfError naming the file when it cannot
// be read or holds a line longer than kMaxTextLineLength.
ParsedThemeMap ReadThemeMap(const std::filesystem::path& path, const ThemeMap& previous, TagParams& params);

// True when the text, Latin letters upper-cased, is exactly "YES" (no trimming).
bool IsYes(std::string_view text);

// Largest map file. Real maps are a few KB to a few hundred KB; every FILE line costs an
// entry and a tree node (about 150 bytes), so a map of millions of short lines is refused
// before it is read.
inline constexpr int64_t kMaxMapFileSize = 1024 * 1024;

// Calls `line` with each line of a map file as UTF-8 (split at LF, a CR before the LF
// dropped) and its number from 1, until it returns false. Reads through a small buffer, so
// a map of many lines costs no more memory than its entries. Throws SsfError naming the
// file when it cannot be read or is larger than kMaxMapFileSize, and naming the line as
// well for a line longer than kMaxTextLineLength bytes.
void ForEachMapLine(const std::filesystem::path& path,
                    const std::function<bool(const std::string& line, size_t number)>& line);

// A numeric map parameter: decimal with optional sign, or hexadecimal after "0x", "$" or
// "x" (either case), leading blanks allowed. nullopt for a bad number.
std::optional<int32_t> ConvertMapNumber(std::string_view text);
// As above; a bad number appends "<line> - некорректное числовое значение одного из
// параметров." to `errors` and yields 0.
int32_t ParseMapNumber(std::string_view text, std::string_view line, std::vector<std::string>& errors);

// The text of the map error box for a map file name and its error entries; `more_errors`
// entries not listed are counted at the end.
std::string MapErrorReport(const std::string& map_file_name, const std::vector<std::string>& errors,
                           size_t more_errors = 0);

// The Mobile value of the first THEMESIGN line, or "ERROR". Throws SsfError when unreadable.
std::string ReadMapMobile(const std::filesystem::path& path, TagParams& params);

// The *.rxt files of the map folder, sorted by file name byte-wise. A missing folder has none.
std::vector<std::filesystem::path> ListMapFiles(const std::filesystem::path& maps_dir);

// The maps the chooser offers: every map with a THEMESIGN line, in listing order.
struct ListedMap {
  std::string model;  // UTF-8
  std::filesystem::path path;
};
std::vector<ListedMap> ListThemeMapFiles(const std::filesystem::path& maps_dir, TagParams& params);

// The first map in listing order whose Mobile equals `model` (UTF-8) exactly, or nullopt.
std::optional<std::filesystem::path> FindMapForMobile(const std::filesystem::path& maps_dir,
                                                      std::string_view model, TagParams& params);

}  // namespace ssf
