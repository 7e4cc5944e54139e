#include "theme/GroupTree.h"

#include "base/SsfError.h"

namespace ssf {

int GroupTree::Add(std::string caption, int parent, bool group) {
  if (parent < -1 || parent >= Size()) throw SsfError("Дерево групп: нет узла " + std::to_string(parent));
  int index = Size();
  nodes_.push_back(GroupNode{std::move(caption), parent, {}, group});
  if (parent >= 0) nodes_[static_cast<size_t>(parent)].children.push_back(index);
  return index;
}

int GroupTree::FileNode(int k) const {
  if (k < 0) return -1;
  for (int i = 0; i < Size(); ++i) {
    if (!IsFileNode(i)) continue;
    if (k-- == 0) return i;
  }
  return -1;
}

int GroupTree::FileIndexOf(int index) const {
  int groups = 0;
  for (int i = 0; i < index && i < Size(); ++i) groups += IsFileNode(i) ? 0 : 1;
  return index - groups;
}

int GroupTree::FileNodeCount() const {
  int n = 0;
  for (int i = 0; i < Size(); ++i) n += IsFileNode(i) ? 1 : 0;
  return n;
}

std::string GroupTree::PathOf(int index, const std::string& sep) const {
  std::string path = Node(index).caption;
  for (int p = Node(index).parent; p >= 0; p = Node(p).parent) path = Node(p).caption + sep + path;
  return path;
}

}  // namespace ssf
