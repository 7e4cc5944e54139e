#pragma once
// Marks of the theme check in the group tree: absent theme files in grey italics, files
// with an error with a red sign, with a warning with a yellow one, the problems as tooltip.
// A collapsed group shows the heaviest mark inside it.
#include <QTreeWidgetItem>
#include <vector>

#include "theme/ThemeCheck.h"
#include "theme/GroupTree.h"

namespace ssf {

// The mark of an item (TreeMark), for tests and styles: 0 sound, 1 absent, 2 error, 3 warning.
inline constexpr int kTreeMarkRole = Qt::UserRole + 1;

// `items` holds the tree's items by flat index, as the window built them from `tree`.
void MarkTreeItems(const std::vector<QTreeWidgetItem*>& items, const GroupTree& tree, const ThemeCheckReport& report);

// A group's sign follows its state: shown while collapsed, left to the files while open.
void ShowGroupMark(QTreeWidgetItem* group);

}  // namespace ssf
