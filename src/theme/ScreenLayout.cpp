#include "theme/ScreenLayout.h"

#include <charconv>
#include <map>
#include <optional>
#include <system_error>

#include "base/FileIO.h"
#include "base/Limits.h"
#include "base/SsfError.h"

namespace ssf {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::optional<int64_t> ParseInt(std::string_view s) {
  s = Trim(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  int64_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

// "A<sep>B" as two numbers, each within [lo, hi].
std::optional<std::pair<int32_t, int32_t>> ParsePair(std::string_view s, char sep, int64_t lo, int64_t hi) {
  const size_t at = s.find(sep);
  if (at == std::string_view::npos) return std::nullopt;
  const auto a = ParseInt(s.substr(0, at));
  const auto b = ParseInt(s.substr(at + 1));
  if (!a || !b || *a < lo || *a > hi || *b < lo || *b > hi) return std::nullopt;
  return std::pair<int32_t, int32_t>{static_cast<int32_t>(*a), static_cast<int32_t>(*b)};
}

class Parser {
 public:
  explicit Parser(const ThemeMap& map) {
    for (int k = 0; k < map.Tree.FileNodeCount(); ++k) {
      const int node = map.Tree.FileNode(k);
      if (node < 0) continue;
      auto [it, fresh] = files_.emplace(map.Tree.PathOf(node), k);
      if (!fresh) it->second = -1;  // two theme files with one path: a layout cannot tell them apart
    }
  }

  void Line(int64_t number, std::string_view raw) {
    number_ = number;
    line_ = raw;
    if (raw.size() > kMaxLayoutLine) {
      line_ = raw.substr(0, 60);
      return Error("строка длиннее " + std::to_string(kMaxLayoutLine) + " байт");
    }
    const std::string_view text = Trim(raw);
    if (text.empty() || text.front() == '#') return;
    if (text.front() == '[') return Section(text);
    if (!current_) {
      if (skipping_) return;  // the lines of a refused screen: its header was reported
      return Error("строка вне раздела экрана ([Имя экрана])");
    }
    const size_t eq = text.rfind('=');
    if (eq == std::string_view::npos) return Error("нет знака \"=\"");
    const std::string_view key = Trim(text.substr(0, eq));
    const std::string_view value = Trim(text.substr(eq + 1));
    if (key == "size") return Size(value);
    Place(key, value);
  }

  ScreenLayouts Finish() {
    Close();
    return std::move(out_);
  }

 private:
  void Error(const std::string& reason) {
    if (out_.errors.size() < kMaxReportedLayoutErrors) {
      out_.errors.push_back("Строка " + std::to_string(number_) + ": " + std::string(line_) + " - " + reason + ".");
    } else {
      ++out_.more_errors;
    }
  }

  void Section(std::string_view text) {
    Close();
    skipping_ = true;
    if (text.back() != ']') return Error("нет закрывающей скобки \"]\"");
    const std::string name(Trim(text.substr(1, text.size() - 2)));
    if (name.empty()) return Error("пустое имя экрана");
    for (const ScreenLayout& s : out_.screens) {
      if (s.name == name) return Error("экран с таким именем уже есть");
    }
    if (out_.screens.size() >= kMaxLayoutScreens) {
      return Error("экранов больше " + std::to_string(kMaxLayoutScreens));
    }
    skipping_ = false;
    current_ = ScreenLayout{};
    current_->name = name;
    section_number_ = number_;
    section_line_ = std::string(line_);
  }

  void Size(std::string_view value) {
    const auto wh = ParsePair(value, 'x', 1, kMaxPictureSide);
    if (!wh || BoundedProduct(wh->first, wh->second, kMaxPicturePixels) < 0) {
      return Error("размер экрана должен быть ШxВ, каждая сторона от 1 до " + std::to_string(kMaxPictureSide) +
                   ", не больше " + std::to_string(kMaxPicturePixels) + " точек");
    }
    current_->width = static_cast<uint32_t>(wh->first);
    current_->height = static_cast<uint32_t>(wh->second);
  }

  void Place(std::string_view key, std::string_view value) {
    const auto it = files_.find(std::string(key));
    if (it == files_.end()) return Error("в карте нет файла темы с таким путём");
    if (it->second < 0) return Error("в карте несколько файлов темы с таким путём");
    const auto xy = ParsePair(value, ',', -kMaxPictureSide, kMaxPictureSide);
    if (!xy) return Error("координаты должны быть X,Y, целые от -" + std::to_string(kMaxPictureSide) + " до " +
                          std::to_string(kMaxPictureSide));
    if (current_->layers.size() >= kMaxScreenLayers) {
      return Error("слоёв на экране больше " + std::to_string(kMaxScreenLayers));
    }
    current_->layers.push_back(ScreenLayer{it->second, it->first, xy->first, xy->second});
  }

  // A screen without a size cannot be drawn: it is reported at its header line and dropped.
  void Close() {
    if (!current_) return;
    if (current_->width == 0) {
      const int64_t n = number_;
      const std::string_view l = line_;
      number_ = section_number_;
      line_ = section_line_;
      Error("у экрана нет строки size = ШxВ");
      number_ = n;
      line_ = l;
    } else {
      out_.screens.push_back(std::move(*current_));
    }
    current_.reset();
  }

  std::map<std::string, int> files_;  // tree path -> theme file index, -1 when ambiguous
  ScreenLayouts out_;
  std::optional<ScreenLayout> current_;
  bool skipping_ = false;
  int64_t number_ = 0;
  std::string_view line_;
  int64_t section_number_ = 0;
  std::string section_line_;
};

}  // namespace

ScreenLayouts ParseScreenLayouts(std::string_view text, const ThemeMap& map) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Parser parser(map);
  int64_t number = 0;
  while (!text.empty()) {
    const size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    parser.Line(++number, line);
    if (lf == std::string_view::npos) break;
    text.remove_prefix(lf + 1);
  }
  return parser.Finish();
}

std::filesystem::path ScreenLayoutPath(const std::filesystem::path& map_path) {
  std::filesystem::path p = map_path;
  p.replace_extension(".screens");
  return p;
}

ScreenLayouts ReadScreenLayouts(const std::filesystem::path& map_path, const ThemeMap& map) {
  const std::filesystem::path path = ScreenLayoutPath(map_path);
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec))) return {};
  const Bytes bytes = ReadWholeFile(path, kMaxTextFileSize);
  return ParseScreenLayouts(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), map);
}

std::string ScreenLayoutReport(const std::string& file_name, const ScreenLayouts& layouts) {
  std::string text = "В раскладке экранов [" + file_name + "] допущены ошибки; эти строки пропущены:\n";
  for (size_t i = 0; i < layouts.errors.size(); ++i) {
    text += std::to_string(i + 1) + ". " + layouts.errors[i] + "\n";
  }
  if (layouts.more_errors > 0) text += "… и ещё ошибок: " + std::to_string(layouts.more_errors) + "\n";
  return text;
}

}  // namespace ssf
