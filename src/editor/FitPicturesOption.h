#pragma once
// "Подгонять размер изображений": whether the window fits imported pictures of another
// size (asking how) instead of refusing them. Off by default; kept in settings.ini.
#include "base/IniDocument.h"
#include "theme/PictureFit.h"

namespace ssf {

inline constexpr const char* kFitSection = "Options";
inline constexpr const char* kFitKey = "FitPictures";
bool FitPicturesOn(const IniDocument& settings);
void SetFitPicturesOn(IniDocument& settings, bool on);

}  // namespace ssf
