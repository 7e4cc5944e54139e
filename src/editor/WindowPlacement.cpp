#include "editor/WindowPlacement.h"

#include <algorithm>
#include <cstdint>

namespace ssf {
namespace {
constexpr const char* kSection = "MainForm Sizes";
}

WindowPlacement ReadWindowPlacement(const IniDocument& settings) {
  WindowPlacement p;
  p.maximized = settings.ReadBool(kSection, "Maximized", false);
  p.left = settings.ReadInteger(kSection, "Left", p.left);
  p.top = settings.ReadInteger(kSection, "Top", p.top);
  p.width = settings.ReadInteger(kSection, "Width", p.width);
  p.height = settings.ReadInteger(kSection, "Height", p.height);
  return p;
}

namespace {

int64_t Overlap(int64_t a0, int64_t a_len, int64_t b0, int64_t b_len) {
  return std::max<int64_t>(0, std::min(a0 + a_len, b0 + b_len) - std::max(a0, b0));
}

}  // namespace

WindowPlacement FitToScreens(WindowPlacement p, const std::vector<ScreenArea>& screens, int min_width,
                             int min_height) {
  if (screens.empty()) return p;
  // In 64 bits: the stored numbers may be anything an int holds.
  const int64_t w = std::max<int64_t>(p.width, 0), h = std::max<int64_t>(p.height, 0);
  const ScreenArea* best = &screens.front();
  int64_t best_area = 0;
  for (const ScreenArea& s : screens) {
    const int64_t area = Overlap(p.left, w, s.left, s.width) * Overlap(p.top, h, s.top, s.height);
    if (area > best_area) {
      best_area = area;
      best = &s;
    }
  }
  const ScreenArea& s = *best;
  const int64_t sw = std::max(s.width, 0), sh = std::max(s.height, 0);
  const int64_t fit_w = std::min(std::max<int64_t>(w, min_width), sw);
  const int64_t fit_h = std::min(std::max<int64_t>(h, min_height), sh);
  p.width = static_cast<int>(fit_w);
  p.height = static_cast<int>(fit_h);
  p.left = static_cast<int>(std::clamp<int64_t>(p.left, s.left, int64_t{s.left} + sw - fit_w));
  p.top = static_cast<int>(std::clamp<int64_t>(p.top, s.top, int64_t{s.top} + sh - fit_h));
  return p;
}

void WriteWindowPlacement(IniDocument& settings, const WindowPlacement& p) {
  if (!p.maximized) {
    settings.WriteInteger(kSection, "Left", p.left);
    settings.WriteInteger(kSection, "Top", p.top);
    settings.WriteInteger(kSection, "Width", p.width);
    settings.WriteInteger(kSection, "Height", p.height);
  }
  settings.WriteBool(kSection, "Maximized", p.maximized);
}

}  // namespace ssf
