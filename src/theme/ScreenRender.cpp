#include "theme/ScreenRender.h"

#include <algorithm>
#include <map>
#include <memory>

#include "base/SsfError.h"
#include "theme/ThemeFilePicture.h"

namespace ssf {
namespace {

struct Decoded {
  std::shared_ptr<const Image> image;  // null when not drawable
  std::string reason;
};

Decoded Decode(const Theme& theme, const ThemeMap& map, int file) {
  const TThemeNewFiles* slot = theme.Slot(file);
  const TTHemeFiles* entry = map.Entry(file);
  if (!slot || !entry || !slot->Present()) return {nullptr, "файла нет в теме"};
  try {
    PreviewPicture p = MakePreviewPicture(slot->f_file, *entry);
    if (p.kind == PreviewPicture::Kind::kNone) return {nullptr, "это не картинка (" + entry->f_type + ")"};
    return {std::make_shared<const Image>(std::move(p.image)), {}};
  } catch (const SsfError& e) {
    return {nullptr, e.what()};
  }
}

// Copies or blends the part of `src` that falls on `dst` with its top-left at x,y.
void Draw(Image& dst, const Image& src, int32_t x, int32_t y) {
  const int64_t x0 = std::max<int64_t>(0, x), y0 = std::max<int64_t>(0, y);
  const int64_t x1 = std::min<int64_t>(dst.width, int64_t{x} + src.width);
  const int64_t y1 = std::min<int64_t>(dst.height, int64_t{y} + src.height);
  if (x0 >= x1 || y0 >= y1) return;
  const size_t count = static_cast<size_t>(x1 - x0);
  for (int64_t dy = y0; dy < y1; ++dy) {
    const uint32_t sy = static_cast<uint32_t>(dy - y);
    const uint32_t sx = static_cast<uint32_t>(x0 - x);
    uint8_t* d = dst.Pixel(static_cast<uint32_t>(x0), static_cast<uint32_t>(dy));
    const uint8_t* s = src.Pixel(sx, sy);
    if (!src.HasAlpha()) {
      std::copy(s, s + count * 3, d);
      continue;
    }
    const uint8_t* a = src.alpha.data() + static_cast<size_t>(sy) * src.width + sx;
    for (size_t i = 0; i < count; ++i) {
      const unsigned alpha = a[i];
      for (int c = 0; c < 3; ++c) {
        d[i * 3 + c] = static_cast<uint8_t>((s[i * 3 + c] * alpha + d[i * 3 + c] * (255 - alpha) + 127) / 255);
      }
    }
  }
}

}  // namespace

RenderedScreen RenderScreen(const ScreenLayout& screen, const Theme& theme, const ThemeMap& map) {
  RenderedScreen out;
  out.image = Image(screen.width, screen.height);
  std::map<int, Decoded> decoded;
  for (const ScreenLayer& layer : screen.layers) {
    auto it = decoded.find(layer.file);
    if (it == decoded.end()) it = decoded.emplace(layer.file, Decode(theme, map, layer.file)).first;
    const Decoded& d = it->second;
    if (!d.image) {
      out.left_out.push_back(layer.path + " - " + d.reason);
      continue;
    }
    Draw(out.image, *d.image, layer.x, layer.y);
    out.placed.push_back(PlacedLayer{layer.file, layer.path, layer.x, layer.y, d.image->width, d.image->height});
  }
  return out;
}

const PlacedLayer* LayerAt(const RenderedScreen& screen, int32_t x, int32_t y) {
  for (auto it = screen.placed.rbegin(); it != screen.placed.rend(); ++it) {
    if (x >= it->x && y >= it->y && int64_t{x} < int64_t{it->x} + it->width && int64_t{y} < int64_t{it->y} + it->height) {
      return &*it;
    }
  }
  return nullptr;
}

}  // namespace ssf
