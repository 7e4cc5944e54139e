#include "pictures/Libdeflate.h"

#include "base/SsfError.h"

namespace ssf {

const Libdeflate& LoadLibdeflate() {
  static const LateTable<Libdeflate> table(SSF_LIBDEFLATE_SONAME, [](Libdeflate& t, [[maybe_unused]] LateLibraryLoader& loader) {
    SSF_LIBDEFLATE_FUNCTIONS(SSF_LATE_TAKE)
  });
  if (const Libdeflate* lib = table.Get()) return *lib;
  throw SsfError("PNG: " + table.Failure());
}

}  // namespace ssf
