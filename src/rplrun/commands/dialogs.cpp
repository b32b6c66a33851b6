// The calculator's dialogs: INPUT (with its forms), CHOOSE, INFORM and NOVAL. Their
// answers come from the --input lines, or from the terminal in interactive mode (see
// answers.h); with neither, the command halts with its arguments back on the stack.
#include <algorithm>

#include "commands/answers.h"
#include "commands/support.h"
#include "objects/display.h"
#include "support/blanks.h"

namespace rplrun {

namespace {

// The text a dialog shows for an object: a string's characters, any other object as
// a list shows it (a name bare).
std::string text_of(Machine& m, const Object& x) {
  return x.is(Kind::string) ? x.as_string() : decompile(x, m.flags, false);
}

[[noreturn]] void halt_with(Machine& m, const Args& a) {
  for (int level = a.count(); level >= 1; --level) m.push(a[level]);
  m.halt();
}

const std::string cancel_word = "CANCEL";

Object noval_object() { return Object::command(cmd::noval); }

bool is_noval(const Object& x) { return x.is(Kind::command) && x.command_id() == cmd::noval; }

// ---- INPUT

// INPUT's second argument as a list: the command line's text, the cursor (a position,
// or { row column }), and the entry modes ALG, \Ga and V (the line must read as RPL).
bool verifies(const Object& setup) {
  if (setup.is(Kind::string)) return false;
  if (!setup.is(Kind::list)) fail(bad_argument_type);
  bool verify = false;
  for (const Object& item : setup.items()) {
    switch (item.kind()) {
      case Kind::string:
      case Kind::real: break;
      case Kind::list:
        if (item.items().size() != 2 || !item.items()[0].is(Kind::real) ||
            !item.items()[1].is(Kind::real))
          fail(bad_argument_value);
        break;
      case Kind::name: {
        const std::string& mode = item.symbol()->text();
        if (mode == "V")
          verify = true;
        else if (mode != "ALG" && mode != "\x8c")
          fail(bad_argument_value);
        break;
      }
      default: fail(bad_argument_type);
    }
  }
  return verify;
}

// INPUT: the line typed, as a string. Without one the run ends: halted, or interrupted
// at the terminal (where the calculator's ATTN cancels the program).
void input(Machine& m, const Args& a) {
  const std::string& prompt = string_arg(a[2]);
  const bool verify = verifies(a[1]);
  std::string line;
  const Asked asked = ask(m, {}, prompt, [&](const std::string& text) -> std::string {
    if (verify && !read_answer(m, text)) return "Invalid Syntax";
    line = text;
    return {};
  });
  if (asked == Asked::missing) halt_with(m, a);
  if (asked != Asked::answered) m.stop(Outcome::Status::interrupted);
  m.push(Object::string(std::move(line)));
}

// ---- CHOOSE

// An item shows its first element and gives its second when it is a list of two;
// any other object shows and gives itself.
const Object& shown_item(const Object& item) {
  return item.is(Kind::list) && item.items().size() == 2 ? item.items()[0] : item;
}
const Object& chosen_item(const Object& item) {
  return item.is(Kind::list) && item.items().size() == 2 ? item.items()[1] : item;
}

// CHOOSE: the item chosen and 1, or 0 when cancelled. An answer is an item's number, 0
// to cancel, or an empty line for the item highlighted. Highlighting none (0) makes a
// box to look at only: any answer gives 0.
void choose(Machine& m, const Args& a) {
  const std::string& title = string_arg(a[3]);
  const std::span<const Object> items = list_arg(a[2]);
  const std::int64_t highlighted = integer_arg(a[1]);
  if (items.empty() || highlighted < 0 || highlighted > static_cast<std::int64_t>(items.size()))
    fail(bad_argument_value);
  std::vector<std::string> question;
  if (!title.empty()) question.push_back(title);
  for (std::size_t k = 0; k < items.size(); ++k) {
    const bool lit = static_cast<std::int64_t>(k + 1) == highlighted;
    question.push_back((lit ? "> " : "  ") + std::to_string(k + 1) + ". " +
                       text_of(m, shown_item(items[k])));
  }
  const std::string range = "a number from 0 to " + std::to_string(items.size());
  std::int64_t choice = 0;
  const Asked asked = ask(m, question, "Choice (" + range + ")?", [&](const std::string& text) {
    const std::string answer(rpl::without_blanks_around(text));
    if (answer.empty()) {
      choice = highlighted;
      return std::string();
    }
    if (answer.size() > 9 || answer.find_first_not_of("0123456789") != std::string::npos ||
        std::stoll(answer) > static_cast<std::int64_t>(items.size()))
      return "expected " + range + ", or an empty line";
    choice = std::stoll(answer);
    return std::string();
  });
  if (asked == Asked::missing) halt_with(m, a);
  if (asked == Asked::interrupted) m.stop(Outcome::Status::interrupted);
  if (asked == Asked::cancelled || choice == 0 || highlighted == 0) {
    m.push(integer_object(0));
    return;
  }
  m.push(chosen_item(items[static_cast<std::size_t>(choice - 1)]));
  m.push(integer_object(1));
}

// ---- INFORM

struct Field {
  std::string label;
  std::string help;
  std::vector<int> types;  // TYPE numbers taken; none: any object
  bool takes(const Object& x) const {
    return types.empty() || is_noval(x) ||
           std::find(types.begin(), types.end(), type_number(x)) != types.end();
  }
};

// The fields: a label, or { label help type ... }; { } leaves an empty place in the
// form and is no field.
std::vector<Field> fields_of(std::span<const Object> items) {
  std::vector<Field> fields;
  for (const Object& item : items) {
    if (item.is(Kind::string)) {
      fields.push_back({item.as_string(), {}, {}});
      continue;
    }
    const std::span<const Object> parts = list_arg(item);
    if (parts.empty()) continue;
    Field field{string_arg(parts[0]), parts.size() > 1 ? string_arg(parts[1]) : "", {}};
    for (std::size_t k = 2; k < parts.size(); ++k)
      field.types.push_back(static_cast<int>(integer_arg(parts[k])));
    fields.push_back(std::move(field));
  }
  return fields;
}

// The format: columns, or { columns tab-width }, or { }.
void check_format(const Object& format) {
  const std::span<const Object> parts =
      format.is(Kind::real) ? std::span<const Object>(&format, 1) : list_arg(format);
  if (parts.size() > 2) fail(bad_argument_value);
  for (const Object& part : parts) {
    if (integer_arg(part) < 1) fail(bad_argument_value);
  }
}

// Reset or initial values: none, or one per field, each NOVAL or of a type it takes.
std::vector<Object> values_for(const std::vector<Field>& fields, const Object& list) {
  const std::span<const Object> values = list_arg(list);
  if (values.empty()) return std::vector<Object>(fields.size(), noval_object());
  if (values.size() != fields.size()) fail(bad_argument_value);
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (!fields[k].takes(values[k])) fail(bad_argument_type);
  }
  return {values.begin(), values.end()};
}

std::string type_list(const std::vector<int>& types) {
  std::string text;
  for (std::size_t k = 0; k < types.size(); ++k)
    text += (k == 0 ? "" : k + 1 == types.size() ? " or " : ", ") + std::to_string(types[k]);
  return text;
}

// INFORM: the fields' values in a list and 1, or 0 when cancelled. One answer per
// field: the object typed into it, an empty line for the field as it stands (its
// initial value; NOVAL when it has none), or CANCEL.
void inform(Machine& m, const Args& a) {
  const std::string& title = string_arg(a[5]);
  const std::vector<Field> fields = fields_of(list_arg(a[4]));
  check_format(a[3]);
  values_for(fields, a[2]);
  std::vector<Object> values = values_for(fields, a[1]);
  bool cancelled = false;
  for (std::size_t k = 0; k < fields.size() && !cancelled; ++k) {
    const Field& field = fields[k];
    std::vector<std::string> question;
    if (k == 0 && !title.empty()) question.push_back(title);
    std::string prompt = field.label;
    if (!is_noval(values[k])) prompt += " [" + text_of(m, values[k]) + "]";
    if (!field.help.empty()) prompt += "  (" + field.help + ")";
    const Asked asked = ask(m, question, prompt, [&](const std::string& text) -> std::string {
      const std::string answer(rpl::without_blanks_around(text));
      if (answer.empty()) return {};
      if (answer == cancel_word) {
        cancelled = true;
        return {};
      }
      const std::optional<std::vector<Object>> objects = read_answer(m, text);
      if (!objects) return "Invalid Syntax";
      if (objects->size() != 1) return "expected one object";
      if (!field.takes(objects->front()))
        return "the field takes objects of TYPE " + type_list(field.types);
      values[k] = objects->front();
      return {};
    });
    if (asked == Asked::missing) halt_with(m, a);
    if (asked == Asked::interrupted) m.stop(Outcome::Status::interrupted);
    cancelled = cancelled || asked == Asked::cancelled;
  }
  if (cancelled) {
    m.push(integer_object(0));
    return;
  }
  m.push(Object::list(std::move(values)));
  m.push(integer_object(1));
}

// NOVAL: the value of an empty field, itself.
void noval(Machine& m, const Args&) { m.push(noval_object()); }

constexpr CommandRow rows[] = {
    {"INPUT", 2, input},
    {"CHOOSE", 3, choose},
    {"INFORM", 5, inform},
    {"NOVAL", 0, noval},
};

}  // namespace

std::span<const CommandRow> dialog_commands() { return rows; }

}  // namespace rplrun
