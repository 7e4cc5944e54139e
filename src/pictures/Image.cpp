#include "pictures/Image.h"

#include <string>

#include "base/SsfError.h"

namespace ssf {

void CheckImageSize(uint64_t width, uint64_t height) {
  if (width > kMaxImageSide || height > kMaxImageSide) {
    throw SsfError("Слишком большое изображение: " + std::to_string(width) + "x" +
                   std::to_string(height) + " (не более " + std::to_string(kMaxImageSide) +
                   " точек по стороне)");
  }
  if (width * height > kMaxImagePixels) {
    throw SsfError("Слишком большое изображение: " + std::to_string(width) + "x" +
                   std::to_string(height) + " (не более 64 мегапикселей)");
  }
}

Image::Image(uint32_t w, uint32_t h) : width(w), height(h) {
  CheckImageSize(w, h);
  bgr.assign(static_cast<size_t>(w) * h * 3, 0);
}

}  // namespace ssf
