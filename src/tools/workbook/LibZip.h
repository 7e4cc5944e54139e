#pragma once
// libzip, loaded when the first workbook is opened rather than with the program: it brings
// libcrypto and libbz2 along, and loading those cost every ssftool run, a small conversion
// included, more than the conversion itself. Only the functions the readers call are taken.
#include <zip.h>

#include <filesystem>

#include "platform/LateLibrary.h"

#define SSF_LIBZIP_FUNCTIONS(X)                                                                       \
  X(zip_open) X(zip_discard) X(zip_error_init_with_code) X(zip_error_strerror) X(zip_error_fini)       \
  X(zip_name_locate) X(zip_stat_init) X(zip_stat_index) X(zip_fopen_index) X(zip_strerror) X(zip_fread) \
  X(zip_file_strerror) X(zip_fclose)

namespace ssf {

struct LibZip {
  SSF_LIBZIP_FUNCTIONS(SSF_LATE_MEMBER)
};

// The loaded library, loaded on the first call. Throws SsfError("Не удалось прочитать книгу:
// <workbook> (...)") when it cannot be loaded.
const LibZip& LoadLibZip(const std::filesystem::path& workbook);

}  // namespace ssf
