// Evaluation and types: EVAL \->NUM \->STR STR\-> TYPE VTYPE OBJ\-> \->TAG DTAG, and
// the equation sign.
#include "commands/support.h"
#include "objects/algebraic.h"
#include "objects/array.h"
#include "objects/display.h"
#include "objects/reader.h"
#include "objects/symbolic.h"

namespace rplrun {

namespace {

void eval(Machine& m, const Args& a) { m.evaluate(a[1]); }

void to_num(Machine& m, const Args& a) { m.evaluate_numerically(a[1]); }

void to_str(Machine& m, const Args& a) {
  const Object& x = a[1];
  if (x.is(Kind::string)) {
    m.push(x);
    return;
  }
  m.push(Object::string(decompile(x, m.flags, !x.is(Kind::tagged))));
}

// The text of a string read and run as a command line.
void run_text(Machine& m, const std::string& hp_text) {
  static const std::uint32_t source = register_source("STR\\->");
  SourceText text(source, hp_text);
  text.fraction_mark = m.flags.fraction_mark();
  try {
    m.call(read_program_body(text, ReadContext{m.flags.angle_mode(), m.flags.binary_base()}));
  } catch (const SyntaxError& error) {
    fail(error.error != 0 ? error.error : invalid_syntax);
  }
}

void str_to(Machine& m, const Args& a) { run_text(m, string_arg(a[1])); }

void type(Machine& m, const Args& a) { m.push(integer_object(type_number(a[1]))); }

void vtype(Machine& m, const Args& a) {
  const Object& name = name_arg(a[1]);
  const Object* value = name.is_local() ? m.local(name.symbol()) : m.global(name.symbol());
  m.push(integer_object(value ? type_number(*value) : -1));
}

void obj_to(Machine& m, const Args& a) {
  const Object& x = a[1];
  switch (x.kind()) {
    case Kind::complex:
      m.push(Object::real(x.as_complex().re));
      m.push(Object::real(x.as_complex().im));
      return;
    case Kind::list:
      for (const Object& item : x.items()) m.push(item);
      m.push(integer_object(static_cast<std::int64_t>(x.items().size())));
      return;
    case Kind::string: run_text(m, x.as_string()); return;
    case Kind::tagged:
      m.push(x.tagged_value());
      m.push(Object::string(x.tag()));
      return;
    case Kind::algebraic: {
      // The arguments of the function applied last, their count, and the function (a
      // user function by its name). A name among them is the name object itself, as
      // 'A' 1 \->LIST would hold it.
      const auto operands = last_operands(x.items());
      for (const auto& operand : operands) {
        Object part = object_of(operand);
        m.push(part.is(Kind::name) ? part.unquoted() : std::move(part));
      }
      m.push(integer_object(static_cast<std::int64_t>(operands.size())));
      const Object& function = x.items().back();
      m.push(function.is(Kind::call) ? Object::name(function.symbol(), function.is_local())
                                     : function);
      return;
    }
    case Kind::array: {
      const ArrayNode& array = x.node_as<ArrayNode>();
      for (const Object& e : array.elements) m.push(e);
      std::vector<Object> size{integer_object(array.is_matrix ? array.rows : array.columns)};
      if (array.is_matrix) size.push_back(integer_object(array.columns));
      m.push(Object::list(std::move(size)));
      return;
    }
    default: fail(bad_argument_type);
  }
}

void to_tag(Machine& m, const Args& a) {
  const Object& tag = a[1];
  std::string text;
  if (tag.is(Kind::string))
    text = tag.as_string();
  else if (tag.is(Kind::name))
    text = tag.symbol()->text();
  else
    text = decompile(tag, m.flags);
  m.push(Object::tagged(std::move(text), a[2]));
}

void dtag(Machine& m, const Args& a) { m.push(a[1].is(Kind::tagged) ? a[1].tagged_value() : a[1]); }

void equation(Machine& m, const Args& a) {
  m.push(build_algebraic(&a[2], 2, Object::command(cmd::equation)));
}

constexpr CommandRow rows[] = {
    {"EVAL", 1, eval},      {"\\->NUM", 1, to_num},
    {"\\->STR", 1, to_str}, {"STR\\->", 1, str_to},
    {"TYPE", 1, type},      {"VTYPE", 1, vtype},
    {"OBJ\\->", 1, obj_to}, {"\\->TAG", 2, to_tag},
    {"DTAG", 1, dtag},      {"=", 2, equation, {Notation::infix, prec_equation, 2}, true},
};

}  // namespace

std::span<const CommandRow> evaluation_commands() { return rows; }

}  // namespace rplrun
