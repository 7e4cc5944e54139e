#include "pictures/Png.h"

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "pictures/Libpng.h"
#include "pictures/PngWhole.h"
#include "pictures/Rgb565Kernels.h"

// libpng reports errors through png_error(), which must not return. Our error handler
// copies the message into plain C state and longjmps to the setjmp of the function that
// made the libpng call. Those functions (the *Frame functions below) hold only plain data,
// so the jump skips no destructor; C++ objects live in their callers, which only look at
// the returned status and throw SsfError from there.

namespace ssf {

namespace {

constexpr size_t kSignatureSize = 8;

const Libpng& Png() { return LoadLibpng(); }

struct ErrorState {
  char message[256];
};

void OnError(png_structp png, png_const_charp msg) {
  auto* state = static_cast<ErrorState*>(Png().png_get_error_ptr(png));
  std::snprintf(state->message, sizeof state->message, "%s", msg ? msg : "ошибка libpng");
  Png().png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}  // warnings do not stop the read

// ---- reading ----

struct MemoryReader {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* r = static_cast<MemoryReader*>(Png().png_get_io_ptr(png));
  if (count > r->size - r->pos) Png().png_error(png, "файл обрезан");
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
  if (setjmp(PngJumpBuffer(Png(), h->png))) return false;
  Png().png_set_read_fn(h->png, reader, ReadFromMemory);
  Png().png_read_info(h->png, h->info);
  const int colour_type = Png().png_get_color_type(h->png, h->info);
  const bool trns = Png().png_get_valid(h->png, h->info, PNG_INFO_tRNS) != 0;
  out->width = Png().png_get_image_width(h->png, h->info);
  out->height = Png().png_get_image_height(h->png, h->info);
  out->has_alpha_channel = (colour_type & PNG_COLOR_MASK_ALPHA) != 0 ||
                           (colour_type == PNG_COLOR_TYPE_PALETTE && trns);
  out->has_transparency = (colour_type & PNG_COLOR_MASK_ALPHA) != 0 || trns;

  Png().png_set_expand(h->png);  // palette -> RGB, grey < 8 bits -> 8 bits, tRNS -> alpha
  Png().png_set_scale_16(h->png);
  Png().png_set_gray_to_rgb(h->png);
  Png().png_set_bgr(h->png);
  out->passes = Png().png_set_interlace_handling(h->png);
  Png().png_read_update_info(h->png, h->info);
  if (Png().png_get_rowbytes(h->png, h->info) != static_cast<size_t>(out->width) * (out->has_transparency ? 4 : 3)) {
    Png().png_error(h->png, "неожиданная длина строки после преобразований");
  }
  return true;
}

bool ReadRowsFrame(ReadHandles* h, png_bytepp rows) {
  if (setjmp(PngJumpBuffer(Png(), h->png))) return false;
  Png().png_read_image(h->png, rows);
  Png().png_read_end(h->png, nullptr);
  return true;
}

void SplitBgra(const uint8_t* bgra, uint8_t* bgr, uint8_t* alpha, size_t count) {
  for (size_t i = 0; i < count; ++i, bgra += 4, bgr += 3) {
    bgr[0] = bgra[0], bgr[1] = bgra[1], bgr[2] = bgra[2];
    alpha[i] = bgra[3];
  }
}

bool ReadRowFrame(ReadHandles* h, png_bytep row) {
  if (setjmp(PngJumpBuffer(Png(), h->png))) return false;
  Png().png_read_row(h->png, row, nullptr);
  return true;
}

bool ReadEndFrame(ReadHandles* h) {
  if (setjmp(PngJumpBuffer(Png(), h->png))) return false;
  Png().png_read_end(h->png, nullptr);
  return true;
}

class ReadSession {
 public:
  explicit ReadSession(ErrorState* errors) {
    h_.png = Png().png_create_read_struct(PNG_LIBPNG_VER_STRING, errors, OnError, OnWarning);
    if (h_.png) h_.info = Png().png_create_info_struct(h_.png);
    if (!h_.png || !h_.info) throw SsfError("PNG: недостаточно памяти");
  }
  ~ReadSession() { Png().png_destroy_read_struct(&h_.png, h_.info ? &h_.info : nullptr, nullptr); }
  ReadSession(const ReadSession&) = delete;
  ReadSession& operator=(const ReadSession&) = delete;
  ReadHandles* handles() { return &h_; }

 private:
  ReadHandles h_;
};

// libpng's own words for the faults a damaged file shows most, in the user's language.
std::string Reason(const char* message) {
  static const struct { const char* libpng; const char* ours; } kReasons[] = {
      {"Not enough image data", "сжатых строк меньше, чем строк в изображении"},
      {"Too much image data", "сжатых строк больше, чем строк в изображении"},
      {"CRC error", "неверная контрольная сумма блока"},
      {"Read Error", "файл обрезан"},
      {"invalid distance too far back", "сжатые данные испорчены"},
      {"incorrect header check", "сжатые данные испорчены"},
      {"invalid block type", "сжатые данные испорчены"},
      {"invalid stored block lengths", "сжатые данные испорчены"},
      {"bad adaptive filter value", "неизвестный фильтр строки"},
      {"Invalid IHDR data", "неверный заголовок IHDR"},
      {"Missing IHDR before IDAT", "нет заголовка IHDR"},
      {"Image width exceeds user limit in IHDR", "ширина больше предела"},
      {"Image height exceeds user limit in IHDR", "высота больше предела"},
  };
  std::string text = message;
  // "IDAT: CRC error": the chunk's name stays in front.
  const std::string chunk = text.size() > 6 && text.compare(4, 2, ": ") == 0 ? text.substr(0, 6) : "";
  for (const auto& r : kReasons) {
    if (text.find(r.libpng) != std::string::npos) return chunk + r.ours;
  }
  return "ошибка в данных PNG (" + text + ")";
}

[[noreturn]] void Damaged(const ErrorState& errors) {
  throw SsfError("Файл PNG повреждён (" + Reason(errors.message) + ")");
}

uint32_t Be32(ByteSpan d, size_t at) {
  return uint32_t{d[at]} << 24 | uint32_t{d[at + 1]} << 16 | uint32_t{d[at + 2]} << 8 | d[at + 3];
}

// The bytes the filtered rows take once inflated: one filter byte and the packed samples
// per row, for each of the seven interlace passes that has pixels.
uint64_t InflatedSize(uint64_t width, uint64_t height, uint32_t bits_per_pixel, bool interlaced) {
  auto rows = [&](uint64_t w, uint64_t h) { return w == 0 || h == 0 ? 0 : h * (1 + (w * bits_per_pixel + 7) / 8); };
  if (!interlaced) return rows(width, height);
  static const uint32_t kPass[7][4] = {{0, 8, 0, 8}, {4, 8, 0, 8}, {0, 4, 4, 8}, {2, 4, 0, 4},
                                       {0, 2, 2, 4}, {1, 2, 0, 2}, {0, 1, 1, 2}};  // x0, dx, y0, dy
  uint64_t total = 0;
  for (const auto& p : kPass) {
    const uint64_t w = width > p[0] ? (width - p[0] + p[1] - 1) / p[1] : 0;
    const uint64_t h = height > p[2] ? (height - p[2] + p[3] - 1) / p[3] : 0;
    total += rows(w, h);
  }
  return total;
}

// Deflate turns each bit into at most 129 bytes (a 258-byte copy costs two bits at best),
// so the IDAT chunks must hold at least 1/1032 of what the rows take. A few bytes claiming
// a large picture are refused here, before its rows are allocated.
void CheckDataCanHoldRows(ByteSpan d) {
  const uint32_t width = Be32(d, 16), height = Be32(d, 20);
  const uint32_t depth = d[24], colour_type = d[25];
  const uint32_t channels = colour_type == 2 ? 3 : colour_type == 4 ? 2 : colour_type == 6 ? 4 : 1;
  uint64_t idat = 0;
  for (size_t at = 8; d.size() - at >= 12;) {
    const uint64_t length = Be32(d, at);
    if (std::memcmp(&d[at + 4], "IDAT", 4) == 0) idat += std::min<uint64_t>(length, d.size() - at - 8);
    if (std::memcmp(&d[at + 4], "IEND", 4) == 0 || length > d.size() - at - 12) break;
    at += 12 + length;
  }
  const uint64_t need = InflatedSize(width, height, depth * channels, d[28] != 0);
  if (need / 1032 > idat + 64) {
    throw SsfError("Файл PNG повреждён (строкам " + std::to_string(width) + "x" + std::to_string(height) +
                   " нужно не меньше " + std::to_string(need / 1032) + " байт сжатых данных, в файле " +
                   std::to_string(idat) + ")");
  }
}

// ---- writing ----

struct MemoryWriter {
  unsigned char* data;
  size_t size;
  size_t capacity;
};

void WriteToMemory(png_structp png, png_bytep in, png_size_t count) {
  auto* w = static_cast<MemoryWriter*>(Png().png_get_io_ptr(png));
  if (count > w->capacity - w->size) {
    size_t capacity = w->capacity ? w->capacity : 4096;
    while (count > capacity - w->size) {
      if (capacity > SIZE_MAX / 2) Png().png_error(png, "недостаточно памяти");
      capacity *= 2;
    }
    auto* grown = static_cast<unsigned char*>(std::realloc(w->data, capacity));
    if (!grown) Png().png_error(png, "недостаточно памяти");
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
  if (setjmp(PngJumpBuffer(Png(), h->png))) return false;
  Png().png_set_write_fn(h->png, writer, WriteToMemory, FlushMemory);
  Png().png_set_compression_level(h->png, effort.zlib_level);
  Png().png_set_filter(h->png, PNG_FILTER_TYPE_BASE, effort.filters);
  Png().png_set_IHDR(h->png, h->info, width, height, bit_depth, colour_type, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  Png().png_write_info(h->png, h->info);
  if (bgr) Png().png_set_bgr(h->png);
  Png().png_write_image(h->png, rows);
  Png().png_write_end(h->png, nullptr);
  return true;
}

class WriteSession {
 public:
  explicit WriteSession(ErrorState* errors) {
    h_.png = Png().png_create_write_struct(PNG_LIBPNG_VER_STRING, errors, OnError, OnWarning);
    if (h_.png) h_.info = Png().png_create_info_struct(h_.png);
    if (!h_.png || !h_.info) throw SsfError("PNG: недостаточно памяти");
  }
  ~WriteSession() {
    Png().png_destroy_write_struct(&h_.png, h_.info ? &h_.info : nullptr);
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

}  // namespace

namespace {

// The signature, the header and the limits, before anything large is allocated.
ReadInfo ReadCheckedHeader(ByteSpan data, ReadSession& session, MemoryReader& reader, const ErrorState& errors) {
  if (data.size() < kSignatureSize || Png().png_sig_cmp(data.data(), 0, kSignatureSize) != 0) {
    throw PngSignatureError("Нет подписи PNG, это не PNG-изображение");
  }
  ReadInfo info{};
  if (!ReadHeaderFrame(session.handles(), &reader, &info)) Damaged(errors);
  CheckImageSize(info.width, info.height);
  CheckDataCanHoldRows(data);  // IHDR was read, so its 13 bytes are there
  return info;
}

}  // namespace

ScratchBuffer PngToRaw(ByteSpan data) {
  {
    ErrorState errors{};
    ReadSession session(&errors);
    MemoryReader reader{data.data(), data.size(), 0};
    ReadCheckedHeader(data, session, reader, errors);
  }
  if (std::optional<ScratchBuffer> raw = CommonPngToRgb565(data)) return std::move(*raw);
  const Image flat = FlattenOverBlack(DecodePng(data));
  ScratchBuffer raw(flat.PixelCount() * 2);
  BgrToRgb565(flat.bgr.data(), raw.data(), flat.PixelCount());
  return raw;
}

PngPicture DecodePng(ByteSpan data) {
  ErrorState errors{};
  ReadSession session(&errors);
  MemoryReader reader{data.data(), data.size(), 0};
  const ReadInfo info = ReadCheckedHeader(data, session, reader, errors);
  if (std::optional<PngPicture> common = DecodeCommonPng(data)) return std::move(*common);
  PngPicture result;
  result.has_alpha_channel = info.has_alpha_channel;
  Image& image = result.image;
  if (info.passes == 1) {
    // Rows are taken on as they are read: a file that breaks off early has cost only the
    // rows it held, not the picture its header claims.
    image.width = info.width;
    image.height = info.height;
    const size_t pixels = image.PixelCount();
    image.bgr.reserve(pixels * 3);
    if (info.has_transparency) image.alpha.reserve(pixels);
    std::vector<uint8_t> row(static_cast<size_t>(info.width) * (info.has_transparency ? 4 : 3));
    for (png_uint_32 y = 0; y < info.height; ++y) {
      if (!ReadRowFrame(session.handles(), row.data())) Damaged(errors);
      if (!info.has_transparency) {
        image.bgr.insert(image.bgr.end(), row.begin(), row.end());
        continue;
      }
      image.bgr.resize(image.bgr.size() + size_t{info.width} * 3);
      image.alpha.resize(image.alpha.size() + info.width);
      SplitBgra(row.data(), image.bgr.data() + size_t{y} * info.width * 3, image.alpha.data() + size_t{y} * info.width,
                info.width);
    }
    if (!ReadEndFrame(session.handles())) Damaged(errors);
    return result;
  }
  image = Image(info.width, info.height);
  if (!info.has_transparency) {
    // Opaque: libpng writes the picture's own rows.
    std::vector<png_bytep> rows = RowPointers(image.bgr, static_cast<size_t>(info.width) * 3, info.height);
    if (!ReadRowsFrame(session.handles(), rows.data())) Damaged(errors);
    return result;
  }
  image.AddAlpha();
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
  const uint8_t* alpha = image.HasAlpha() ? image.alpha.data() : nullptr;
  const ScratchBuffer png = WriteRgba16Png(image.width, image.height, [&](uint32_t y, uint8_t* row) {
    BgrToRgba16(image.Row(y), alpha ? alpha + size_t{y} * image.width : nullptr, row, image.width);
  });
  return Bytes(png.data(), png.data() + png.size());
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
