#pragma once
// The "Ассоциировать с SSF" switch of the main window's "Файл" menu: whether this program
// is the one that opens ".ssf" files. Where the association lives (the Windows registry,
// the Linux desktop's MIME files) is behind SsfAssociation.
#include "base/Ui.h"

namespace ssf {

inline constexpr char kNoRightsWarning[] =
    "У Вас недостаточно прав для выполнения данной операции!\r\n"
    "Попробуйте запустить программу с правами администратора.";

class SsfAssociation {
 public:
  virtual ~SsfAssociation() = default;

  // Whether the association is there; the menu item's check mark.
  virtual bool IsPresent() const = 0;
  // Makes this program the one that opens ".ssf" files. Returns false, with nothing
  // written, when the user has no rights to; a failure after the first write throws SsfError.
  virtual bool Register() = 0;
  // Removes the association. Returns false when it cannot, leaving it as it was.
  virtual bool Unregister() = 0;
};

// The check mark of MM_Child_RegEditSSF when the main window is created.
bool RegEditSSFCheckedAtStart(const SsfAssociation& association);

// MM_Child_RegEditSSFClick: registers when `checked` is false, unregisters when it is
// true, and returns the new check mark. When the change is refused it shows the warning
// and returns `checked` unchanged. An SsfError from a later step reaches the caller's
// error report; the item's check mark must then stay as it was.
bool MM_Child_RegEditSSFClick(SsfAssociation& association, Ui& ui, bool checked);

}  // namespace ssf
