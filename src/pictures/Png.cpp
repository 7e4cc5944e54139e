#include "pictures/Png.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// libpng reports errors through png_error(), which must not return. Our error handler
// copies the message into plain C state and longjmps to the setjmp of the function that
// made the libpng call. Those functions (the *Frame functions below) hold only plain data,
// so the jump skips no destructor; C++ objects live in their callers, which only look at
// the returned status and throw SsfError from there.

namespace ssf {

namespace {

constexpr size_t kSignatureSize = 8;

struct ErrorState {
  char message[256];
};

void OnError(png_structp png, png_const_charp msg) {
  auto* state = static_cast<ErrorState*>(png_get_error_ptr(png));
  std::snprintf(state->message, sizeof state->message, "%s", msg ? msg : "ошибка libpng");
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}  // warnings do not stop the read

// ---- reading ----

struct MemoryReader {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (count > r->size - r->pos) png_error(png, "файл обрезан");
  std::memcpy(out, r->data + r->pos, count);
  r->pos += count;
}

struct ReadInfo {
  png_uint_32 width;
  png_uint_32 height;
  bool has_transparency;    // after expansion there is a meaningful alpha
  bool has_alpha_channel;  // the file's own alpha: colour types 4 and 6, or a palette tRNS
  int passes;              // 7 for an interlaced file, else 1
};

// Plain-data handle; destroyed by ReadSession in the C++ caller.
struct ReadHandles {
  png_structp png = nullptr;
  png_infop info = nullptr;
};

// Reads the header and sets up the transforms to 8-bit BGR, or BGRA when the file has any
// transparency. Returns false on an error.
bool ReadHeaderFrame(ReadHandles* h, MemoryReader* reader, ReadInfo* out) {
  if (setjmp(png_jmpbuf(h->png))) return false;
  png_set_read_fn(h->png, reader, ReadFromMemory);
  png_read_info(h->png, h->info);
  const int colour_type = png_get_color_type(h->png, h->info);
  const bool trns = png_get_valid(h->png, h->info, PNG_INFO_tRNS) != 0;
  out->width = png_get_image_width(h->png, h->info);
  out->height = png_get_image_height(h->png, h->info);
  out->has_alpha_channel = (colour_type & PNG_COLOR_MASK_ALPHA) != 0 ||
                           (colour_type == PNG_COLOR_TYPE_PALETTE && trns);
  out->has_transparency = (colour_type & PNG_COLOR_MASK_ALPHA) != 0 || trns;

  png_set_expand(h->png);  // palette -> RGB, grey < 8 bits -> 8 bits, tRNS -> alpha
  png_set_scale_16(h->png);
  png_set_gray_to_rgb(h->png);
  png_set_bgr(h->png);
  out->passes = png_set_interlace_handling(h->png);
  png_read_update_info(h->png, h->info);
  if (png_get_rowbytes(h->png, h->info) != static_cast<size_t>(out->width) * (out->has_transparency ? 4 : 3)) {
    png_error(h->png, "неожиданная длина строки после преобразований");
  }
  return true;
}

bool ReadRowsFrame(ReadHandles* h, png_bytepp rows) {
  if (setjmp(png_jmpbuf(h->png))) return false;
  png_read_image(h->png, rows);
  png_read_end(h->png, nullptr);
  return true;
}

void SplitBgra(const uint8_t* bgra, uint8_t* bgr, uint8_t* alpha, size_t count) {
  for (size_t i = 0; i < count; ++i, bgra += 4, bgr += 3) {
    bgr[0] = bgra[0], bgr[1] = bgra[1], bgr[2] = bgra[2];
    alpha[i] = bgra[3];
  }
}

// A non-interlaced file with transparency: each BGRA row passes through `row` and is split
// into the picture's colour rows and alpha plane.
bool ReadSplitRowsFrame(ReadHandles* h, png_bytep row, uint8_t* bgr, uint8_t* alpha, png_uint_32 width,
                        png_uint_32 height) {
  if (setjmp(png_jmpbuf(h->png))) return false;
  for (png_uint_32 y = 0; y < height; ++y) {
    png_read_row(h->png, row, nullptr);
    SplitBgra(row, bgr + size_t{y} * width * 3, alpha + size_t{y} * width, width);
  }
  png_read_end(h->png, nullptr);
  return true;
}

class ReadSession {
 public:
  explicit ReadSession(ErrorState* errors) {
    h_.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, errors, OnError, OnWarning);
    if (h_.png) h_.info = png_create_info_struct(h_.png);
    if (!h_.png || !h_.info) throw SsfError("PNG: недостаточно памяти");
  }
  ~ReadSession() { png_destroy_read_struct(&h_.png, h_.info ? &h_.info : nullptr, nullptr); }
  ReadSession(const ReadSession&) = delete;
  ReadSession& operator=(const ReadSession&) = delete;
  ReadHandles* handles() { return &h_; }

 private:
  ReadHandles h_;
};

[[noreturn]] void Damaged(const ErrorState& errors) {
  throw SsfError(std::string("Файл PNG повреждён (") + errors.message + ")");
}

// ---- writing ----

struct MemoryWriter {
  unsigned char* data;
  size_t size;
  size_t capacity;
};

void WriteToMemory(png_structp png, png_bytep in, png_size_t count) {
  auto* w = static_cast<MemoryWriter*>(png_get_io_ptr(png));
  if (count > w->capacity - w->size) {
    size_t capacity = w->capacity ? w->capacity : 4096;
    while (count > capacity - w->size) {
      if (capacity > SIZE_MAX / 2) png_error(png, "недостаточно памяти");
      capacity *= 2;
    }
    auto* grown = static_cast<unsigned char*>(std::realloc(w->data, capacity));
    if (!grown) png_error(png, "недостаточно памяти");
    w->data = grown;
    w->capacity = capacity;
  }
  std::memcpy(w->data + w->size, in, count);
  w->size += count;
}

void FlushMemory(png_structp) {}

struct WriteHandles {
  png_structp png = nullptr;
  png_infop info = nullptr;
};

// How hard zlib and the row filters work; see the callers for the measured choices.
struct Effort {
  int zlib_level;
  int filters;  // PNG_FILTER_* bits
};

bool WriteFrame(WriteHandles* h, MemoryWriter* writer, png_uint_32 width, png_uint_32 height,
                int bit_depth, int colour_type, bool bgr, png_bytepp rows, Effort effort) {
  if (setjmp(png_jmpbuf(h->png))) return false;
  png_set_write_fn(h->png, writer, WriteToMemory, FlushMemory);
  png_set_compression_level(h->png, effort.zlib_level);
  png_set_filter(h->png, PNG_FILTER_TYPE_BASE, effort.filters);
  png_set_IHDR(h->png, h->info, width, height, bit_depth, colour_type, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(h->png, h->info);
  if (bgr) png_set_bgr(h->png);
  png_write_image(h->png, rows);
  png_write_end(h->png, nullptr);
  return true;
}

class WriteSession {
 public:
  explicit WriteSession(ErrorState* errors) {
    h_.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, errors, OnError, OnWarning);
    if (h_.png) h_.info = png_create_info_struct(h_.png);
    if (!h_.png || !h_.info) throw SsfError("PNG: недостаточно памяти");
  }
  ~WriteSession() {
    png_destroy_write_struct(&h_.png, h_.info ? &h_.info : nullptr);
    std::free(writer_.data);
  }
  WriteSession(const WriteSession&) = delete;
  WriteSession& operator=(const WriteSession&) = delete;
  WriteHandles* handles() { return &h_; }
  MemoryWriter* writer() { return &writer_; }

 private:
  WriteHandles h_;
  MemoryWriter writer_{nullptr, 0, 0};
};

// Rows of `bytes_per_row` each, packed in `pixels`, as libpng wants them. libpng copies each
// row before it transforms it, so rows handed to the writer are only read.
std::vector<png_bytep> RowPointers(const std::vector<uint8_t>& pixels, size_t bytes_per_row, uint32_t height) {
  std::vector<png_bytep> rows(height);
  for (uint32_t y = 0; y < height; ++y) rows[y] = const_cast<png_bytep>(pixels.data() + bytes_per_row * y);
  return rows;
}

Bytes WriteRows(uint32_t width, uint32_t height, int bit_depth, int colour_type, bool bgr,
                const std::vector<uint8_t>& pixels, size_t bytes_per_row, Effort effort) {
  if (width == 0 || height == 0) throw SsfError("PNG: пустое изображение " + std::to_string(width) + "x" + std::to_string(height) + " не записывается");
  std::vector<png_bytep> rows = RowPointers(pixels, bytes_per_row, height);
  ErrorState errors{};
  WriteSession session(&errors);
  if (!WriteFrame(session.handles(), session.writer(), width, height, bit_depth, colour_type, bgr, rows.data(), effort)) {
    throw SsfError(std::string("Не удалось записать PNG (") + errors.message + ")");
  }
  const MemoryWriter* w = session.writer();
  return Bytes(w->data, w->data + w->size);
}

// libpng's defaults: zlib level 6, the filter picked per row among all five.
constexpr Effort kPictureEffort{6, PNG_ALL_FILTERS};
// 16-bit rows made from RGB565 compress best with the Up filter alone, and zlib's fast
// matcher (levels 1..3) on them is about 7x faster than the defaults with smaller files on
// photos and gradients. Flat artwork is the exception: there the fast matcher's file is 60%
// larger, so a file under 1/16 of its rows is made again at level 6, still faster in all
// than the defaults and within 2% of their size (240x320 pictures, measured).
constexpr Effort kRgba16Effort{2, PNG_FILTER_UP};
constexpr Effort kRgba16FlatEffort{6, PNG_FILTER_UP};

}  // namespace

PngPicture DecodePng(ByteSpan data) {
  if (data.size() < kSignatureSize || png_sig_cmp(data.data(), 0, kSignatureSize) != 0) {
    throw PngSignatureError("Нет подписи PNG, это не PNG-изображение");
  }
  ErrorState errors{};
  ReadSession session(&errors);
  MemoryReader reader{data.data(), data.size(), 0};
  ReadInfo info{};
  if (!ReadHeaderFrame(session.handles(), &reader, &info)) Damaged(errors);

  CheckImageSize(info.width, info.height);
  PngPicture result;
  result.has_alpha_channel = info.has_alpha_channel;
  Image& image = result.image;
  image = Image(info.width, info.height);
  if (!info.has_transparency) {
    // Opaque: libpng writes the picture's own rows.
    std::vector<png_bytep> rows = RowPointers(image.bgr, static_cast<size_t>(info.width) * 3, info.height);
    if (!ReadRowsFrame(session.handles(), rows.data())) Damaged(errors);
    return result;
  }
  image.AddAlpha();
  if (info.passes == 1) {
    std::vector<uint8_t> row(static_cast<size_t>(info.width) * 4);
    if (!ReadSplitRowsFrame(session.handles(), row.data(), image.bgr.data(), image.alpha.data(), info.width, info.height)) {
      Damaged(errors);
    }
    return result;
  }
  // Interlaced passes revisit every row, so they need the whole BGRA picture.
  std::vector<uint8_t> bgra(static_cast<size_t>(info.width) * info.height * 4);
  std::vector<png_bytep> rows = RowPointers(bgra, static_cast<size_t>(info.width) * 4, info.height);
  if (!ReadRowsFrame(session.handles(), rows.data())) Damaged(errors);
  SplitBgra(bgra.data(), image.bgr.data(), image.alpha.data(), image.PixelCount());
  return result;
}

Bytes EncodePng(const Image& image) {
  if (!image.HasAlpha()) {
    return WriteRows(image.width, image.height, 8, PNG_COLOR_TYPE_RGB, true, image.bgr,
                     static_cast<size_t>(image.width) * 3, kPictureEffort);
  }
  std::vector<uint8_t> pixels(image.PixelCount() * 4);
  for (size_t i = 0; i < image.PixelCount(); ++i) {
    std::memcpy(&pixels[i * 4], &image.bgr[i * 3], 3);
    pixels[i * 4 + 3] = image.alpha[i];
  }
  return WriteRows(image.width, image.height, 8, PNG_COLOR_TYPE_RGB_ALPHA, true, pixels,
                   static_cast<size_t>(image.width) * 4, kPictureEffort);
}

Bytes EncodePngRgba16(const Image& image) {
  // Big-endian 16-bit samples R, G, B, A; v * 257 is the byte v twice.
  std::vector<uint8_t> pixels(image.PixelCount() * 8);
  const bool alpha = image.HasAlpha();
  for (size_t i = 0; i < image.PixelCount(); ++i) {
    const uint8_t* p = &image.bgr[i * 3];
    const uint8_t rgba[4] = {p[2], p[1], p[0], alpha ? image.alpha[i] : uint8_t{255}};
    uint8_t* out = &pixels[i * 8];
    for (int c = 0; c < 4; ++c) out[2 * c] = out[2 * c + 1] = rgba[c];
  }
  const size_t row_bytes = static_cast<size_t>(image.width) * 8;
  Bytes png = WriteRows(image.width, image.height, 16, PNG_COLOR_TYPE_RGB_ALPHA, false, pixels, row_bytes, kRgba16Effort);
  if (png.size() < pixels.size() / 16) {
    png = WriteRows(image.width, image.height, 16, PNG_COLOR_TYPE_RGB_ALPHA, false, pixels, row_bytes, kRgba16FlatEffort);
  }
  return png;
}

Image FlattenOverBlack(const Image& image) {
  Image out;
  out.width = image.width;
  out.height = image.height;
  out.bgr = image.bgr;
  if (!image.HasAlpha()) return out;
  for (size_t i = 0; i < image.PixelCount(); ++i) {
    const uint32_t a = image.alpha[i];
    for (int c = 0; c < 3; ++c) {
      uint8_t& v = out.bgr[i * 3 + static_cast<size_t>(c)];
      v = static_cast<uint8_t>((v * a + 127) / 255);
    }
  }
  return out;
}

Image FlattenOverBlack(const PngPicture& picture) {
  if (picture.has_alpha_channel) return FlattenOverBlack(picture.image);
  Image out = picture.image;
  out.alpha.clear();
  return out;
}

}  // namespace ssf
