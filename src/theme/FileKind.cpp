#include "theme/FileKind.h"

namespace ssf {

FileKind KindOf(std::string_view kind) {
  if (kind == "JPG") return FileKind::kJpg;
  if (kind == "RAW") return FileKind::kRaw;
  if (kind == "ANI2") return FileKind::kAni2;
  if (kind == "IFG") return FileKind::kIfg;
  if (kind == "COLORTAB") return FileKind::kColorTab;
  return FileKind::kOther;
}

bool IsPictureKind(FileKind kind) { return IsOpaquePictureKind(kind) || kind == FileKind::kAni2; }

bool IsOpaquePictureKind(FileKind kind) {
  return kind == FileKind::kJpg || kind == FileKind::kRaw || kind == FileKind::kIfg;
}

bool IsRgb565Kind(FileKind kind) { return kind == FileKind::kRaw || kind == FileKind::kIfg || kind == FileKind::kAni2; }

}  // namespace ssf
