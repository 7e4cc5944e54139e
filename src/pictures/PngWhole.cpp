#include "pictures/PngWhole.h"

#include <libdeflate.h>

#include <cstring>
#include <memory>

#include "base/ScratchBuffer.h"
#include "base/SsfError.h"

namespace ssf {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t Be32(const uint8_t* p) { return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3]; }

struct DecompressorFree {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
struct CompressorFree {
  void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// Undoes the row filters in place: `rows` holds `height` rows of a filter byte and `stride`
// bytes, `bpp` bytes a pixel. False for an unknown filter.
bool Unfilter(uint8_t* rows, size_t stride, uint32_t height, size_t bpp) {
  const uint8_t* prior = nullptr;
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* row = rows + y * (stride + 1);
    const uint8_t filter = row[0];
    uint8_t* r = row + 1;
    switch (filter) {
      case 0:
        break;
      case 1:
        for (size_t i = bpp; i < stride; ++i) r[i] = static_cast<uint8_t>(r[i] + r[i - bpp]);
        break;
      case 2:
        if (prior) {
          for (size_t i = 0; i < stride; ++i) r[i] = static_cast<uint8_t>(r[i] + prior[i]);
        }
        break;
      case 3:
        if (prior) {
          for (size_t i = 0; i < bpp; ++i) r[i] = static_cast<uint8_t>(r[i] + (prior[i] >> 1));
          for (size_t i = bpp; i < stride; ++i) r[i] = static_cast<uint8_t>(r[i] + ((r[i - bpp] + prior[i]) >> 1));
        } else {
          for (size_t i = bpp; i < stride; ++i) r[i] = static_cast<uint8_t>(r[i] + (r[i - bpp] >> 1));
        }
        break;
      case 4:
        if (prior) {
          for (size_t i = 0; i < bpp; ++i) r[i] = static_cast<uint8_t>(r[i] + prior[i]);
          for (size_t i = bpp; i < stride; ++i) {
            const int a = r[i - bpp], b = prior[i], c = prior[i - bpp];
            const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
            const int p = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            r[i] = static_cast<uint8_t>(r[i] + p);
          }
        } else {  // above the first row Paeth is Sub
          for (size_t i = bpp; i < stride; ++i) r[i] = static_cast<uint8_t>(r[i] + r[i - bpp]);
        }
        break;
      default:
        return false;
    }
    prior = r;
  }
  return true;
}

void AppendBe32(Bytes& out, uint32_t v) {
  const uint8_t b[4] = {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
                        static_cast<uint8_t>(v)};
  out.insert(out.end(), b, b + 4);
}

// A chunk from its type and body; the CRC covers both.
void AppendChunk(Bytes& out, const char* type, const uint8_t* body, size_t size) {
  AppendBe32(out, static_cast<uint32_t>(size));
  const size_t from = out.size();
  out.insert(out.end(), type, type + 4);
  if (size) out.insert(out.end(), body, body + size);
  AppendBe32(out, libdeflate_crc32(0, out.data() + from, size + 4));
}

}  // namespace

std::optional<PngPicture> DecodeCommonPng(ByteSpan d) {
  // Signature, IHDR of 13 bytes first.
  if (d.size() < 8 + 25 || std::memcmp(d.data(), kSignature, 8) != 0) return std::nullopt;
  if (Be32(&d[8]) != 13 || std::memcmp(&d[12], "IHDR", 4) != 0) return std::nullopt;
  const uint8_t* ihdr = &d[16];
  const uint32_t width = Be32(ihdr), height = Be32(ihdr + 4);
  const uint8_t depth = ihdr[8], colour = ihdr[9];
  if (depth != 8 || (colour != 2 && colour != 6) || ihdr[10] != 0 || ihdr[11] != 0 || ihdr[12] != 0) return std::nullopt;
  if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return std::nullopt;
  if (libdeflate_crc32(0, &d[12], 17) != Be32(&d[29])) return std::nullopt;

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
    if (critical && libdeflate_crc32(0, type, length + 4) != Be32(body + length)) return std::nullopt;
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
  const std::unique_ptr<libdeflate_decompressor, DecompressorFree> inflater(libdeflate_alloc_decompressor());
  if (!inflater) throw SsfError("PNG: недостаточно памяти");
  size_t used = 0;
  // The exact size or nothing: fewer rows, more rows and data after the stream are libpng's to tell.
  if (libdeflate_zlib_decompress_ex(inflater.get(), idat, idat_size, rows.data(), inflated_size, &used, nullptr) !=
          LIBDEFLATE_SUCCESS ||
      used != idat_size) {
    return std::nullopt;
  }
  if (!Unfilter(rows.data(), stride, height, bpp)) return std::nullopt;

  PngPicture result;
  Image& image = result.image;
  image.width = width;
  image.height = height;
  image.bgr.resize(image.PixelCount() * 3);
  if (colour == 6) {
    result.has_alpha_channel = true;
    image.alpha.resize(image.PixelCount());
  }
  uint8_t* bgr = image.bgr.data();
  uint8_t* alpha = image.alpha.data();
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* s = rows.data() + size_t{y} * (stride + 1) + 1;
    for (uint32_t x = 0; x < width; ++x, s += bpp, bgr += 3) {
      bgr[0] = s[2], bgr[1] = s[1], bgr[2] = s[0];
      if (bpp == 4) *alpha++ = s[3];
    }
  }
  return result;
}

Bytes WriteRgba16Png(const uint8_t* pixels, uint32_t width, uint32_t height) {
  if (width == 0 || height == 0) {
    throw SsfError("PNG: пустое изображение " + std::to_string(width) + "x" + std::to_string(height) + " не записывается");
  }
  const size_t stride = size_t{width} * 8;
  std::unique_ptr<uint8_t[]> filtered(new uint8_t[(stride + 1) * height]);
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* out = filtered.get() + size_t{y} * (stride + 1);
    const uint8_t* row = pixels + size_t{y} * stride;
    out[0] = 2;  // Up
    if (y == 0) {
      std::memcpy(out + 1, row, stride);
      continue;
    }
    const uint8_t* above = row - stride;
    for (size_t i = 0; i < stride; ++i) out[1 + i] = static_cast<uint8_t>(row[i] - above[i]);
  }
  // Level 6 of libdeflate gives files a little smaller than zlib's level 6 in a third of its
  // time on both photos and flat artwork, so one pass fits every picture.
  const std::unique_ptr<libdeflate_compressor, CompressorFree> deflater(libdeflate_alloc_compressor(6));
  if (!deflater) throw SsfError("PNG: недостаточно памяти");
  const size_t in_size = (stride + 1) * height;
  Bytes idat(libdeflate_zlib_compress_bound(deflater.get(), in_size));
  const size_t packed = libdeflate_zlib_compress(deflater.get(), filtered.get(), in_size, idat.data(), idat.size());
  if (packed == 0) throw SsfError("Не удалось записать PNG (сжатие не удалось)");

  Bytes png(kSignature, kSignature + 8);
  png.reserve(8 + 25 + 12 + packed + 12);
  uint8_t ihdr[13] = {};
  for (int i = 0; i < 4; ++i) {
    ihdr[i] = static_cast<uint8_t>(width >> (24 - 8 * i));
    ihdr[4 + i] = static_cast<uint8_t>(height >> (24 - 8 * i));
  }
  ihdr[8] = 16;  // bits per sample
  ihdr[9] = 6;   // truecolour with alpha
  AppendChunk(png, "IHDR", ihdr, sizeof ihdr);
  AppendChunk(png, "IDAT", idat.data(), packed);
  AppendChunk(png, "IEND", nullptr, 0);
  return png;
}

}  // namespace ssf
