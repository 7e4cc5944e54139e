#include "theme/ResourcePackage.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>

#include "taglines/XmlLib.h"
#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "base/IniDocument.h"
#include "base/Limits.h"
#include "base/SsfError.h"
#include "ifeg/Ifeg.h"
#include "pictures/Ani2.h"
#include "pictures/FileProbes.h"
#include "pictures/PictureHeader.h"
#include "theme/FileKind.h"
#include "theme/FileNames.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

namespace fs = std::filesystem;

constexpr char kSep = fs::path::preferred_separator;

// A caption or kind as one piece of a file name: no separators, no NUL (which would end
// the name early), and never a name that means this folder or the one above.
std::string FileNamePiece(std::string_view text) {
  std::string piece = StripFileNameChars(text);
  std::replace(piece.begin(), piece.end(), '\0', '_');
  // assign(1, '_'), not = "_": GCC 12 at -O3 warns falsely (-Wrestrict) on the latter.
  if (piece.empty() || piece == "." || piece == "..") piece.assign(1, '_');
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

std::vector<ResourceNode> ResourceNodes(const ThemeMap& map, const Theme& theme) {
  std::vector<ResourceNode> nodes;
  const size_t limit = std::min(map.ThemeFiles.size(), theme.NewFiles.size());
  for (int i = 0; i < map.Tree.Size() && nodes.size() < limit; ++i) {
    if (!map.Tree.IsFileNode(i)) continue;
    nodes.push_back({i, static_cast<int>(nodes.size())});
  }
  return nodes;
}

namespace {

// Longest caption and extension in a package's names, in bytes: with "~N" and the dot the
// name stays well below the 255 bytes file systems allow, and deep trees below path limits.
constexpr size_t kMaxNamePiece = 100;
constexpr size_t kMaxExtension = 32;

// The name of `piece` (+ "." + ext for a file) that no earlier sibling has taken.
std::string UniqueName(std::set<std::string>& taken, const std::string& piece, const std::string* ext) {
  auto full = [&](const std::string& stem) { return ext ? stem + "." + *ext : stem; };
  std::string name = full(piece);
  for (int n = 2; !taken.insert(FoldedFileName(name)).second; ++n) name = full(piece + "~" + std::to_string(n));
  return name;
}

std::string ShortPiece(std::string_view caption) {
  std::string piece = FileNamePiece(caption);
  if (piece.size() > kMaxNamePiece) piece = Utf8Truncate(piece, kMaxNamePiece);
  return piece.empty() ? "_" : piece;
}

}  // namespace

PackageLayout LayOutPackage(const ThemeMap& map, const Theme& theme) {
  const GroupTree& tree = map.Tree;
  PackageLayout layout;
  layout.files = ResourceNodes(map, theme);
  std::vector<int> slot_of(static_cast<size_t>(tree.Size()), -1);
  for (size_t i = 0; i < layout.files.size(); ++i) slot_of[static_cast<size_t>(layout.files[i].node)] = static_cast<int>(i);
  layout.file_paths.resize(layout.files.size());

  // Parents come before their children in tree order, so a folder's path is known first.
  std::vector<fs::path> path_of(static_cast<size_t>(tree.Size()));
  std::map<int, std::set<std::string>> taken;  // names used in each folder; -1 is "Resources"
  for (int i = 0; i < tree.Size(); ++i) {
    const int file = slot_of[static_cast<size_t>(i)];
    if (file < 0 && !tree.HasChildren(i)) continue;  // an empty group: nothing on disk
    const int parent = tree.Node(i).parent;
    const fs::path& base = parent >= 0 && parent < tree.Size() ? path_of[static_cast<size_t>(parent)] : fs::path();
    const fs::path& folder = base.empty() ? fs::path(kResFolder) : base;
    const std::string piece = ShortPiece(tree.Node(i).caption);
    if (file >= 0) {
      const TTHemeFiles& entry = map.ThemeFiles.at(static_cast<size_t>(layout.files[static_cast<size_t>(file)].k));
      std::string ext = GetResExt(AsciiLower(entry.f_type));
      if (ext.size() > kMaxExtension) ext = Utf8Truncate(ext, kMaxExtension);
      layout.file_paths[static_cast<size_t>(file)] = folder / PathFromUtf8(UniqueName(taken[parent], piece, &ext));
    } else {
      path_of[static_cast<size_t>(i)] = folder / PathFromUtf8(UniqueName(taken[parent], piece, nullptr));
      layout.folders.push_back(path_of[static_cast<size_t>(i)]);
    }
  }
  return layout;
}

namespace {

// The package folder: where the descriptor lies.
FolderHandle OpenPackage(const fs::path& descriptor) { return FolderHandle::Open(descriptor.parent_path()); }

fs::path DescriptorName(const fs::path& descriptor) { return descriptor.filename(); }

// The descriptor's text, read relative to the package folder; a link is refused. Nothing
// when `may_be_missing` and no file is there.
std::optional<IniDocument> ReadDescriptor(const FolderHandle& package, const fs::path& descriptor,
                                          bool may_be_missing) {
  if (may_be_missing && package.Kind(DescriptorName(descriptor)) == FolderHandle::Entry::kMissing) return std::nullopt;
  ReadHandle file = package.OpenRegular(DescriptorName(descriptor));
  const Bytes text = ReadWholeFile(file, descriptor, kMaxIniFileSize);
  return IniDocument::Parse(std::string(text.begin(), text.end()));
}

std::string Sides(const TTHemeFiles& e) { return std::to_string(e.f_width) + "x" + std::to_string(e.f_height); }

// The length a file of this entry must have, where the map fixes it: RAW and ANI2 pictures
// of the map's size, a colour table of its length. Zero bytes empty a slot and always fit.
std::optional<int64_t> FixedLength(const TTHemeFiles& e) {
  const int64_t pixels = int64_t{std::max(e.f_width, 0)} * std::max(e.f_height, 0);
  switch (KindOf(e.f_type)) {
    case FileKind::kRaw: return 2 * pixels;
    case FileKind::kAni2: return static_cast<int64_t>(kAni2HeaderSize) + 3 * pixels;
    case FileKind::kColorTab: return std::max(e.f_size, 0);
    default: return std::nullopt;
  }
}

std::optional<Refusal> BadFile(const fs::path& shown, const std::string& what) {
  return Refusal{kMsgError, std::string(kResBadFile) + Utf8FromPath(shown) + "\r\n" + what};
}

std::optional<Refusal> CheckLength(const fs::path& shown, int64_t size, const TTHemeFiles& e) {
  const std::optional<int64_t> need = FixedLength(e);
  if (size == 0 || !need || size == *need) return std::nullopt;
  const std::string of = KindOf(e.f_type) == FileKind::kColorTab ? "для таблицы цветов" : "для " + e.f_type + " " + Sides(e);
  return BadFile(shown, "Длина " + std::to_string(size) + " байт, " + of + " нужно " + std::to_string(*need) + ".");
}

// The first bytes against the entry's kind: a picture's signature and the sides its header
// gives. Nothing is decoded here; the theme check does that.
std::optional<Refusal> CheckKind(const fs::path& shown, ByteSpan data, const TTHemeFiles& e) {
  if (data.empty()) return std::nullopt;
  auto sides_differ = [&](int64_t w, int64_t h) {
    return BadFile(shown, "Размер изображения " + std::to_string(w) + "x" + std::to_string(h) + ", по карте нужен " +
                              Sides(e) + ".");
  };
  switch (KindOf(e.f_type)) {
    case FileKind::kJpg: {
      if (!IsJFIF(data)) return BadFile(shown, "Не является JPEG-изображением JFIF.");
      const std::optional<PictureSize> size = ReadPictureHeaderSize(data);
      if (size && (size->width != e.f_width || size->height != e.f_height)) return sides_differ(size->width, size->height);
      return std::nullopt;
    }
    case FileKind::kAni2: {
      if (!IsANI2(data)) return BadFile(shown, "Не является ANI2-изображением (нет подписи ANI2).");
      if (GetHeaderWidth(data) != e.f_width || GetHeaderHeight(data) != e.f_height) {
        return sides_differ(GetHeaderWidth(data), GetHeaderHeight(data));
      }
      return std::nullopt;
    }
    case FileKind::kIfg: {
      if (!IsIfgData(data) || data.size() < 8) return BadFile(shown, "Не является IFEG-изображением (нет подписи IFEG).");
      if (ReadU16LE(data, 4) != e.f_width || ReadU16LE(data, 6) != e.f_height) {
        return sides_differ(ReadU16LE(data, 4), ReadU16LE(data, 6));
      }
      return std::nullopt;
    }
    default: return std::nullopt;
  }
}

}  // namespace

void ExportResourcePackage(const ThemeMap& map, const Theme& theme, const fs::path& descriptor) {
  // The folder may come from a stranger: it is opened once, so swapping it for a link later
  // changes nothing, and a link anywhere below it (the descriptor too) would let the export
  // write outside the package: refused before anything is written.
  const FolderHandle package = OpenPackage(descriptor);
  const PackageLayout layout = LayOutPackage(map, theme);
  package.CheckNoLink(DescriptorName(descriptor));
  package.CheckNoLink(kResFolder);
  for (const fs::path& folder : layout.folders) package.CheckNoLink(folder);
  for (const fs::path& file : layout.file_paths) package.CheckNoLink(file);

  IniDocument desc = ReadDescriptor(package, descriptor, true).value_or(IniDocument());
  desc.WriteString(kResSection, "ThemeSignMobile", Cp1251ToUtf8(map.SignMobile));
  desc.WriteInteger(kResSection, "ThemeFilesCount", map.FilesCount);
  const std::string text = desc.Text();
  package.WriteAtomic(DescriptorName(descriptor), ByteSpan(reinterpret_cast<const uint8_t*>(text.data()), text.size()));

  package.MakeFolders(kResFolder);
  for (const fs::path& folder : layout.folders) package.MakeFolders(folder);
  for (size_t i = 0; i < layout.files.size(); ++i) {
    package.WriteAtomic(layout.file_paths[i], theme.NewFiles[static_cast<size_t>(layout.files[i].k)].f_file);
  }
}

Converted<ResourceFiles> ReadResourcePackage(const ThemeMap& map, const Theme& theme, const fs::path& descriptor) {
  const FolderHandle package = OpenPackage(descriptor);
  const IniDocument desc = *ReadDescriptor(package, descriptor, false);
  if (desc.ReadString(kResSection, "ThemeSignMobile") != Cp1251ToUtf8(map.SignMobile)) {
    return {std::nullopt, Refusal{kMsgWarning, kResWrongModel}};
  }
  if (desc.ReadInteger(kResSection, "ThemeFilesCount", 0) != map.FilesCount) {
    return {std::nullopt, Refusal{kMsgWarning, kResWrongCount}};
  }

  const PackageLayout layout = LayOutPackage(map, theme);
  const size_t count = layout.files.size();
  auto shown = [&](size_t i) { return descriptor.parent_path() / layout.file_paths[i]; };
  std::string missing;
  for (size_t i = 0; i < count; ++i) {
    // A link, FIFO or device is no missing file: the open below refuses it with its name.
    const FolderHandle::Entry kind = package.Kind(layout.file_paths[i]);
    if (kind == FolderHandle::Entry::kMissing || kind == FolderHandle::Entry::kFolder) {
      missing += Utf8FromPath(shown(i)) + "\r\n";
    }
  }
  if (!missing.empty()) return {std::nullopt, Refusal{kMsgError, kResMissingFiles + missing}};

  // Lengths first, from the file system: a sparse file of gigabytes costs nothing until it
  // is read, so every length and the total are checked before the first read.
  std::vector<int64_t> sizes(count);
  for (size_t i = 0; i < count; ++i) {
    // Never through a link: a package's file linked to a private file of the user would
    // otherwise end up inside the theme that is passed on.
    sizes[i] = package.OpenRegular(layout.file_paths[i]).Size();
  }
  int64_t total = std::max(theme.FilesStart(), 0);
  for (size_t i = 0; i < count; ++i) {
    const TTHemeFiles& entry = map.ThemeFiles[static_cast<size_t>(layout.files[i].k)];
    if (std::optional<Refusal> bad = CheckLength(shown(i), sizes[i], entry)) return {std::nullopt, std::move(bad)};
    total += sizes[i];
    if (total > kMaxContainerSize) {
      return {std::nullopt, Refusal{kMsgError, std::string(kResTooLarge) + Utf8FromPath(descriptor.parent_path() / kResFolder) +
                                                   "\r\nТема может занимать не более " +
                                                   std::to_string(kMaxContainerSize) + " байт."}};
    }
  }

  ResourceFiles files;
  files.files.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    ReadHandle file = package.OpenRegular(layout.file_paths[i]);
    // No more than was measured: a file that grew meanwhile is refused, not read on.
    Bytes bytes = ReadWholeFile(file, shown(i), sizes[i]);
    const TTHemeFiles& entry = map.ThemeFiles[static_cast<size_t>(layout.files[i].k)];
    std::optional<Refusal> bad = CheckLength(shown(i), static_cast<int64_t>(bytes.size()), entry);
    if (!bad) bad = CheckKind(shown(i), bytes, entry);
    if (bad) return {std::nullopt, std::move(bad)};
    files.files.emplace_back(layout.files[i].k, std::move(bytes));
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
