#include "pictures/Libm.h"

#include <cmath>

#include "base/SsfError.h"

namespace ssf {

const Libm& LoadLibm() {
  static const LateTable<Libm> table(SSF_LIBM_SONAME, [](Libm& t, [[maybe_unused]] LateLibraryLoader& loader) {
    SSF_LATE_TAKE(pow)
  });
  if (const Libm* lib = table.Get()) return *lib;
  throw SsfError("Не удалось изменить размер изображения: " + table.Failure());
}

}  // namespace ssf
