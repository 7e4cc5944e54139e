#pragma once
// libzip, loaded when the first workbook is opened rather than with the program: it brings
// libcrypto and libbz2 along, and loading those cost every ssftool run, a small conversion
// included, more than the conversion itself. Only the functions the readers call are taken.
#include <zip.h>

#include <filesystem>

namespace ssf {

struct LibZip {
  decltype(&zip_open) open;
  decltype(&zip_discard) discard;
  decltype(&zip_error_init_with_code) error_init_with_code;
  decltype(&zip_error_strerror) error_strerror;
  decltype(&zip_error_fini) error_fini;
  decltype(&zip_name_locate) name_locate;
  decltype(&zip_stat_init) stat_init;
  decltype(&zip_stat_index) stat_index;
  decltype(&zip_fopen_index) fopen_index;
  decltype(&zip_strerror) strerror;
  decltype(&zip_fread) fread;
  decltype(&zip_file_strerror) file_strerror;
  decltype(&zip_fclose) fclose;
};

// The loaded library, loaded on the first call. Throws SsfError("Не удалось прочитать книгу:
// <workbook> (...)") when it cannot be loaded.
const LibZip& LoadLibZip(const std::filesystem::path& workbook);

}  // namespace ssf
