#include "objects/object.h"

#include <algorithm>

#include "objects/array.h"
#include "objects/command_registry.h"
#include "objects/directory.h"
#include "objects/errors.h"
#include "objects/grob.h"
#include "objects/library_data.h"
#include "objects/unit.h"

namespace rplrun {

Object& Object::assign_from(const Object& other) {
  if (this != &other) {
    if (other.is_heap() && is_heap()) {
      node_ = other.node_;
      kind_ = other.kind_;
      flags_ = other.flags_;
      aux_ = other.aux_;
    } else {
      release();
      copy_from(other);
    }
  }
  return *this;
}

Object& Object::move_assign_from(Object&& other) noexcept {
  if (this != &other) {
    release();
    move_from(std::move(other));
  }
  return *this;
}

void Object::copy_from(const Object& other) {
  kind_ = other.kind_;
  flags_ = other.flags_;
  aux_ = other.aux_;
  if (other.is_heap()) {
    new (&node_) std::shared_ptr<const Node>(other.node_);
  } else {
    new (&real_) Real(other.real_);
  }
}

void Object::move_from(Object&& other) noexcept {
  kind_ = other.kind_;
  flags_ = other.flags_;
  aux_ = other.aux_;
  if (other.is_heap()) {
    new (&node_) std::shared_ptr<const Node>(std::move(other.node_));
  } else {
    new (&real_) Real(other.real_);
  }
}

Object Object::from_node(Kind kind, std::shared_ptr<const Node> node) {
  Object o;
  o.kind_ = kind;
  new (&o.node_) std::shared_ptr<const Node>(std::move(node));
  return o;
}

Object Object::complex(const Complex& value) {
  return from_node(Kind::complex, std::make_shared<ComplexNode>(value));
}

void check_string_size(std::size_t bytes) {
  if (bytes > max_object_bytes) fail(insufficient_memory);
}

void check_item_count(std::size_t items) {
  if (items > max_object_items) fail(insufficient_memory);
}

Object Object::string(std::string hp_text) {
  check_string_size(hp_text.size());
  return from_node(Kind::string, std::make_shared<StringNode>(std::move(hp_text)));
}

std::uint32_t nesting_of(const Object& object) {
  switch (object.kind()) {
    case Kind::list:
    case Kind::program:
    case Kind::algebraic:
    case Kind::tagged:
    case Kind::directory:
    case Kind::library_data: return object.node()->nesting;
    default: return 0;
  }
}

void set_nesting(Node& node, std::span<const Object> parts) {
  check_item_count(parts.size());
  std::uint32_t deepest = 0;
  for (const Object& part : parts) deepest = std::max(deepest, nesting_of(part));
  if (deepest >= max_nesting) fail(insufficient_memory);
  node.nesting = deepest + 1;
}

namespace {
// The nesting `count` more parts give a node; Insufficient Memory beyond the limits.
std::uint32_t grown_nesting(const SequenceNode& node, const Object* parts, std::size_t count) {
  check_item_count(node.size() + count);
  std::uint32_t deepest = 0;
  for (std::size_t k = 0; k < count; ++k) deepest = std::max(deepest, nesting_of(parts[k]));
  if (deepest >= max_nesting) fail(insufficient_memory);
  return std::max(node.nesting, deepest + 1);
}

// The node of x, to change in place. Every node is built non-const, and the rules at the
// top of object.h say when a change cannot be seen: this is the only place that drops
// the const of a shared node.
Node& changeable(const Object& x) { return const_cast<Node&>(*x.node()); }
}  // namespace

std::optional<Growth> Object::growth(long recorded) const {
  if (kind_ != Kind::string && kind_ != Kind::list && kind_ != Kind::algebraic) return std::nullopt;
  if (kind_ != Kind::string && !positions().empty()) return std::nullopt;
  if (holders() != 1 + recorded) return std::nullopt;
  return Growth(changeable(*this));
}

void Growth::append(const Object* parts, std::size_t count) const {
  auto& node = static_cast<SequenceNode&>(*node_);
  const std::uint32_t nesting = grown_nesting(node, parts, count);
  node.store_.insert(node.store_.end(), parts, parts + count);
  node.nesting = nesting;
}

void Growth::prepend(const Object* parts, std::size_t count) const {
  auto& node = static_cast<SequenceNode&>(*node_);
  const std::uint32_t nesting = grown_nesting(node, parts, count);
  if (node.front_ < count) {
    // Room in front as large as the items (at least what is asked): the next
    // prependings cost no move, and the whole costs linear time.
    const std::size_t size = node.size();
    const std::size_t room = std::max(count, size);
    std::vector<Object> store(room + size);
    std::move(node.store_.begin() + static_cast<std::ptrdiff_t>(node.front_), node.store_.end(),
              store.begin() + static_cast<std::ptrdiff_t>(room));
    node.store_ = std::move(store);
    node.front_ = room;
  }
  node.front_ -= count;
  std::copy(parts, parts + count, node.store_.begin() + static_cast<std::ptrdiff_t>(node.front_));
  node.prepended_ += count;
  node.nesting = nesting;
}

void Growth::append(std::string_view text) const { static_cast<StringNode&>(*node_).text += text; }

bool Object::replace_in_place(std::size_t index, Object value) {
  if (holders() != 1) return false;
  if (kind_ == Kind::array) {
    static_cast<ArrayNode&>(changeable(*this)).elements[index] = std::move(value);
    return true;
  }
  auto& node = static_cast<SequenceNode&>(changeable(*this));
  const std::uint32_t inner = nesting_of(value);
  if (inner >= max_nesting) fail(insufficient_memory);
  Object& item = node.store_[node.front_ + index];
  const bool was_deepest = nesting_of(item) + 1 == node.nesting;
  item = std::move(value);
  node.positions.clear();  // as a list built anew has none
  node.nesting = std::max(node.nesting, inner + 1);
  if (was_deepest && inner + 1 < node.nesting) {
    std::uint32_t deepest = 0;
    for (const Object& part : node.items()) deepest = std::max(deepest, nesting_of(part));
    node.nesting = deepest + 1;
  }
  return true;
}

Extent extent_of(const Object& x) {
  if (x.is(Kind::string)) return {0, x.as_string().size()};
  const auto& node = x.node_as<SequenceNode>();
  return {node.prepended(), node.size()};
}

Object as_it_was(const Object& x, const Extent& seen) {
  if (x.is(Kind::string)) return Object::string(x.as_string().substr(0, seen.length));
  const auto& node = x.node_as<SequenceNode>();
  const auto first = x.items().begin() + static_cast<std::ptrdiff_t>(node.prepended() - seen.prepended);
  std::vector<Object> items(first, first + static_cast<std::ptrdiff_t>(seen.length));
  return x.is(Kind::list) ? Object::list(std::move(items)) : Object::algebraic(std::move(items));
}

Object Object::list(std::vector<Object> items, std::vector<Position> positions) {
  auto node = std::make_shared<SequenceNode>();
  set_nesting(*node, items);
  node->assign(std::move(items));
  node->positions = std::move(positions);
  return from_node(Kind::list, std::move(node));
}

Object Object::algebraic(std::vector<Object> postfix) {
  auto node = std::make_shared<SequenceNode>();
  set_nesting(*node, postfix);
  node->assign(std::move(postfix));
  return from_node(Kind::algebraic, std::move(node));
}

Object Object::name(const Symbol* symbol, bool local, bool quoted) {
  Object o;
  o.kind_ = Kind::name;
  o.symbol_ = symbol;
  o.flags_ = static_cast<std::uint8_t>((local ? local_flag : 0) | (quoted ? quoted_flag : 0));
  return o;
}

Object Object::binary(std::uint64_t value) {
  Object o;
  o.kind_ = Kind::binary;
  o.bits_ = value;
  return o;
}

Object Object::tagged(std::string tag, Object value) {
  const std::uint32_t inner = nesting_of(value);
  if (inner >= max_nesting) fail(insufficient_memory);
  auto node = std::make_shared<TaggedNode>(std::move(tag), std::move(value));
  node->nesting = inner + 1;
  return from_node(Kind::tagged, std::move(node));
}

Object Object::command(std::uint32_t id) {
  Object o;
  o.kind_ = Kind::command;
  o.bits_ = 0;
  o.aux_ = id;
  return o;
}

Object Object::call(const Symbol* symbol, std::uint32_t argc, bool local) {
  Object o;
  o.kind_ = Kind::call;
  o.symbol_ = symbol;
  o.aux_ = argc;
  o.flags_ = local ? local_flag : 0;
  return o;
}

const Complex& Object::as_complex() const { return node_as<ComplexNode>().value; }

Complex Object::to_complex() const {
  return kind_ == Kind::complex ? as_complex() : Complex{real_, Real()};
}

const std::string& Object::as_string() const { return node_as<StringNode>().text; }

std::span<const Object> Object::items() const { return node_as<SequenceNode>().items(); }

const std::vector<Position>& Object::positions() const { return node_as<SequenceNode>().positions; }

Object Object::unquoted() const {
  Object o = *this;
  o.flags_ &= static_cast<std::uint8_t>(~quoted_flag);
  return o;
}

Object Object::quoted() const {
  Object o = *this;
  o.flags_ |= quoted_flag;
  return o;
}

const std::string& Object::tag() const { return node_as<TaggedNode>().tag; }

const Object& Object::tagged_value() const { return node_as<TaggedNode>().value; }

namespace {
bool same_items(std::span<const Object> a, std::span<const Object> b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!same(a[i], b[i])) return false;
  }
  return true;
}
}  // namespace

bool same(const Object& a, const Object& b) {
  if (a.kind() != b.kind()) return false;
  // One node is one value (a copy shares it).
  if (a.node() && a.node() == b.node()) return true;
  switch (a.kind()) {
    case Kind::real: return a.as_real() == b.as_real();
    case Kind::complex: return a.as_complex() == b.as_complex();
    case Kind::string: return a.as_string() == b.as_string();
    case Kind::list:
    case Kind::algebraic:
    case Kind::program: return same_items(a.items(), b.items());
    case Kind::array: {
      const ArrayNode& x = a.node_as<ArrayNode>();
      const ArrayNode& y = b.node_as<ArrayNode>();
      return x.rows == y.rows && x.columns == y.columns && x.is_matrix == y.is_matrix &&
             same_items(x.elements, y.elements);
    }
    case Kind::name: return a.symbol() == b.symbol() && a.is_local() == b.is_local();
    case Kind::binary: return a.as_binary() == b.as_binary();
    case Kind::tagged: return a.tag() == b.tag() && same(a.tagged_value(), b.tagged_value());
    case Kind::command: return a.command_id() == b.command_id();
    case Kind::call:
      return a.symbol() == b.symbol() && a.call_argc() == b.call_argc() &&
             a.is_local() == b.is_local();
    case Kind::unit:
      return unit_of(a).value == unit_of(b).value && unit_of(a).factors == unit_of(b).factors;
    case Kind::directory: {
      const auto x = directory_entries(a);
      const auto y = directory_entries(b);
      if (x.size() != y.size()) return false;
      for (std::size_t k = 0; k < x.size(); ++k) {
        if (x[k].first != y[k].first || !same(*x[k].second, *y[k].second)) return false;
      }
      return true;
    }
    case Kind::grob: return grob_of(a) == grob_of(b);
    case Kind::library_data: return same(library_data_content(a), library_data_content(b));
  }
  return false;
}

int type_number(const Object& object) {
  switch (object.kind()) {
    case Kind::real: return 0;
    case Kind::complex: return 1;
    case Kind::string: return 2;
    case Kind::array: return object.node_as<ArrayNode>().is_complex ? 4 : 3;
    case Kind::list: return 5;
    case Kind::name: return object.is_local() ? 7 : 6;
    case Kind::program: return 8;
    case Kind::algebraic: return 9;
    case Kind::binary: return 10;
    case Kind::tagged: return 12;
    case Kind::command:
      // A built-in function (one written in algebraics), else a built-in command.
      return command_info(object.command_id()).algebra.notation == Notation::none ? 19 : 18;
    case Kind::call: return 9;
    case Kind::directory: return 15;
    case Kind::unit: return 13;
    case Kind::grob: return 11;
    case Kind::library_data: return 26;
  }
  return 0;
}

}  // namespace rplrun
