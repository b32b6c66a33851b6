#include "machine/apply_command.h"

#include <initializer_list>
#include <vector>

#include "objects/command_registry.h"
#include "objects/errors.h"

namespace rplrun {

namespace {
Object apply(Machine& m, std::uint32_t id, std::initializer_list<const Object*> operands) {
  std::vector<Object> saved = m.last_arguments();
  const std::size_t base = m.depth();
  for (const Object* operand : operands) m.push(*operand);
  try {
    m.run_command(id);
  } catch (RplError& error) {
    m.stack().resize(base);
    m.set_last_arguments(std::move(saved));
    error.command.reset();
    throw;
  }
  m.set_last_arguments(std::move(saved));
  Object result = m.pop();
  m.stack().resize(base);
  return result;
}
}  // namespace

Object apply_command(Machine& m, std::uint32_t id, const Object& x) { return apply(m, id, {&x}); }

Object apply_command(Machine& m, std::uint32_t id, const Object& x, const Object& y) {
  return apply(m, id, {&x, &y});
}

}  // namespace rplrun
