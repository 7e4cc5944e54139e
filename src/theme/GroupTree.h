#pragma once
// The group tree of the loaded theme map, shown in the main window's tree view TV.
// Nodes are only ever appended as the last child of the innermost open group or as the
// last top-level node, so storing them in append order stores them in tree order: a
// node's index is its flat index (a node, then its children, then its next sibling).
#include <string>
#include <vector>

namespace ssf {

struct GroupNode {
  std::string caption;    // UTF-8
  int parent = -1;        // flat index of the parent, -1 at the top level
  std::vector<int> children;  // flat indices, in order
  bool group = false;     // made by a GROUP line: never a theme file, even without children
};

class GroupTree {
 public:
  void Clear() { nodes_.clear(); }
  bool Empty() const { return nodes_.empty(); }
  int Size() const { return static_cast<int>(nodes_.size()); }
  const GroupNode& Node(int index) const { return nodes_.at(static_cast<size_t>(index)); }
  const std::vector<GroupNode>& Nodes() const { return nodes_; }

  // Appends a node as the last child of `parent` (-1: top level), which must be the
  // innermost open group or -1 so that tree order stays append order. Returns its index.
  int Add(std::string caption, int parent, bool group = false);

  bool HasChildren(int index) const { return !Node(index).children.empty(); }
  // Flat index of the k-th node without children (a theme file node), or -1.
  int FileNode(int k) const;
  // Theme file index of the node at `index`: its flat index minus the number of nodes
  // with children before it. Depends only on the tree's shape.
  int FileIndexOf(int index) const;
  // Number of nodes without children.
  int FileNodeCount() const;
  // Captions from the top-level node down to the node, joined by `sep`.
  std::string PathOf(int index, const std::string& sep = "/") const;

 private:
  std::vector<GroupNode> nodes_;
};

}  // namespace ssf
