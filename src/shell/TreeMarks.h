#pragma once
// Marks of the theme check in the group tree: absent theme files in grey italics, files
// with another problem with a warning sign and the problems as tooltip.
#include <QTreeWidgetItem>
#include <vector>

#include "theme/ThemeCheck.h"
#include "theme/GroupTree.h"

namespace ssf {

// The mark of a theme file's item, for tests and styles: 0 sound, 1 absent, 2 another problem.
inline constexpr int kTreeMarkRole = Qt::UserRole + 1;

// `items` holds the tree's items by flat index, as the window built them from `tree`.
void MarkTreeItems(const std::vector<QTreeWidgetItem*>& items, const GroupTree& tree, const ThemeCheckReport& report);

}  // namespace ssf
