#include "pictures/Libpng.h"

#include "base/SsfError.h"

namespace ssf {

const Libpng& LoadLibpng() {
  static const LateTable<Libpng> table(SSF_LIBPNG_SONAME, [](Libpng& t, [[maybe_unused]] LateLibraryLoader& loader) {
    SSF_LIBPNG_FUNCTIONS(SSF_LATE_TAKE)
  });
  if (const Libpng* lib = table.Get()) return *lib;
  throw SsfError("PNG: " + table.Failure());
}

}  // namespace ssf
