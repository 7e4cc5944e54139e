#pragma once
// Copying colour entries between the colour files (.tab) of two phone models, following
// a scheme workbook. A colour file is a flat run of 16-bit entries: entry n is the two
// bytes at offset 2n, moved as they are. The scheme's first worksheet is named "Colors";
// B1 and C1 name the two models; from row 2 on, column A is the colour's identifier
// (an empty one ends the scheme), B and C its place ("word N") in the first and second file.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tools/workbook/Workbook.h"

namespace ssf {

// The mark of an invalid place cell.
inline constexpr int64_t kInvalidColorOffset = -1;

// Byte offset of a place cell "word N": twice N, or -1 when the text has no space, what
// follows the first space is not an integer, or the integer is -1.
int64_t GetColorOffset(std::string_view cell);

// The two models named by an accepted scheme, or the log line that refuses it (also for
// a model cell holding a formula without its result).
struct ColorSchemeCheck {
  bool accepted = false;
  std::string error;  // the log line when refused
  std::string first_model, second_model;
};
ColorSchemeCheck CheckColorScheme(const Workbook& scheme);

// Caption of a copy button: "<from>-><to>".
std::string CopyCaption(std::string_view from, std::string_view to);

enum class CopyDirection { kFirstToSecond, kSecondToFirst };

// The copy button named "btn_CopyFromSecondToFirst" copies second to first; any other
// name first to second.
inline constexpr std::string_view kSecondToFirstButton = "btn_CopyFromSecondToFirst";
CopyDirection CopyDirectionOf(std::string_view button_name);

struct ColorCopyCounts {
  int copied = 0;
  int failed = 0;
};

// Reads both colour files, copies every row of the scheme in `direction` and writes the
// destination back whole (atomically), also when nothing was copied. Log lines are
// appended to `log` as they happen, the closing lines with `caption` last. A row whose
// place is invalid, whose source entry lies outside the source file, or whose
// destination offset is negative or past the destination's end is refused as a failed
// colour, and so is a row with a formula cell stored without its result (the log line
// names the cell); an entry at the end (or one byte before it) lengthens the destination.
// Throws SsfError when a file cannot be read or written; nothing is written then.
ColorCopyCounts CopyColors(const Workbook& scheme, const std::filesystem::path& first_file,
                           const std::filesystem::path& second_file, CopyDirection direction,
                           std::string_view caption, std::vector<std::string>& log);
// The same in the direction of the clicked button (see CopyDirectionOf).
ColorCopyCounts CopyColors(const Workbook& scheme, const std::filesystem::path& first_file,
                           const std::filesystem::path& second_file, std::string_view button_name,
                           std::string_view caption, std::vector<std::string>& log);

}  // namespace ssf
