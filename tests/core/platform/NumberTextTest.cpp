#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace ssf {
namespace {

std::optional<double> FromChars(std::string_view text) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string ToChars(double value) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  return std::string(buf, r.ptr);
}

// The workbook readers took numbers with the C++ library's conversions; ours must read and
// write every cell the same, whatever the program's locale.
void ExpectSameAsTheCppLibrary() {
  const char* texts[] = {"0", "-0", "7", "-12.5", "0.1", ".5", "5.", "1e3", "1E-3", "2.5e+10", "1e308",
                         "123456789012345678901234567890", "0.30000000000000004", "inf", "-Infinity", "NAN",
                         "nan(123abc)", "4.9e-324", "2e-310", "1e-400", "-1e-400", "1e400", "-1e400", "", "-", "+1", " 1", "1 ", "0x10",
                         "1e", "1e+", ".", "-.", "1.2.3", "1,5", "nan(", "infx", "e5", "--1"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    const std::optional<double> ours = ParseDecimal(text), theirs = FromChars(text);
    ASSERT_EQ(ours.has_value(), theirs.has_value());
    if (ours && !std::isnan(*ours)) {
      EXPECT_EQ(std::memcmp(&*ours, &*theirs, sizeof(double)), 0);
    }
  }
  const double values[] = {0.1 + 0.2, 1.0 / 3, -2.5, 1e15, 1e16, 123456789012345.6, 1e-5, 6.02214076e23,
                           std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::infinity(), 42, 0.5, 45000.75};
  for (double v : values) {
    EXPECT_EQ(FormatGeneral15(v), ToChars(v)) << v;
  }
}

TEST(NumberTextTest, ReadsAndWritesAsTheCppLibraryDoes) { ExpectSameAsTheCppLibrary(); }

TEST(NumberTextTest, LocaleWithDecimalCommaChangesNothing) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  bool set = false;
  for (const char* name : {"ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) {
      set = true;
      break;
    }
  }
  if (!set) GTEST_SKIP() << "no locale with a decimal comma on this system";
  ExpectSameAsTheCppLibrary();
  EXPECT_EQ(FormatGeneral15(1.5), "1.5");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace ssf
