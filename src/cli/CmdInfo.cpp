#include <nlohmann/json.hpp>

#include "base/Cp1251.h"
#include "cli/CliTheme.h"
#include "cli/Commands.h"
#include "theme/ThemeHeader.h"
#include "platform/PathText.h"

namespace ssf::cli {

namespace {

// What the editor shows of an open theme, for one theme file.
struct FileRow {
  int index;
  std::string path;
  TTHemeFiles entry;
  uint32_t stored;
};

std::vector<FileRow> Rows(const OpenedTheme& t) {
  std::vector<FileRow> rows;
  for (int k = 0; k < t.map.FilesCount; ++k) {
    const int node = t.map.Tree.FileNode(k);
    const TTHemeFiles* entry = t.map.Entry(k);
    const TThemeNewFiles* slot = t.theme.Slot(k);
    rows.push_back({k, node < 0 ? "" : t.map.Tree.PathOf(node), entry ? *entry : TTHemeFiles{},
                    slot ? slot->f_size() : 0});
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
      throw UsageError{"лишний аргумент '" + a + "'"};
    }
  }
  if (file.empty()) throw UsageError{"нужен файл темы"};

  const std::optional<OpenedTheme> opened = OpenTheme(ctx, PathFromUtf8(file));
  if (!opened) return kExitFailed;
  const OpenedTheme& t = *opened;

  const std::string model = Cp1251ToUtf8(ThemeModel(t.theme));
  const std::string map = Utf8FromPath(t.map_path.filename());
  const std::string author = HeaderText(t.theme, kAuthorField);
  const std::string name = HeaderText(t.theme, kNameField);
  const std::string version = HeaderText(t.theme, kVersionField);
  const int type_index = ThemeTypeIndex(t.theme);
  const bool has_type = !t.map.IsColorTheme && type_index >= 0;
  const std::vector<FileRow> rows = Rows(t);

  if (json) {
    nlohmann::ordered_json j;
    j["model"] = model;
    j["map"] = map;
    j["author"] = author;
    j["name"] = name;
    j["version"] = version;
    j["type"] = has_type ? nlohmann::ordered_json(type_index) : nlohmann::ordered_json(nullptr);
    j["icon"] = t.map.HasIcon;
    j["stored"] = t.theme.StoredFiles();
    j["count"] = t.map.FilesCount;
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

  // The field names are the window's labels.
  const char* type = !has_type ? "нет" : type_index == 0 ? "Черная тема" : "Белая тема";
  ctx.out << "Модель: " << model << "\n"
          << "Карта темы: " << map << "\n"
          << "Автор темы: " << author << "\n"
          << "Название темы: " << name << "\n"
          << "Версия темы: " << version << "\n"
          << "Тип темы: " << type << "\n"
          << "Иконка: " << (t.map.HasIcon ? "есть" : "нет") << "\n"
          << "Файлы темы: " << t.theme.StoredFiles() << "/" << t.map.FilesCount << "\n";
  for (const FileRow& r : rows) {
    std::string size = r.entry.f_type == "COLORTAB"
                           ? std::to_string(r.entry.f_size)
                           : std::to_string(r.entry.f_width) + "x" + std::to_string(r.entry.f_height);
    ctx.out << r.index << '\t' << r.path << '\t' << r.entry.f_type << '\t' << size << '\t' << r.stored << "\n";
  }
  return kExitOk;
}

}  // namespace ssf::cli
