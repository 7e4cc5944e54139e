#include "base/IniDocument.h"

#include <charconv>

#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "base/MemoryShortage.h"
#include "base/SsfError.h"

namespace ssf {

namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

bool SameName(const std::string& a, const std::string& b) { return AsciiUpper(a) == AsciiUpper(b); }

// Control characters would end the line (a path with a line feed in its name would add a
// line of its choosing to the file) or be lost, so values keep them as %XX, and a '%' as %25.
// Only these escapes are read back: a "%20" or "100%" written by another program stays.
bool IsEscaped(unsigned char c) { return c < 0x20 || c == 0x7F || c == '%'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string EscapeValue(const std::string& value) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(value.size());
  for (char ch : value) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsEscaped(c)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

std::string UnescapeValue(const std::string& value) {
  if (value.find('%') == std::string::npos) return value;
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '%' && i + 2 < value.size() && HexDigit(value[i + 1]) >= 0 && HexDigit(value[i + 2]) >= 0) {
      const auto c = static_cast<unsigned char>(HexDigit(value[i + 1]) * 16 + HexDigit(value[i + 2]));
      if (IsEscaped(c)) {
        out += static_cast<char>(c);
        i += 2;
        continue;
      }
    }
    out += value[i];
  }
  return out;
}

// Section and key names are the program's own; a control character in one is dropped all
// the same, so no name can break a line either.
std::string WithoutControls(const std::string& name) {
  std::string out;
  for (char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x20 && c != 0x7F) out += ch;
  }
  return out;
}

}  // namespace

IniDocument IniDocument::Load(const std::filesystem::path& path) {
  std::error_code ec;
  IniDocument doc;
  if (std::filesystem::exists(path, ec)) {
    doc = ReadingFile(path, [&] {
      Bytes raw = ReadWholeFile(path, kMaxIniFileSize);
      return Parse(std::string(raw.begin(), raw.end()));
    });
  }
  doc.path_ = path;
  return doc;
}

IniDocument IniDocument::Parse(const std::string& input) {
  IniDocument doc;
  std::string text = input;
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  if (!IsValidUtf8(text)) text = Cp1251ToUtf8(text);
  if (text.find("\r\n") != std::string::npos) doc.eol_ = "\r\n";
  std::string current;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string raw = text.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    start = end + 1;
    Line line;
    line.text = raw;
    std::string t = Trim(raw);
    if (t.size() >= 2 && t.front() == '[' && t.find(']') != std::string::npos) {
      line.kind = Line::kSection;
      line.section = Trim(t.substr(1, t.find(']') - 1));
      current = line.section;
    } else if (!t.empty() && t[0] != ';' && t[0] != '#' && t.find('=') != std::string::npos) {
      line.kind = Line::kKey;
      line.section = current;
      line.key = Trim(t.substr(0, t.find('=')));
      line.value = Trim(t.substr(t.find('=') + 1));
    }
    doc.lines_.push_back(std::move(line));
  }
  return doc;
}

int IniDocument::FindKey(const std::string& section, const std::string& key, int* section_end) const {
  int found = -1;
  int end = -1;
  bool in_section = false;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const Line& l = lines_[i];
    if (l.kind == Line::kSection) {
      in_section = SameName(l.section, section);
      if (in_section && end < 0) end = static_cast<int>(i) + 1;
    } else if (in_section && l.kind == Line::kKey) {
      end = static_cast<int>(i) + 1;
      if (found < 0 && SameName(l.key, key)) found = static_cast<int>(i);
    }
  }
  if (section_end) *section_end = end;
  return found;
}

std::optional<std::string> IniDocument::Find(const std::string& section, const std::string& key) const {
  int i = FindKey(section, key, nullptr);
  if (i < 0) return std::nullopt;
  std::string v = lines_[static_cast<size_t>(i)].value;
  // Quotes around a whole value are dropped, as INI readers do.
  if (v.size() >= 2 && ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\''))) {
    v = v.substr(1, v.size() - 2);
  }
  return UnescapeValue(v);
}

std::string IniDocument::ReadString(const std::string& section, const std::string& key,
                                    const std::string& fallback) const {
  return Find(section, key).value_or(fallback);
}

int IniDocument::ReadInteger(const std::string& section, const std::string& key, int fallback) const {
  auto v = Find(section, key);
  if (!v || v->empty()) return fallback;
  int out = 0;
  const char* first = v->data();
  const char* last = v->data() + v->size();
  if (*first == '+') ++first;
  auto [ptr, ec] = std::from_chars(first, last, out);
  if (ec != std::errc() || ptr != last) return fallback;
  return out;
}

bool IniDocument::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool IniDocument::SectionExists(const std::string& section) const {
  for (const Line& l : lines_) {
    if (l.kind == Line::kSection && SameName(l.section, section)) return true;
  }
  return false;
}

void IniDocument::WriteString(const std::string& raw_section, const std::string& raw_key, const std::string& raw_value) {
  const std::string section = WithoutControls(raw_section);
  const std::string key = WithoutControls(raw_key);
  const std::string value = EscapeValue(raw_value);
  int end = -1;
  int i = FindKey(section, key, &end);
  if (i >= 0) {
    Line& l = lines_[static_cast<size_t>(i)];
    l.value = value;
    l.text = l.key + "=" + value;
  } else {
    Line l;
    l.kind = Line::kKey;
    l.section = section;
    l.key = key;
    l.value = value;
    l.text = key + "=" + value;
    if (end < 0) {
      if (!lines_.empty() && !Trim(lines_.back().text).empty()) lines_.push_back(Line{});
      Line head;
      head.kind = Line::kSection;
      head.section = section;
      head.text = "[" + section + "]";
      lines_.push_back(std::move(head));
      lines_.push_back(std::move(l));
    } else {
      lines_.insert(lines_.begin() + end, std::move(l));
    }
  }
  Save();
}

void IniDocument::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniDocument::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::string IniDocument::Text() const {
  std::string out;
  for (const Line& l : lines_) out += l.text + eol_;
  return out;
}

void IniDocument::Save() const {
  if (path_.empty()) return;
  WriteFileAtomic(path_, Text());
}

}  // namespace ssf
