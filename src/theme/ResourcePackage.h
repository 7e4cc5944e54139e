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
inline constexpr const char* kResBadFile = "Импорт ресурсов невозможен: файл не подходит к теме:\r\n";
inline constexpr const char* kResTooLarge =
    "Импорт ресурсов невозможен: файлы ресурсов вместе больше самой большой темы:\r\n";
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

// A theme file node and the slot it stands for.
struct ResourceNode {
  int node;  // flat index in the tree
  int k;     // theme file index: map entry and file table slot
};
// The theme file nodes in tree order. Only nodes made from FILE lines count (an empty
// GROUP is childless too but holds no file), and none past the map entry table or the
// file table.
std::vector<ResourceNode> ResourceNodes(const ThemeMap& map, const Theme& theme);

// Where everything of a package lies, relative to the package folder. Each name is the
// caption as GetNodePath makes it, shortened to fit a file name; where two in one folder
// would then be the same (letter case aside, as on the file systems of memory cards), the
// later in tree order gets "~2", "~3"... before its extension. So every theme file has a
// file of its own, and the names depend only on the map.
struct PackageLayout {
  std::vector<ResourceNode> files;
  std::vector<std::filesystem::path> file_paths;  // for files[i]: "Resources/<folders>/<name>.<ext>"
  std::vector<std::filesystem::path> folders;     // "Resources/..." of every group with children, parents first
};
PackageLayout LayOutPackage(const ThemeMap& map, const Theme& theme);

// Writes the package: the descriptor (other content of an existing file stays), the
// folders, one file per theme file. `descriptor` already has its ".res" extension.
// The package folder is opened once and everything is written relative to it. A link
// (the descriptor, a folder or a file) is refused, naming it, before anything is written.
// A file that cannot be written throws SsfError naming it; files written before stay.
void ExportResourcePackage(const ThemeMap& map, const Theme& theme, const std::filesystem::path& descriptor);

// The theme files a package holds for a theme of this map: each slot's new bytes. Refusals
// (other model, other count, missing files, a file whose length or kind does not fit its
// map entry, files that together exceed the largest theme) come back as such, before a
// byte of a theme file is read where the length tells; a file that cannot be read throws
// SsfError naming it. Only regular files inside the package folder are read, relative to
// it opened once: a link (the descriptor too), a FIFO or a device is refused.
struct ResourceFiles {
  std::vector<std::pair<int, Bytes>> files;  // theme file index, its bytes
};
Converted<ResourceFiles> ReadResourcePackage(const ThemeMap& map, const Theme& theme,
                                             const std::filesystem::path& descriptor);

// Puts the package's files into their slots and counts the stored files anew.
void ApplyResourceFiles(Theme& theme, ResourceFiles files);

}  // namespace ssf
