#include "pictures/RawImage.h"

#include <string>

#include "pictures/Bmp.h"
#include "base/FileIO.h"
#include "pictures/Rgb565Kernels.h"
#include "base/SsfError.h"
#include "platform/PathText.h"

namespace ssf {

Bytes ImageToRaw(const Image& image) {
  Bytes out(image.PixelCount() * 2);
  BgrToRgb565(image.bgr.data(), out.data(), image.PixelCount());
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
  Rgb565ToBgr(raw.data(), image.bgr.data(), image.PixelCount());
  return image;
}

void BmpToRaw(const std::filesystem::path& bmp_file, const std::filesystem::path& raw_file) {
  const Bytes bmp = ReadWholeFile(bmp_file);
  Image image;
  try {
    image = DecodeBmp(bmp);
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(bmp_file));
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
    throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(raw_file));
  }
  WriteFileAtomic(bmp_file, EncodeBmp(image));
}

}  // namespace ssf
