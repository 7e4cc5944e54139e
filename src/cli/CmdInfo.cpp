#include <nlohmann/json.hpp>

#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "base/Cp1251.h"
#include "editor/Editor.h"
#include "theme/ThemeContainer.h"

namespace ssf::cli {

namespace {

// What the editor shows of an open theme, for one theme file.
struct FileRow {
  int index;
  std::string path;
  TTHemeFiles entry;
  uint32_t stored;
};

std::vector<FileRow> Rows(const EditorState& s) {
  std::vector<FileRow> rows;
  for (int k = 0; k < s.FilesCount; ++k) {
    int node = s.Tree.FileNode(k);
    TTHemeFiles entry = static_cast<size_t>(k) < s.ThemeFiles.size() ? s.ThemeFiles[static_cast<size_t>(k)]
                                                                      : TTHemeFiles{};
    rows.push_back({k, node < 0 ? "" : s.Tree.PathOf(node), entry,
                    s.NewFiles[static_cast<size_t>(k)].f_size()});
  }
  return rows;
}

}  // namespace

int CmdInfo(Context& ctx, const std::vector<std::string>& args) {
  std::string file;
  bool json = false;
  for (const std::string& a : args) {
    if (a == "--json") {
      json = true;
    } else if (file.empty() && (a.empty() || a[0] != '-')) {
      file = a;
    } else {
      throw UsageError{"unexpected argument '" + a + "'"};
    }
  }
  if (file.empty()) throw UsageError{"a theme file is needed"};

  CliUi ui;
  IniDocument settings;  // not bound to a file: the tool keeps no settings
  Editor ed{ui, settings, ctx.maps_dir, {}, {}};
  OpenThemeFile(ed, file);  // a file that cannot be read or is cut short throws: Run prints it
  const EditorState& s = ed.state;
  const ViewState& v = ed.view;
  if (!v.MM_Child_SaveTheme_enabled) {
    if (ui.messages.empty()) ctx.err << v.status[1] << "\n";
    for (const auto& m : ui.messages) ctx.err << ForTerminal(m.text) << "\n";
    return kExitFailed;
  }

  std::string model = Cp1251ToUtf8(ReadTextField(s.ThemeStream.Data(), kModelOffset, kModelSize));
  std::string map = s.MapPath.filename().string();
  bool has_type = !s.IsColorTheme && v.CBox_ThemeType_index >= 0;
  std::vector<FileRow> rows = Rows(s);

  if (json) {
    nlohmann::ordered_json j;
    j["model"] = model;
    j["map"] = map;
    j["author"] = v.ED_ThemeAuthor;
    j["name"] = v.ED_ThemeName;
    j["version"] = v.ED_ThemeVersion;
    j["type"] = has_type ? nlohmann::ordered_json(v.CBox_ThemeType_index) : nlohmann::ordered_json(nullptr);
    j["icon"] = s.HasIcon;
    j["stored"] = s.StoredFiles;
    j["count"] = s.FilesCount;
    j["files"] = nlohmann::ordered_json::array();
    for (const FileRow& r : rows) {
      j["files"].push_back({{"index", r.index},
                            {"path", r.path},
                            {"kind", r.entry.f_type},
                            {"width", r.entry.f_width},
                            {"height", r.entry.f_height},
                            {"size", r.entry.f_size},
                            {"stored", r.stored}});
    }
    // Texts from the file may hold bytes that are not UTF-8: they become U+FFFD, not an error.
    ctx.out << j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
    return kExitOk;
  }

  const char* type = !has_type ? "none" : v.CBox_ThemeType_index == 0 ? "Черная тема" : "Белая тема";
  ctx.out << "model: " << model << "\n"
          << "map: " << map << "\n"
          << "author: " << v.ED_ThemeAuthor << "\n"
          << "name: " << v.ED_ThemeName << "\n"
          << "version: " << v.ED_ThemeVersion << "\n"
          << "type: " << type << "\n"
          << "icon: " << (s.HasIcon ? "yes" : "no") << "\n"
          << "files: " << s.StoredFiles << "/" << s.FilesCount << "\n";
  for (const FileRow& r : rows) {
    std::string size = r.entry.f_type == "COLORTAB"
                           ? std::to_string(r.entry.f_size)
                           : std::to_string(r.entry.f_width) + "x" + std::to_string(r.entry.f_height);
    ctx.out << r.index << '\t' << r.path << '\t' << r.entry.f_type << '\t' << size << '\t' << r.stored << "\n";
  }
  return kExitOk;
}

}  // namespace ssf::cli
