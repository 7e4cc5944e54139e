#include "base/Cp1251.h"

#include <array>
#include <cstdint>

namespace ssf {

namespace {

// Code points of the bytes 0x80..0xFF; 0xFFFD marks the one unassigned byte (0x98).
constexpr std::array<char32_t, 128> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,};


// Decodes one UTF-8 sequence at `i`; returns its length, or 0 for an invalid one.
size_t DecodeUtf8(std::string_view s, size_t i, char32_t& c) {
  auto b = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
  uint8_t lead = b(i);
  size_t len;
  if (lead < 0x80) { c = lead; return 1; }
  if ((lead & 0xE0) == 0xC0) { len = 2; c = lead & 0x1F; }
  else if ((lead & 0xF0) == 0xE0) { len = 3; c = lead & 0x0F; }
  else if ((lead & 0xF8) == 0xF0) { len = 4; c = lead & 0x07; }
  else return 0;
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b(i + k) & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string Cp1251ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char ch : bytes) {
    auto b = static_cast<uint8_t>(ch);
    AppendUtf8(out, b < 0x80 ? char32_t{b} : kHigh[b - 0x80]);
  }
  return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t c;
    size_t len = DecodeUtf8(utf8, i, c);
    if (len == 0) { out += '?'; ++i; continue; }
    i += len;
    if (c < 0x80) { out += static_cast<char>(c); continue; }
    char mapped = '?';
    for (size_t k = 0; k < kHigh.size(); ++k) {
      if (kHigh[k] == c) { mapped = static_cast<char>(0x80 + k); break; }
    }
    out += mapped;
  }
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    char32_t c;
    size_t len = DecodeUtf8(bytes, i, c);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

size_t Utf8Length(std::string_view utf8) {
  size_t n = 0;
  for (size_t i = 0; i < utf8.size();) {
    char32_t c;
    size_t len = DecodeUtf8(utf8, i, c);
    i += len == 0 ? 1 : len;
    ++n;
  }
  return n;
}

std::string Utf8Truncate(std::string_view utf8, size_t max_bytes) {
  size_t end = 0;
  for (size_t i = 0; i < utf8.size();) {
    char32_t c;
    size_t len = DecodeUtf8(utf8, i, c);
    if (len == 0) len = 1;
    if (i + len > max_bytes) break;
    i += len;
    end = i;
  }
  return std::string(utf8.substr(0, end));
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  return out;
}

std::string FoldedFileName(std::string_view utf8) {
  std::string key = Utf8ToCp1251(utf8);
  for (char& c : key) {
    const auto b = static_cast<uint8_t>(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDF)) c = static_cast<char>(b + 0x20);
    if (b == 0xA8) c = static_cast<char>(0xB8);  // Ё
  }
  return key;
}

}  // namespace ssf
