#include "editor/PreviewZoom.h"

#include <algorithm>

namespace ssf {

std::string PreviewZoomName(int zoom) {
  if (zoom == kPreviewZoomFit) return "По размеру окна";
  if (zoom == 1) return "1:1";
  return std::to_string(zoom) + "x";
}

ZoomedSize PreviewZoomSize(int zoom, int w, int h, int frame_w, int frame_h) {
  if (w <= 0 || h <= 0) return {0, 0, true};
  if (zoom != kPreviewZoomFit) {
    const int factor = std::clamp(zoom, 1, kMaxPreviewZoom);
    return {w * factor, h * factor, true};
  }
  frame_w = std::max(1, frame_w);
  frame_h = std::max(1, frame_h);
  if (w <= frame_w && h <= frame_h) {
    const int factor = std::clamp(std::min(frame_w / w, frame_h / h), 1, kMaxPreviewZoom);
    return {w * factor, h * factor, true};
  }
  // Shrink by the tighter side, in 64-bit so huge pictures cannot overflow.
  const long long by_width = static_cast<long long>(h) * frame_w;   // h scaled to frame_w: by_width / w
  const long long by_height = static_cast<long long>(w) * frame_h;  // w scaled to frame_h: by_height / h
  if (by_width / w <= frame_h) return {frame_w, std::max(1, static_cast<int>(by_width / w)), false};
  return {std::max(1, static_cast<int>(by_height / h)), frame_h, false};
}

}  // namespace ssf
