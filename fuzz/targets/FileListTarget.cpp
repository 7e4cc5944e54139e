// The file-list readers on the same bytes: as a phone list (FLM: check, then FLC text)
// and as a computer list (FLC: read, then FLM). What an FLC read accepts must survive
// FLC -> FLM -> FLC unchanged, since the editor offers exactly that round trip.
#include <string_view>

#include "FuzzTargets.h"
#include "base/SsfError.h"
#include "tools/filelists/FileListTables.h"
#include "tools/filelists/FlmFile.h"

namespace ssf::fuzz {

void FuzzFileList(std::span<const uint8_t> data) {
  try {
    const FlmCheckResult check = CheckFLMBytes(data);
    (void)FlmCounterText(check);
    const std::string flc = BuildFLC(data);
    FileListTables from_flm;
    (void)from_flm.ParseFLC(flc);
  } catch (const SsfError&) {
  }

  FileListTables tables;
  const FlcLoadResult loaded =
      tables.ParseFLC(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
  (void)FlcCounterText(loaded, tables.FileListCount());
  if (!loaded.ok()) {
    if (tables.FileListCount() != 0) __builtin_trap();  // a refused file leaves the tables alone
    return;
  }
  const Bytes flm = BuildFLM(tables);
  const FlmCheckResult check = CheckFLMBytes(flm);
  // An empty list makes a header-only file, which the phone-list check refuses by size.
  if (tables.FileListCount() > 0 && (!check.ok() || check.count != tables.FileListCount())) __builtin_trap();
  FileListTables again;
  if (!again.ParseFLC(BuildFLC(flm)).ok()) __builtin_trap();
  if (again.FileListPaths() != tables.FileListPaths() || again.FileListNames() != tables.FileListNames()) {
    __builtin_trap();
  }
}

}  // namespace ssf::fuzz
