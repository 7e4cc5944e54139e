#include "editor/FitPicturesOption.h"

namespace ssf {

bool FitPicturesOn(const IniDocument& settings) { return settings.ReadBool(kFitSection, kFitKey, false); }

void SetFitPicturesOn(IniDocument& settings, bool on) { settings.WriteBool(kFitSection, kFitKey, on); }

}  // namespace ssf
