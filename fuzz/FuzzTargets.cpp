#include "FuzzTargets.h"

namespace ssf::fuzz {

namespace {

// The name is the folder name under fuzz/corpus/ and tests/crashers/.
const Target kTargets[] = {
    {"ini", FuzzIni},
    {"taglines", FuzzTagLines},
    {"pictures", FuzzPictures},
    {"workbook", FuzzWorkbook},
    {"ifeg_decode", FuzzIfegDecode},
    {"thememap", FuzzThemeMap},
    {"container", FuzzContainer},
    {"filelist", FuzzFileList},
    {"convert", FuzzConvert},
    {"resource_package", FuzzResourcePackage},
    {"window_placement", FuzzWindowPlacement},
    {"screens", FuzzScreenLayout},
};

}  // namespace

std::span<const Target> Targets() { return kTargets; }

const Target* FindTarget(std::string_view name) {
  for (const Target& t : kTargets) {
    if (name == t.name) return &t;
  }
  return nullptr;
}

}  // namespace ssf::fuzz
