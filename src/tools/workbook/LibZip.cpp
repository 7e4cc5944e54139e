#include "tools/workbook/LibZip.h"

#include <mutex>
#include <type_traits>
#include <string>

#include "base/SsfError.h"
#include "platform/PathText.h"
#include "platform/SharedLibrary.h"

namespace ssf {

namespace {

#ifdef SSF_LIBZIP_LINKED
// A static build has libzip linked in: every function is at hand.
std::string Load(LibZip& z) {
  z = LibZip{&zip_open,       &zip_discard,    &zip_error_init_with_code, &zip_error_strerror, &zip_error_fini,
             &zip_name_locate, &zip_stat_init,  &zip_stat_index,          &zip_fopen_index,    &zip_strerror,
             &zip_fread,       &zip_file_strerror, &zip_fclose};
  return "";
}
#else
// What failed, empty once every function is there. The library stays loaded for the rest
// of the run.
std::string Load(LibZip& z) {
  std::string why;
  void* lib = LoadSharedLibrary(SSF_LIBZIP_SONAME, why);
  if (lib == nullptr) {
    return std::string("не загружается библиотека " SSF_LIBZIP_SONAME) + (why.empty() ? "" : ": " + why);
  }
  std::string missing;
  auto take = [&](auto& fn, const char* name) {
    fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(FindSharedSymbol(lib, name));
    if (fn == nullptr) missing += missing.empty() ? name : std::string(", ") + name;
  };
  take(z.open, "zip_open");
  take(z.discard, "zip_discard");
  take(z.error_init_with_code, "zip_error_init_with_code");
  take(z.error_strerror, "zip_error_strerror");
  take(z.error_fini, "zip_error_fini");
  take(z.name_locate, "zip_name_locate");
  take(z.stat_init, "zip_stat_init");
  take(z.stat_index, "zip_stat_index");
  take(z.fopen_index, "zip_fopen_index");
  take(z.strerror, "zip_strerror");
  take(z.fread, "zip_fread");
  take(z.file_strerror, "zip_file_strerror");
  take(z.fclose, "zip_fclose");
  return missing.empty() ? "" : "в библиотеке " SSF_LIBZIP_SONAME " нет " + missing;
}
#endif

}  // namespace

const LibZip& LoadLibZip(const std::filesystem::path& workbook) {
  static LibZip lib{};
  static std::string failure;
  static std::once_flag once;
  std::call_once(once, [] { failure = Load(lib); });
  if (!failure.empty()) throw SsfError("Не удалось прочитать книгу: " + Utf8FromPath(workbook) + " (" + failure + ")");
  return lib;
}

}  // namespace ssf
