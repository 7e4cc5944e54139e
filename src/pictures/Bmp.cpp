#include "pictures/Bmp.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <vector>
#include <string>

#include "base/SsfError.h"

// Layout read here:
//   offset  size  field
//   0       2     "BM"
//   2       4     file size (not trusted)
//   10      4     offset of the pixel rows
//   14      4     info header size: 12 (OS/2 core: 16-bit width/height), 40/52/56/108/124
//                 (Windows), or any other size 16..64 (OS/2 2.x, which may cut its header
//                 short after the bit count: fields left out count as zero)
//   18      4     width (signed)              | core: 2 width, 2 height, 2 planes, 2 bpp
//   22      4     height (negative: top-down)
//   28      2     bits per pixel
//   30      4     compression: 0 RGB, 1 RLE8, 2 RLE4, 3 bitfields (OS/2: Huffman),
//                 4 (OS/2: RLE24), 6 alpha bitfields
//   46      4     colours used (0: 1 << bpp)
//   54      ...   masks (bitfields with a 40-byte header), then the palette (4 bytes each;
//                 3 in a core file)
// Each row is padded to a multiple of 4 bytes. RLE rows are stored bottom-up as pairs:
// (n > 0, v) paints n pixels of v (RLE4: its two nibbles in turn); (0, 0) ends the line,
// (0, 1) the bitmap, (0, 2, dx, dy) moves the pen; (0, n >= 3) is followed by n literal
// indexes (RLE4: packed two a byte), padded to an even byte count. Pixels never painted
// stay black.

namespace ssf {

namespace {

constexpr size_t kFileHeaderSize = 14;

[[noreturn]] void Refuse(const std::string& what) { throw SsfError("Файл BMP: " + what); }

// One channel of a bitfields pixel, scaled to 8 bits by repeating its high bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit Channel(uint32_t m) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    bits = std::popcount(m);
  }
  uint8_t Extract(uint32_t pixel) const {
    if (bits == 0) return 0;
    uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<uint8_t>(v >> (bits - 8));
    uint32_t out = v << (8 - bits);
    for (int filled = bits; filled < 8; filled += bits) out |= out >> bits;
    return static_cast<uint8_t>(out);
  }
};

bool ContiguousMask(uint32_t m) {
  if (m == 0) return true;
  uint32_t shifted = m >> std::countr_zero(m);
  return (shifted & (shifted + 1)) == 0;
}

using Palette = std::array<uint8_t, 256 * 3>;  // blue, green, red; unlisted entries stay black

[[noreturn]] void BadRun(size_t offset, const std::string& what) {
  Refuse("ошибка в сжатых строках по смещению " + std::to_string(offset) + ": " + what);
}

// RLE8 (bpp 8) or RLE4 (bpp 4) from `at` into a bottom-up picture. Every run is checked
// against the row and the picture before a pixel is written. Runs may reach into the row's
// padding, as in an uncompressed file (ImageMagick encodes the padding too); those pixels
// are dropped. A run past the padding is an error.
// `put(x, y, index)` gets each painted pixel inside the picture, y counted from the top.
template <typename Put>
void DecodeRle(ByteSpan data, size_t at, uint32_t bpp, uint32_t w, uint32_t h, Put&& put) {
  const uint32_t padded = static_cast<uint32_t>((uint64_t{w} * bpp + 31) / 32 * 32 / bpp);
  uint32_t x = 0, y = 0;  // y counts rows from the bottom, as stored
  auto paint = [&](uint32_t index) {
    if (x < w) put(x, h - 1 - y, index);
    ++x;
  };
  while (y < h) {  // a file may end after the last row's end of line without an end of bitmap
    const size_t op = at;
    if (data.size() - at < 2) Refuse("файл обрезан в сжатых строках по смещению " + std::to_string(op));
    const uint32_t first = data[at], second = data[at + 1];
    at += 2;
    if (first > 0) {
      if (first > padded - x) BadRun(op, "серия из " + std::to_string(first) + " точек выходит за конец строки");
      for (uint32_t i = 0; i < first; ++i) paint(bpp == 8 ? second : (i % 2 == 0 ? second >> 4 : second & 15));
    } else if (second == 0) {
      x = 0, ++y;
    } else if (second == 1) {
      return;
    } else if (second == 2) {
      if (data.size() - at < 2) Refuse("файл обрезан в сжатых строках по смещению " + std::to_string(op));
      const uint32_t dx = data[at], dy = data[at + 1];
      at += 2;
      if (dx > padded - x || dy > h - y) BadRun(op, "сдвиг выходит за пределы изображения");
      x += dx, y += dy;
    } else {
      const uint32_t count = second;
      const size_t bytes = bpp == 8 ? count : (count + 1) / 2;
      if (count > padded - x) BadRun(op, "серия из " + std::to_string(count) + " точек выходит за конец строки");
      if (data.size() - at < bytes) Refuse("файл обрезан в сжатых строках по смещению " + std::to_string(op));
      for (uint32_t i = 0; i < count; ++i) {
        const uint32_t byte = data[at + (bpp == 8 ? i : i / 2)];
        paint(bpp == 8 ? byte : (i % 2 == 0 ? byte >> 4 : byte & 15));
      }
      at += std::min(bytes + (bytes & 1), data.size() - at);  // the pad byte of the last run may be missing
    }
  }
}

// The fields of the info header that the rest of the reading needs, checked against each
// other and against the picture limits.
struct Header {
  uint32_t pixel_offset = 0;
  uint32_t size = 0;  // of the info header
  bool core = false;  // OS/2 core: 16-bit sizes, 3-byte palette entries
  uint32_t width = 0, height = 0;
  bool top_down = false;
  uint32_t bpp = 0;
  uint32_t compression = 0;
  uint32_t colours_used = 0;
  bool rle = false;
};

Header ReadHeader(ByteSpan data) {
  if (data.size() < 2 || data[0] != 'B' || data[1] != 'M') Refuse("нет подписи BM, это не BMP-изображение");
  if (data.size() < kFileHeaderSize + 4) {
    Refuse("файл обрезан, заголовок неполон (" + std::to_string(data.size()) + " байт)");
  }
  Header h;
  h.pixel_offset = ReadU32LE(data, 10);
  h.size = ReadU32LE(data, 14);
  h.core = h.size == 12;
  const bool windows = h.size == 40 || h.size == 52 || h.size == 56 || h.size == 108 || h.size == 124;
  const bool os2 = !h.core && !windows && h.size >= 16 && h.size <= 64;
  if (!h.core && !windows && !os2) {
    Refuse("неизвестный размер заголовка " + std::to_string(h.size) + " по смещению 14");
  }
  if (data.size() < kFileHeaderSize + h.size) {
    Refuse("файл обрезан, заголовок неполон (" + std::to_string(data.size()) + " байт)");
  }

  int64_t width, height;
  if (h.core) {
    width = ReadU16LE(data, 18);
    height = ReadU16LE(data, 20);
    h.bpp = ReadU16LE(data, 24);
  } else {
    width = ReadI32LE(data, 18);
    height = ReadI32LE(data, 22);
    h.bpp = ReadU16LE(data, 28);
    // A shortened OS/2 2.x header leaves out the fields from the compression on.
    if (h.size >= 20) h.compression = ReadU32LE(data, 30);
    if (h.size >= 36) h.colours_used = ReadU32LE(data, 46);
  }
  h.top_down = height < 0;
  if (h.top_down) height = -height;
  if (width < 0) Refuse("отрицательная ширина " + std::to_string(width));

  const uint32_t compression = h.compression, bpp = h.bpp;
  if (os2 && compression == 3) Refuse("сжатие Хаффмана (OS/2) не поддерживается");
  if (os2 && compression == 4) Refuse("сжатие RLE24 (OS/2) не поддерживается");
  if (compression != 0 && compression != 1 && compression != 2 && compression != 3 && compression != 6) {
    Refuse("неизвестный вид сжатия " + std::to_string(compression));
  }
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    Refuse("неподдерживаемая глубина цвета " + std::to_string(bpp) + " бит");
  }
  h.rle = compression == 1 || compression == 2;
  if (h.rle && bpp != (compression == 1 ? 8u : 4u)) {
    Refuse("сжатие RLE" + std::to_string(compression == 1 ? 8 : 4) + " при глубине " + std::to_string(bpp) + " бит");
  }
  if (h.rle && h.top_down) Refuse("сжатые строки не могут идти сверху вниз");
  if (!h.rle && compression != 0 && bpp != 16 && bpp != 32) {
    Refuse("битовые маски при глубине " + std::to_string(bpp) + " бит");
  }
  CheckImageSize(static_cast<uint64_t>(width), static_cast<uint64_t>(height));
  // Within the limits now, so both fit.
  h.width = static_cast<uint32_t>(width);
  h.height = static_cast<uint32_t>(height);
  return h;
}

bool HasMasks(const Header& h) { return h.compression == 3 || h.compression == 6; }

// The palette follows the info header, and the masks when they are stored after a
// 40-byte one (three, or four with alpha).
size_t PaletteOffset(const Header& h) {
  size_t at = kFileHeaderSize + h.size;
  if (HasMasks(h) && h.size < 52) at += h.compression == 6 ? 16 : 12;
  return at;
}

struct Masks {
  uint32_t red = 0, green = 0, blue = 0;
};

// The stored masks (in the header from 52 bytes on, else right after a 40-byte header), or
// the default 5-5-5 or 8-8-8 layout of a 16- or 32-bit picture.
Masks ReadMasks(ByteSpan data, const Header& h) {
  uint32_t masks[3] = {0, 0, 0};
  if (h.bpp == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  if (h.bpp == 32) masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
  if (HasMasks(h)) {
    const size_t at = kFileHeaderSize + (h.size >= 52 ? 40 : h.size);
    if (at + 12 > data.size()) Refuse("файл обрезан в битовых масках");
    for (int i = 0; i < 3; ++i) {
      masks[i] = ReadU32LE(data, at + 4 * static_cast<size_t>(i));
      if (!ContiguousMask(masks[i])) Refuse("битовая маска не сплошная: " + std::to_string(masks[i]));
    }
  }
  return {masks[0], masks[1], masks[2]};
}

// The palette of a picture of 1 to 8 bits; any other leaves it black.
Palette ReadPalette(ByteSpan data, const Header& h) {
  Palette palette{};
  if (h.bpp > 8) return palette;
  const size_t at = PaletteOffset(h);
  const size_t entry = h.core ? 3 : 4;
  size_t count = h.colours_used == 0 || h.colours_used > (1u << h.bpp) ? (1u << h.bpp) : h.colours_used;
  if (h.core) count = 1u << h.bpp;
  // Some writers list fewer entries than they claim; take what lies before the rows.
  const size_t room = h.pixel_offset > at ? (h.pixel_offset - at) / entry : 0;
  if (h.pixel_offset >= at && room < count) count = room;
  if (at + count * entry > data.size()) Refuse("файл обрезан в палитре");
  for (size_t i = 0; i < count; ++i) std::memcpy(&palette[i * 3], &data[at + i * entry], 3);
  return palette;
}

Image ReadRleRows(ByteSpan data, const Header& h, const Palette& palette) {
  if (h.pixel_offset > data.size()) Refuse("файл обрезан: сжатые строки по смещению " + std::to_string(h.pixel_offset) + ", файл " + std::to_string(data.size()) + " байт");
  // A few codes may paint a whole picture, so only the picture limit checked above bounds it.
  Image image(h.width, h.height);
  DecodeRle(data, h.pixel_offset, h.bpp, h.width, h.height,
            [&](uint32_t x, uint32_t y, uint32_t index) { std::memcpy(image.Pixel(x, y), &palette[index * 3], 3); });
  return image;
}

// The bytes between rows (rows are padded to 4 bytes); refuses a file too short for its rows.
uint64_t CheckedStride(ByteSpan data, const Header& h) {
  const uint64_t row_bits = uint64_t{h.width} * h.bpp;
  const uint64_t row_bytes = (row_bits + 7) / 8;
  const uint64_t stride = (row_bits + 31) / 32 * 4;
  // The last row may lack its padding; nothing past it is read. Checked before the pixels
  // are allocated, so a header of a few bytes cannot claim hundreds of megabytes.
  const uint64_t needed = stride * (uint64_t{h.height} - 1) + row_bytes;
  if (h.pixel_offset > data.size() || data.size() - h.pixel_offset < needed) {
    Refuse("файл обрезан: строкам " + std::to_string(h.width) + "x" + std::to_string(h.height) + "x" +
           std::to_string(h.bpp) + " бит нужно " + std::to_string(needed) + " байт по смещению " +
           std::to_string(h.pixel_offset) + ", есть " + std::to_string(data.size()));
  }
  return stride;
}

// Turns stored rows of any uncompressed kind into blue, green, red.
class RowConverter {
 public:
  RowConverter(ByteSpan data, const Header& h, const Masks& masks, const Palette& palette)
      : data_(data), h_(h), stride_(CheckedStride(data, h)), palette_(palette), red_(masks.red),
        green_(masks.green), blue_(masks.blue) {}

  // Row y from the top into `dst` (width * 3 bytes).
  void Convert(uint32_t y, uint8_t* dst) const {
    const uint32_t w = h_.width, bpp = h_.bpp;
    const uint32_t file_row = h_.top_down ? y : h_.height - 1 - y;
    const uint8_t* src = data_.data() + h_.pixel_offset + stride_ * file_row;
    switch (bpp) {
      case 24:
        std::memcpy(dst, src, static_cast<size_t>(w) * 3);
        break;
      case 32:
        if (h_.compression == 0) {
          for (uint32_t x = 0; x < w; ++x, src += 4, dst += 3) dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
          break;
        }
        for (uint32_t x = 0; x < w; ++x, src += 4, dst += 3) {
          const uint32_t p = src[0] | (uint32_t{src[1]} << 8) | (uint32_t{src[2]} << 16) | (uint32_t{src[3]} << 24);
          dst[0] = blue_.Extract(p), dst[1] = green_.Extract(p), dst[2] = red_.Extract(p);
        }
        break;
      case 16:
        for (uint32_t x = 0; x < w; ++x, src += 2, dst += 3) {
          const uint32_t p = src[0] | (uint32_t{src[1]} << 8);
          dst[0] = blue_.Extract(p), dst[1] = green_.Extract(p), dst[2] = red_.Extract(p);
        }
        break;
      default: {  // 1, 4, 8: indexes packed from the high bits of each byte
        const uint32_t per_byte = 8 / bpp;
        const uint32_t index_mask = (1u << bpp) - 1;
        for (uint32_t x = 0; x < w; ++x, dst += 3) {
          const uint32_t byte = src[x / per_byte];
          const uint32_t shift = 8 - bpp - (x % per_byte) * bpp;
          std::memcpy(dst, &palette_[((byte >> shift) & index_mask) * 3], 3);
        }
      }
    }
  }

 private:
  ByteSpan data_;
  Header h_;
  uint64_t stride_;
  const Palette& palette_;
  Channel red_, green_, blue_;
};

Image ReadRows(ByteSpan data, const Header& h, const Masks& masks, const Palette& palette) {
  const RowConverter rows(data, h, masks, palette);
  Image image(h.width, h.height);
  for (uint32_t y = 0; y < image.height; ++y) rows.Convert(y, image.Row(y));
  return image;
}

// The rows of an uncompressed file, made one at a time from the file's bytes.
class StoredBmpRows final : public PictureRows {
 public:
  StoredBmpRows(ByteSpan data, const Header& h, const Masks& masks, const Palette& palette)
      : h_(h), palette_(palette), rows_(data, h_, masks, palette_), row_(static_cast<size_t>(h.width) * 3) {}
  uint32_t Width() const override { return h_.width; }
  uint32_t Height() const override { return h_.height; }
  bool HasAlpha() const override { return false; }
  void Row(uint32_t y, const uint8_t** bgr, const uint8_t** alpha) override {
    rows_.Convert(y, row_.data());
    *bgr = row_.data();
    *alpha = nullptr;
  }

 private:
  Header h_;
  Palette palette_;
  RowConverter rows_;
  std::vector<uint8_t> row_;
};

// The rows of an RLE file: the codes are followed once into a plane of palette indexes and
// a mark of the pixels painted, a byte and a bit a pixel instead of three bytes; the colours
// are looked up row by row.
class RleBmpRows final : public PictureRows {
 public:
  RleBmpRows(ByteSpan data, const Header& h, const Palette& palette)
      : h_(h), palette_(palette), row_(static_cast<size_t>(h.width) * 3) {
    if (h.pixel_offset > data.size()) {
      Refuse("файл обрезан: сжатые строки по смещению " + std::to_string(h.pixel_offset) + ", файл " +
             std::to_string(data.size()) + " байт");
    }
    const size_t pixels = static_cast<size_t>(h.width) * h.height;
    index_.resize(pixels);
    painted_.resize((pixels + 7) / 8);
    DecodeRle(data, h.pixel_offset, h.bpp, h.width, h.height, [&](uint32_t x, uint32_t y, uint32_t index) {
      const size_t at = static_cast<size_t>(y) * h_.width + x;
      index_[at] = static_cast<uint8_t>(index);
      painted_[at / 8] |= static_cast<uint8_t>(1u << (at % 8));
    });
  }
  uint32_t Width() const override { return h_.width; }
  uint32_t Height() const override { return h_.height; }
  bool HasAlpha() const override { return false; }
  void Row(uint32_t y, const uint8_t** bgr, const uint8_t** alpha) override {
    static constexpr uint8_t kBlack[3] = {0, 0, 0};
    const size_t first = static_cast<size_t>(y) * h_.width;
    for (uint32_t x = 0; x < h_.width; ++x) {
      const size_t at = first + x;
      const bool painted = (painted_[at / 8] >> (at % 8)) & 1;
      std::memcpy(&row_[static_cast<size_t>(x) * 3], painted ? &palette_[index_[at] * 3u] : kBlack, 3);
    }
    *bgr = row_.data();
    *alpha = nullptr;
  }

 private:
  Header h_;
  Palette palette_;
  std::vector<uint8_t> index_;
  std::vector<uint8_t> painted_;
  std::vector<uint8_t> row_;
};

}  // namespace

Image DecodeBmp(ByteSpan data) {
  const Header header = ReadHeader(data);
  const Masks masks = ReadMasks(data, header);
  const Palette palette = ReadPalette(data, header);
  if (header.width == 0 || header.height == 0) return Image(header.width, header.height);
  if (header.rle) return ReadRleRows(data, header, palette);
  return ReadRows(data, header, masks, palette);
}

std::unique_ptr<PictureRows> OpenBmpRows(ByteSpan data) {
  const Header header = ReadHeader(data);
  const Masks masks = ReadMasks(data, header);
  const Palette palette = ReadPalette(data, header);
  if (header.width == 0 || header.height == 0) Refuse("изображение нулевого размера");
  if (header.rle) return std::make_unique<RleBmpRows>(data, header, palette);
  return std::make_unique<StoredBmpRows>(data, header, masks, palette);
}

size_t BmpStride(uint32_t width) { return (static_cast<size_t>(width) * 3 + 3) / 4 * 4; }

size_t BmpFileSize(uint32_t width, uint32_t height) {
  const size_t size = kBmpHeaderSize + BmpStride(width) * height;
  if (size > 0xFFFFFFFFu) throw SsfError("Изображение слишком велико для BMP");
  return size;
}

void WriteBmpHeader(std::span<uint8_t> out, uint32_t width, uint32_t height) {
  const size_t size = BmpFileSize(width, height);
  std::fill_n(out.begin(), kBmpHeaderSize, uint8_t{0});
  out[0] = 'B', out[1] = 'M';
  WriteU32LE(out, 2, static_cast<uint32_t>(size));
  WriteU32LE(out, 10, static_cast<uint32_t>(kBmpHeaderSize));
  WriteU32LE(out, 14, 40);
  WriteI32LE(out, 18, static_cast<int32_t>(width));
  WriteI32LE(out, 22, static_cast<int32_t>(height));
  WriteU16LE(out, 26, 1);   // planes
  WriteU16LE(out, 28, 24);  // bits per pixel
  WriteU32LE(out, 34, static_cast<uint32_t>(size - kBmpHeaderSize));
}

Bytes NewBmp(uint32_t width, uint32_t height) {
  Bytes out(BmpFileSize(width, height), 0);
  WriteBmpHeader(out, width, height);
  return out;
}

Bytes EncodeBmp(const Image& image) {
  Bytes out = NewBmp(image.width, image.height);
  // Rows without columns (a raw file converted at width 0) have no pixel storage to copy from.
  if (image.width == 0) return out;
  const size_t stride = BmpStride(image.width);
  for (uint32_t y = 0; y < image.height; ++y) {
    std::memcpy(&out[kBmpHeaderSize + stride * (image.height - 1 - y)], image.Row(y), static_cast<size_t>(image.width) * 3);
  }
  return out;
}

}  // namespace ssf
