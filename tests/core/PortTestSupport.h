#pragma once
// The sample maps of ThemeMaps/ and a complete theme for each, for carrying themes between
// models: every picture a solid colour of its kind and size, every colour table patterned.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ifeg/Ifeg.h"
#include "pictures/Ani2.h"
#include "pictures/Jpeg.h"
#include "pictures/RawImage.h"
#include "theme/FileKind.h"
#include "theme/ThemeFile.h"
#include "theme/ThemeHeader.h"

namespace ssf::test {

inline std::filesystem::path SampleMapsDir() { return std::filesystem::path(SSF_SOURCE_DIR) / "ThemeMaps"; }

inline const char* const kSampleModels[] = {"EXAMPLE-100", "QB-X240", "QB-C176"};

// A solid picture (blue, green, red), opaque unless `alpha` is given.
inline Image Solid(uint32_t w, uint32_t h, uint8_t b, uint8_t g, uint8_t r, int alpha = -1) {
  Image image(w, h);
  for (size_t i = 0; i < image.PixelCount(); ++i) {
    image.bgr[i * 3] = b;
    image.bgr[i * 3 + 1] = g;
    image.bgr[i * 3 + 2] = r;
  }
  if (alpha >= 0) image.AddAlpha(static_cast<uint8_t>(alpha));
  return image;
}

// A theme file of `entry`'s kind and size showing `picture` (fitted by the caller).
inline Bytes StoredAs(const TTHemeFiles& entry, const Image& picture) {
  switch (KindOf(entry.f_type)) {
    case FileKind::kJpg: return EncodeJpeg(picture, 100);
    case FileKind::kRaw: return ImageToRaw(picture);
    case FileKind::kIfg: return EncodeIFG(picture, 16, 1);
    case FileKind::kAni2: return ImageToAni2(picture, picture.HasAlpha());
    default: break;
  }
  Bytes tab(static_cast<size_t>(entry.f_size));
  for (size_t i = 0; i < tab.size(); ++i) tab[i] = static_cast<uint8_t>(i * 7 + 1);
  return tab;
}

// The sample map of a model as a new theme, every theme file filled.
inline OpenedTheme SampleTheme(const std::string& model) {
  Converted<OpenedTheme> made = NewThemeForModel(model, SampleMapsDir());
  if (!made.value) {
    ADD_FAILURE() << "no sample map " << model;
    return {};
  }
  OpenedTheme t = std::move(*made.value);
  for (size_t k = 0; k < t.map.ThemeFiles.size(); ++k) {
    const TTHemeFiles& e = t.map.ThemeFiles[k];
    const bool picture = IsPictureKind(KindOf(e.f_type));
    t.theme.NewFiles[k].f_file =
        StoredAs(e, picture ? Solid(static_cast<uint32_t>(e.f_width), static_cast<uint32_t>(e.f_height), 40, 120,
                                    200, KindOf(e.f_type) == FileKind::kAni2 ? 255 : -1)
                            : Image());
  }
  SetHeaderText(t.theme, kAuthorField, "Автор образца");
  SetHeaderText(t.theme, kNameField, "Образец " + model);
  return t;
}

}  // namespace ssf::test
