#include "pictures/Ani2.h"

#include <string>

#include "base/FileIO.h"
#include "pictures/PixelFormats.h"
#include "base/SsfError.h"

namespace ssf {

Bytes ImageToAni2(const Image& image, bool has_alpha_channel) {
  const bool use_alpha = has_alpha_channel && image.HasAlpha();
  const size_t count = image.PixelCount();
  Bytes out(kAni2HeaderSize + count * 3);
  out[0] = 'A', out[1] = 'N', out[2] = 'I', out[3] = '2';
  WriteU16LE(out, 4, static_cast<uint16_t>(image.width));
  WriteU16LE(out, 6, static_cast<uint16_t>(image.height));
  const uint8_t* src = image.bgr.data();
  uint8_t* dst = out.data() + kAni2HeaderSize;
  for (size_t i = 0; i < count; ++i, src += 3, dst += 3) {
    const uint16_t v = PixelToRGB565(src);
    dst[0] = use_alpha ? static_cast<uint8_t>(image.alpha[i] >> 2) : 63;
    dst[1] = static_cast<uint8_t>(v >> 8);
    dst[2] = static_cast<uint8_t>(v);
  }
  return out;
}

Image Ani2ToImage(ByteSpan data) {
  const uint16_t width = ReadU16LE(data, 4);
  const uint16_t height = ReadU16LE(data, 6);
  CheckImageSize(width, height);
  const size_t needed = kAni2HeaderSize + size_t{width} * height * 3;
  if (data.size() < needed) {
    throw SsfError("Файл ANI2 обрезан: для " + std::to_string(width) + "x" + std::to_string(height) +
                   " нужно " + std::to_string(needed) + " байт, есть " + std::to_string(data.size()));
  }
  Image image(width, height);
  image.AddAlpha();
  const size_t count = image.PixelCount();
  const uint8_t* src = data.data() + kAni2HeaderSize;
  uint8_t* dst = image.bgr.data();
  for (size_t i = 0; i < count; ++i, src += 3, dst += 3) {
    image.alpha[i] = static_cast<uint8_t>(src[0] << 2);  // wraps above 63, as stored files expect
    RGB565ToPixel(static_cast<uint16_t>((src[1] << 8) | src[2]), dst);
  }
  return image;
}

Bytes PngBytesToAni2(ByteSpan png) {
  const PngPicture picture = DecodePng(png);
  return ImageToAni2(picture.image, picture.has_alpha_channel);
}

Bytes Ani2BytesToPng(ByteSpan ani2) { return EncodePngRgba16(Ani2ToImage(ani2)); }

namespace {

// Adds the file name to a codec's message, keeping the error's kind.
template <typename Fn>
Bytes WithFileName(const std::filesystem::path& file, Fn&& fn) {
  try {
    return fn();
  } catch (const PngSignatureError& e) {
    throw PngSignatureError(std::string(e.what()) + ": " + file.string());
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + file.string());
  }
}

}  // namespace

void PngToAni2(const std::filesystem::path& png_file, const std::filesystem::path& ani2_file) {
  const Bytes png = ReadWholeFile(png_file);
  WriteFileAtomic(ani2_file, WithFileName(png_file, [&] { return PngBytesToAni2(png); }));
}

void Ani2ToPng(const std::filesystem::path& ani2_file, const std::filesystem::path& png_file) {
  const Bytes ani2 = ReadWholeFile(ani2_file);
  WriteFileAtomic(png_file, WithFileName(ani2_file, [&] { return Ani2BytesToPng(ani2); }));
}

}  // namespace ssf
