#pragma once
// What the main window shows, written by the handlers and rendered by the Qt shell.
// Names follow the window's controls.
#include <array>
#include <string>

#include "theme/Image.h"

namespace ssf {

struct ViewState {
  std::array<std::string, 3> status;  // SBar panels 0, 1, 2

  bool PCtrl_enabled = false;
  int PCtrl_page = 0;  // 0 "Файлы", 1 "Другое"

  bool MM_Child_SaveTheme_enabled = false;
  bool MM_Child_ImportRes_enabled = false;
  bool MM_Child_ExportRes_enabled = false;

  bool Pnl_ItemInfo_visible = false;

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
};

}  // namespace ssf
