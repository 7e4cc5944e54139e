#include "editor/ThemeFilePreview.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "ifeg/Ifeg.h"
#include "pictures/Ani2.h"
#include "pictures/Jpeg.h"
#include "pictures/RawImage.h"
#include "base/Limits.h"
#include "base/SsfError.h"

namespace ssf {
namespace {

uint32_t MapSide(int32_t value, const char* field) {
  if (value < 0) throw SsfError(std::string("Карта темы: отрицательное значение ") + field + ": " + std::to_string(value));
  return static_cast<uint32_t>(value);
}

// The node at `selected` is a theme file node with entry and slot inside both tables;
// -1 otherwise.
int SelectedThemeFile(const Editor& ed) {
  const GroupTree& tree = ed.state.Tree;
  const int selected = ed.view.TV_selected;
  if (selected < 0 || selected >= tree.Size()) return -1;
  if (!tree.IsFileNode(selected)) return -1;
  const int k = tree.FileIndexOf(selected);
  if (k < 0 || static_cast<size_t>(k) >= ed.state.ThemeFiles.size() ||
      static_cast<size_t>(k) >= ed.state.NewFiles.size()) {
    return -1;
  }
  return k;
}

}  // namespace

PreviewPicture MakePreviewPicture(ByteSpan stored, const TTHemeFiles& entry) {
  PreviewPicture picture;
  if (stored.empty()) return picture;
  const std::string& kind = entry.f_type;
  if (kind == "JPG") {
    picture.image = DecodeJpeg(stored);
    picture.jpeg_bytes.assign(stored.begin(), stored.end());
    picture.kind = PreviewPicture::Kind::kJpeg;
  } else if (kind == "RAW") {
    picture.image = RawToImage(stored, MapSide(entry.f_width, "ширины"), MapSide(entry.f_height, "высоты"));
    picture.kind = PreviewPicture::Kind::kBitmap;
  } else if (kind == "ANI2") {
    picture.image = Ani2ToImage(stored);
    if (!picture.image.HasAlpha()) picture.image.AddAlpha();
    picture.kind = PreviewPicture::Kind::kPng;
  } else if (kind == "IFG") {
    if (!IsIfgData(stored)) throw SsfError("Файл темы не является IFEG-изображением (нет подписи IFEG)");
    DecodeIFG(stored, picture.image);
    picture.kind = PreviewPicture::Kind::kBitmap;
  }
  return picture;
}

void LayoutItemInfo(ViewState& view) {
  const int w = view.PNL_IMG_width;
  view.lbl_5_left = w / 2 - 50;
  view.btn_SaveFile_left = w - 102;
  view.GBox_FileInfo_left = w + 20;
}

void TVChange(Editor& ed) {
  ViewState& v = ed.view;
  const int k = SelectedThemeFile(ed);
  if (k < 0) {
    v.Pnl_ItemInfo_visible = false;
    return;
  }
  v.Pnl_ItemInfo_visible = v.PCtrl_page == 0;
  const TTHemeFiles& entry = ed.state.ThemeFiles[static_cast<size_t>(k)];
  const TThemeNewFiles& slot = ed.state.NewFiles[static_cast<size_t>(k)];
  const std::string& kind = entry.f_type;

  v.ED_FileType = kind;
  v.PNL_IMG_width = kPreviewFrameWidth;
  v.IMG_width = kPreviewFrameWidth;
  v.ED_FileSize = std::to_string(slot.f_size()) + " б";
  const bool colortab = kind == "COLORTAB";
  v.ED_FileWidth = colortab ? "" : std::to_string(entry.f_width);
  v.ED_FileHeight = colortab ? "" : std::to_string(entry.f_height);
  if ((kind == "RAW" || kind == "ANI2") && entry.f_width > kPreviewImageWidth) {
    // Bounded like every picture side, so the frame and the places after it stay in an int
    // even when the preview is asked for an entry that no valid map could hold.
    const int width = static_cast<int>(std::min<int64_t>(entry.f_width, kMaxPictureSide));
    v.PNL_IMG_width = width + 2;
    v.IMG_width = width;
  }
  v.lbl_5_visible = !slot.Present();
  v.btn_SaveFile_enabled = slot.Present();
  LayoutItemInfo(v);

  // The previous picture goes first, so a stored file that fails to decode shows none.
  v.IMG = PreviewPicture{};
  if (kind == "JPG" || kind == "RAW" || kind == "ANI2" || kind == "IFG") {
    v.IMG = MakePreviewPicture(slot.f_file, entry);
  }
}

}  // namespace ssf
