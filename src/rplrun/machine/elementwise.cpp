#include "machine/elementwise.h"

#include <vector>

#include "machine/apply_command.h"
#include "objects/errors.h"

namespace rplrun {

Object apply_to_elements(Machine& m, std::uint32_t command, const Object* args, int count) {
  std::size_t size = 0;
  bool sized = false;
  for (int k = 0; k < count; ++k) {
    if (!args[k].is(Kind::list)) continue;
    const std::size_t n = args[k].items().size();
    if (sized && n != size) fail(invalid_dimension);
    size = n;
    sized = true;
  }
  auto operand = [&](int k, std::size_t i) -> const Object& {
    return args[k].is(Kind::list) ? args[k].items()[i] : args[k];
  };
  std::vector<Object> results;
  results.reserve(size);
  for (std::size_t i = 0; i < size; ++i) {
    results.push_back(count == 1 ? apply_command(m, command, operand(0, i))
                                 : apply_command(m, command, operand(0, i), operand(1, i)));
  }
  return Object::list(std::move(results));
}

}  // namespace rplrun
