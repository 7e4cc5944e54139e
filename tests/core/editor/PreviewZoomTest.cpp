// The preview's zoom: whole factors stay sharp, fit grows small pictures and shrinks large ones.
#include <gtest/gtest.h>

#include "editor/PreviewZoom.h"

namespace ssf {
namespace {

TEST(PreviewZoom, SizesForEachChoice) {
  const struct {
    int zoom, w, h, frame_w, frame_h;
    ZoomedSize size;
  } cases[] = {
      {1, 44, 44, 238, 318, {44, 44, true}},
      {4, 44, 44, 238, 318, {176, 176, true}},
      {8, 60, 60, 238, 318, {480, 480, true}},  // larger than the frame: it scrolls
      {99, 2, 2, 238, 318, {16, 16, true}},     // never past 8x
      {kPreviewZoomFit, 44, 44, 238, 318, {220, 220, true}},
      {kPreviewZoomFit, 16, 16, 238, 318, {128, 128, true}},  // at most 8x
      {kPreviewZoomFit, 240, 320, 238, 318, {238, 317, false}},
      {kPreviewZoomFit, 480, 100, 238, 318, {238, 49, false}},
      {kPreviewZoomFit, 240, 24, 238, 318, {238, 23, false}},
      {kPreviewZoomFit, 0, 10, 238, 318, {0, 0, true}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PreviewZoomSize(c.zoom, c.w, c.h, c.frame_w, c.frame_h), c.size) << c.zoom << " " << c.w << "x" << c.h;
  }
}

TEST(PreviewZoom, ChoiceNames) {
  EXPECT_EQ(PreviewZoomName(kPreviewZoomFit), "По размеру окна");
  EXPECT_EQ(PreviewZoomName(1), "1:1");
  EXPECT_EQ(PreviewZoomName(kMaxPreviewZoom), "8x");
}

}  // namespace
}  // namespace ssf
