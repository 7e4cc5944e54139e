#include "base/MemoryShortage.h"
#include "platform/PathText.h"

#include <stdexcept>

namespace ssf {

std::string OutOfMemoryText(const std::filesystem::path& file) {
  return "Недостаточно памяти, чтобы прочитать файл: " + Utf8FromPath(file);
}

std::string ErrorText(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) return "Недостаточно памяти для этой операции.";
  if (dynamic_cast<const std::length_error*>(&e) != nullptr) return "Данные слишком велики для этой операции.";
  return e.what();
}

}  // namespace ssf
