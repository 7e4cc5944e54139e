#pragma once
// Where ssftool's messages go. Not std::ostream: making one sets up the C++ locale with its
// two dozen facets, which cost a small conversion more than a tenth of its whole run
// (djpeg-sized work starts in about 2 ms). Strings and integers are all the tool prints.
#include <charconv>
#include <concepts>
#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

namespace ssf::cli {

class TextOut {
 public:
  virtual ~TextOut() = default;

  TextOut& operator<<(std::string_view text) {
    Write(text);
    return *this;
  }
  TextOut& operator<<(const char* text) { return *this << std::string_view(text); }
  TextOut& operator<<(const std::string& text) { return *this << std::string_view(text); }
  TextOut& operator<<(char c) { return *this << std::string_view(&c, 1); }
  template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, signed char> &&
             !std::same_as<T, unsigned char>)
  TextOut& operator<<(T value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return *this << std::string_view(digits, static_cast<size_t>(end - digits));
  }
  // Deleted so that a byte or a flag is never printed by accident as a character or "1".
  TextOut& operator<<(bool) = delete;
  TextOut& operator<<(signed char) = delete;
  TextOut& operator<<(unsigned char) = delete;
  TextOut& operator<<(double) = delete;

 protected:
  virtual void Write(std::string_view text) = 0;
};

// The text kept, for tests and for callers that print it later.
class StringTextOut : public TextOut {
 public:
  const std::string& str() const { return text_; }

 protected:
  void Write(std::string_view text) override { text_ += text; }

 private:
  std::string text_;
};

// Through C's stdio, so that its buffering and the console set-up of the platform apply.
class FileTextOut : public TextOut {
 public:
  explicit FileTextOut(std::FILE* file) : file_(file) {}

 protected:
  void Write(std::string_view text) override { std::fwrite(text.data(), 1, text.size(), file_); }

 private:
  std::FILE* file_;
};

}  // namespace ssf::cli
