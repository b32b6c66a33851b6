// Directories: the variables of one directory, as the machine's variable tree holds them
// and as a directory object on the stack (DIR ... END).
//
// The machine's tree is made of live directory nodes: a subdirectory is a variable whose
// value is a directory object owning its node, which the machine changes in place and
// which knows its parent and its name. Such a node never leaves the tree: what a command
// takes out of it (RCL) is a copy, a directory object like any other value, and what is
// stored into the tree from the stack is copied in.
#pragma once

#include <optional>
#include <unordered_map>
#include <vector>

#include "objects/object.h"

namespace rplrun {

// A variable's value. When `seen` is set, the node of `value` has since grown in place
// for another holder (Object::growth): the variable holds `value` as it was then, made
// again the next time the variable is used (settled()).
struct Variable {
  Object value;
  std::optional<Extent> seen;
  Object& settled() {
    if (seen) [[unlikely]] {
      value = as_it_was(value, *seen);
      seen.reset();
    }
    return value;
  }
};

class DirectoryNode : public Node {
 public:
  DirectoryNode() = default;
  DirectoryNode(const DirectoryNode&) = delete;
  DirectoryNode& operator=(const DirectoryNode&) = delete;
  ~DirectoryNode() override { ++layout_version_; }
  // The variable of that name here; null if none.
  Variable* find(const Symbol* name) {
    const auto found = variables_.find(name);
    return found == variables_.end() ? nullptr : &found->second;
  }
  const Variable* find(const Symbol* name) const {
    return const_cast<DirectoryNode*>(this)->find(name);
  }
  // Stores a value; true when the variable is new (it then comes first in VARS).
  bool store(const Symbol* name, Object value);
  bool purge(const Symbol* name);
  void clear();
  // The names in the calculator's menu order: the newest first unless ORDER moved them.
  std::vector<const Symbol*> names() const { return {order_.rbegin(), order_.rend()}; }
  std::size_t size() const { return order_.size(); }
  bool empty() const { return order_.empty(); }
  // Moves these names, those that are here, to the front in this order.
  void move_to_front(const std::vector<const Symbol*>& names);
  // Changes whenever a variable is made or removed, or a directory goes, in any
  // directory: a Variable found while it stays the same is still there, and no other
  // of that name has come in front of it.
  static std::uint64_t layout_version() { return layout_version_; }
  // Every variable, for looking among their values.
  template <class F>
  void each(F f) {
    for (auto& [name, variable] : variables_) f(name, variable);
  }

  // Of a directory in the machine's tree: the one holding it (null for HOME) and the
  // name it has there.
  DirectoryNode* parent = nullptr;
  const Symbol* name = nullptr;
  std::uint32_t depth = 0;  // HOME's is 0

 private:
  static inline std::uint64_t layout_version_ = 0;
  std::unordered_map<const Symbol*, Variable> variables_;
  std::vector<const Symbol*> order_;  // the oldest first
};

// A directory object holding these variables, given in menu order; a directory among
// them is copied. Insufficient Memory when too deep.
Object make_directory(const std::vector<std::pair<const Symbol*, Object>>& variables);
// A copy of a directory object, its subdirectories copied too, as a node of the tree
// below `parent` under `name`.
Object copy_directory(const Object& directory, DirectoryNode* parent, const Symbol* name);
// The variables of a directory object in menu order.
std::vector<std::pair<const Symbol*, const Object*>> directory_entries(const Object& directory);
// A variable's value as it may leave the tree: a directory copied, anything else as it is.
inline Object detached(const Object& value) {
  return value.is(Kind::directory) ? copy_directory(value, nullptr, nullptr) : value;
}
// Whether a directory object holds no variable.
bool is_empty_directory(const Object& directory);

}  // namespace rplrun
