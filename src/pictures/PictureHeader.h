#pragma once
// The size a picture file declares in its header, read without decoding anything, so an
// import can compare it with the map before the pixels are allocated.
#include <cstdint>
#include <optional>

#include "base/ByteIO.h"

namespace ssf {

struct PictureSize {
  int64_t width = 0;
  int64_t height = 0;
};

// Width and height from the header of a BMP, PNG or JPEG file; nullopt when the bytes are
// none of these or the header is cut short (the decoder then says what is wrong).
std::optional<PictureSize> ReadPictureHeaderSize(ByteSpan data);

}  // namespace ssf
