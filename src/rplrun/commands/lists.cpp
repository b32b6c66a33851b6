// Lists: \->LIST LIST\-> GET PUT GETI PUTI SIZE HEAD TAIL POS SUB REVLIST ADD.
// SIZE HEAD TAIL POS and SUB serve strings as well; GET PUT GETI PUTI SIZE arrays too, and
// SIZE algebraics and names.
#include <algorithm>

#include <string.h>
#include "objects/array.h"

#include "commands/graphics.h"
#include "commands/support.h"
#include "objects/elements.h"

namespace rplrun {

namespace {

void to_list(Machine& m, const Args& a) {
  m.push(Object::list(m.take(count_arg(a[1]))));
}

void list_to(Machine& m, const Args& a) {
  const auto& items = list_arg(a[1]);
  m.require(0);
  for (const Object& item : items) m.push(item);
  m.push(integer_object(static_cast<std::int64_t>(items.size())));
}

// A list or array given directly or by the name of a variable holding it.
const Object& container_arg(Machine& m, const Object& x) {
  if (x.is(Kind::name)) {
    const Object* value = m.lookup(x);
    if (!value) fail(undefined_name);
    if (!value->is(Kind::list) && !value->is(Kind::array)) fail(bad_argument_type);
    return *value;
  }
  if (!x.is(Kind::list) && !x.is(Kind::array)) fail(bad_argument_type);
  return x;
}

void get(Machine& m, const Args& a) {
  const Object& container = container_arg(m, a[2]);
  m.push(element_at(container, element_offset(container, a[1])));
}

// PUT and PUTI on a name change the variable's list or array, in place when nothing
// else holds it: a loop that fills one is linear.
Object& variable_container(Machine& m, const Object& name) {
  Object* value = m.variable(name);
  if (!value) fail(undefined_name);
  if (!value->is(Kind::list) && !value->is(Kind::array)) fail(bad_argument_type);
  return *value;
}

void put(Machine& m, const Args& a) {
  if (a[3].is(Kind::name)) {
    Object& container = variable_container(m, a[3]);
    put_element(container, element_offset(container, a[2]), a[1]);
    return;
  }
  const Object& container = container_arg(m, a[3]);
  m.push(with_element(container, element_offset(container, a[2]), a[1]));
}

void geti(Machine& m, const Args& a) {
  const Object& container = container_arg(m, a[2]);
  const std::size_t offset = element_offset(container, a[1]);
  bool wrapped = false;
  Object next = next_index(container, a[1], offset, wrapped);
  Object element = element_at(container, offset);
  m.flags.set(-64, wrapped);
  m.push(a[2]);
  m.push(std::move(next));
  m.push(std::move(element));
}

void puti(Machine& m, const Args& a) {
  const bool by_name = a[3].is(Kind::name);
  const Object& container = by_name ? variable_container(m, a[3]) : container_arg(m, a[3]);
  const std::size_t offset = element_offset(container, a[2]);
  bool wrapped = false;
  Object next = next_index(container, a[2], offset, wrapped);
  if (by_name) {
    put_element(variable_container(m, a[3]), offset, a[1]);
    m.push(a[3]);
  } else {
    m.push(with_element(container, offset, a[1]));
  }
  m.flags.set(-64, wrapped);
  m.push(std::move(next));
}

// The objects an algebraic is made of, in postfix order: 'X+1' is X 1 +. The parts kept
// whole inside it (the expression and the bindings of |, QUOTE's argument) count their
// own objects, with one = for each binding.
std::int64_t algebraic_size(std::span<const Object> items) {
  std::int64_t count = 0;
  for (const Object& item : items) {
    if (item.is(Kind::algebraic)) {
      count += algebraic_size(item.items());
    } else if (item.is(Kind::list)) {
      count += algebraic_size(item.items()) + static_cast<std::int64_t>(item.items().size() / 2);
    } else {
      ++count;
    }
  }
  return count;
}

void size(Machine& m, const Args& a) {
  const Object& x = a[1];
  if (x.is(Kind::list)) {
    m.push(integer_object(static_cast<std::int64_t>(x.items().size())));
  } else if (x.is(Kind::string)) {
    m.push(integer_object(static_cast<std::int64_t>(x.as_string().size())));
  } else if (x.is(Kind::array)) {
    const ArrayNode& array = x.node_as<ArrayNode>();
    std::vector<Object> dims{integer_object(array.is_matrix ? array.rows : array.columns)};
    if (array.is_matrix) dims.push_back(integer_object(array.columns));
    m.push(Object::list(std::move(dims)));
  } else if (x.is(Kind::algebraic)) {
    m.push(integer_object(algebraic_size(x.items())));
  } else if (x.is(Kind::name)) {
    m.push(integer_object(1));
  } else if (!grob_size(m, x)) {
    fail(bad_argument_type);
  }
}

void head(Machine& m, const Args& a) {
  const Object& x = a[1];
  if (x.is(Kind::list)) {
    if (x.items().empty()) fail(bad_argument_value);
    m.push(x.items().front());
  } else if (x.is(Kind::string)) {
    if (x.as_string().empty()) fail(bad_argument_value);
    m.push(Object::string(x.as_string().substr(0, 1)));
  } else {
    fail(bad_argument_type);
  }
}

void tail(Machine& m, const Args& a) {
  const Object& x = a[1];
  if (x.is(Kind::list)) {
    if (x.items().empty()) fail(bad_argument_value);
    m.push(Object::list(std::vector<Object>(x.items().begin() + 1, x.items().end())));
  } else if (x.is(Kind::string)) {
    if (x.as_string().empty()) fail(bad_argument_value);
    m.push(Object::string(x.as_string().substr(1)));
  } else {
    fail(bad_argument_type);
  }
}

void pos(Machine& m, const Args& a) {
  const Object& x = a[2];
  if (x.is(Kind::list)) {
    const auto& items = x.items();
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const Object& item) { return same(item, a[1]); });
    m.push(integer_object(found == items.end() ? 0 : found - items.begin() + 1));
  } else if (x.is(Kind::string)) {
    // memmem's two-way search takes time linear in the lengths, where a plain search can
    // take their product ("aaa…a" searched for "aa…ab").
    const std::string& text = x.as_string();
    const std::string& part = string_arg(a[1]);
    const void* found = part.empty() ? text.data()
                                     : memmem(text.data(), text.size(), part.data(), part.size());
    m.push(integer_object(
        found ? static_cast<const char*>(found) - text.data() + 1 : 0));
  } else {
    fail(bad_argument_type);
  }
}

// SUB's positions, brought into 1..size; an empty range when start > end.
std::pair<std::size_t, std::size_t> range(const Object& start, const Object& end,
                                          std::size_t size) {
  const std::int64_t from = std::max<std::int64_t>(1, integer_arg(start));
  const std::int64_t to = std::min<std::int64_t>(static_cast<std::int64_t>(size), integer_arg(end));
  if (from > to) return {0, 0};
  return {static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from + 1)};
}

void sub(Machine& m, const Args& a) {
  const Object& x = a[3];
  if (x.is(Kind::list)) {
    const auto [first, count] = range(a[2], a[1], x.items().size());
    const auto begin = x.items().begin() + static_cast<std::ptrdiff_t>(first);
    m.push(Object::list(std::vector<Object>(begin, begin + static_cast<std::ptrdiff_t>(count))));
  } else if (x.is(Kind::string)) {
    const auto [first, count] = range(a[2], a[1], x.as_string().size());
    m.push(Object::string(x.as_string().substr(first, count)));
  } else if (!grob_sub(m, a)) {
    fail(bad_argument_type);
  }
}

void revlist(Machine& m, const Args& a) {
  std::vector<Object> items = copy_items(list_arg(a[1]));
  std::reverse(items.begin(), items.end());
  m.push(Object::list(std::move(items)));
}

void add_(Machine& m, const Args& a) {
  const Object& x = a[2];
  const Object& y = a[1];
  if (!x.is(Kind::list) && !y.is(Kind::list)) fail(bad_argument_type);
  const std::size_t n = x.is(Kind::list) ? x.items().size() : y.items().size();
  if (x.is(Kind::list) && y.is(Kind::list) && y.items().size() != n) fail(invalid_dimension);
  std::vector<Object> sums;
  sums.reserve(n);
  for (std::size_t k = 0; k < n; ++k) {
    sums.push_back(apply_command(m, cmd::plus, x.is(Kind::list) ? x.items()[k] : x,
                                 y.is(Kind::list) ? y.items()[k] : y));
  }
  m.push(Object::list(std::move(sums)));
}

constexpr CommandRow rows[] = {
    {"\\->LIST", 1, to_list}, {"LIST\\->", 1, list_to}, {"GET", 2, get},   {"PUT", 3, put},
    {"GETI", 2, geti},        {"PUTI", 3, puti},        {"SIZE", 1, size}, {"HEAD", 1, head},
    {"TAIL", 1, tail},        {"POS", 2, pos},          {"SUB", 3, sub},   {"REVLIST", 1, revlist},
    {"ADD", 2, add_},
};

}  // namespace

std::span<const CommandRow> list_commands() { return rows; }

}  // namespace rplrun
