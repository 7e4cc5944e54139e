#include <string>

#include "base/SilentUi.h"
#include "FuzzTargets.h"
#include "base/Cp1251.h"
#include "base/Limits.h"
#include "base/SsfError.h"
#include "editor/ThemeMapLoader.h"

namespace ssf::fuzz {

namespace {

}  // namespace

void FuzzThemeMap(std::span<const uint8_t> data) {
  std::string text = Cp1251ToUtf8(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t lf; (lf = text.find('\n', start)) != std::string::npos; start = lf + 1) {
    lines.push_back(text.substr(start, lf - start));
  }
  lines.push_back(text.substr(start));
  EditorState state;
  ViewState view;
  SilentUi ui;
  try {
    LoadThemeMapLines(state, view, ui, "fuzz.rxt", lines);
  } catch (const SsfError&) {
    return;
  }
  // A clean map keeps the pairing of tree, entries and count that the container relies on.
  if (state.MapValid && (state.Map.MapFileCounter != state.Map.FilesCount ||
                         static_cast<int>(state.Map.ThemeFiles.size()) != state.Map.FilesCount)) {
    __builtin_trap();
  }
  // A clean map never asks for more than the limits allow.
  if (state.MapValid) {
    if (state.Map.FilesStart > kMaxContainerSize) __builtin_trap();
    for (const TTHemeFiles& e : state.Map.ThemeFiles) {
      if (e.f_width > kMaxPictureSide || e.f_height > kMaxPictureSide || e.f_size > kMaxContainerSize) __builtin_trap();
    }
  }
}

}  // namespace ssf::fuzz
