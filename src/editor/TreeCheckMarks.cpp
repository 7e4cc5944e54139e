#include "editor/TreeCheckMarks.h"

#include <algorithm>

#include "base/RussianPlural.h"

namespace ssf {

namespace {

int Weight(TreeMark m) {
  switch (m) {
    case TreeMark::kError: return 3;
    case TreeMark::kWarning: return 2;
    case TreeMark::kAbsent: return 1;
    case TreeMark::kSound: break;
  }
  return 0;
}

TreeMark Heavier(TreeMark a, TreeMark b) { return Weight(a) >= Weight(b) ? a : b; }

std::string GroupTip(const TreeNodeMark& m) {
  std::string tip;
  auto line = [&tip](const std::string& text) { tip += (tip.empty() ? "" : "\n") + text; };
  if (m.errors > 0) line("Ошибок в группе: " + std::to_string(m.errors));
  if (m.warnings > 0) line("Предупреждений в группе: " + std::to_string(m.warnings));
  if (m.absent > 0) {
    line(std::string(RussianPluralForm(m.absent, "Отсутствует ", "Отсутствуют ", "Отсутствует ")) +
         CountText(m.absent, "файл", "файла", "файлов"));
  }
  return tip;
}

}  // namespace

std::vector<TreeNodeMark> TreeCheckMarks(const GroupTree& tree, const ThemeCheckReport& report) {
  std::vector<TreeNodeMark> marks(static_cast<size_t>(tree.Size()));
  for (int i = 0; i < tree.Size(); ++i) {
    if (!tree.IsFileNode(i)) continue;
    TreeNodeMark& m = marks[static_cast<size_t>(i)];
    for (const CheckProblem* p : report.ForFile(tree.FileIndexOf(i))) {
      if (p->kind == CheckKind::kAbsent) {
        m.absent = 1;
        m.mark = Heavier(m.mark, TreeMark::kAbsent);
      } else if (p->severity == CheckSeverity::kError) {
        ++m.errors;
        m.mark = Heavier(m.mark, TreeMark::kError);
      } else {
        ++m.warnings;
        m.mark = Heavier(m.mark, TreeMark::kWarning);
      }
      m.tip += (m.tip.empty() ? "" : "\n") + p->text;
    }
  }
  // Children follow their parent in flat order: walking backwards sums each group after
  // everything inside it.
  for (int i = tree.Size() - 1; i >= 0; --i) {
    const int parent = tree.Node(i).parent;
    if (parent < 0) continue;
    const TreeNodeMark& child = marks[static_cast<size_t>(i)];
    TreeNodeMark& group = marks[static_cast<size_t>(parent)];
    group.errors += child.errors;
    group.warnings += child.warnings;
    group.absent += child.absent;
    group.mark = Heavier(group.mark, child.mark);
  }
  for (int i = 0; i < tree.Size(); ++i) {
    if (tree.HasChildren(i)) marks[static_cast<size_t>(i)].tip = GroupTip(marks[static_cast<size_t>(i)]);
  }
  return marks;
}

}  // namespace ssf
