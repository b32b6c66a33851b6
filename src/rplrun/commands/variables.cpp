// Variables of the current directory: STO and RCL with their family, PURGE, CLVAR, VARS.
#include "commands/graphics.h"
#include "commands/support.h"
#include "objects/directory.h"
#include "objects/elements.h"
#include "objects/grob.h"

namespace rplrun {

namespace {

// The value of an index written inside 'v(i)': a number, or a name holding one.
Object index_value(Machine& m, const Object& item) {
  if (item.is(Kind::real)) return item;
  if (item.is(Kind::name)) {
    const Object* value = m.lookup(item);
    if (!value) fail(undefined_name);
    if (value->is(Kind::real)) return *value;
  }
  fail(bad_argument_type);
}

// 'v(i) STO' or 'm(i,j)' STO: the element of the variable's list or array replaced, in
// place when nothing else holds it (what rplgen writes for v[i] = x).
void store_element(Machine& m, const Object& algebraic, const Object& value) {
  const auto items = algebraic.items();
  const Object& call = items.back();
  if (!call.is(Kind::call) || items.size() != call.call_argc() + 1) fail(bad_argument_type);
  std::vector<Object> indices;
  for (std::size_t k = 0; k + 1 < items.size(); ++k) indices.push_back(index_value(m, items[k]));
  Object* container = m.variable(Object::name(call.symbol(), call.is_local()));
  if (!container) fail(undefined_name);
  const std::size_t offset = element_offset(*container, indices.data(), indices.size());
  put_element(*container, offset, value);
}

void sto(Machine& m, const Args& a) {
  const Object& target = a[1];
  if (target.is(Kind::name)) {
    m.store(target, a[2]);
  } else if (target.is(Kind::algebraic)) {
    store_element(m, target, a[2]);
  } else if (is_pict(target)) {
    if (!a[2].is(Kind::grob)) fail(bad_argument_type);
    m.screen.replace_pict(grob_of(a[2]));
  } else {
    fail(bad_argument_type);
  }
}

const Object& variable_value(Machine& m, const Object& name) {
  const Object* value = m.lookup(name_arg(name));
  if (!value) fail(undefined_name);
  return *value;
}

void rcl(Machine& m, const Args& a) {
  if (is_pict(a[1])) return m.push(make_grob(m.screen.pict()));
  m.push(detached(variable_value(m, a[1])));
}

// STO+ and the others: either order, level 2 op level 1 with the variable's value in
// place of its name.
void store_arithmetic(Machine& m, const Args& a, std::uint32_t op) {
  const bool name_first = !a[1].is(Kind::name);
  const Object& name = name_first ? a[2] : a[1];
  const Object& value = variable_value(m, name);
  const Object result =
      name_first ? apply_command(m, op, value, a[1]) : apply_command(m, op, a[2], value);
  m.store(name, result);
}

void sto_plus(Machine& m, const Args& a) { store_arithmetic(m, a, cmd::plus); }
void sto_minus(Machine& m, const Args& a) { store_arithmetic(m, a, cmd::minus); }
void sto_times(Machine& m, const Args& a) { store_arithmetic(m, a, cmd::times); }
void sto_divide(Machine& m, const Args& a) { store_arithmetic(m, a, cmd::divide); }

void step_variable(Machine& m, const Args& a, std::int64_t by) {
  const Object& value = variable_value(m, a[1]);
  if (!value.is(Kind::real)) fail(bad_argument_type);
  const Object result = settled(m, add(value.as_real(), Real::from_int64(by)));
  m.store(a[1], result);
  m.push(result);
}

void incr(Machine& m, const Args& a) { step_variable(m, a, 1); }
void decr(Machine& m, const Args& a) { step_variable(m, a, -1); }

void store_function(Machine& m, const Args& a, std::uint32_t op) {
  const Object& value = variable_value(m, a[1]);
  m.store(a[1], apply_command(m, op, value));
}

void sneg(Machine& m, const Args& a) { store_function(m, a, cmd::negate); }
void sinv(Machine& m, const Args& a) { store_function(m, a, cmd::invert); }
void sconj(Machine& m, const Args& a) { store_function(m, a, cmd::conjugate); }

// PURGE of a list checks every name first: an error purges none of them.
void purge(Machine& m, const Args& a) {
  if (is_pict(a[1])) return m.screen.clear_pict();
  const std::span<const Object> names = a[1].is(Kind::list) ? a[1].items() : std::span(&a[1], 1);
  for (const Object& name : names) {
    if (!name.is(Kind::name) || name.is_local()) fail(bad_argument_type);
    const Variable* variable = m.current_directory().find(name.symbol());
    if (variable && variable->value.is(Kind::directory) && !is_empty_directory(variable->value))
      fail(non_empty_directory);
  }
  for (const Object& name : names) m.purge_global(name.symbol());
}

void clvar(Machine& m, const Args&) { m.clear_globals(); }

void vars(Machine& m, const Args&) {
  std::vector<Object> names;
  for (const Symbol* symbol : m.global_names()) names.push_back(Object::name(symbol));
  m.push(Object::list(std::move(names)));
}

constexpr CommandRow rows[] = {
    {"STO", 2, sto},        {"RCL", 1, rcl},         {"STO+", 2, sto_plus}, {"STO-", 2, sto_minus},
    {"STO*", 2, sto_times}, {"STO/", 2, sto_divide}, {"INCR", 1, incr},     {"DECR", 1, decr},
    {"SNEG", 1, sneg},      {"SINV", 1, sinv},       {"SCONJ", 1, sconj},   {"PURGE", 1, purge},
    {"CLVAR", 0, clvar},    {"VARS", 0, vars},
};

}  // namespace

std::span<const CommandRow> variable_commands() { return rows; }

}  // namespace rplrun
