#include "editor/WindowPlacement.h"

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
