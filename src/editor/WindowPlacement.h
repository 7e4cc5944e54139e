#pragma once
// The main window's placement in "settings.ini", section "MainForm Sizes".
#include <vector>

#include "base/IniDocument.h"

namespace ssf {

struct WindowPlacement {
  bool maximized = false;
  int left = 0;
  int top = 0;
  int width = 769;
  int height = 532;
};

// Missing keys or values that are not numbers read as the defaults above.
WindowPlacement ReadWindowPlacement(const IniDocument& settings);
// The part of a screen windows may use (without panels), in desktop pixels.
struct ScreenArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The stored placement made to fit the screens that exist (the primary one first): the
// window goes onto the screen it overlaps most, or onto the primary screen when it overlaps
// none, and is made no larger than that screen's area and moved inside it. The size is at
// least min_width x min_height where the screen allows. Settings files are shared and
// edited by hand, so any numbers may stand there. Without screens nothing changes.
WindowPlacement FitToScreens(WindowPlacement placement, const std::vector<ScreenArea>& screens, int min_width,
                             int min_height);

// A maximized window writes only "Maximized"; the last normal placement stays.
void WriteWindowPlacement(IniDocument& settings, const WindowPlacement& placement);

}  // namespace ssf
