#include "editor/Editor.h"
#include "pictures/PixelFormats.h"
#include "theme/ThemeContainer.h"

namespace ssf {

void ShowThemeIcon(Editor& ed) {
  ByteStream& stream = ed.state.ThemeStream;
  const Bytes& data = stream.Data();
  CheckRange(data.size(), kIconOffset, kIconBytes, "иконка темы");
  Image icon(kIconSide, kIconSide);
  size_t pos = kIconOffset;
  for (uint32_t y = 0; y < kIconSide; ++y) {
    for (uint32_t x = 0; x < kIconSide; ++x, pos += 2) RGB565ToPixel(ReadU16LE(data, pos), icon.Pixel(x, y));
  }
  stream.SetPosition(pos);
  ed.view.IMG_ThemeIcon = std::move(icon);
}

}  // namespace ssf
