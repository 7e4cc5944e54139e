#pragma once
// Bringing a picture of any size to the size a theme file demands, and the dithering that
// keeps gradients from banding on a 16-bit screen.
#include <cstdint>
#include <optional>
#include <string>

#include "pictures/Image.h"
#include "pictures/PictureRows.h"

namespace ssf {

enum class FitMode {
  kCrop,     // scaled to cover the target, the overhang cut off evenly on both sides
  kPad,      // scaled to fit inside, the rest filled with the pad colour
  kStretch,  // scaled to exactly the target, proportions given up
};

// "crop", "pad", "stretch"; nothing for another word.
std::optional<FitMode> ParseFitMode(const std::string& word);
const char* FitModeName(FitMode mode);

// The size the whole picture of `from_width` x `from_height` is resized to before the crop
// mode cuts it or the pad mode pads it (width x height itself for stretch). A smaller
// picture decoded in its place (a JPEG at a reduced scale) loses nothing while it keeps
// at least this size.
struct FitSize {
  uint32_t width = 0, height = 0;
};
FitSize FittedWholeSize(uint32_t from_width, uint32_t from_height, uint32_t width, uint32_t height, FitMode mode);

// The picture fitted to width x height (both at least 1). `pad_bgr` is the fill of the pad
// mode (blue, green, red); a picture with alpha gets a transparent fill instead, so an
// animation frame stays see-through around the picture. Alpha is kept.
Image FitPicture(const Image& picture, uint32_t width, uint32_t height, FitMode mode,
                 const uint8_t pad_bgr[3] = nullptr);
// The same from a picture read row by row, which is never held whole.
Image FitPicture(PictureRows& picture, uint32_t width, uint32_t height, FitMode mode,
                 const uint8_t pad_bgr[3] = nullptr);

// Floyd-Steinberg error diffusion to the levels of RGB565 (32 for red and blue, 64 for
// green). Each channel is written as the level's full-range value (level * 255 / max,
// rounded), which both the raw files' truncating shifts and the IFEG codec's rounding scale
// take back to that same level. Alpha is untouched.
void DitherToRgb565(Image& picture);

}  // namespace ssf
