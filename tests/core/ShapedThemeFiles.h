#pragma once
// Theme file bytes that a resource import takes: the length the map fixes, a picture's
// signature and sides, and contents that differ from slot to slot.
#include <cstddef>

#include "base/ByteIO.h"
#include "theme/FileKind.h"
#include "theme/ThemeMap.h"

namespace ssf::test {

// Bytes that differ from slot to slot and inside a slot, shaped as the entry's kind wants
// them: the length the map fixes, a picture's signature and sides.
inline Bytes DistinctFor(const TTHemeFiles& e, size_t k) {
  Bytes b;
  auto u16 = [&](int v) {
    b.push_back(static_cast<uint8_t>(v & 0xFF));
    b.push_back(static_cast<uint8_t>(v >> 8));
  };
  const size_t pixels = static_cast<size_t>(e.f_width) * static_cast<size_t>(e.f_height);
  size_t length = 100 + 37 * k;
  switch (KindOf(e.f_type)) {
    case FileKind::kRaw: length = 2 * pixels; break;
    case FileKind::kColorTab: length = static_cast<size_t>(e.f_size); break;
    case FileKind::kAni2: b = {'A', 'N', 'I', '2'}, u16(e.f_width), u16(e.f_height), length = 8 + 3 * pixels; break;
    case FileKind::kIfg: b = {'I', 'F', 'E', 'G'}, u16(e.f_width), u16(e.f_height); break;
    case FileKind::kJpg: b = {0xFF, 0xD8, 0xFF, 0xE0}; break;
    default: break;
  }
  // Never 0xFF, so no JPEG marker follows the signature.
  for (size_t i = 0; b.size() < length; ++i) b.push_back(static_cast<uint8_t>((i * 7 + k) % 251));
  return b;
}

}  // namespace ssf::test
