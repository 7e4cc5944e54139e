#include "editor/ResourcePackage.h"

#include "editor/ThemeUndo.h"

#include <algorithm>
#include <cstdint>

#include "taglines/XmlLib.h"
#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "base/IniDocument.h"
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

void CreateNodeDirs(const fs::path& base, const GroupTree& tree, int index) {
  std::string rest = GetNodePath(tree, index, kSep, false);
  fs::path current = base;
  while (!rest.empty()) {
    std::string piece = CutAtChar(rest, kSep, 3);
    if (piece == kNotFound) break;  // a folder path ends with the separator: not reached
    piece.pop_back();
    current /= piece;
    std::error_code ignored;
    fs::create_directory(current, ignored);
    rest = CutAtChar(rest, kSep, 2);
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

fs::path ResourceFilePath(const fs::path& descriptor, const EditorState& s, const ResourceNode& r) {
  const TTHemeFiles& entry = s.ThemeFiles.at(static_cast<size_t>(r.k));
  std::string name = GetNodePath(s.Tree, r.node, kSep, true) + GetResExt(AsciiLower(entry.f_type));
  return descriptor.parent_path() / kResFolder / fs::path(name);
}

void ExportResourcePackage(Editor& ed, const fs::path& descriptor) {
  const EditorState& s = ed.state;
  IniDocument desc = IniDocument::Load(descriptor);
  desc.WriteString(kResSection, "ThemeSignMobile", Cp1251ToUtf8(s.SignMobile));
  desc.WriteInteger(kResSection, "ThemeFilesCount", s.FilesCount);

  const fs::path base = descriptor.parent_path() / kResFolder;
  std::error_code ignored;
  fs::create_directory(base, ignored);
  for (int i = 0; i < s.Tree.Size(); ++i) {
    if (s.Tree.HasChildren(i)) CreateNodeDirs(base, s.Tree, i);
  }
  for (const ResourceNode& r : ResourceNodes(s)) {
    WriteFileAtomic(ResourceFilePath(descriptor, s, r), s.NewFiles[static_cast<size_t>(r.k)].f_file);
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

  const std::vector<ResourceNode> nodes = ResourceNodes(s);
  std::vector<fs::path> paths;
  std::string missing;
  for (const ResourceNode& r : nodes) {
    paths.push_back(ResourceFilePath(descriptor, s, r));
    std::error_code ec;
    if (!fs::is_regular_file(paths.back(), ec)) missing += paths.back().string() + "\r\n";
  }
  if (!missing.empty()) {
    ed.ui.ShowMsg(kResMissingFiles + missing, kMsgError);
    return false;
  }

  // Everything is read first: a file that fails leaves every slot as it was.
  std::vector<Bytes> loaded;
  loaded.reserve(paths.size());
  for (const fs::path& p : paths) {
    std::error_code ec;
    const uintmax_t size = fs::file_size(p, ec);
    if (!ec && size > UINT32_MAX) {
      throw SsfError("Файл ресурса " + p.string() + " больше 4 ГБ и не поместится в тему");
    }
    loaded.push_back(ReadWholeFile(p));
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
