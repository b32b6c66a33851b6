// Strings: CHR NUM REPL. (+, SIZE, SUB, POS, HEAD and TAIL serve strings from their
// own groups; \->STR and STR\-> are with evaluation.)
#include "commands/graphics.h"
#include "commands/support.h"

namespace rplrun {

namespace {

void chr(Machine& m, const Args& a) {
  const std::int64_t code = integer_arg(a[1]);
  if (code < 0 || code > 255) fail(bad_argument_value);
  m.push(Object::string(std::string(1, static_cast<char>(code))));
}

void num(Machine& m, const Args& a) {
  const std::string& text = string_arg(a[1]);
  if (text.empty()) fail(bad_argument_value);
  m.push(integer_object(static_cast<unsigned char>(text.front())));
}

// REPL: the replacement overwrites from the position on, lengthening when it runs past
// the end.
void repl(Machine& m, const Args& a) {
  if (grob_repl(m, a)) return;
  const std::int64_t at = integer_arg(a[2]);
  const Object& target = a[3];
  const Object& replacement = a[1];
  if (target.is(Kind::string)) {
    std::string text = target.as_string();
    const std::string& with = string_arg(replacement);
    if (at < 1 || static_cast<std::uint64_t>(at) > text.size() + 1) fail(bad_argument_value);
    const auto start = static_cast<std::size_t>(at - 1);
    if (text.size() < start + with.size()) text.resize(start + with.size());
    text.replace(start, with.size(), with);
    m.push(Object::string(std::move(text)));
  } else if (target.is(Kind::list)) {
    std::vector<Object> items = copy_items(target.items());
    const auto& with = list_arg(replacement);
    if (at < 1 || static_cast<std::uint64_t>(at) > items.size() + 1) fail(bad_argument_value);
    const auto start = static_cast<std::size_t>(at - 1);
    if (items.size() < start + with.size()) items.resize(start + with.size());
    std::copy(with.begin(), with.end(), items.begin() + static_cast<std::ptrdiff_t>(start));
    m.push(Object::list(std::move(items)));
  } else {
    fail(bad_argument_type);
  }
}

constexpr CommandRow rows[] = {
    {"CHR", 1, chr},
    {"NUM", 1, num},
    {"REPL", 3, repl},
};

}  // namespace

std::span<const CommandRow> string_commands() { return rows; }

}  // namespace rplrun
