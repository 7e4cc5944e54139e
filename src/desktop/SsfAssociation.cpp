#include "desktop/SsfAssociation.h"

namespace ssf {

bool RegEditSSFCheckedAtStart(const SsfAssociation& association) {
  return association.IsPresent();
}

bool MM_Child_RegEditSSFClick(SsfAssociation& association, Ui& ui, bool checked) {
  const bool done = checked ? association.Unregister() : association.Register();
  if (!done) {
    ui.ShowMsg(kNoRightsWarning, kMsgWarning);
    return checked;
  }
  return !checked;
}

}  // namespace ssf
