#include "pictures/FitPicture.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/Rounding.h"
#include "base/SsfError.h"
#include "pictures/Resample.h"

namespace ssf {

namespace {

uint32_t Scaled(uint32_t side, double scale) {
  return static_cast<uint32_t>(std::max<int64_t>(1, RoundHalfAway(side * scale)));
}

// The window of `picture` resized to window.full_width x window.full_height, written into
// `out` at (left, top).
void ResizeInto(PictureRows& picture, const ResizeWindow& window, Image& out, uint32_t left, uint32_t top) {
  if (window.full_width == picture.Width() && window.full_height == picture.Height()) {  // copied as it is
    for (uint32_t y = 0; y < window.height; ++y) {
      const uint8_t* bgr = nullptr;
      const uint8_t* alpha = nullptr;
      picture.Row(window.y + y, &bgr, &alpha);
      std::copy_n(bgr + static_cast<size_t>(window.x) * 3, static_cast<size_t>(window.width) * 3, out.Pixel(left, top + y));
      if (alpha) {
        std::copy_n(alpha + window.x, window.width, &out.alpha[static_cast<size_t>(top + y) * out.width + left]);
      }
    }
    return;
  }
  ResizeRows(picture, window, [&](uint32_t y, const uint8_t* bgr, const uint8_t* alpha) {
    std::copy_n(bgr, static_cast<size_t>(window.width) * 3, out.Pixel(left, top + y));
    if (alpha) std::copy_n(alpha, window.width, &out.alpha[static_cast<size_t>(top + y) * out.width + left]);
  });
}

}  // namespace

std::optional<FitMode> ParseFitMode(const std::string& word) {
  if (word == "crop") return FitMode::kCrop;
  if (word == "pad") return FitMode::kPad;
  if (word == "stretch") return FitMode::kStretch;
  return std::nullopt;
}

const char* FitModeName(FitMode mode) {
  switch (mode) {
    case FitMode::kCrop: return "crop";
    case FitMode::kPad: return "pad";
    case FitMode::kStretch: return "stretch";
  }
  return "";
}

FitSize FittedWholeSize(uint32_t from_width, uint32_t from_height, uint32_t width, uint32_t height, FitMode mode) {
  if (mode == FitMode::kStretch || from_width == 0 || from_height == 0) return {width, height};
  const double sx = static_cast<double>(width) / from_width, sy = static_cast<double>(height) / from_height;
  if (mode == FitMode::kCrop) {
    const double scale = std::max(sx, sy);
    return {std::max(width, Scaled(from_width, scale)), std::max(height, Scaled(from_height, scale))};
  }
  const double scale = std::min(sx, sy);
  return {std::min(width, Scaled(from_width, scale)), std::min(height, Scaled(from_height, scale))};
}

Image FitPicture(const Image& picture, uint32_t width, uint32_t height, FitMode mode, const uint8_t pad_bgr[3]) {
  ImageRows rows(picture);
  return FitPicture(rows, width, height, mode, pad_bgr);
}

Image FitPicture(PictureRows& picture, uint32_t width, uint32_t height, FitMode mode, const uint8_t pad_bgr[3]) {
  const uint32_t from_width = picture.Width(), from_height = picture.Height();
  if (width == 0 || height == 0 || from_width == 0 || from_height == 0) {
    throw SsfError("Изображение нулевого размера нельзя подогнать");
  }
  CheckImageSize(width, height);
  if (mode == FitMode::kStretch) {
    Image out(width, height);
    if (picture.HasAlpha()) out.AddAlpha();
    ResizeInto(picture, {width, height, 0, 0, width, height}, out, 0, 0);
    return out;
  }
  const auto [w, h] = FittedWholeSize(from_width, from_height, width, height, mode);
  if (mode == FitMode::kCrop) {
    // Only the part that stays is made: a thin picture covering a wide target would be far
    // larger than any picture once enlarged whole.
    Image out(width, height);
    if (picture.HasAlpha()) out.AddAlpha();
    ResizeInto(picture, {w, h, (w - width) / 2, (h - height) / 2, width, height}, out, 0, 0);
    return out;
  }
  Image out(width, height);
  const uint8_t black[3] = {0, 0, 0};
  const uint8_t* fill = pad_bgr ? pad_bgr : black;
  for (size_t i = 0; i < out.PixelCount(); ++i) std::copy_n(fill, 3, &out.bgr[i * 3]);
  if (picture.HasAlpha()) out.AddAlpha(0);
  const uint32_t left = (width - w) / 2, top = (height - h) / 2;
  ResizeInto(picture, {w, h, 0, 0, w, h}, out, left, top);
  return out;
}

void DitherToRgb565(Image& picture) {
  const uint32_t w = picture.width;
  // Error carried to this row and the next, per channel, one spare pixel either side.
  std::vector<float> cur((static_cast<size_t>(w) + 2) * 3, 0.0f), next(cur.size(), 0.0f);
  const int max_of[3] = {31, 63, 31};  // blue, green, red
  for (uint32_t y = 0; y < picture.height; ++y) {
    for (uint32_t x = 0; x < w; ++x) {
      uint8_t* p = picture.Pixel(x, y);
      for (size_t c = 0; c < 3; ++c) {
        const int max = max_of[c];
        const float want = std::clamp(p[c] + cur[(x + 1) * 3 + c], 0.0f, 255.0f);
        const long level = static_cast<long>(RoundHalfAway(want * max / 255.0f));
        const auto shown = static_cast<uint8_t>((level * 255 + max / 2) / max);
        const float err = want - shown;
        p[c] = shown;
        cur[(x + 2) * 3 + c] += err * 7 / 16;
        next[x * 3 + c] += err * 3 / 16;
        next[(x + 1) * 3 + c] += err * 5 / 16;
        next[(x + 2) * 3 + c] += err * 1 / 16;
      }
    }
    cur.swap(next);
    std::fill(next.begin(), next.end(), 0.0f);
  }
}

}  // namespace ssf
