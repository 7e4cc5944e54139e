#include "tools/workbook/Libexpat.h"

#include "base/SsfError.h"

namespace ssf {

const Libexpat& LoadLibexpat() {
  static const LateTable<Libexpat> table(SSF_LIBEXPAT_SONAME, [](Libexpat& t, [[maybe_unused]] LateLibraryLoader& loader) {
    SSF_LIBEXPAT_FUNCTIONS(SSF_LATE_TAKE)
  });
  if (const Libexpat* lib = table.Get()) return *lib;
  throw SsfError("XML: " + table.Failure());
}

}  // namespace ssf
