#include "theme/ResourcePackage.h"

#include <algorithm>
#include <cstdint>

#include "taglines/XmlLib.h"
#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "base/IniDocument.h"
#include "base/Limits.h"
#include "base/SsfError.h"
#include "theme/FileNames.h"

namespace ssf {

namespace {

namespace fs = std::filesystem;

constexpr char kSep = fs::path::preferred_separator;

// A caption or kind as one piece of a file name: no separators, no NUL (which would end
// the name early), and never a name that means this folder or the one above.
std::string FileNamePiece(std::string_view text) {
  std::string piece = StripFileNameChars(text);
  std::replace(piece.begin(), piece.end(), '\0', '_');
  if (piece.empty() || piece == "." || piece == "..") piece = "_";
  return piece;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace

std::string GetResExt(std::string_view kind) {
  if (kind == "colortab") return "tab";
  // It follows the file name's dot, so only separators and NUL have to go.
  std::string ext = StripFileNameChars(kind);
  std::replace(ext.begin(), ext.end(), '\0', '_');
  return ext;
}

std::string GetNodePath(const GroupTree& tree, int node, char separator, bool as_file) {
  std::string path;
  for (int n = node; n >= 0 && n < tree.Size(); n = tree.Node(n).parent) {
    if (!path.empty()) path.insert(path.begin(), separator);
    path.insert(0, FileNamePiece(tree.Node(n).caption));
  }
  if (path.empty() || path.back() != separator) path += as_file ? '.' : separator;
  return path;
}

void CreateNodeDirs(const fs::path& package, const GroupTree& tree, int index) {
  try {
    MakeFoldersBeneath(package, fs::path(kResFolder) / GetNodePath(tree, index, kSep, false));
  } catch (const SsfError&) {
    // Other failures show when a file is written into the folder.
  }
}

std::vector<ResourceNode> ResourceNodes(const ThemeMap& map, const Theme& theme) {
  std::vector<ResourceNode> nodes;
  const size_t limit = std::min(map.ThemeFiles.size(), theme.NewFiles.size());
  for (int i = 0; i < map.Tree.Size() && nodes.size() < limit; ++i) {
    if (!map.Tree.IsFileNode(i)) continue;
    nodes.push_back({i, static_cast<int>(nodes.size())});
  }
  return nodes;
}

fs::path ResourceFileInPackage(const ThemeMap& map, const ResourceNode& r) {
  const TTHemeFiles& entry = map.ThemeFiles.at(static_cast<size_t>(r.k));
  std::string name = GetNodePath(map.Tree, r.node, kSep, true) + GetResExt(AsciiLower(entry.f_type));
  return fs::path(kResFolder) / fs::path(name);
}

fs::path ResourceFilePath(const fs::path& descriptor, const ThemeMap& map, const ResourceNode& r) {
  return descriptor.parent_path() / ResourceFileInPackage(map, r);
}

void ExportResourcePackage(const ThemeMap& map, const Theme& theme, const fs::path& descriptor) {
  const GroupTree& tree = map.Tree;
  const fs::path package = descriptor.parent_path().empty() ? fs::path(".") : descriptor.parent_path();
  const std::vector<ResourceNode> nodes = ResourceNodes(map, theme);
  // The folder may come from a stranger: a link anywhere below it would let the export write
  // outside the package. Refused before anything is written.
  for (int i = 0; i < tree.Size(); ++i) {
    if (tree.HasChildren(i)) CheckNoLinkBeneath(package, fs::path(kResFolder) / GetNodePath(tree, i, kSep, false));
  }
  for (const ResourceNode& r : nodes) CheckNoLinkBeneath(package, ResourceFileInPackage(map, r));

  IniDocument desc = IniDocument::Load(descriptor);
  desc.WriteString(kResSection, "ThemeSignMobile", Cp1251ToUtf8(map.SignMobile));
  desc.WriteInteger(kResSection, "ThemeFilesCount", map.FilesCount);

  MakeFoldersBeneath(package, kResFolder);
  for (int i = 0; i < tree.Size(); ++i) {
    if (tree.HasChildren(i)) CreateNodeDirs(package, tree, i);
  }
  for (const ResourceNode& r : nodes) {
    WriteFileAtomicBeneath(package, ResourceFileInPackage(map, r), theme.NewFiles[static_cast<size_t>(r.k)].f_file);
  }
}

Converted<ResourceFiles> ReadResourcePackage(const ThemeMap& map, const Theme& theme, const fs::path& descriptor) {
  IniDocument desc = IniDocument::Load(descriptor);
  if (desc.ReadString(kResSection, "ThemeSignMobile") != Cp1251ToUtf8(map.SignMobile)) {
    return {std::nullopt, Refusal{kMsgWarning, kResWrongModel}};
  }
  if (desc.ReadInteger(kResSection, "ThemeFilesCount", 0) != map.FilesCount) {
    return {std::nullopt, Refusal{kMsgWarning, kResWrongCount}};
  }

  const fs::path package = descriptor.parent_path().empty() ? fs::path(".") : descriptor.parent_path();
  const std::vector<ResourceNode> nodes = ResourceNodes(map, theme);
  std::vector<fs::path> paths;
  std::string missing;
  for (const ResourceNode& r : nodes) {
    paths.push_back(ResourceFileInPackage(map, r));
    // A link, FIFO or device is no missing file: the read below refuses it with its name.
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(package / paths.back(), ec);
    if (!fs::exists(st) || fs::is_directory(st)) missing += ResourceFilePath(descriptor, map, r).string() + "\r\n";
  }
  if (!missing.empty()) return {std::nullopt, Refusal{kMsgError, kResMissingFiles + missing}};

  ResourceFiles files;
  files.files.reserve(paths.size());
  for (size_t i = 0; i < nodes.size(); ++i) {
    // Never through a link: a package's file linked to a private file of the user would
    // otherwise end up inside the theme that is passed on. No file larger than a theme.
    ReadHandle file = OpenRegularFileBeneath(package, paths[i]);
    files.files.emplace_back(nodes[i].k, ReadWholeFile(file, descriptor.parent_path() / paths[i], kMaxContainerSize));
  }
  return {std::move(files), std::nullopt};
}

void ApplyResourceFiles(Theme& theme, ResourceFiles files) {
  for (auto& [k, bytes] : files.files) {
    if (k >= 0 && static_cast<size_t>(k) < theme.NewFiles.size()) {
      theme.NewFiles[static_cast<size_t>(k)].f_file = std::move(bytes);
    }
  }
  theme.RecountStoredFiles();
}

}  // namespace ssf
