#pragma once
// A picture handed over row by row from the top, for work that needs only a few rows at a
// time: shrinking a large picture to a phone's size then never holds the large one whole.
#include <cstdint>

#include "pictures/Image.h"

namespace ssf {

class PictureRows {
 public:
  virtual ~PictureRows() = default;
  virtual uint32_t Width() const = 0;
  virtual uint32_t Height() const = 0;
  virtual bool HasAlpha() const = 0;
  // Row y: Width() pixels blue, green, red, and Width() alpha bytes (null without alpha).
  // Rows are asked for in increasing order, some perhaps skipped; a row stays valid until
  // the next call.
  virtual void Row(uint32_t y, const uint8_t** bgr, const uint8_t** alpha) = 0;
};

// The rows of a picture held whole.
class ImageRows final : public PictureRows {
 public:
  explicit ImageRows(const Image& image) : image_(image) {}
  uint32_t Width() const override { return image_.width; }
  uint32_t Height() const override { return image_.height; }
  bool HasAlpha() const override { return image_.HasAlpha(); }
  void Row(uint32_t y, const uint8_t** bgr, const uint8_t** alpha) override {
    *bgr = image_.Row(y);
    *alpha = image_.HasAlpha() ? &image_.alpha[static_cast<size_t>(y) * image_.width] : nullptr;
  }

 private:
  const Image& image_;
};

}  // namespace ssf
