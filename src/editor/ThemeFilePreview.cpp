#include "editor/ThemeFilePreview.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "base/Limits.h"
#include "theme/FileKind.h"
#include "theme/ThemeCheck.h"

namespace ssf {

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
  const TTHemeFiles& entry = *ed.state.Map.Entry(k);
  const TThemeNewFiles& slot = *ed.state.Theme->Slot(k);
  const FileKind kind = KindOf(entry.f_type);

  v.ED_FileType = entry.f_type;
  v.PNL_IMG_width = kPreviewFrameWidth;
  v.IMG_width = kPreviewFrameWidth;
  v.ED_FileSize = std::to_string(slot.f_size()) + " б";
  const bool colortab = kind == FileKind::kColorTab;
  v.ED_FileWidth = colortab ? "" : std::to_string(entry.f_width);
  v.ED_FileHeight = colortab ? "" : std::to_string(entry.f_height);
  if ((kind == FileKind::kRaw || kind == FileKind::kAni2) && entry.f_width > kPreviewImageWidth) {
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
  std::string decoder_error;
  try {
    if (IsPictureKind(kind)) v.IMG = MakePreviewPicture(slot.f_file, entry);
  } catch (const std::exception& e) {
    decoder_error = e.what();
  }
  v.IMG_problem = StoredFileProblem(slot.f_file, entry, k, decoder_error);
}

std::string StoredFileProblem(ByteSpan stored, const TTHemeFiles& entry, int k, const std::string& decoder_error) {
  if (stored.empty()) return {};
  std::string text;
  for (const CheckProblem& p : CheckThemeFile(k, stored, entry)) text += (text.empty() ? "" : "\n") + p.text;
  return text.empty() ? decoder_error : text;
}

}  // namespace ssf
