#include "objects/directory.h"

#include <algorithm>

#include "objects/errors.h"

namespace rplrun {

bool DirectoryNode::store(const Symbol* name, Object value) {
  const auto [it, inserted] = variables_.insert_or_assign(name, Variable{std::move(value), {}});
  if (inserted) {
    order_.push_back(name);
    ++layout_version_;
  }
  return inserted;
}

bool DirectoryNode::purge(const Symbol* name) {
  if (variables_.erase(name) == 0) return false;
  ++layout_version_;
  order_.erase(std::find(order_.begin(), order_.end(), name));
  return true;
}

void DirectoryNode::clear() {
  variables_.clear();
  order_.clear();
  ++layout_version_;
}

void DirectoryNode::move_to_front(const std::vector<const Symbol*>& names) {
  // The front of the menu is the end of order_: the first name goes last.
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    const auto at = std::find(order_.begin(), order_.end(), *it);
    if (at == order_.end()) continue;
    order_.erase(at);
    order_.push_back(*it);
  }
}

namespace {

DirectoryNode& changeable_directory(const Object& directory) {
  // Built non-const here; a directory object on the stack is never changed after.
  return const_cast<DirectoryNode&>(directory.node_as<DirectoryNode>());
}

}  // namespace

Object make_directory(const std::vector<std::pair<const Symbol*, Object>>& variables) {
  auto node = std::make_shared<DirectoryNode>();
  std::uint32_t deepest = 0;
  for (auto it = variables.rbegin(); it != variables.rend(); ++it) {
    Object value = detached(it->second);
    deepest = std::max(deepest, nesting_of(value));
    node->store(it->first, std::move(value));
  }
  if (deepest >= max_nesting) fail(insufficient_memory);
  node->nesting = deepest + 1;
  return Object::from_node(Kind::directory, std::move(node));
}

Object copy_directory(const Object& directory, DirectoryNode* parent, const Symbol* name) {
  auto node = std::make_shared<DirectoryNode>();
  node->parent = parent;
  node->name = name;
  node->depth = parent ? parent->depth + 1 : 0;
  std::uint32_t deepest = 0;
  const auto entries = directory_entries(directory);
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    Object value = *it->second;
    if (value.is(Kind::directory)) value = copy_directory(value, node.get(), it->first);
    deepest = std::max(deepest, nesting_of(value));
    node->store(it->first, std::move(value));
  }
  if (deepest + node->depth >= max_nesting) fail(insufficient_memory);
  node->nesting = deepest + 1;
  return Object::from_node(Kind::directory, std::move(node));
}

std::vector<std::pair<const Symbol*, const Object*>> directory_entries(const Object& directory) {
  DirectoryNode& node = changeable_directory(directory);
  std::vector<std::pair<const Symbol*, const Object*>> entries;
  for (const Symbol* name : node.names()) entries.emplace_back(name, &node.find(name)->settled());
  return entries;
}

bool is_empty_directory(const Object& directory) {
  return directory.node_as<DirectoryNode>().empty();
}

}  // namespace rplrun
