#include "pictures/Jpeg.h"

#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/Limits.h"
#include "base/SsfError.h"
#include "pictures/Bmp.h"
#include "pictures/JpegMessages.h"
#include "pictures/JpegWork.h"

// libjpeg's error_exit must not return. Ours formats the message into plain C state and
// longjmps to the setjmp of the *Frame function that made the libjpeg call. Those
// functions hold only plain data, so the jump skips no destructor; the C++ callers own the
// buffers and the cleanup and throw SsfError from the returned status. Throwing from
// error_exit instead would unwind through libjpeg's C frames, which is not allowed.

namespace ssf {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  int code;  // libjpeg's msg_code of the message
};

void OnErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  err->code = cinfo->err->msg_code;
  std::longjmp(err->jump, 1);
}

// Warnings are silent, except that data ending early is an error: libjpeg would otherwise
// fill the rest of a cut-short file with grey and report success.
void OnMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) OnErrorExit(cinfo);
}

void InitErrors(ErrorManager* err) {
  jpeg_std_error(&err->pub);
  err->pub.error_exit = OnErrorExit;
  err->pub.emit_message = OnMessage;
  err->message[0] = '\0';
  err->code = 0;
}

// ---- decoding ----

struct DecodeInfo {
  JDIMENSION width;
  JDIMENSION height;
  J_COLOR_SPACE colour_space;
};

// cinfo->err must already be set up; the struct is created and destroyed by the caller.
bool DecodeHeaderFrame(jpeg_decompress_struct* cinfo, ErrorManager* err, const uint8_t* data,
                       size_t size, DecodeInfo* out) {
  if (setjmp(err->jump)) return false;
  jpeg_create_decompress(cinfo);
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(cinfo, TRUE);
  out->width = cinfo->image_width;
  out->height = cinfo->image_height;
  out->colour_space = cinfo->jpeg_color_space;
  return true;
}

// Sets the output scale to scale_num / 8 and works out the output size.
bool ScaleFrame(jpeg_decompress_struct* cinfo, ErrorManager* err, unsigned scale_num, DecodeInfo* out) {
  if (setjmp(err->jump)) return false;
  cinfo->scale_num = scale_num;
  cinfo->scale_denom = 8;
  jpeg_calc_output_dimensions(cinfo);
  out->width = cinfo->output_width;
  out->height = cinfo->output_height;
  return true;
}

// The work of the scans libjpeg has met so far, as it meets them; `pub` comes first so
// libjpeg's pointer to it is a pointer to the whole.
struct ScanBudget {
  jpeg_progress_mgr pub;
  int last_scan;
  uint64_t block_passes;
};

// Called by libjpeg before each step through the input, so a scan is counted before any of
// its blocks is decoded. The markers were counted before decoding began; this holds the
// same bound should libjpeg read the file differently.
void LimitScans(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  auto* budget = reinterpret_cast<ScanBudget*>(cinfo->progress);
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  if (d->input_scan_number > kMaxJpegScans) {
    std::snprintf(err->message, sizeof err->message, "больше %d сканов", kMaxJpegScans);
    std::longjmp(err->jump, 1);
  }
  if (d->input_scan_number == budget->last_scan || d->comps_in_scan <= 0) return;
  budget->last_scan = d->input_scan_number;
  JpegComponentSampling in_scan[MAX_COMPS_IN_SCAN];
  for (int i = 0; i < d->comps_in_scan && i < MAX_COMPS_IN_SCAN; ++i) {
    in_scan[i] = {static_cast<uint32_t>(d->cur_comp_info[i]->h_samp_factor),
                  static_cast<uint32_t>(d->cur_comp_info[i]->v_samp_factor)};
  }
  budget->block_passes += JpegScanBlocks(d->image_width, d->image_height, static_cast<uint32_t>(d->max_h_samp_factor),
                                         static_cast<uint32_t>(d->max_v_samp_factor), in_scan,
                                         std::min(d->comps_in_scan, MAX_COMPS_IN_SCAN));
  if (budget->block_passes > static_cast<uint64_t>(kMaxJpegBlockPasses)) {
    std::snprintf(err->message, sizeof err->message, "сканы обходят блоки 8x8 больше %lld раз",
                  static_cast<long long>(kMaxJpegBlockPasses));
    std::longjmp(err->jump, 1);
  }
}

// One row of CMYK (libjpeg turns YCCK into CMYK) into blue, green, red. Adobe's writers
// store the inks inverted (0 is full ink); without their marker 255 is full ink.
void CmykRowToBgr(const uint8_t* cmyk, uint8_t* bgr, size_t width, bool inverted) {
  for (size_t x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    uint32_t c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    bgr[0] = static_cast<uint8_t>((y * k + 127) / 255);
    bgr[1] = static_cast<uint8_t>((m * k + 127) / 255);
    bgr[2] = static_cast<uint8_t>((c * k + 127) / 255);
  }
}

// `cmyk_row` (width * 4 bytes) is set for a CMYK or YCCK file: rows pass through it and are
// converted; other files decode straight into `pixels`.
bool DecodeRowsFrame(jpeg_decompress_struct* cinfo, ErrorManager* err, ScanBudget* budget, uint8_t* pixels,
                     ptrdiff_t stride, uint8_t* cmyk_row) {
  if (setjmp(err->jump)) return false;
  budget->pub.progress_monitor = LimitScans;
  cinfo->progress = &budget->pub;
  cinfo->out_color_space = cmyk_row ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(cinfo);
  while (cinfo->output_scanline < cinfo->output_height) {
    uint8_t* out = pixels + stride * static_cast<ptrdiff_t>(cinfo->output_scanline);
    JSAMPROW row = cmyk_row ? cmyk_row : out;
    jpeg_read_scanlines(cinfo, &row, 1);
    if (cmyk_row) CmykRowToBgr(cmyk_row, out, cinfo->output_width, cinfo->saw_Adobe_marker);
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

class Decompressor {
 public:
  Decompressor() {
    InitErrors(&err_);
    std::memset(&cinfo_, 0, sizeof cinfo_);
    cinfo_.err = &err_.pub;
  }
  ~Decompressor() { jpeg_destroy_decompress(&cinfo_); }  // safe on a struct never created
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;
  jpeg_decompress_struct* cinfo() { return &cinfo_; }
  ErrorManager* err() { return &err_; }
  [[noreturn]] void Fail() const { throw SsfError("Файл JPEG повреждён: " + JpegMessageText(err_.code, err_.message)); }

 private:
  ErrorManager err_;
  jpeg_decompress_struct cinfo_;
};

// ---- encoding ----

// A destination that grows with malloc/realloc: nothing in it can throw inside libjpeg.
struct MemoryDestination {
  jpeg_destination_mgr pub;
  unsigned char* data;
  size_t capacity;
};

void InitDestination(j_compress_ptr) {}

boolean GrowDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<MemoryDestination*>(cinfo->dest);
  const size_t used = dest->capacity;  // the whole buffer is full when this is called
  if (dest->capacity > SIZE_MAX / 2) ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
  auto* grown = static_cast<unsigned char*>(std::realloc(dest->data, dest->capacity * 2));
  if (!grown) ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
  dest->data = grown;
  dest->capacity *= 2;
  dest->pub.next_output_byte = grown + used;
  dest->pub.free_in_buffer = dest->capacity - used;
  return TRUE;
}

void TermDestination(j_compress_ptr) {}

bool EncodeFrame(jpeg_compress_struct* cinfo, ErrorManager* err, MemoryDestination* dest,
                 const uint8_t* pixels, JDIMENSION width, JDIMENSION height, int quality) {
  if (setjmp(err->jump)) return false;
  jpeg_create_compress(cinfo);
  dest->pub.init_destination = InitDestination;
  dest->pub.empty_output_buffer = GrowDestination;
  dest->pub.term_destination = TermDestination;
  dest->pub.next_output_byte = dest->data;
  dest->pub.free_in_buffer = dest->capacity;
  cinfo->dest = &dest->pub;
  cinfo->image_width = width;
  cinfo->image_height = height;
  cinfo->input_components = 3;
  cinfo->in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, quality, TRUE);
  jpeg_start_compress(cinfo, TRUE);
  const size_t stride = static_cast<size_t>(width) * 3;
  while (cinfo->next_scanline < cinfo->image_height) {
    JSAMPROW row = const_cast<uint8_t*>(pixels + stride * cinfo->next_scanline);
    jpeg_write_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

class Compressor {
 public:
  Compressor() {
    InitErrors(&err_);
    std::memset(&cinfo_, 0, sizeof cinfo_);
    cinfo_.err = &err_.pub;
    std::memset(&dest_, 0, sizeof dest_);
    dest_.capacity = 64 * 1024;
    dest_.data = static_cast<unsigned char*>(std::malloc(dest_.capacity));
    if (!dest_.data) throw SsfError("JPEG: недостаточно памяти");
  }
  ~Compressor() {
    jpeg_destroy_compress(&cinfo_);
    std::free(dest_.data);
  }
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;
  jpeg_compress_struct* cinfo() { return &cinfo_; }
  ErrorManager* err() { return &err_; }
  MemoryDestination* dest() { return &dest_; }
  Bytes Output() const { return Bytes(dest_.data, dest_.pub.next_output_byte); }

 private:
  ErrorManager err_;
  jpeg_compress_struct cinfo_;
  MemoryDestination dest_;
};

}  // namespace

namespace {

// Decodes into rows that start at `first_row` and lie `stride` bytes apart (negative for a
// bottom-up target); `make_target(width, height)` is called once the size is known and
// checked, and returns `first_row` and `stride`.
// `at_least` (width, height), when given, picks the smallest scale that keeps the picture
// that large; `make_target` gets the scaled size.
template <typename MakeTarget>
void DecodeInto(ByteSpan data, MakeTarget&& make_target, const uint32_t* at_least = nullptr) {
  if (data.empty()) throw SsfError("Файл JPEG пуст");
  Decompressor d;
  DecodeInfo info{};
  if (!DecodeHeaderFrame(d.cinfo(), d.err(), data.data(), data.size(), &info)) d.Fail();
  // Both before anything large is allocated or any scan decoded.
  CheckImageSize(info.width, info.height);
  CheckJpegWork(CountJpegWork(data));
  if (at_least) {
    unsigned scale = 1;
    // libjpeg rounds a scaled side up: ceil(side * scale / 8).
    auto keeps = [&](unsigned s) {
      return (uint64_t{info.width} * s + 7) / 8 >= at_least[0] && (uint64_t{info.height} * s + 7) / 8 >= at_least[1];
    };
    while (scale < 8 && !keeps(scale)) ++scale;
    if (scale < 8 && !ScaleFrame(d.cinfo(), d.err(), scale, &info)) d.Fail();
  }
  const auto [first_row, stride] = make_target(info.width, info.height);
  const bool cmyk = info.colour_space == JCS_CMYK || info.colour_space == JCS_YCCK;
  std::vector<uint8_t> cmyk_row(cmyk ? static_cast<size_t>(info.width) * 4 : 0);
  ScanBudget budget{};
  if (!DecodeRowsFrame(d.cinfo(), d.err(), &budget, first_row, stride, cmyk ? cmyk_row.data() : nullptr)) d.Fail();
}

}  // namespace

Image DecodeJpeg(ByteSpan data) {
  Image image;
  DecodeInto(data, [&](uint32_t width, uint32_t height) {
    image = Image(width, height);
    return std::pair{image.bgr.data(), static_cast<ptrdiff_t>(width) * 3};
  });
  return image;
}

Image DecodeJpegAtLeast(ByteSpan data, uint32_t width, uint32_t height) {
  Image image;
  const uint32_t at_least[2] = {width, height};
  DecodeInto(data, [&](uint32_t w, uint32_t h) {
    image = Image(w, h);
    return std::pair{image.bgr.data(), static_cast<ptrdiff_t>(w) * 3};
  }, at_least);
  return image;
}

ScratchBuffer JpegToBmp(ByteSpan data) {
  std::optional<ScratchBuffer> bmp;
  DecodeInto(data, [&](uint32_t width, uint32_t height) {
    bmp.emplace(BmpFileSize(width, height));
    WriteBmpHeader({bmp->data(), bmp->size()}, width, height);
    // libjpeg writes every pixel of every row; the padding after each row is left to us.
    const size_t stride = BmpStride(width), pixels = size_t{width} * 3;
    uint8_t* rows = bmp->data() + kBmpHeaderSize;
    if (stride != pixels) {
      for (uint32_t y = 0; y < height; ++y) std::memset(rows + stride * y + pixels, 0, stride - pixels);
    }
    return std::pair{rows + stride * (height - size_t{1}), -static_cast<ptrdiff_t>(stride)};
  });
  return std::move(*bmp);
}

Bytes EncodeJpeg(const Image& image, int quality) {
  if (image.width == 0 || image.height == 0) {
    throw SsfError("JPEG: пустое изображение " + std::to_string(image.width) + "x" +
                   std::to_string(image.height) + " не записывается");
  }
  if (quality < 1 || quality > 100) throw SsfError("JPEG: качество " + std::to_string(quality) + " вне 1..100");
  Compressor c;
  if (!EncodeFrame(c.cinfo(), c.err(), c.dest(), image.bgr.data(), image.width, image.height, quality)) {
    throw SsfError("Не удалось записать JPEG: " + JpegMessageText(c.err()->code, c.err()->message));
  }
  return c.Output();
}

}  // namespace ssf
