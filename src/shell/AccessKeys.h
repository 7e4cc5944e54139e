#pragma once
// Alt+letter access keys for the window's menus and buttons, chosen once they are built.
#include <QList>

class QAbstractButton;
class QMenu;
class QMenuBar;

namespace ssf {

// The menu bar's titles, then every menu's items, submenus included. Menus that are
// filled when opened (recent themes) number their own items.
void SetAccessKeys(QMenuBar* bar);
void SetAccessKeys(QMenu* menu);
// Buttons shown together, and labels given as buddies, share one set of letters.
void SetAccessKeys(const QList<QAbstractButton*>& buttons);

}  // namespace ssf
