#pragma once
// Resource packages: every theme file of a theme as a file of its own in a folder tree
// that mirrors the group tree ("Resources" beside a small INI descriptor ".res"),
// so the files can be edited elsewhere and put back in one step. A file on disk belongs
// to a slot only by its position: the k-th theme file node of the tree is slot k.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteIO.h"
#include "theme/Refusal.h"
#include "theme/Theme.h"

namespace ssf {

inline constexpr const char* kResFilter = "Файл импорта/экспорта ресурсов (*.res)|*.res";
inline constexpr const char* kResSection = "ResProperties";
inline constexpr const char* kResFolder = "Resources";
inline constexpr const char* kResWrongModel =
    "Импорт данных ресурсов невозможен!\r\nРесурсы принадлежат не данному типу темы.";
inline constexpr const char* kResWrongCount =
    "Импорт данных ресурсов невозможен!\r\nКоличество ресурсов, нужных для темы не соответствует "
    "количеству импортируемых файлов!";
inline constexpr const char* kResMissingFiles =
    "Импорт ресурсов невозможен, т.к. не найдены следующие файлы ресурсов:\r\n\r\n";

// Extension (without the dot) for a file kind already in lower case: "tab" for
// "colortab", otherwise the kind itself, with the characters a file name cannot hold
// dropped so that a map's kind never adds a folder to the path.
std::string GetResExt(std::string_view kind);

// Relative path of a tree node: the captions from the top down, each through
// StripFileNameChars, joined by `separator`; a file path ends with ".", a folder path
// with the separator. A caption that is then empty, "." or ".." becomes "_", so no path
// leaves the folder it is put under.
std::string GetNodePath(const GroupTree& tree, int node, char separator, bool as_file);

// Creates the folder chain of the node at `index` under the "Resources" folder of the
// package folder `package`, never through a link. Failures (no permission, a link) are
// ignored here: the write of a file into the folder reports them.
void CreateNodeDirs(const std::filesystem::path& package, const GroupTree& tree, int index);

// A theme file node and the slot it stands for.
struct ResourceNode {
  int node;  // flat index in the tree
  int k;     // theme file index: map entry and file table slot
};
// The theme file nodes in tree order. Only nodes made from FILE lines count (an empty
// GROUP is childless too but holds no file), and none past the map entry table or the
// file table.
std::vector<ResourceNode> ResourceNodes(const ThemeMap& map, const Theme& theme);

// Where the theme file of `r` lies in a package, relative to the package folder.
std::filesystem::path ResourceFileInPackage(const ThemeMap& map, const ResourceNode& r);
// Where the theme file of `r` lies in the package whose descriptor is `descriptor`.
std::filesystem::path ResourceFilePath(const std::filesystem::path& descriptor, const ThemeMap& map,
                                       const ResourceNode& r);

// Writes the package: the descriptor (other content of an existing file stays), the
// folders, one file per theme file. `descriptor` already has its ".res" extension.
// A link below the package folder on the way of any file is refused, naming it, before
// anything is written. A file that cannot be written throws SsfError naming it; files
// written before stay.
void ExportResourcePackage(const ThemeMap& map, const Theme& theme, const std::filesystem::path& descriptor);

// The theme files a package holds for a theme of this map: each slot's new bytes. Refusals
// (other model, other count, missing files) come back as such; a file that cannot be read
// throws SsfError naming it. Only regular files inside the package's "Resources" folder are
// read: a link on the way, a FIFO or a device is refused.
struct ResourceFiles {
  std::vector<std::pair<int, Bytes>> files;  // theme file index, its bytes
};
Converted<ResourceFiles> ReadResourcePackage(const ThemeMap& map, const Theme& theme,
                                             const std::filesystem::path& descriptor);

// Puts the package's files into their slots and counts the stored files anew.
void ApplyResourceFiles(Theme& theme, ResourceFiles files);

}  // namespace ssf
