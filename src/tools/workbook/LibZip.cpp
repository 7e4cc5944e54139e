#include "tools/workbook/LibZip.h"

#include "base/SsfError.h"
#include "platform/PathText.h"

namespace ssf {

const LibZip& LoadLibZip(const std::filesystem::path& workbook) {
  static const LateTable<LibZip> table(SSF_LIBZIP_SONAME, [](LibZip& t, [[maybe_unused]] LateLibraryLoader& loader) {
    SSF_LIBZIP_FUNCTIONS(SSF_LATE_TAKE)
  });
  if (const LibZip* lib = table.Get()) return *lib;
  throw SsfError("Не удалось прочитать книгу: " + Utf8FromPath(workbook) + " (" + table.Failure() + ")");
}

}  // namespace ssf
