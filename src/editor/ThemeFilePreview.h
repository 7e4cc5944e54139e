#pragma once
// The information panel of the selected theme file: its picture, the map's data and
// whether the theme holds it. Decoding works on the stored bytes in memory.
#include "editor/Editor.h"
#include "theme/ThemeFilePicture.h"

namespace ssf {

inline constexpr const char* kFileAbsentText = "Файл отсутствует!";
// The preview frame at its narrowest; RAW and ANI2 pictures wider than the image widen it.
inline constexpr int kPreviewFrameWidth = 242;
inline constexpr int kPreviewImageWidth = 240;

// The tree's selection changed: fills the information panel for the node view.TV_selected.
// A group node, an empty group, no selection or an index outside the tables hide the panel.
// Never touches the theme, the modified flag or the status bar. A stored file its decoder
// cannot read shows no picture and its problem in view.IMG_problem; no message is shown.
void TVChange(Editor& ed);

// The theme check's words for what is wrong with theme file k's stored bytes (one problem
// a line), or `decoder_error` when the check finds nothing; empty for a sound or absent file.
std::string StoredFileProblem(ByteSpan stored, const TTHemeFiles& entry, int k, const std::string& decoder_error = {});

// Places lbl_5, btn_SaveFile and GBox_FileInfo after the frame width PNL_IMG_width.
void LayoutItemInfo(ViewState& view);

}  // namespace ssf
