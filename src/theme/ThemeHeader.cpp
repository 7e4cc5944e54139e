#include "theme/ThemeHeader.h"

#include <algorithm>
#include <cstring>

#include "base/Cp1251.h"
#include "pictures/PixelFormats.h"

namespace ssf {

namespace {

constexpr uint32_t kSide = kIconSide;

void CheckIconArea(const Theme& theme) { CheckRange(theme.Header.size(), kIconOffset, kIconBytes, "иконка темы"); }

}  // namespace

std::string HeaderText(const Theme& theme, const HeaderField& field) {
  return ReadTextField(theme.Header, field.offset, field.read_size);
}

void SetHeaderText(Theme& theme, const HeaderField& field, std::string_view text) {
  const size_t field_size = field.max_bytes + 1;
  CheckRange(theme.Header.size(), field.offset, field_size, "поле заголовка темы");
  const std::string kept = Utf8Truncate(std::string(text), field.max_bytes);
  std::memset(theme.Header.data() + field.offset, 0, field_size);
  std::memcpy(theme.Header.data() + field.offset, kept.data(), kept.size());
}

std::string ThemeModel(const Theme& theme) { return ReadTextField(theme.Header, kModelOffset, kModelSize); }

int ThemeTypeIndex(const Theme& theme) {
  if (theme.Header.size() <= kThemeTypeOffset) return -1;
  const uint8_t type = theme.Header[kThemeTypeOffset];
  return type <= 1 ? type : -1;
}

void SetThemeType(Theme& theme, int index) {
  if (index < 0 || index > 1 || theme.Header.size() <= kThemeTypeOffset) return;
  theme.Header[kThemeTypeOffset] = static_cast<uint8_t>(index);
}

bool HasIconArea(const Theme& theme, const ThemeMap& map) {
  return map.HasIcon && theme.Header.size() >= kIconOffset + kIconBytes;
}

Image ThemeIconPicture(const Theme& theme) {
  CheckIconArea(theme);
  Image icon(kSide, kSide);
  size_t pos = kIconOffset;
  for (uint32_t y = 0; y < kSide; ++y) {
    for (uint32_t x = 0; x < kSide; ++x, pos += 2) RGB565ToPixel(ReadU16LE(theme.Header, pos), icon.Pixel(x, y));
  }
  return icon;
}

Bytes ThemeIconBytes(const Theme& theme) {
  CheckIconArea(theme);
  return Bytes(theme.Header.begin() + kIconOffset, theme.Header.begin() + kIconOffset + kIconBytes);
}

void SetThemeIcon(Theme& theme, const Image& picture) {
  if (picture.width != kSide || picture.height != kSide) {
    throw SsfError("Иконка темы должна быть 44x44, а не " + std::to_string(picture.width) + "x" +
                   std::to_string(picture.height));
  }
  CheckIconArea(theme);
  size_t pos = kIconOffset;
  for (uint32_t y = 0; y < kSide; ++y) {
    for (uint32_t x = 0; x < kSide; ++x, pos += 2) WriteU16LE(theme.Header, pos, PixelToRGB565(picture.Pixel(x, y)));
  }
}

void ClearThemeIcon(Theme& theme) {
  CheckIconArea(theme);
  std::fill(theme.Header.begin() + kIconOffset, theme.Header.begin() + kIconOffset + kIconBytes, uint8_t{0});
}

}  // namespace ssf
