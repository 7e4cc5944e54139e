#include "pictures/Resample.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <string>

#include "base/Rounding.h"
#include "base/SsfError.h"
#include "pictures/Libm.h"

namespace ssf {

namespace {

using Weights = std::vector<std::vector<ResampleTap>>;

const std::array<float, 256>& SrgbToLinear() {
  static const std::array<float, 256> table = [] {
    std::array<float, 256> t{};
    const auto pow = LoadLibm().pow;
    for (int i = 0; i < 256; ++i) {
      const double c = i / 255.0;
      t[static_cast<size_t>(i)] =
          static_cast<float>(c <= 0.04045 ? c / 12.92 : pow((c + 0.055) / 1.055, 2.4));
    }
    return t;
  }();
  return table;
}

uint8_t LinearToSrgbExactly(float linear, double (*pow)(double, double)) {
  const double c = std::clamp(static_cast<double>(linear), 0.0, 1.0);
  const double s = c <= 0.0031308 ? c * 12.92 : 1.055 * pow(c, 1 / 2.4) - 0.055;
  return static_cast<uint8_t>(RoundHalfAway(std::clamp(s, 0.0, 1.0) * 255));
}

// Where LinearToSrgbExactly steps up: step k is the least float giving more than k. The
// function only rises, so counting the steps at or below a value gives its result without
// a pow per channel (a large enlargement has hundreds of millions of them).
const std::array<float, 255>& SrgbSteps() {
  static const std::array<float, 255> steps = [] {
    std::array<float, 255> t{};
    const auto pow = LoadLibm().pow;
    for (int k = 0; k < 255; ++k) {
      uint32_t low = 0, high = std::bit_cast<uint32_t>(1.0f);  // positive floats order as their bits
      while (low < high) {
        const uint32_t mid = low + (high - low) / 2;
        if (LinearToSrgbExactly(std::bit_cast<float>(mid), pow) > k) high = mid;
        else low = mid + 1;
      }
      t[static_cast<size_t>(k)] = std::bit_cast<float>(low);
    }
    return t;
  }();
  return steps;
}

uint8_t LinearToSrgb(float linear) {
  const auto& steps = SrgbSteps();
  return static_cast<uint8_t>(std::upper_bound(steps.begin(), steps.end(), linear) - steps.begin());
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
  const auto base = FloorToInt(centre);
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

// One row of the picture in premultiplied linear light: blue, green, red, alpha per pixel.
void RowToLinear(PictureRows& picture, uint32_t y, float* out) {
  const auto& lin = SrgbToLinear();
  const uint8_t* bgr = nullptr;
  const uint8_t* alpha = nullptr;
  picture.Row(y, &bgr, &alpha);
  const uint32_t width = picture.Width();
  for (uint32_t x = 0; x < width; ++x) {
    const float a = alpha ? alpha[x] / 255.0f : 1.0f;
    for (size_t c = 0; c < 3; ++c) out[x * 4 + c] = lin[bgr[x * 3 + c]] * a;
    out[x * 4 + 3] = a;
  }
}

// The source rows an output row reads, resampled to the output's width, kept as a ring:
// row r lives in slot r % size. Output rows read ever later source rows, so a slot is
// reused only once no later output row can read its row.
class RowRing {
 public:
  RowRing(PictureRows& picture, const Weights& across, const Weights& down)
      : picture_(picture), across_(across), width_(across.size()), source_(static_cast<size_t>(picture.Width()) * 4) {
    size_t span = 1;
    for (const auto& taps : down) {
      auto [low, high] = std::minmax_element(taps.begin(), taps.end(),
                                             [](const ResampleTap& a, const ResampleTap& b) { return a.index < b.index; });
      if (low != taps.end()) span = std::max<size_t>(span, high->index - low->index + 1);
    }
    slots_ = span;
    rows_.assign(slots_ * width_ * 4, 0.0f);
  }

  // Source row r resampled across, made when first asked for.
  const float* Row(uint32_t r) {
    if (next_ <= r) {
      if (r - next_ >= slots_) next_ = r - static_cast<uint32_t>(slots_) + 1;  // rows nobody reads
      for (; next_ <= r; ++next_) Make(next_);
    } else if (next_ - r > slots_) {
      throw SsfError("Масштабирование: строка " + std::to_string(r) + " уже вытеснена");
    }
    return &rows_[(r % slots_) * width_ * 4];
  }

 private:
  void Make(uint32_t r) {
    RowToLinear(picture_, r, source_.data());
    float* d = &rows_[(r % slots_) * width_ * 4];
    std::fill_n(d, width_ * 4, 0.0f);
    for (size_t x = 0; x < width_; ++x, d += 4) {
      for (const ResampleTap& t : across_[x]) {
        const float* s = &source_[static_cast<size_t>(t.index) * 4];
        for (int c = 0; c < 4; ++c) d[c] += s[c] * t.weight;
      }
    }
  }

  PictureRows& picture_;
  const Weights& across_;
  size_t width_;
  std::vector<float> source_;
  size_t slots_ = 1;
  std::vector<float> rows_;
  uint32_t next_ = 0;  // the first source row not made yet
};

}  // namespace

double CatmullRom(double x) {
  x = std::abs(x);
  if (x < 1) return 1.5 * x * x * x - 2.5 * x * x + 1;
  if (x < 2) return -0.5 * x * x * x + 2.5 * x * x - 4 * x + 2;
  return 0;
}

std::vector<std::vector<ResampleTap>> ResampleWeights(uint32_t in, uint32_t out) {
  return ResampleWeights(in, out, 0, out);
}

std::vector<std::vector<ResampleTap>> ResampleWeights(uint32_t in, uint32_t out, uint32_t first, uint32_t count) {
  if (in == 0 || out == 0) throw SsfError("Изображение нулевого размера нельзя масштабировать");
  if (first > out || count > out - first) throw SsfError("Масштабирование: окно вне изображения");
  const double scale = static_cast<double>(in) / out;
  Weights w(count);
  for (uint32_t k = 0; k < count; ++k) {
    const uint32_t i = first + k;
    w[k] = scale >= 1 ? AreaTaps(i, scale) : CubicTaps(i, scale, in);
  }
  return w;
}

void ResizeRows(const Image& picture, const ResizeWindow& window, ResizedRowFn row, void* context) {
  ImageRows rows(picture);
  ResizeRows(rows, window, row, context);
}

void ResizeRows(PictureRows& picture, const ResizeWindow& window, ResizedRowFn row, void* context) {
  CheckImageSize(window.width, window.height);
  const Weights across = ResampleWeights(picture.Width(), window.full_width, window.x, window.width);
  const Weights down = ResampleWeights(picture.Height(), window.full_height, window.y, window.height);
  RowRing ring(picture, across, down);
  const size_t width = window.width;
  std::vector<float> sum(width * 4);
  std::vector<uint8_t> bgr(width * 3);
  std::vector<uint8_t> alpha(picture.HasAlpha() ? width : 0);
  for (uint32_t y = 0; y < window.height; ++y) {
    // A row of the same taps as the one before is that row again (the rows of a strip
    // enlarged, the rows past an edge): it is handed out once more, not summed anew.
    const bool same = y > 0 && std::equal(down[y].begin(), down[y].end(), down[y - 1].begin(), down[y - 1].end(),
                                          [](const ResampleTap& a, const ResampleTap& b) {
                                            return a.index == b.index && a.weight == b.weight;
                                          });
    if (same) {
      row(context, y, bgr.data(), alpha.empty() ? nullptr : alpha.data());
      continue;
    }
    std::fill(sum.begin(), sum.end(), 0.0f);
    for (const ResampleTap& t : down[y]) {
      const float* s = ring.Row(t.index);
      for (size_t i = 0; i < width * 4; ++i) sum[i] += s[i] * t.weight;
    }
    for (size_t x = 0; x < width; ++x) {
      // Flat stretches of an enlargement repeat the pixel before: its bytes are reused.
      if (x > 0 && std::equal(&sum[x * 4], &sum[x * 4 + 4], &sum[x * 4 - 4])) {
        std::copy_n(&bgr[x * 3 - 3], 3, &bgr[x * 3]);
        if (!alpha.empty()) alpha[x] = alpha[x - 1];
        continue;
      }
      const float a = std::clamp(sum[x * 4 + 3], 0.0f, 1.0f);
      for (size_t c = 0; c < 3; ++c) bgr[x * 3 + c] = a > 0 ? LinearToSrgb(sum[x * 4 + c] / a) : 0;
      if (!alpha.empty()) alpha[x] = static_cast<uint8_t>(RoundHalfAway(a * 255));
    }
    row(context, y, bgr.data(), alpha.empty() ? nullptr : alpha.data());
  }
}

Image ResizePicture(const Image& picture, uint32_t width, uint32_t height) {
  if (picture.width == width && picture.height == height) return picture;
  Image out(width, height);
  if (picture.HasAlpha()) out.AddAlpha();
  ResizeRows(picture, {width, height, 0, 0, width, height}, [&](uint32_t y, const uint8_t* bgr, const uint8_t* alpha) {
    std::copy_n(bgr, static_cast<size_t>(width) * 3, out.Row(y));
    if (alpha) std::copy_n(alpha, width, &out.alpha[static_cast<size_t>(y) * width]);
  });
  return out;
}

}  // namespace ssf
