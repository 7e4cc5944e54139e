#pragma once
// Resizing pictures: each axis on its own, area averaging where it shrinks (every source
// pixel counts by the share of it an output pixel covers) and the Catmull-Rom cubic where
// it grows (sharp, little ringing, four taps). The sums run in linear light, so a fine
// black and white pattern shrinks to the grey the eye sees, not a darker one; alpha is
// premultiplied while summing, so transparent pixels lend no colour to their neighbours.
#include <cstdint>
#include <vector>

#include "pictures/Image.h"

namespace ssf {

// One source pixel's share in an output pixel.
struct ResampleTap {
  uint32_t index = 0;
  float weight = 0;
};

// The taps of every output pixel along an axis of `in` pixels made `out` long; each
// output's weights sum to 1. Taps past the edge fold onto the edge pixel.
std::vector<std::vector<ResampleTap>> ResampleWeights(uint32_t in, uint32_t out);

// The Catmull-Rom cubic at distance x.
double CatmullRom(double x);

// The picture resized to width x height (both at least 1); alpha is kept when present.
Image ResizePicture(const Image& picture, uint32_t width, uint32_t height);

}  // namespace ssf
