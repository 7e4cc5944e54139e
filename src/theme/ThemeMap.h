#pragma once
// Theme maps (*.rxt): per phone model, the container's signature and model, where its size
// table and file data begin, whether it holds an icon or is a colour theme, and its theme
// files with their groups, kinds and sizes. A map is Windows-1251 text (a UTF-8 byte-order
// mark makes it UTF-8); it is converted to UTF-8 before the tag-line routines see it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "taglines/XmlLib.h"

namespace ssf {

// The lines of a map file as UTF-8, split at LF with a CR before the LF dropped.
// Throws SsfError naming the file when it cannot be read.
std::vector<std::string> ReadMapLines(const std::filesystem::path& path);

// A numeric map parameter: decimal with optional sign, or hexadecimal after "0x", "$" or
// "x" (either case), leading blanks allowed. nullopt for a bad number.
std::optional<int32_t> ConvertMapNumber(std::string_view text);
// As above; a bad number appends "<line> - некорректное числовое значение одного из
// параметров." to `errors` and yields 0.
int32_t ParseMapNumber(std::string_view text, std::string_view line, std::vector<std::string>& errors);

// The text of the map error box for a map file name and its error entries.
std::string MapErrorReport(const std::string& map_file_name, const std::vector<std::string>& errors);

// The Mobile value of the first THEMESIGN line, or "ERROR". Throws SsfError when unreadable.
std::string ReadMapMobile(const std::filesystem::path& path, TagParams& params);

// The *.rxt files of the map folder, sorted by file name byte-wise. A missing folder has none.
std::vector<std::filesystem::path> ListMapFiles(const std::filesystem::path& maps_dir);

// The first map in listing order whose Mobile equals `model` (UTF-8) exactly, or nullopt.
std::optional<std::filesystem::path> FindMapForMobile(const std::filesystem::path& maps_dir,
                                                      std::string_view model, TagParams& params);

}  // namespace ssf
