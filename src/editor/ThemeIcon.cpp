#include "editor/Editor.h"
#include "theme/ThemeHeader.h"

namespace ssf {

void ShowThemeIcon(Editor& ed) {
  if (!ed.state.Theme) throw SsfError("Нет открытой темы");
  ed.view.IMG_ThemeIcon = ThemeIconPicture(*ed.state.Theme);
}

void ShowThemeHeader(Editor& ed) {
  const EditorState& s = ed.state;
  ViewState& v = ed.view;
  if (!s.Theme) return;
  v.ED_ThemeAuthor = HeaderText(*s.Theme, kAuthorField);
  v.ED_ThemeName = HeaderText(*s.Theme, kNameField);
  v.ED_ThemeVersion = HeaderText(*s.Theme, kVersionField);
  v.CBox_ThemeType_visible = !s.Map.IsColorTheme;
  if (!s.Map.IsColorTheme) v.CBox_ThemeType_index = ThemeTypeIndex(*s.Theme);
  v.Pnl_ThemeIcon_visible = s.Map.HasIcon;
  if (s.Map.HasIcon) ShowThemeIcon(ed);
}

}  // namespace ssf
