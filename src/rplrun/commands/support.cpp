#include "rplrun/commands/support.h"

namespace rplrun {

namespace {
Object apply(Machine& m, std::string_view ascii_name,
             std::initializer_list<const Object*> operands) {
  const std::vector<Object> saved = m.last_args;
  const std::size_t base = m.depth();
  for (const Object* operand : operands) m.push(*operand);
  try {
    m.run_command(command_id(ascii_name));
  } catch (RplError& error) {
    m.stack().resize(base);
    m.last_args = saved;
    error.command.reset();
    throw;
  }
  m.last_args = saved;
  Object result = m.pop();
  m.stack().resize(base);
  return result;
}
}  // namespace

Object apply_command(Machine& m, std::string_view ascii_name, const Object& x) {
  return apply(m, ascii_name, {&x});
}

Object apply_command(Machine& m, std::string_view ascii_name, const Object& x, const Object& y) {
  return apply(m, ascii_name, {&x, &y});
}

}  // namespace rplrun
