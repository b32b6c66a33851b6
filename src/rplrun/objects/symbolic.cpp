#include "objects/symbolic.h"

#include "objects/command_registry.h"

namespace rplrun {

std::size_t operand_count(const Object& item) {
  switch (item.kind()) {
    case Kind::call: return item.call_argc();
    case Kind::command: {
      const Algebra& a = command_info(item.command_id()).algebra;
      switch (a.notation) {
        case Notation::infix: return 2;
        case Notation::prefix:
        case Notation::postfix: return 1;
        case Notation::function: return a.arity;
        case Notation::none:
        case Notation::kept: return 0;
      }
      return 0;
    }
    default: return 0;
  }
}

std::vector<std::vector<Object>> last_operands(std::span<const Object> postfix) {
  if (postfix.empty()) return {};
  const std::size_t count = operand_count(postfix.back());
  std::vector<std::vector<Object>> operands(count);
  std::size_t end = postfix.size() - 1;
  for (std::size_t k = count; k-- > 0;) {
    // Walk back until the items seen make exactly one value.
    std::size_t start = end;
    std::size_t needed = 1;
    while (needed > 0 && start > 0) {
      --start;
      needed = needed - 1 + operand_count(postfix[start]);
    }
    operands[k].assign(postfix.begin() + static_cast<std::ptrdiff_t>(start),
                       postfix.begin() + static_cast<std::ptrdiff_t>(end));
    end = start;
  }
  return operands;
}

Object object_of(std::vector<Object> postfix) {
  if (postfix.size() == 1) {
    const Object& only = postfix.front();
    if (only.is_number() || only.is(Kind::unit) || only.is(Kind::list)) return only;
    if (only.is(Kind::name)) return only.quoted();
    if (only.is(Kind::algebraic)) return object_of(copy_items(only.items()));
  }
  return Object::algebraic(std::move(postfix));
}

Object kept_item(const Object& operand) {
  if (operand.is(Kind::name)) return operand.quoted();
  return operand;
}

std::vector<Object> rewrite(std::span<const Object> postfix, const Replacer& replace) {
  std::vector<Object> out;
  out.reserve(postfix.size());
  for (const Object& item : postfix) {
    switch (item.kind()) {
      case Kind::algebraic: out.push_back(Object::algebraic(rewrite(item.items(), replace))); break;
      case Kind::list: {
        // The bindings of |: names, then values.
        std::vector<Object> bindings = copy_items(item.items());
        for (std::size_t k = 1; k < bindings.size(); k += 2)
          bindings[k] = rewrite_object(bindings[k], replace);
        out.push_back(Object::list(std::move(bindings)));
        break;
      }
      default:
        if (!replace(item, out)) out.push_back(item);
        break;
    }
  }
  return out;
}

Object rewrite_object(const Object& object, const Replacer& replace) {
  if (object.is(Kind::algebraic)) return object_of(rewrite(object.items(), replace));
  if (object.is(Kind::name) || object.is_number()) {
    std::vector<Object> out;
    if (!replace(object.unquoted(), out)) return object;
    return object_of(std::move(out));
  }
  return object;
}

}  // namespace rplrun
