#pragma once
// Where the main window's controls go for a window size. The widths follow the
// window's width; heights are fitted to the client area between menu and status bar.
#include <QRect>
#include <QSize>

namespace ssf {

inline constexpr int kMinFormWidth = 744;
inline constexpr int kMinFormHeight = 532;
inline constexpr int kDefaultFormWidth = 769;
inline constexpr int kDefaultFormHeight = 532;

struct MainFormLayout {
  int page_width;       // PCtrl, w
  int tree_width;       // TV
  QRect item_info;      // Pnl_ItemInfo, in the client area
  int icon_left;        // Pnl_ThemeIcon, on the page "Другое"
  int edit_width;       // ED_ThemeAuthor, ED_ThemeName, CBox_ThemeType
  int status_widths[3]; // SBar panels
};

// `window` is the window's size, `client_height` the height left for the page control
// and the information panel.
MainFormLayout ComputeMainFormLayout(QSize window, int client_height);

}  // namespace ssf
