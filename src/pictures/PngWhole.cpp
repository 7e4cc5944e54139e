#include "pictures/PngWhole.h"

#include <cstring>
#include <memory>
#include <vector>

#include "base/ScratchBuffer.h"
#include "base/SsfError.h"
#include "pictures/Libdeflate.h"
#include "pictures/PngUnfilter.h"
#include "pictures/Rgb565Kernels.h"

namespace ssf {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t Be32(const uint8_t* p) { return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3]; }

struct DecompressorFree {
  void operator()(libdeflate_decompressor* d) const { LoadLibdeflate().libdeflate_free_decompressor(d); }
};
struct CompressorFree {
  void operator()(libdeflate_compressor* c) const { LoadLibdeflate().libdeflate_free_compressor(c); }
};

void PutBe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24), p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8), p[3] = static_cast<uint8_t>(v);
}

// A chunk from its type and body at `out` (12 + size bytes); the CRC covers type and body.
void PutChunk(uint8_t* out, const char* type, const uint8_t* body, size_t size) {
  PutBe32(out, static_cast<uint32_t>(size));
  std::memcpy(out + 4, type, 4);
  if (size) std::memcpy(out + 8, body, size);
  PutBe32(out + 8 + size, LoadLibdeflate().libdeflate_crc32(0, out + 4, size + 4));
}

// libdeflate's level for the 16-bit PNGs written. Level 4 deflates a 240x320 photo twice as
// fast as level 6 into a file 2% larger (flat artwork: the same size either way); the
// deflating was most of an ANI2 to PNG.
constexpr int kRgba16Level = 4;

// The rows of a common PNG, inflated, still filtered: each a filter byte and `stride` bytes.
struct InflatedRows {
  uint32_t width = 0, height = 0;
  size_t bpp = 0, stride = 0;
  ScratchBuffer rows;
};

std::optional<InflatedRows> InflateCommonPng(ByteSpan d) {
  // Signature, IHDR of 13 bytes first.
  if (d.size() < 8 + 25 || std::memcmp(d.data(), kSignature, 8) != 0) return std::nullopt;
  if (Be32(&d[8]) != 13 || std::memcmp(&d[12], "IHDR", 4) != 0) return std::nullopt;
  const uint8_t* ihdr = &d[16];
  const uint32_t width = Be32(ihdr), height = Be32(ihdr + 4);
  const uint8_t depth = ihdr[8], colour = ihdr[9];
  if (depth != 8 || (colour != 2 && colour != 6) || ihdr[10] != 0 || ihdr[11] != 0 || ihdr[12] != 0) return std::nullopt;
  if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return std::nullopt;
  if (LoadLibdeflate().libdeflate_crc32(0, &d[12], 17) != Be32(&d[29])) return std::nullopt;

  // The chunks: the critical ones checked by their CRC as libpng does, the IDAT bodies
  // gathered (one chunk, the usual case, is used where it lies), a tRNS or an unknown
  // critical chunk left to libpng.
  // First the chunks are checked and the IDAT bodies counted; several are then joined in one
  // buffer (one chunk, rare, is used where it lies).
  size_t idat_size = 0, idat_chunks = 0, first_idat = 0;
  bool idat_done = false, ended = false;
  for (size_t at = 33; !ended;) {
    if (d.size() - at < 12) return std::nullopt;
    const uint32_t length = Be32(&d[at]);
    if (length > d.size() - at - 12) return std::nullopt;
    const uint8_t* type = &d[at + 4];
    const uint8_t* body = &d[at + 8];
    const bool critical = (type[0] & 0x20) == 0;
    if (critical && LoadLibdeflate().libdeflate_crc32(0, type, length + 4) != Be32(body + length)) return std::nullopt;
    if (std::memcmp(type, "IDAT", 4) == 0) {
      if (idat_done) return std::nullopt;
      if (idat_chunks++ == 0) first_idat = at;
      idat_size += length;
    } else {
      if (idat_chunks > 0) idat_done = true;
      if (std::memcmp(type, "IEND", 4) == 0) {
        ended = true;
      } else if (std::memcmp(type, "tRNS", 4) == 0 || (critical && std::memcmp(type, "PLTE", 4) != 0)) {
        return std::nullopt;
      }
    }
    at += 12 + length;
  }
  if (idat_chunks == 0) return std::nullopt;
  std::optional<ScratchBuffer> joined;
  const uint8_t* idat = &d[first_idat + 8];
  if (idat_chunks > 1) {
    joined.emplace(idat_size);
    size_t filled = 0;
    for (size_t at = first_idat; filled < idat_size;) {  // the IDAT chunks follow each other
      const uint32_t length = Be32(&d[at]);
      std::memcpy(joined->data() + filled, &d[at + 8], length);
      filled += length;
      at += 12 + length;
    }
    idat = joined->data();
  }

  const size_t bpp = colour == 6 ? 4 : 3;
  const size_t stride = size_t{width} * bpp;
  const size_t inflated_size = (stride + 1) * height;
  ScratchBuffer rows(inflated_size);
  const std::unique_ptr<libdeflate_decompressor, DecompressorFree> inflater(LoadLibdeflate().libdeflate_alloc_decompressor());
  if (!inflater) throw SsfError("PNG: недостаточно памяти");
  size_t used = 0;
  // The exact size or nothing: fewer rows, more rows and data after the stream are libpng's to tell.
  if (LoadLibdeflate().libdeflate_zlib_decompress_ex(inflater.get(), idat, idat_size, rows.data(), inflated_size, &used, nullptr) !=
          LIBDEFLATE_SUCCESS ||
      used != idat_size) {
    return std::nullopt;
  }
  return InflatedRows{width, height, bpp, stride, std::move(rows)};
}

// Undoes the filters row by row and hands each row to `take(y, row)` while it is fresh in the
// cache. False for an unknown filter.
template <typename Take>
bool ForEachRow(InflatedRows& in, Take&& take) {
  const uint8_t* prior = nullptr;
  for (uint32_t y = 0; y < in.height; ++y) {
    uint8_t* row = in.rows.data() + size_t{y} * (in.stride + 1);
    if (!UnfilterPngRow(row[0], row + 1, prior, in.stride, in.bpp)) return false;
    take(y, row + 1);
    prior = row + 1;
  }
  return true;
}

}  // namespace

std::optional<PngPicture> DecodeCommonPng(ByteSpan d) {
  std::optional<InflatedRows> in = InflateCommonPng(d);
  if (!in) return std::nullopt;
  PngPicture result;
  Image& image = result.image;
  image.width = in->width;
  image.height = in->height;
  image.bgr.resize(image.PixelCount() * 3);
  const bool alpha = in->bpp == 4;
  if (alpha) {
    result.has_alpha_channel = true;
    image.alpha.resize(image.PixelCount());
  }
  const bool done = ForEachRow(*in, [&](uint32_t y, const uint8_t* s) {
    uint8_t* bgr = image.Row(y);
    uint8_t* a = alpha ? image.alpha.data() + size_t{y} * image.width : nullptr;
    for (uint32_t x = 0; x < image.width; ++x, bgr += 3) {
      bgr[0] = s[2], bgr[1] = s[1], bgr[2] = s[0];
      if (alpha) *a++ = s[3], s += 4; else s += 3;
    }
  });
  if (!done) return std::nullopt;
  return result;
}

std::optional<ScratchBuffer> CommonPngToRgb565(ByteSpan d) {
  std::optional<InflatedRows> in = InflateCommonPng(d);
  if (!in) return std::nullopt;
  const uint32_t width = in->width;
  ScratchBuffer raw(size_t{width} * in->height * 2);
  std::vector<uint8_t> bgr(size_t{width} * 3);
  const bool alpha = in->bpp == 4;
  const bool done = ForEachRow(*in, [&](uint32_t y, const uint8_t* s) {
    uint8_t* o = bgr.data();
    if (alpha) {
      for (uint32_t x = 0; x < width; ++x, s += 4, o += 3) {
        // Over black, rounded as FlattenOverBlack does.
        const uint32_t a = s[3];
        o[0] = static_cast<uint8_t>((s[2] * a + 127) / 255);
        o[1] = static_cast<uint8_t>((s[1] * a + 127) / 255);
        o[2] = static_cast<uint8_t>((s[0] * a + 127) / 255);
      }
    } else {
      for (uint32_t x = 0; x < width; ++x, s += 3, o += 3) o[0] = s[2], o[1] = s[1], o[2] = s[0];
    }
    BgrToRgb565(bgr.data(), raw.data() + size_t{y} * width * 2, width);
  });
  if (!done) return std::nullopt;
  return raw;
}

void BgrToRgba16(const uint8_t* bgr, const uint8_t* alpha, uint8_t* out, size_t count) {
  for (size_t i = 0; i < count; ++i, bgr += 3, out += 8) {
    const uint8_t a = alpha ? alpha[i] : uint8_t{255};
    out[0] = out[1] = bgr[2];
    out[2] = out[3] = bgr[1];
    out[4] = out[5] = bgr[0];
    out[6] = out[7] = a;
  }
}

ScratchBuffer WriteRgba16Png(uint32_t width, uint32_t height, const Rgba16Rows& rows) {
  if (width == 0 || height == 0) {
    throw SsfError("PNG: пустое изображение " + std::to_string(width) + "x" + std::to_string(height) + " не записывается");
  }
  const size_t stride = size_t{width} * 8;
  const size_t in_size = (stride + 1) * height;
  ScratchBuffer filtered(in_size);
  std::vector<uint8_t> lines(2 * stride);
  uint8_t* row = lines.data();
  uint8_t* above = row + stride;
  for (uint32_t y = 0; y < height; ++y) {
    rows(y, row);
    uint8_t* out = filtered.data() + size_t{y} * (stride + 1);
    out[0] = 2;  // Up
    if (y == 0) {
      std::memcpy(out + 1, row, stride);
    } else {
      for (size_t i = 0; i < stride; ++i) out[1 + i] = static_cast<uint8_t>(row[i] - above[i]);
    }
    std::swap(row, above);
  }
  const std::unique_ptr<libdeflate_compressor, CompressorFree> deflater(LoadLibdeflate().libdeflate_alloc_compressor(kRgba16Level));
  if (!deflater) throw SsfError("PNG: недостаточно памяти");

  // Signature, IHDR, then the IDAT chunk deflated in place, then IEND.
  constexpr size_t kIdatData = 8 + 25 + 8;
  const size_t bound = LoadLibdeflate().libdeflate_zlib_compress_bound(deflater.get(), in_size);
  ScratchBuffer png(kIdatData + bound + 4 + 12);
  uint8_t* p = png.data();
  std::memcpy(p, kSignature, 8);
  uint8_t ihdr[13] = {};
  PutBe32(ihdr, width);
  PutBe32(ihdr + 4, height);
  ihdr[8] = 16;  // bits per sample
  ihdr[9] = 6;   // truecolour with alpha
  PutChunk(p + 8, "IHDR", ihdr, sizeof ihdr);
  const size_t packed = LoadLibdeflate().libdeflate_zlib_compress(deflater.get(), filtered.data(), in_size, p + kIdatData, bound);
  if (packed == 0 || packed > 0x7FFFFFFF) throw SsfError("Не удалось записать PNG (сжатие не удалось)");
  PutBe32(p + kIdatData - 8, static_cast<uint32_t>(packed));
  std::memcpy(p + kIdatData - 4, "IDAT", 4);
  PutBe32(p + kIdatData + packed, LoadLibdeflate().libdeflate_crc32(0, p + kIdatData - 4, packed + 4));
  PutChunk(p + kIdatData + packed + 4, "IEND", nullptr, 0);
  png.Shrink(kIdatData + packed + 4 + 12);
  return png;
}

}  // namespace ssf
