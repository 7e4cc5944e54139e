#pragma once
// A file from a stranger may ask for more memory than the machine has, and the library's
// own message ("std::bad_alloc") says neither what failed nor where. Readers run their work
// through ReadingFile, so the user learns which file could not be read; the outermost
// handlers show ErrorText, which is Russian for what no reader caught.
#include <exception>
#include <filesystem>
#include <new>
#include <string>
#include <utility>

#include "base/SsfError.h"

namespace ssf {

// "Недостаточно памяти, чтобы прочитать файл: <path>".
std::string OutOfMemoryText(const std::filesystem::path& file);

// Runs `read`; a std::bad_alloc from it becomes SsfError(OutOfMemoryText(file)).
template <typename F>
decltype(auto) ReadingFile(const std::filesystem::path& file, F&& read) {
  try {
    return std::forward<F>(read)();
  } catch (const std::bad_alloc&) {
    throw SsfError(OutOfMemoryText(file));
  }
}

// The text of an error for the user: the message of our errors, a Russian one for a
// shortage of memory or a size beyond what a container can hold.
std::string ErrorText(const std::exception& e);

}  // namespace ssf
