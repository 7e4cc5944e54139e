#pragma once
// "1 запись", "3 записи", "5 записей", "21 запись", "12 записей".
#include <cstdint>
#include <string>

namespace ssf {

// The form of a noun after the number n: `one` for 1, 21, 101..., `few` for 2-4, 22-24...,
// `many` for the rest (0, 5-20, 11-14, 25...).
const char* RussianPluralForm(int64_t n, const char* one, const char* few, const char* many);

// The number followed by the right form: CountText(3, "запись", "записи", "записей").
std::string CountText(int64_t n, const char* one, const char* few, const char* many);

}  // namespace ssf
