#pragma once
// The zoom of the information panel's preview: fit to the frame, 1:1, or a whole factor
// from 2x to 8x so small icons can be looked at pixel by pixel.
#include <string>

namespace ssf {

inline constexpr int kPreviewZoomFit = 0;
inline constexpr int kMaxPreviewZoom = 8;

struct ZoomedSize {
  int width = 0;
  int height = 0;
  bool sharp = true;  // whole-factor growth: pixels stay squares, no smoothing
  bool operator==(const ZoomedSize&) const = default;
};

// The choices in order, index = zoom: "По размеру окна", "1:1", "2x" ... "8x".
std::string PreviewZoomName(int zoom);

// The size a w x h picture is drawn at in a frame_w x frame_h frame. A factor 1..8 is
// taken as it is (the frame scrolls). Fit grows a picture that fits by the largest whole
// factor up to 8 that still fits, and shrinks a larger one to fit, keeping its shape.
ZoomedSize PreviewZoomSize(int zoom, int w, int h, int frame_w, int frame_h);

}  // namespace ssf
