#pragma once
// C libraries loaded on first use rather than with the program. Every library linked in is
// mapped and bound at each start, and a small conversion's whole run is about 2 ms: libpng,
// zlib, libdeflate and expat cost a JPEG to BMP run that needs none of them about an eighth of
// its time. A library's functions are listed once, in an X-macro:
//
//   #define SSF_LIBFOO_FUNCTIONS(X) X(foo_open) X(foo_close)
//   struct Libfoo { SSF_LIBFOO_FUNCTIONS(SSF_LATE_MEMBER) };
//   ...
//   static const LateTable<Libfoo> table(SSF_LIBFOO_SONAME, [](Libfoo& t, LateLibraryLoader& loader) {
//     SSF_LIBFOO_FUNCTIONS(SSF_LATE_TAKE)
//   });
//
// Where the libraries are linked in (the static Windows build defines SSF_LINKED_LIBRARIES)
// the table is filled with the linked functions and nothing is loaded.
#include <string>

#include "platform/SharedLibrary.h"

#define SSF_LATE_MEMBER(f) decltype(&::f) f;
#ifdef SSF_LINKED_LIBRARIES
#define SSF_LATE_TAKE(f) t.f = &::f;
#else
#define SSF_LATE_TAKE(f) loader.Take(t.f, #f);
#endif

namespace ssf {

class LateLibraryLoader {
 public:
#ifdef SSF_LINKED_LIBRARIES
  explicit LateLibraryLoader(const char*) {}
  std::string Failure() const { return {}; }
#else
  explicit LateLibraryLoader(const char* soname) : soname_(soname), library_(LoadSharedLibrary(soname, why_)) {}

  template <typename Fn>
  void Take(Fn& fn, const char* name) {
    if (library_ == nullptr) return;
    fn = reinterpret_cast<Fn>(FindSharedSymbol(library_, name));
    if (fn == nullptr) missing_ += (missing_.empty() ? "" : ", ") + std::string(name);
  }

  // What failed, in words for a message; empty once every function is there.
  std::string Failure() const {
    if (library_ == nullptr) return "не загружается библиотека " + soname_ + (why_.empty() ? "" : ": " + why_);
    return missing_.empty() ? "" : "в библиотеке " + soname_ + " нет " + missing_;
  }

 private:
  std::string soname_;
  std::string why_;
  void* library_;
  std::string missing_;
#endif
};

// The table, filled when constructed (a function's static: once, on first use, thread-safe).
// The library stays loaded for the rest of the run.
template <typename Table>
class LateTable {
 public:
  template <typename Fill>
  LateTable(const char* soname, Fill fill) {
    LateLibraryLoader loader(soname);
    fill(table_, loader);
    failure_ = loader.Failure();
  }
  // Null when the library or one of its functions is missing; Failure() says which.
  const Table* Get() const { return failure_.empty() ? &table_ : nullptr; }
  const std::string& Failure() const { return failure_; }

 private:
  Table table_{};
  std::string failure_;
};

}  // namespace ssf
