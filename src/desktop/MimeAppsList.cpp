#include "desktop/MimeAppsList.h"

#include <algorithm>
#include <vector>

namespace ssf {

namespace {

struct Line {
  std::string text;    // without the line break
  std::string ending;  // "\n", "\r\n" or "" for a last line without one
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find('\n', pos);
    if (nl == std::string_view::npos) {
      lines.push_back({std::string(text.substr(pos)), ""});
      break;
    }
    size_t end = (nl > pos && text[nl - 1] == '\r') ? nl - 1 : nl;
    lines.push_back({std::string(text.substr(pos, end - pos)), std::string(text.substr(end, nl + 1 - end))});
    pos = nl + 1;
  }
  return lines;
}

std::string Join(const std::vector<Line>& lines) {
  std::string out;
  for (const Line& l : lines) out += l.text + l.ending;
  return out;
}

std::string_view Trim(std::string_view s) {
  const char* blanks = " \t\r";
  size_t b = s.find_first_not_of(blanks);
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(blanks) - b + 1);
}

bool IsBlank(const Line& l) { return Trim(l.text).empty(); }

// The section's name when the line is a [header].
std::optional<std::string_view> SectionName(const Line& l) {
  std::string_view t = Trim(l.text);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return std::nullopt;
  return t.substr(1, t.size() - 2);
}

bool SameMimeType(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

struct Entry {
  std::string key;  // as written
  std::vector<std::string> apps;
};

// The entry of a "key=app;app;" line for `mime_type`, or nothing for any other line.
std::optional<Entry> EntryFor(const Line& l, std::string_view mime_type) {
  std::string_view t = Trim(l.text);
  if (t.empty() || t.front() == '#') return std::nullopt;
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  std::string_view key = Trim(t.substr(0, eq));
  if (!SameMimeType(key, mime_type)) return std::nullopt;
  Entry e{std::string(key), {}};
  std::string_view rest = t.substr(eq + 1);
  while (!rest.empty()) {
    size_t semi = rest.find(';');
    std::string_view app = Trim(rest.substr(0, semi));
    if (!app.empty()) e.apps.emplace_back(app);
    if (semi == std::string_view::npos) break;
    rest = rest.substr(semi + 1);
  }
  return e;
}

std::string EntryText(const Entry& e) {
  std::string s = e.key + "=";
  for (const std::string& app : e.apps) s += app + ";";
  return s;
}

// Index one past the last line of the section whose header is at `header`.
size_t SectionEnd(const std::vector<Line>& lines, size_t header) {
  size_t i = header + 1;
  while (i < lines.size() && !SectionName(lines[i])) ++i;
  return i;
}

bool IsDefaultSection(const Line& l) {
  auto name = SectionName(l);
  return name && *name == kDefaultApplicationsSection;
}

std::string LineBreakOf(const std::vector<Line>& lines) {
  return !lines.empty() && lines.front().ending == "\r\n" ? "\r\n" : "\n";
}

}  // namespace

std::optional<std::string> DefaultApplication(std::string_view text, std::string_view mime_type) {
  std::vector<Line> lines = SplitLines(text);
  bool inside = false;
  for (const Line& l : lines) {
    if (SectionName(l)) {
      inside = IsDefaultSection(l);
      continue;
    }
    if (!inside) continue;
    if (auto e = EntryFor(l, mime_type); e && !e->apps.empty()) return e->apps.front();
  }
  return std::nullopt;
}

std::string SetDefaultApplication(std::string_view text, std::string_view mime_type,
                                  std::string_view desktop_id) {
  std::vector<Line> lines = SplitLines(text);
  const std::string br = LineBreakOf(lines);
  auto header = std::find_if(lines.begin(), lines.end(), IsDefaultSection);
  if (header == lines.end()) {
    if (!lines.empty()) {
      if (lines.back().ending.empty()) lines.back().ending = br;
      if (!IsBlank(lines.back())) lines.push_back({"", br});
    }
    lines.push_back({std::string("[") + kDefaultApplicationsSection + "]", br});
    lines.push_back({std::string(mime_type) + "=" + std::string(desktop_id) + ";", br});
    return Join(lines);
  }

  const size_t start = static_cast<size_t>(header - lines.begin());
  size_t end = SectionEnd(lines, start);
  std::optional<size_t> ours;
  Entry merged{std::string(mime_type), {std::string(desktop_id)}};
  for (size_t i = start + 1; i < end;) {
    auto e = EntryFor(lines[i], mime_type);
    if (!e) {
      ++i;
      continue;
    }
    for (std::string& app : e->apps) {
      if (std::find(merged.apps.begin(), merged.apps.end(), app) == merged.apps.end()) {
        merged.apps.push_back(std::move(app));
      }
    }
    if (!ours) {
      merged.key = e->key;
      ours = i++;
    } else {
      // A later duplicate would override the first line; its apps now follow ours.
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
      --end;
    }
  }
  if (ours) {
    lines[*ours].text = EntryText(merged);
    return Join(lines);
  }
  size_t at = end;
  while (at > start + 1 && IsBlank(lines[at - 1])) --at;
  if (lines[at - 1].ending.empty()) lines[at - 1].ending = br;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), Line{EntryText(merged), br});
  return Join(lines);
}

std::string RemoveDefaultApplication(std::string_view text, std::string_view mime_type,
                                     std::string_view desktop_id) {
  std::vector<Line> lines = SplitLines(text);
  for (size_t start = 0; start < lines.size();) {
    if (!IsDefaultSection(lines[start])) {
      ++start;
      continue;
    }
    size_t end = SectionEnd(lines, start);
    bool changed = false;
    for (size_t i = start + 1; i < end;) {
      auto e = EntryFor(lines[i], mime_type);
      if (!e) {
        ++i;
        continue;
      }
      auto ours = std::find(e->apps.begin(), e->apps.end(), desktop_id);
      if (ours == e->apps.end()) {
        ++i;
        continue;
      }
      changed = true;
      e->apps.erase(ours);
      if (!e->apps.empty()) {
        lines[i++].text = EntryText(*e);
        continue;
      }
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
      --end;
    }
    const bool empty = std::all_of(lines.begin() + static_cast<std::ptrdiff_t>(start) + 1,
                                   lines.begin() + static_cast<std::ptrdiff_t>(end), IsBlank);
    if (!changed || !empty) {
      start = end;
      continue;
    }
    // The section held only our line: take it away with the blank line set before it.
    size_t from = start;
    if (end == lines.size() && from > 0 && IsBlank(lines[from - 1])) --from;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(from),
                lines.begin() + static_cast<std::ptrdiff_t>(end));
    start = from;
  }
  return Join(lines);
}

}  // namespace ssf
