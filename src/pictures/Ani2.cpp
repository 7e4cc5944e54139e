#include "pictures/Ani2.h"

#include <string>
#include <vector>

#include "base/FileIO.h"
#include "pictures/Ani2Kernels.h"
#include "pictures/PngWhole.h"
#include "base/SsfError.h"
#include "platform/PathText.h"

namespace ssf {

Bytes ImageToAni2(const Image& image, bool has_alpha_channel) {
  const bool use_alpha = has_alpha_channel && image.HasAlpha();
  const size_t count = image.PixelCount();
  Bytes out(kAni2HeaderSize + count * 3);
  out[0] = 'A', out[1] = 'N', out[2] = 'I', out[3] = '2';
  WriteU16LE(out, 4, static_cast<uint16_t>(image.width));
  WriteU16LE(out, 6, static_cast<uint16_t>(image.height));
  BgrToAni2(image.bgr.data(), use_alpha ? image.alpha.data() : nullptr, out.data() + kAni2HeaderSize, count);
  return out;
}

namespace {

// The picture's pixel count, after checking that the data holds every pixel.
size_t Ani2PixelCount(ByteSpan data) {
  const uint16_t width = ReadU16LE(data, 4);
  const uint16_t height = ReadU16LE(data, 6);
  CheckImageSize(width, height);
  const size_t needed = kAni2HeaderSize + size_t{width} * height * 3;
  if (data.size() < needed) {
    throw SsfError("Файл ANI2 обрезан: для " + std::to_string(width) + "x" + std::to_string(height) +
                   " нужно " + std::to_string(needed) + " байт, есть " + std::to_string(data.size()));
  }
  return size_t{width} * height;
}

}  // namespace

Image Ani2ToImage(ByteSpan data) {
  Ani2PixelCount(data);
  Image image(ReadU16LE(data, 4), ReadU16LE(data, 6));
  image.AddAlpha();
  // The alpha wraps above 63, as stored files expect.
  Ani2ToBgr(data.data() + kAni2HeaderSize, image.bgr.data(), image.alpha.data(), image.PixelCount());
  return image;
}

Bytes Ani2ToRawOverBlack(ByteSpan data) {
  const size_t count = Ani2PixelCount(data);
  Bytes raw(count * 2);
  const uint8_t* p = data.data() + kAni2HeaderSize;
  for (size_t i = 0; i < count; ++i, p += 3) {
    const uint32_t a = p[0] & 63u;
    const uint32_t v = uint32_t{p[1]} << 8 | p[2];
    const auto scale = [a](uint32_t c) { return (c * a + 31) / 63; };
    const uint32_t out = scale(v >> 11) << 11 | scale((v >> 5) & 63) << 5 | scale(v & 31);
    raw[2 * i] = static_cast<uint8_t>(out);
    raw[2 * i + 1] = static_cast<uint8_t>(out >> 8);
  }
  return raw;
}

Bytes PngBytesToAni2(ByteSpan png) {
  const PngPicture picture = DecodePng(png);
  return ImageToAni2(picture.image, picture.has_alpha_channel);
}

ScratchBuffer Ani2ToPngScratch(ByteSpan ani2) {
  Ani2PixelCount(ani2);
  const uint32_t width = ReadU16LE(ani2, 4), height = ReadU16LE(ani2, 6);
  // Each row through the picture's own conversion (Ani2ToImage's), then widened.
  std::vector<uint8_t> bgr(size_t{width} * 3), alpha(width);
  return WriteRgba16Png(width, height, [&](uint32_t y, uint8_t* row) {
    Ani2ToBgr(ani2.data() + kAni2HeaderSize + size_t{y} * width * 3, bgr.data(), alpha.data(), width);
    BgrToRgba16(bgr.data(), alpha.data(), row, width);
  });
}

Bytes Ani2BytesToPng(ByteSpan ani2) {
  const ScratchBuffer png = Ani2ToPngScratch(ani2);
  return Bytes(png.data(), png.data() + png.size());
}

namespace {

// Adds the file name to a codec's message, keeping the error's kind.
template <typename Fn>
Bytes WithFileName(const std::filesystem::path& file, Fn&& fn) {
  try {
    return fn();
  } catch (const PngSignatureError& e) {
    throw PngSignatureError(std::string(e.what()) + ": " + Utf8FromPath(file));
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(file));
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
