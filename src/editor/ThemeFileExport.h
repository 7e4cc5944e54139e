#pragma once
// "Сохранить" on the information panel: writes the selected theme file out in the format
// the user picks (theme/ExportFormats.h).
#include "editor/Editor.h"
#include "theme/ExportFormats.h"

namespace ssf {

// The button's handler: asks for a file name and writes the selected theme file there,
// its extension forced by the chosen filter. Changes nothing in the theme.
void btn_SaveFileClick(Editor& ed);

}  // namespace ssf
