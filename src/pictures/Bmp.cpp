#include "pictures/Bmp.h"

#include <array>
#include <bit>
#include <cstring>
#include <string>

#include "base/SsfError.h"

// Layout read here:
//   offset  size  field
//   0       2     "BM"
//   2       4     file size (not trusted)
//   10      4     offset of the pixel rows
//   14      4     info header size: 12 (OS/2 core: 16-bit width/height) or 40 and up
//   18      4     width (signed)              | core: 2 width, 2 height, 2 planes, 2 bpp
//   22      4     height (negative: top-down)
//   28      2     bits per pixel
//   30      4     compression: 0 RGB, 1/2 RLE, 3 bitfields, 6 alpha bitfields
//   46      4     colours used (0: 1 << bpp)
//   54      ...   masks (bitfields with a 40-byte header), then the palette (4 bytes each;
//                 3 in a core file)
// Each row is padded to a multiple of 4 bytes.

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

}  // namespace

Image DecodeBmp(ByteSpan data) {
  if (data.size() < 2 || data[0] != 'B' || data[1] != 'M') Refuse("нет подписи BM, это не BMP-изображение");
  if (data.size() < kFileHeaderSize + 4) {
    Refuse("файл обрезан, заголовок неполон (" + std::to_string(data.size()) + " байт)");
  }
  const uint32_t pixel_offset = ReadU32LE(data, 10);
  const uint32_t header_size = ReadU32LE(data, 14);
  const bool core = header_size == 12;
  if (!core && header_size != 40 && header_size != 52 && header_size != 56 && header_size != 108 &&
      header_size != 124) {
    Refuse("неизвестный размер заголовка " + std::to_string(header_size) + " по смещению 14");
  }
  if (data.size() < kFileHeaderSize + header_size) {
    Refuse("файл обрезан, заголовок неполон (" + std::to_string(data.size()) + " байт)");
  }

  int64_t width, height;
  uint32_t bpp, compression = 0, colours_used = 0;
  if (core) {
    width = ReadU16LE(data, 18);
    height = ReadU16LE(data, 20);
    bpp = ReadU16LE(data, 24);
  } else {
    width = ReadI32LE(data, 18);
    height = ReadI32LE(data, 22);
    bpp = ReadU16LE(data, 28);
    compression = ReadU32LE(data, 30);
    colours_used = ReadU32LE(data, 46);
  }
  const bool top_down = height < 0;
  if (top_down) height = -height;
  if (width < 0) Refuse("отрицательная ширина " + std::to_string(width));

  if (compression == 1 || compression == 2) Refuse("сжатие RLE не поддерживается");
  if (compression != 0 && compression != 3 && compression != 6) {
    Refuse("неизвестный вид сжатия " + std::to_string(compression));
  }
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    Refuse("неподдерживаемая глубина цвета " + std::to_string(bpp) + " бит");
  }
  if (compression != 0 && bpp != 16 && bpp != 32) {
    Refuse("битовые маски при глубине " + std::to_string(bpp) + " бит");
  }
  CheckImageSize(static_cast<uint64_t>(width), static_cast<uint64_t>(height));

  // Masks: in the header from 52 bytes on, else right after a 40-byte header.
  size_t after_header = kFileHeaderSize + header_size;
  uint32_t masks[3] = {0, 0, 0};
  if (bpp == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  if (bpp == 32) masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
  if (compression == 3 || compression == 6) {
    size_t at = header_size >= 52 ? kFileHeaderSize + 40 : after_header;
    if (header_size < 52) after_header += compression == 6 ? 16 : 12;
    if (at + 12 > data.size()) Refuse("файл обрезан в битовых масках");
    for (int i = 0; i < 3; ++i) {
      masks[i] = ReadU32LE(data, at + 4 * static_cast<size_t>(i));
      if (!ContiguousMask(masks[i])) Refuse("битовая маска не сплошная: " + std::to_string(masks[i]));
    }
  }

  // Palette.
  std::array<uint8_t, 256 * 3> palette{};  // blue, green, red; unlisted entries stay black
  if (bpp <= 8) {
    const size_t entry = core ? 3 : 4;
    size_t count = colours_used == 0 || colours_used > (1u << bpp) ? (1u << bpp) : colours_used;
    if (core) count = 1u << bpp;
    // Some writers list fewer entries than they claim; take what lies before the rows.
    const size_t room = pixel_offset > after_header ? (pixel_offset - after_header) / entry : 0;
    if (pixel_offset >= after_header && room < count) count = room;
    if (after_header + count * entry > data.size()) Refuse("файл обрезан в палитре");
    for (size_t i = 0; i < count; ++i) std::memcpy(&palette[i * 3], &data[after_header + i * entry], 3);
  }

  if (width == 0 || height == 0) return Image(static_cast<uint32_t>(width), static_cast<uint32_t>(height));

  const uint64_t row_bits = static_cast<uint64_t>(width) * bpp;
  const uint64_t row_bytes = (row_bits + 7) / 8;
  const uint64_t stride = (row_bits + 31) / 32 * 4;
  // The last row may lack its padding; nothing past it is read. Checked before the pixels
  // are allocated, so a header of a few bytes cannot claim hundreds of megabytes.
  const uint64_t needed = stride * static_cast<uint64_t>(height - 1) + row_bytes;
  if (pixel_offset > data.size() || data.size() - pixel_offset < needed) {
    Refuse("файл обрезан: строкам " + std::to_string(width) + "x" + std::to_string(height) + "x" +
           std::to_string(bpp) + " бит нужно " + std::to_string(needed) + " байт по смещению " +
           std::to_string(pixel_offset) + ", есть " + std::to_string(data.size()));
  }
  Image image(static_cast<uint32_t>(width), static_cast<uint32_t>(height));

  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
  const uint32_t w = image.width;
  for (uint32_t y = 0; y < image.height; ++y) {
    const uint32_t file_row = top_down ? y : image.height - 1 - y;
    const uint8_t* src = data.data() + pixel_offset + stride * file_row;
    uint8_t* dst = image.Row(y);
    switch (bpp) {
      case 24:
        std::memcpy(dst, src, static_cast<size_t>(w) * 3);
        break;
      case 32:
        if (compression == 0) {
          for (uint32_t x = 0; x < w; ++x, src += 4, dst += 3) dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
          break;
        }
        for (uint32_t x = 0; x < w; ++x, src += 4, dst += 3) {
          const uint32_t p = src[0] | (uint32_t{src[1]} << 8) | (uint32_t{src[2]} << 16) | (uint32_t{src[3]} << 24);
          dst[0] = blue.Extract(p), dst[1] = green.Extract(p), dst[2] = red.Extract(p);
        }
        break;
      case 16:
        for (uint32_t x = 0; x < w; ++x, src += 2, dst += 3) {
          const uint32_t p = src[0] | (uint32_t{src[1]} << 8);
          dst[0] = blue.Extract(p), dst[1] = green.Extract(p), dst[2] = red.Extract(p);
        }
        break;
      default: {  // 1, 4, 8: indexes packed from the high bits of each byte
        const uint32_t per_byte = 8 / bpp;
        const uint32_t index_mask = (1u << bpp) - 1;
        for (uint32_t x = 0; x < w; ++x, dst += 3) {
          const uint32_t byte = src[x / per_byte];
          const uint32_t shift = 8 - bpp - (x % per_byte) * bpp;
          std::memcpy(dst, &palette[((byte >> shift) & index_mask) * 3], 3);
        }
      }
    }
  }
  return image;
}

Bytes EncodeBmp(const Image& image) {
  const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) / 4 * 4;
  const size_t pixels = stride * image.height;
  const size_t offset = kFileHeaderSize + 40;
  if (offset + pixels > 0xFFFFFFFFu) throw SsfError("Изображение слишком велико для BMP");
  Bytes out(offset + pixels, 0);
  out[0] = 'B', out[1] = 'M';
  WriteU32LE(out, 2, static_cast<uint32_t>(out.size()));
  WriteU32LE(out, 10, static_cast<uint32_t>(offset));
  WriteU32LE(out, 14, 40);
  WriteI32LE(out, 18, static_cast<int32_t>(image.width));
  WriteI32LE(out, 22, static_cast<int32_t>(image.height));
  WriteU16LE(out, 26, 1);   // planes
  WriteU16LE(out, 28, 24);  // bits per pixel
  WriteU32LE(out, 34, static_cast<uint32_t>(pixels));
  // Rows without columns (a raw file converted at width 0) have no pixel storage to copy from.
  if (image.width == 0) return out;
  for (uint32_t y = 0; y < image.height; ++y) {
    std::memcpy(&out[offset + stride * (image.height - 1 - y)], image.Row(y), static_cast<size_t>(image.width) * 3);
  }
  return out;
}

}  // namespace ssf
