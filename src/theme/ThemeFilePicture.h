#pragma once
// The picture a theme file shows: what the preview draws, what export and porting start from.
#include <cstdint>
#include <vector>

#include "base/ByteIO.h"
#include "pictures/Image.h"
#include "theme/ThemeMap.h"

namespace ssf {

// Export works from it: a JPEG shown from its stored bytes is written out as those bytes;
// a PNG keeps its transparency.
struct PreviewPicture {
  enum class Kind { kNone, kBitmap, kJpeg, kPng };
  Kind kind = Kind::kNone;
  Image image;                      // what is drawn (with alpha for kPng)
  std::vector<uint8_t> jpeg_bytes;  // kJpeg: the compressed data it was decoded from
};

// The picture a theme file's stored bytes show, decoded by the kind of its map entry:
// JPG as a JPEG picture that keeps its compressed bytes, RAW (map width and height) and
// IFG as a bitmap, ANI2 as a PNG picture with its alpha. COLORTAB, another kind and
// empty bytes give no picture. A decoder failure throws SsfError.
PreviewPicture MakePreviewPicture(ByteSpan stored, const TTHemeFiles& entry);

}  // namespace ssf
