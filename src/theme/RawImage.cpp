#include "theme/RawImage.h"

#include <bit>
#include <cstring>
#include <string>

#include "theme/Bmp.h"
#include "theme/FileIO.h"
#include "theme/PixelFormats.h"
#include "theme/SsfError.h"

namespace ssf {

static_assert(std::endian::native == std::endian::little, "the pixel loops read little-endian words");

namespace {

// PixelToRGB565 on a pixel already read as blue | green << 8 | red << 16, written so that
// the compiler keeps it in registers: the same bits as SwapRB followed by RGB24ToRGB16.
inline uint32_t PackedToRGB565(uint32_t p) {
  return ((p >> 8) & 0xF800u) | ((p >> 5) & 0x07E0u) | ((p >> 3) & 0x001Fu);
}

inline uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;  // little-endian host: the file's byte order
}

}  // namespace

Bytes ImageToRaw(const Image& image) {
  const size_t count = image.PixelCount();
  Bytes out(count * 2);
  const uint8_t* src = image.bgr.data();
  uint8_t* dst = out.data();
  size_t i = 0;
  // Four pixels (12 bytes) from three 32-bit loads, four values out in one 64-bit store.
  for (; i + 4 <= count; i += 4, src += 12, dst += 8) {
    const uint32_t a = Load32(src), b = Load32(src + 4), c = Load32(src + 8);
    const uint64_t v = PackedToRGB565(a) | (uint64_t{PackedToRGB565((a >> 24) | (b << 8))} << 16) |
                       (uint64_t{PackedToRGB565((b >> 16) | (c << 16))} << 32) |
                       (uint64_t{PackedToRGB565(c >> 8)} << 48);
    std::memcpy(dst, &v, 8);
  }
  for (; i < count; ++i, src += 3, dst += 2) {
    const uint16_t v = PixelToRGB565(src);
    dst[0] = static_cast<uint8_t>(v);
    dst[1] = static_cast<uint8_t>(v >> 8);
  }
  return out;
}

Image RawToImage(ByteSpan raw, uint32_t width, uint32_t height) {
  CheckImageSize(width, height);
  const size_t needed = static_cast<size_t>(width) * height * 2;
  if (raw.size() < needed) {
    throw SsfError("Файл RAW обрезан: для " + std::to_string(width) + "x" + std::to_string(height) +
                   " нужно " + std::to_string(needed) + " байт, есть " + std::to_string(raw.size()));
  }
  Image image(width, height);
  const size_t count = image.PixelCount();
  const uint8_t* src = raw.data();
  uint8_t* dst = image.bgr.data();
  for (size_t i = 0; i < count; ++i, src += 2, dst += 3) {
    RGB565ToPixel(static_cast<uint16_t>(src[0] | (src[1] << 8)), dst);
  }
  return image;
}

void BmpToRaw(const std::filesystem::path& bmp_file, const std::filesystem::path& raw_file) {
  const Bytes bmp = ReadWholeFile(bmp_file);
  Image image;
  try {
    image = DecodeBmp(bmp);
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + bmp_file.string());
  }
  WriteFileAtomic(raw_file, ImageToRaw(image));
}

void RawToBmp(const std::filesystem::path& raw_file, const std::filesystem::path& bmp_file,
              int32_t width, int32_t height) {
  if (width < 0 || height < 0) {
    throw SsfError("Неверный размер изображения RAW: " + std::to_string(width) + "x" + std::to_string(height));
  }
  const Bytes raw = ReadWholeFile(raw_file);
  Image image;
  try {
    image = RawToImage(raw, static_cast<uint32_t>(width), static_cast<uint32_t>(height));
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + raw_file.string());
  }
  WriteFileAtomic(bmp_file, EncodeBmp(image));
}

}  // namespace ssf
