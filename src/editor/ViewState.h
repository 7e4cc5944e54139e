#pragma once
// What the main window shows, written by the handlers and rendered by the Qt shell.
// Names follow the window's controls.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "pictures/Image.h"
#include "theme/ThemeFilePicture.h"

namespace ssf {

struct ViewState {
  std::array<std::string, 3> status;  // SBar panels 0, 1, 2

  bool PCtrl_enabled = false;
  int PCtrl_page = 0;  // 0 "Файлы", 1 "Другое", 2 "Обзор"

  bool MM_Child_SaveTheme_enabled = false;
  bool MM_Child_ImportRes_enabled = false;
  bool MM_Child_ExportRes_enabled = false;

  bool Pnl_ItemInfo_visible = false;

  // Information panel of the selected theme file.
  PreviewPicture IMG;
  int PNL_IMG_width = 242;
  int IMG_width = 240;
  bool lbl_5_visible = false;  // "Файл отсутствует!"
  // What the theme check finds wrong with the stored file, one problem a line; empty for a
  // sound or absent file. Shown in the panel, so browsing the tree never stops at a box.
  std::string IMG_problem;
  bool btn_SaveFile_enabled = false;
  int lbl_5_left = 71;
  int btn_SaveFile_left = 140;
  int GBox_FileInfo_left = 262;
  std::string ED_FileWidth;
  std::string ED_FileHeight;
  std::string ED_FileSize;
  std::string ED_FileType;

  // Header edits on the page "Другое".
  std::string ED_ThemeAuthor;
  std::string ED_ThemeName;
  std::string ED_ThemeVersion;

  bool CBox_ThemeType_visible = true;  // with its label lbl_4
  int CBox_ThemeType_index = 0;        // -1: no item selected

  bool Pnl_ThemeIcon_visible = false;
  Image IMG_ThemeIcon;

  // Selected node of the group tree TV by its flat index in tree order; -1 for none.
  int TV_selected = -1;
  // Raised by one each time a handler collapses the whole tree; the window collapses TV
  // when the value differs from the one it last saw.
  int TV_collapse_count = 0;
  // Raised by one each time a theme is opened; the window then shows the tree's top level
  // expanded, the groups below it collapsed.
  int TV_expand_count = 0;
};

}  // namespace ssf
