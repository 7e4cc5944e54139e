#pragma once
// Resizing pictures: each axis on its own, area averaging where it shrinks (every source
// pixel counts by the share of it an output pixel covers) and the Catmull-Rom cubic where
// it grows (sharp, little ringing, four taps). The sums run in linear light, so a fine
// black and white pattern shrinks to the grey the eye sees, not a darker one; alpha is
// premultiplied while summing, so transparent pixels lend no colour to their neighbours.
#include <cstdint>
#include <vector>

#include "pictures/Image.h"
#include "pictures/PictureRows.h"

namespace ssf {

// One source pixel's share in an output pixel.
struct ResampleTap {
  uint32_t index = 0;
  float weight = 0;
};

// The taps of every output pixel along an axis of `in` pixels made `out` long; each
// output's weights sum to 1. Taps past the edge fold onto the edge pixel.
std::vector<std::vector<ResampleTap>> ResampleWeights(uint32_t in, uint32_t out);
// Only the taps of output pixels first .. first + count - 1 of that axis, the same values.
std::vector<std::vector<ResampleTap>> ResampleWeights(uint32_t in, uint32_t out, uint32_t first, uint32_t count);

// The Catmull-Rom cubic at distance x.
double CatmullRom(double x);

// The picture resized to width x height (both at least 1); alpha is kept when present.
Image ResizePicture(const Image& picture, uint32_t width, uint32_t height);

// A part of the picture resized to full_width x full_height: the window of `width` x `height`
// pixels at (x, y) of it, the same pixels ResizePicture gives there. Only the window is made,
// row by row from a few rows of the source at a time, so neither the whole resized picture
// nor the source in floats is ever held. `row(y, bgr, alpha)` gets each row of the window
// from the top (alpha null when the picture has none) and may keep nothing of it.
struct ResizeWindow {
  uint32_t full_width = 0, full_height = 0;
  uint32_t x = 0, y = 0, width = 0, height = 0;
};
using ResizedRowFn = void (*)(void* context, uint32_t y, const uint8_t* bgr, const uint8_t* alpha);
void ResizeRows(const Image& picture, const ResizeWindow& window, ResizedRowFn row, void* context);
// The same from a picture read row by row: each source row is asked for once, in order.
void ResizeRows(PictureRows& picture, const ResizeWindow& window, ResizedRowFn row, void* context);

template <typename Picture, typename Fn>
void ResizeRows(Picture& picture, const ResizeWindow& window, Fn&& row) {
  ResizeRows(picture, window, [](void* c, uint32_t y, const uint8_t* bgr, const uint8_t* alpha) {
    (*static_cast<Fn*>(c))(y, bgr, alpha);
  }, &row);
}

}  // namespace ssf
