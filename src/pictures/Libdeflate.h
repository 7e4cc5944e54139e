#pragma once
// libdeflate, loaded when a PNG is first read or written the fast way (platform/LateLibrary.h).
#include <libdeflate.h>

#include "platform/LateLibrary.h"

#define SSF_LIBDEFLATE_FUNCTIONS(X)                                                             \
  X(libdeflate_alloc_compressor) X(libdeflate_alloc_decompressor) X(libdeflate_free_compressor) \
  X(libdeflate_free_decompressor) X(libdeflate_zlib_compress) X(libdeflate_zlib_compress_bound) \
  X(libdeflate_zlib_decompress_ex) X(libdeflate_crc32)

namespace ssf {

struct Libdeflate {
  SSF_LIBDEFLATE_FUNCTIONS(SSF_LATE_MEMBER)
};

// Loaded on the first call; throws SsfError when it cannot be.
const Libdeflate& LoadLibdeflate();

}  // namespace ssf
