// The machine's state: the data stack, LASTARG and the variables, global and local.
#include <algorithm>

#include "machine/machine.h"

namespace rplrun {

Machine::Machine()
    : home_(copy_directory(make_directory({}), nullptr, nullptr)), current_(&home_directory()) {}
Machine::~Machine() = default;

// ---- data stack

Object Machine::pop() {
  if (stack_.empty()) fail(too_few_arguments);
  Object top = std::move(stack_.back());
  stack_.pop_back();
  return top;
}

void Machine::require(std::size_t n) const {
  if (stack_.size() < n) fail(too_few_arguments);
}

std::vector<Object> Machine::take(std::size_t n) {
  require(n);
  if (n == stack_.size() && stack_.capacity() <= 2 * n + 16) {
    std::vector<Object> all;
    all.swap(stack_);
    return all;
  }
  const auto first = stack_.end() - static_cast<std::ptrdiff_t>(n);
  std::vector<Object> top(std::make_move_iterator(first), std::make_move_iterator(stack_.end()));
  stack_.erase(first, stack_.end());
  return top;
}

// ---- LASTARG

const std::vector<Object>& Machine::last_arguments() {
  if (last_arg_seen_) {
    Object& x = last_args_[last_arg_seen_->index];
    x = as_it_was(x, last_arg_seen_->seen);
    last_arg_seen_.reset();
  }
  return last_args_;
}

void Machine::set_last_arguments(std::vector<Object> args) {
  last_args_ = std::move(args);
  last_arg_seen_.reset();
}

void Machine::save_last_arguments(const Object* args, int n) {
  last_args_.resize(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) last_args_[static_cast<std::size_t>(k)] = args[k];
  last_arg_seen_.reset();
}

std::optional<Growth> Machine::growth(const Object& x) {
  if (!x.is(Kind::string) && !x.is(Kind::list) && !x.is(Kind::algebraic)) return std::nullopt;
  if (!x.is(Kind::string) && !x.positions().empty()) return std::nullopt;
  const Node* node = x.node();
  // Every holder but the argument itself must be one that can be told what it saw.
  long others = x.holders() - 1;
  std::optional<std::size_t> in_last_args;
  for (std::size_t k = 0; k < last_args_.size(); ++k) {
    if (last_args_[k].node() != node) continue;
    if (in_last_args || (last_arg_seen_ && last_arg_seen_->index != k)) return std::nullopt;
    in_last_args = k;
    --others;
  }
  // A variable, when looking among them costs less than the copy it saves:
  // 'L' 1 STO+ and L 1 + 'L' STO grow the list in place.
  Variable* variable = nullptr;
  if (others == 1) {
    const Extent size = extent_of(x);
    // Only the directories a name resolves in are looked at: a holder elsewhere
    // stays one of the others, and the object is then copied.
    std::size_t variables = locals_.size();
    for (DirectoryNode* dir = current_; dir; dir = dir->parent) variables += dir->size();
    if (size.length < variables) return std::nullopt;
    bool twice = false;
    auto consider = [&](Variable& candidate) {
      if (candidate.value.node() != node) return;
      twice = twice || variable != nullptr;
      variable = &candidate;
    };
    for (LocalSlot& slot : locals_) consider(slot.variable);
    for (DirectoryNode* dir = current_; dir; dir = dir->parent)
      dir->each([&](const Symbol*, Variable& global) { consider(global); });
    if (twice) return std::nullopt;
    if (variable) --others;
  }
  if (others != 0) return std::nullopt;
  auto growth = x.growth((in_last_args ? 1 : 0) + (variable ? 1 : 0));
  if (!growth) return std::nullopt;
  // From now on it only grows: what the others saw stays a run of its items.
  const Extent now = extent_of(x);
  if (in_last_args && !last_arg_seen_) last_arg_seen_ = SeenArgument{*in_last_args, now};
  if (variable && !variable->seen) variable->seen = now;
  return growth;
}

// ---- variables

const Object* Machine::find_global(const Symbol* name) const {
  for (DirectoryNode* dir = current_; dir; dir = dir->parent) {
    if (Variable* found = dir->find(name)) {
      globals_seen_[seen_slot(name)] = {name, current_, DirectoryNode::layout_version(), found};
      return &found->settled();
    }
  }
  return nullptr;
}

void Machine::store_global(const Symbol* name, Object value) {
  if (const Variable* old = current_->find(name); old && old->value.is(Kind::directory))
    fail(directory_not_allowed);
  if (value.is(Kind::directory)) {
    value = copy_directory(value, current_, name);
  } else if (current_->depth + nesting_of(value) >= max_nesting) {
    fail(insufficient_memory);
  }
  current_->store(name, std::move(value));
}

bool Machine::purge_global(const Symbol* name, bool whole_directory) {
  const Variable* variable = current_->find(name);
  if (!variable) return false;
  if (!whole_directory && variable->value.is(Kind::directory) &&
      !is_empty_directory(variable->value))
    fail(non_empty_directory);
  current_->purge(name);
  return true;
}

void Machine::clear_globals() {
  for (const Symbol* name : current_->names()) {
    const Variable* variable = current_->find(name);
    if (variable->value.is(Kind::directory) && !is_empty_directory(variable->value))
      fail(non_empty_directory);
  }
  current_->clear();
}

std::vector<const Symbol*> Machine::global_names() const { return current_->names(); }

// ---- directories

DirectoryNode& Machine::home_directory() {
  return const_cast<DirectoryNode&>(home_.node_as<DirectoryNode>());
}

void Machine::enter_directory(DirectoryNode& directory) { current_ = &directory; }

std::vector<const DirectoryNode*> Machine::path() const {
  std::vector<const DirectoryNode*> path;
  for (const DirectoryNode* dir = current_; dir; dir = dir->parent) path.push_back(dir);
  std::reverse(path.begin(), path.end());
  return path;
}

void Machine::replace_home(const Object& directory) {
  Object home = copy_directory(directory, nullptr, nullptr);
  home_ = std::move(home);
  current_ = &home_directory();
}

Object* Machine::variable(const Object& name) {
  if (name.is_local()) {
    Object* value = local(name.symbol());
    if (!value) fail(undefined_local_name);
    return value;
  }
  if (Object* index = index_local(name.symbol())) return index;
  return const_cast<Object*>(global(name.symbol()));
}

void Machine::store(const Object& name, Object value) {
  // What the variable held is not needed: it is not made again.
  Variable* slot = local_variable(name.symbol(), !name.is_local());
  if (name.is_local() && !slot) fail(undefined_local_name);
  if (slot) {
    *slot = Variable{std::move(value), {}};
    return;
  }
  store_global(name.symbol(), std::move(value));
}

void Machine::bind_index(const Symbol* name, Object value) {
  locals_.emplace_back(name, std::move(value), true);
  ++index_count_;
}

Object* Machine::index_local(const Symbol* name) {
  Variable* v = local_variable(name, true);
  return v ? &v->settled() : nullptr;
}

void Machine::truncate_locals(std::size_t size) {
  if (size >= locals_.size()) return;
  if (index_count_ != 0) {
    for (std::size_t k = size; k < locals_.size(); ++k) index_count_ -= locals_[k].index ? 1 : 0;
  }
  locals_.erase(locals_.begin() + static_cast<std::ptrdiff_t>(size), locals_.end());
}

// ---- the terminal

std::optional<Answer> Terminal::take_input() {
  if (input.empty()) return std::nullopt;
  const auto line = static_cast<std::uint32_t>(input_lines - input.size() + 1);
  Answer answer{std::move(input.front()), Position{input_source, line, 1}};
  input.pop_front();
  return answer;
}

}  // namespace rplrun
