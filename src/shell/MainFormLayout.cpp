#include "shell/MainFormLayout.h"

#include <algorithm>

namespace ssf {

MainFormLayout ComputeMainFormLayout(QSize window, int client_height) {
  MainFormLayout l{};
  const int w = std::min(window.width() - 488, 393);
  l.page_width = w;
  l.tree_width = w - 8;
  l.item_info = QRect(w, 0, window.width() - w - 16, client_height);
  l.icon_left = w - 57;
  l.edit_width = l.icon_left - 25;
  l.status_widths[0] = w;
  l.status_widths[1] = window.width() - w - 75;
  l.status_widths[2] = 50;
  return l;
}

}  // namespace ssf
