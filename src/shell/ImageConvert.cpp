#include "shell/ImageConvert.h"

namespace ssf {

QImage ToQImage(const Image& image) {
  if (image.width == 0 || image.height == 0) return QImage();
  const bool alpha = image.HasAlpha();
  QImage out(static_cast<int>(image.width), static_cast<int>(image.height),
             alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  for (uint32_t y = 0; y < image.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(static_cast<int>(y)));
    const uint8_t* src = image.Row(y);
    for (uint32_t x = 0; x < image.width; ++x) {
      const uint8_t* p = src + x * 3;
      int a = alpha ? image.alpha[static_cast<size_t>(y) * image.width + x] : 255;
      line[x] = qRgba(p[2], p[1], p[0], a);
    }
  }
  return out;
}

}  // namespace ssf
