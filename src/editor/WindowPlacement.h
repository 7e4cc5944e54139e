#pragma once
// The main window's placement in "settings.ini", section "MainForm Sizes".
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
// A maximized window writes only "Maximized"; the last normal placement stays.
void WriteWindowPlacement(IniDocument& settings, const WindowPlacement& placement);

}  // namespace ssf
