#include "pictures/Resample.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/SsfError.h"

namespace ssf {

namespace {

using Weights = std::vector<std::vector<ResampleTap>>;

const std::array<float, 256>& SrgbToLinear() {
  static const std::array<float, 256> table = [] {
    std::array<float, 256> t{};
    for (int i = 0; i < 256; ++i) {
      const double c = i / 255.0;
      t[static_cast<size_t>(i)] =
          static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return t;
  }();
  return table;
}

uint8_t LinearToSrgb(float linear) {
  const double c = std::clamp(static_cast<double>(linear), 0.0, 1.0);
  const double s = c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
  return static_cast<uint8_t>(std::lround(std::clamp(s, 0.0, 1.0) * 255));
}

// Area averaging: output i covers source [i * scale, (i + 1) * scale).
std::vector<ResampleTap> AreaTaps(uint32_t i, double scale) {
  const double from = i * scale, to = (i + 1) * scale;
  std::vector<ResampleTap> taps;
  for (auto j = static_cast<uint32_t>(from); j < to; ++j) {
    const double overlap = std::min<double>(to, j + 1.0) - std::max<double>(from, j);
    if (overlap > 1e-9) taps.push_back({j, static_cast<float>(overlap / scale)});
  }
  return taps;
}

// Catmull-Rom around the output pixel's centre mapped into the source.
std::vector<ResampleTap> CubicTaps(uint32_t i, double scale, uint32_t in) {
  const double centre = (i + 0.5) * scale - 0.5;
  const auto base = static_cast<int64_t>(std::floor(centre));
  std::vector<ResampleTap> taps;
  double sum = 0;
  for (int64_t j = base - 1; j <= base + 2; ++j) {
    const double w = CatmullRom(centre - static_cast<double>(j));
    if (w == 0) continue;
    const auto index = static_cast<uint32_t>(std::clamp<int64_t>(j, 0, in - 1));
    auto same = std::find_if(taps.begin(), taps.end(), [&](const ResampleTap& t) { return t.index == index; });
    if (same != taps.end()) same->weight += static_cast<float>(w);
    else taps.push_back({index, static_cast<float>(w)});
    sum += w;
  }
  for (ResampleTap& t : taps) t.weight = static_cast<float>(t.weight / sum);
  return taps;
}

// Four channels (premultiplied linear blue, green, red, alpha) per pixel.
using Plane = std::vector<float>;

// One row of the picture in premultiplied linear light.
void RowToLinear(const Image& picture, uint32_t y, float* out) {
  const auto& lin = SrgbToLinear();
  const uint8_t* bgr = picture.Row(y);
  const uint8_t* alpha = picture.HasAlpha() ? &picture.alpha[static_cast<size_t>(y) * picture.width] : nullptr;
  for (uint32_t x = 0; x < picture.width; ++x) {
    const float a = alpha ? alpha[x] / 255.0f : 1.0f;
    for (size_t c = 0; c < 3; ++c) out[x * 4 + c] = lin[bgr[x * 3 + c]] * a;
    out[x * 4 + 3] = a;
  }
}

// The rows resampled to the new width, converted one at a time so that a large source is
// never held in floats as a whole.
Plane Horizontal(const Image& picture, const Weights& w) {
  const size_t out_w = w.size();
  Plane dst(out_w * picture.height * 4, 0.0f);
  std::vector<float> row(static_cast<size_t>(picture.width) * 4);
  for (uint32_t y = 0; y < picture.height; ++y) {
    RowToLinear(picture, y, row.data());
    float* d = &dst[y * out_w * 4];
    for (size_t x = 0; x < out_w; ++x, d += 4) {
      for (const ResampleTap& t : w[x]) {
        const float* s = &row[static_cast<size_t>(t.index) * 4];
        for (int c = 0; c < 4; ++c) d[c] += s[c] * t.weight;
      }
    }
  }
  return dst;
}

// The columns of a width-wide plane resampled to the new height.
Plane Vertical(const Plane& src, size_t width, const Weights& w) {
  Plane dst(width * w.size() * 4, 0.0f);
  for (size_t y = 0; y < w.size(); ++y) {
    float* d = &dst[y * width * 4];
    for (const ResampleTap& t : w[y]) {
      const float* s = &src[static_cast<size_t>(t.index) * width * 4];
      for (size_t i = 0; i < width * 4; ++i) d[i] += s[i] * t.weight;
    }
  }
  return dst;
}

}  // namespace

double CatmullRom(double x) {
  x = std::abs(x);
  if (x < 1) return 1.5 * x * x * x - 2.5 * x * x + 1;
  if (x < 2) return -0.5 * x * x * x + 2.5 * x * x - 4 * x + 2;
  return 0;
}

std::vector<std::vector<ResampleTap>> ResampleWeights(uint32_t in, uint32_t out) {
  if (in == 0 || out == 0) throw SsfError("Изображение нулевого размера нельзя масштабировать");
  const double scale = static_cast<double>(in) / out;
  Weights w(out);
  for (uint32_t i = 0; i < out; ++i) w[i] = scale >= 1 ? AreaTaps(i, scale) : CubicTaps(i, scale, in);
  return w;
}

Image ResizePicture(const Image& picture, uint32_t width, uint32_t height) {
  if (picture.width == width && picture.height == height) return picture;
  Image out(width, height);
  const Plane p = Vertical(Horizontal(picture, ResampleWeights(picture.width, width)), width,
                           ResampleWeights(picture.height, height));
  if (picture.HasAlpha()) out.AddAlpha();
  for (size_t i = 0; i < out.PixelCount(); ++i) {
    const float a = std::clamp(p[i * 4 + 3], 0.0f, 1.0f);
    for (size_t c = 0; c < 3; ++c) out.bgr[i * 3 + c] = a > 0 ? LinearToSrgb(p[i * 4 + c] / a) : 0;
    if (picture.HasAlpha()) out.alpha[i] = static_cast<uint8_t>(std::lround(a * 255));
  }
  return out;
}

}  // namespace ssf
