// Stack commands.
#include "commands/support.h"

namespace rplrun {

namespace {

void dup(Machine& m, const Args& a) {
  m.push(a[1]);
  m.push(a[1]);
}

void dup2(Machine& m, const Args& a) {
  for (int round = 0; round < 2; ++round) {
    m.push(a[2]);
    m.push(a[1]);
  }
}

void dupn(Machine& m, const Args& a) {
  const std::size_t n = count_arg(a[1]);
  m.require(n);
  auto& s = m.stack();
  const std::size_t base = s.size() - n;
  for (std::size_t k = 0; k < n; ++k) m.push(s[base + k]);
}

void drop(Machine&, const Args&) {}

void dropn(Machine& m, const Args& a) {
  const std::size_t n = count_arg(a[1]);
  m.require(n);
  m.stack().resize(m.depth() - n);
}

void swap(Machine& m, const Args& a) {
  m.push(a[1]);
  m.push(a[2]);
}

void over(Machine& m, const Args& a) {
  m.push(a[2]);
  m.push(a[1]);
  m.push(a[2]);
}

void rot(Machine& m, const Args& a) {
  m.push(a[2]);
  m.push(a[1]);
  m.push(a[3]);
}

void pick(Machine& m, const Args& a) {
  const std::size_t n = count_arg(a[1]);
  if (n == 0) fail(bad_argument_value);
  m.require(n);
  m.push(m.level(n));
}

// ROLL n: level n to level 1; ROLLD n: level 1 to level n.
void roll(Machine& m, const Args& a) {
  const std::size_t n = count_arg(a[1]);
  m.require(n);
  if (n < 2) return;
  auto& s = m.stack();
  std::rotate(s.end() - static_cast<std::ptrdiff_t>(n),
              s.end() - static_cast<std::ptrdiff_t>(n) + 1, s.end());
}

void rolld(Machine& m, const Args& a) {
  const std::size_t n = count_arg(a[1]);
  m.require(n);
  if (n < 2) return;
  auto& s = m.stack();
  std::rotate(s.end() - static_cast<std::ptrdiff_t>(n), s.end() - 1, s.end());
}

void depth(Machine& m, const Args&) { m.push(Object::real(Real::from_uint64(m.depth()))); }

void clear(Machine& m, const Args&) { m.stack().clear(); }

void lastarg(Machine& m, const Args&) {
  const std::vector<Object> args = m.last_arguments();
  for (const Object& arg : args) m.push(arg);
}

constexpr CommandRow rows[] = {
    {"DUP", 1, dup},     {"DUP2", 2, dup2},   {"DUPN", 1, dupn},       {"DROP", 1, drop},
    {"DROP2", 2, drop},  {"DROPN", 1, dropn}, {"SWAP", 2, swap},       {"OVER", 2, over},
    {"ROT", 3, rot},     {"PICK", 1, pick},   {"ROLL", 1, roll},       {"ROLLD", 1, rolld},
    {"DEPTH", 0, depth}, {"CLEAR", 0, clear}, {"LASTARG", 0, lastarg},
};

}  // namespace

std::span<const CommandRow> stack_commands() { return rows; }

}  // namespace rplrun
