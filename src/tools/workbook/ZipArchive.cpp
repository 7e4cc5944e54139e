#include "tools/workbook/ZipArchive.h"

#include "base/SsfError.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, const std::string& reason) {
  throw SsfError("Не удалось прочитать книгу: " + Utf8FromPath(path) + " (" + reason + ")");
}

}  // namespace

ZipArchive::ZipArchive(const std::filesystem::path& path)
    : path_(path), lib_(LoadLibZip(path)), zip_(nullptr, Closer{&lib_}) {
  int err = 0;
  zip_t* z = lib_.zip_open(Utf8FromPath(path).c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &err);
  if (z == nullptr) {
    zip_error_t error;
    lib_.zip_error_init_with_code(&error, err);
    std::string reason = lib_.zip_error_strerror(&error);
    lib_.zip_error_fini(&error);
    Fail(path, "архив zip: " + reason);
  }
  zip_.reset(z);
}

bool ZipArchive::Has(const std::string& name) const {
  return lib_.zip_name_locate(zip_.get(), name.c_str(), 0) >= 0;
}

std::optional<std::string> ZipArchive::Read(const std::string& name, size_t limit) const {
  zip_int64_t index = lib_.zip_name_locate(zip_.get(), name.c_str(), 0);
  if (index < 0) return std::nullopt;
  zip_stat_t st;
  lib_.zip_stat_init(&st);
  if (lib_.zip_stat_index(zip_.get(), static_cast<zip_uint64_t>(index), 0, &st) != 0 ||
      !(st.valid & ZIP_STAT_SIZE)) {
    Fail(path_, "часть " + name + " не читается");
  }
  if (st.size > limit) {
    Fail(path_, "часть " + name + " длиной " + std::to_string(st.size) + " байт больше предела " +
                    std::to_string(limit));
  }
  zip_file_t* f = lib_.zip_fopen_index(zip_.get(), static_cast<zip_uint64_t>(index), 0);
  if (f == nullptr) Fail(path_, "часть " + name + ": " + lib_.zip_strerror(zip_.get()));
  std::string data(static_cast<size_t>(st.size), '\0');
  size_t done = 0;
  // Reads one byte past the declared size so a part longer than its header says is caught.
  char extra = 0;
  while (true) {
    char* dst = done < data.size() ? data.data() + done : &extra;
    zip_uint64_t want = done < data.size() ? data.size() - done : 1;
    zip_int64_t n = lib_.zip_fread(f, dst, want);
    if (n < 0) {
      std::string reason = lib_.zip_file_strerror(f);
      lib_.zip_fclose(f);
      Fail(path_, "часть " + name + ": " + reason);
    }
    if (n == 0) break;
    if (done >= data.size()) {
      lib_.zip_fclose(f);
      Fail(path_, "часть " + name + " длиннее заявленного размера");
    }
    done += static_cast<size_t>(n);
  }
  lib_.zip_fclose(f);
  if (done != data.size()) Fail(path_, "часть " + name + " короче заявленного размера");
  return data;
}

}  // namespace ssf
