#pragma once
// Fitting imported pictures to the size their theme file demands, instead of refusing
// them. Off unless asked for: on the command line with --fit, in the window with the
// check item "Подгонять размер изображений", which makes an import whose size differs
// ask the user how to fit it.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "pictures/FitPicture.h"
#include "pictures/Image.h"
#include "theme/FileKind.h"

namespace ssf {

struct FitChoice {
  FitMode mode = FitMode::kCrop;
  bool dither = false;  // only where the theme file holds RGB565 (RAW, IFG, ANI2)
};

// What the window shows the user: the picture as read, the size and kind of the theme file.
struct FitQuestion {
  const Image& picture;
  uint32_t width;
  uint32_t height;
  std::string kind;
  std::string file;  // the name of the file being loaded, without its folder
};

struct FitPolicy {
  // Fits every picture of another size this way without asking (the command line).
  std::optional<FitChoice> always;
  // Otherwise, when set: asks; nothing means the import is cancelled. Neither: refused.
  std::function<std::optional<FitChoice>(const FitQuestion&)> ask;
};

// The picture fitted and, when chosen and the kind is RGB565, dithered: what gets converted.
Image FitForThemeFile(const Image& picture, uint32_t width, uint32_t height, const std::string& kind,
                      const FitChoice& choice);
// The same from a picture read row by row, never held whole.
Image FitForThemeFile(PictureRows& picture, uint32_t width, uint32_t height, const std::string& kind,
                      const FitChoice& choice);

// The picture as the phone shows it once stored as `kind`: through RGB565 for RAW, IFG
// and ANI2 (over black where transparent), through the JPEG encoder for JPG.
Image AsStored(const Image& picture, const std::string& kind);

}  // namespace ssf
