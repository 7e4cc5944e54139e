#pragma once
// Decimal numbers as text in the same form in every locale, for the cells of workbooks.
// Not std::from_chars/std::to_chars for double on POSIX systems: in the static C++ library
// they bring the C maths library along (for its rounding-mode calls), and linking that
// cost every ssftool start about as much as decoding a small JPEG.
#include <optional>
#include <string>
#include <string_view>

namespace ssf {

// The whole text as a double, in std::from_chars' words: an optional '-', digits with an
// optional '.' and exponent, or inf, infinity, nan, nan(...) in any case; no '+', no
// spaces, no hexadecimal. Nothing for anything else or a value out of range.
std::optional<double> ParseDecimal(std::string_view text);

// printf's "%.15g" in the C locale (std::to_chars' general form with 15 digits).
std::string FormatGeneral15(double value);

}  // namespace ssf
