#pragma once
// Draws a screen of a layout from a theme: over black, each placed theme file as its preview
// shows it, in line order; pictures with alpha (ANI2) are blended over what lies below.
#include <string>
#include <vector>

#include "pictures/Image.h"
#include "theme/ScreenLayout.h"
#include "theme/Theme.h"
#include "theme/ThemeMap.h"

namespace ssf {

// Where a layer landed, for pointing at it (unclipped; it may reach past the screen).
struct PlacedLayer {
  int file = -1;
  std::string path;
  int32_t x = 0;
  int32_t y = 0;
  uint32_t width = 0;
  uint32_t height = 0;
};

struct RenderedScreen {
  Image image;                       // the screen's size, no alpha
  std::vector<PlacedLayer> placed;   // drawn layers, in drawing order
  std::vector<std::string> left_out; // "path - reason" for each layer not drawn
};

// Each theme file is decoded once per call, however many layers show it.
RenderedScreen RenderScreen(const ScreenLayout& screen, const Theme& theme, const ThemeMap& map);

// The topmost drawn layer under a screen point, or nullptr.
const PlacedLayer* LayerAt(const RenderedScreen& screen, int32_t x, int32_t y);

}  // namespace ssf
