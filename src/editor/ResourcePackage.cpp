#include "editor/ResourcePackage.h"

#include "editor/ThemeUndo.h"

#include <algorithm>
#include <cstdint>

#include "taglines/XmlLib.h"
#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "base/IniDocument.h"
#include "base/Limits.h"
#include "base/SsfError.h"

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

// The remembered folder is a convenience; a read-only settings file must not stop the
// operation.
void RememberFolder(IniDocument& settings, const char* key, const fs::path& chosen) {
  try {
    settings.WriteString("Resources", key, chosen.parent_path().string());
  } catch (const SsfError&) {
  }
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

std::vector<ResourceNode> ResourceNodes(const EditorState& s) {
  std::vector<ResourceNode> nodes;
  const size_t limit = std::min(s.ThemeFiles.size(), s.NewFiles.size());
  for (int i = 0; i < s.Tree.Size() && nodes.size() < limit; ++i) {
    if (!s.Tree.IsFileNode(i)) continue;
    nodes.push_back({i, static_cast<int>(nodes.size())});
  }
  return nodes;
}

fs::path ResourceFileInPackage(const EditorState& s, const ResourceNode& r) {
  const TTHemeFiles& entry = s.ThemeFiles.at(static_cast<size_t>(r.k));
  std::string name = GetNodePath(s.Tree, r.node, kSep, true) + GetResExt(AsciiLower(entry.f_type));
  return fs::path(kResFolder) / fs::path(name);
}

fs::path ResourceFilePath(const fs::path& descriptor, const EditorState& s, const ResourceNode& r) {
  return descriptor.parent_path() / ResourceFileInPackage(s, r);
}

void ExportResourcePackage(Editor& ed, const fs::path& descriptor) {
  const EditorState& s = ed.state;
  const fs::path package = descriptor.parent_path().empty() ? fs::path(".") : descriptor.parent_path();
  const std::vector<ResourceNode> nodes = ResourceNodes(s);
  // The folder may come from a stranger: a link anywhere below it would let the export write
  // outside the package. Refused before anything is written.
  for (int i = 0; i < s.Tree.Size(); ++i) {
    if (s.Tree.HasChildren(i)) CheckNoLinkBeneath(package, fs::path(kResFolder) / GetNodePath(s.Tree, i, kSep, false));
  }
  for (const ResourceNode& r : nodes) CheckNoLinkBeneath(package, ResourceFileInPackage(s, r));

  IniDocument desc = IniDocument::Load(descriptor);
  desc.WriteString(kResSection, "ThemeSignMobile", Cp1251ToUtf8(s.SignMobile));
  desc.WriteInteger(kResSection, "ThemeFilesCount", s.FilesCount);

  MakeFoldersBeneath(package, kResFolder);
  for (int i = 0; i < s.Tree.Size(); ++i) {
    if (s.Tree.HasChildren(i)) CreateNodeDirs(package, s.Tree, i);
  }
  for (const ResourceNode& r : nodes) {
    WriteFileAtomicBeneath(package, ResourceFileInPackage(s, r), s.NewFiles[static_cast<size_t>(r.k)].f_file);
  }
}

bool ImportResourcePackage(Editor& ed, const fs::path& descriptor) {
  EditorState& s = ed.state;
  ViewState& v = ed.view;
  IniDocument desc = IniDocument::Load(descriptor);
  if (desc.ReadString(kResSection, "ThemeSignMobile") != Cp1251ToUtf8(s.SignMobile)) {
    ed.ui.ShowMsg(kResWrongModel, kMsgWarning);
    return false;
  }
  if (desc.ReadInteger(kResSection, "ThemeFilesCount", 0) != s.FilesCount) {
    ed.ui.ShowMsg(kResWrongCount, kMsgWarning);
    return false;
  }
  v.Pnl_ItemInfo_visible = false;

  const fs::path package = descriptor.parent_path().empty() ? fs::path(".") : descriptor.parent_path();
  const std::vector<ResourceNode> nodes = ResourceNodes(s);
  std::vector<fs::path> paths;
  std::string missing;
  for (const ResourceNode& r : nodes) {
    paths.push_back(ResourceFileInPackage(s, r));
    // A link, FIFO or device is no missing file: the read below refuses it with its name.
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(package / paths.back(), ec);
    if (!fs::exists(st) || fs::is_directory(st)) missing += ResourceFilePath(descriptor, s, r).string() + "\r\n";
  }
  if (!missing.empty()) {
    ed.ui.ShowMsg(kResMissingFiles + missing, kMsgError);
    return false;
  }

  // Everything is read first: a file that fails leaves every slot as it was.
  std::vector<Bytes> loaded;
  loaded.reserve(paths.size());
  for (const fs::path& p : paths) {
    // Never through a link: a package's file linked to a private file of the user would
    // otherwise end up inside the theme that is passed on. No file larger than a theme.
    ReadHandle file = OpenRegularFileBeneath(package, p);
    loaded.push_back(ReadWholeFile(file, descriptor.parent_path() / p, kMaxContainerSize));
  }
  std::vector<int> touched;
  for (const ResourceNode& r : nodes) touched.push_back(r.k);
  UndoScope undo(ed, std::move(touched), false);
  for (size_t i = 0; i < nodes.size(); ++i) {
    s.NewFiles[static_cast<size_t>(nodes[i].k)].f_file = std::move(loaded[i]);
  }
  if (!nodes.empty()) s.ThemeModified = true;
  undo.Commit();

  const size_t counted = std::min(s.NewFiles.size(), static_cast<size_t>(std::max(0, s.FilesCount)));
  s.StoredFiles = static_cast<int32_t>(
      std::count_if(s.NewFiles.begin(), s.NewFiles.begin() + static_cast<ptrdiff_t>(counted),
                    [](const TThemeNewFiles& f) { return f.Present(); }));
  v.status[2] = std::to_string(s.StoredFiles) + "/" + std::to_string(s.FilesCount);

  // Collapsing hides a selected node inside a group; the selection moves up to the
  // top-level node that stays visible, as a tree view does.
  if (v.TV_selected >= 0 && v.TV_selected < s.Tree.Size()) {
    while (s.Tree.Node(v.TV_selected).parent >= 0) v.TV_selected = s.Tree.Node(v.TV_selected).parent;
  }
  ++v.TV_collapse_count;
  return true;
}

void MM_Child_ExportResClick(Editor& ed) {
  FileDialogRequest req;
  req.filter = kResFilter;
  req.initial_dir = ed.settings.ReadString("Resources", "ExportRes");
  req.ask_overwrite = true;
  std::optional<FileDialogResult> chosen = ed.ui.SaveDialog(req);
  if (!chosen) return;
  RememberFolder(ed.settings, "ExportRes", chosen->path);
  fs::path descriptor = ForceExtension(chosen->path, ".res");
  if (!ConfirmForcedName(ed.ui, chosen->path, descriptor)) return;
  ExportResourcePackage(ed, descriptor);
}

void MM_Child_ImportResClick(Editor& ed) {
  FileDialogRequest req;
  req.filter = kResFilter;
  req.initial_dir = ed.settings.ReadString("Resources", "ImportRes");
  std::optional<FileDialogResult> chosen = ed.ui.OpenDialog(req);
  if (!chosen) return;
  RememberFolder(ed.settings, "ImportRes", chosen->path);
  ImportResourcePackage(ed, chosen->path);
}

}  // namespace ssf
