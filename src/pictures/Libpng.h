#pragma once
// libpng, loaded when a picture first needs it (platform/LateLibrary.h): a JPEG to BMP run
// never does. libpng brings zlib along.
#include <png.h>

#include <csetjmp>

#include "platform/LateLibrary.h"

#define SSF_LIBPNG_FUNCTIONS(X) \
  X(png_create_info_struct) X(png_create_read_struct) X(png_create_write_struct)                     \
  X(png_destroy_read_struct) X(png_destroy_write_struct) X(png_error) X(png_get_color_type)          \
  X(png_get_error_ptr) X(png_get_image_height) X(png_get_image_width) X(png_get_io_ptr)              \
  X(png_get_rowbytes) X(png_get_valid) X(png_longjmp) X(png_read_end) X(png_read_image)              \
  X(png_read_info) X(png_read_row) X(png_read_update_info) X(png_set_bgr)                            \
  X(png_set_compression_level) X(png_set_expand) X(png_set_filter) X(png_set_gray_to_rgb)            \
  X(png_set_interlace_handling) X(png_set_read_fn) X(png_set_scale_16) X(png_set_write_fn)           \
  X(png_sig_cmp) X(png_write_end) X(png_write_image) X(png_write_info) X(png_set_IHDR)               \
  X(png_set_longjmp_fn)

namespace ssf {

struct Libpng {
  SSF_LIBPNG_FUNCTIONS(SSF_LATE_MEMBER)
};

// Loaded on the first call; throws SsfError when it cannot be.
const Libpng& LoadLibpng();

// png_jmpbuf() through the loaded library.
inline std::jmp_buf& PngJumpBuffer(const Libpng& lib, png_structp png) {
  return *lib.png_set_longjmp_fn(png, std::longjmp, sizeof(std::jmp_buf));
}

}  // namespace ssf
