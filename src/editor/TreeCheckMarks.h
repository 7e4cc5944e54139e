#pragma once
// The theme check as marks of the group tree: each theme file's worst problem and, for a
// group, the worst inside it, so a collapsed group still shows that something needs care.
#include <string>
#include <vector>

#include "theme/GroupTree.h"
#include "theme/ThemeCheck.h"

namespace ssf {

// A group takes the heaviest mark found inside it: an error, then a warning, then an absent
// file. The values are the window's item data, kept as they were before warnings had a mark.
enum class TreeMark { kSound = 0, kAbsent = 1, kError = 2, kWarning = 3 };

struct TreeNodeMark {
  TreeMark mark = TreeMark::kSound;
  int errors = 0;    // problems that are errors, absent files not counted
  int warnings = 0;
  int absent = 0;    // absent theme files (a file node: 0 or 1)
  std::string tip;   // the tooltip: a file's problems one a line, a group's counts
};

// One mark per node of `tree`, by flat index.
std::vector<TreeNodeMark> TreeCheckMarks(const GroupTree& tree, const ThemeCheckReport& report);

}  // namespace ssf
