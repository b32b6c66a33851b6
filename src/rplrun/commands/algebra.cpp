// Algebraics built and taken apart: DEFINE (variables and user functions), EQ\->,
// QUOTE, APPLY, | (where), \->Q and \->Q\pi.
#include "commands/support.h"
#include "numbers/fraction.h"
#include "objects/algebraic.h"
#include "objects/control.h"
#include "objects/symbolic.h"

namespace rplrun {

namespace {

bool is_equation(const Object& x) {
  return x.is(Kind::algebraic) && x.items().back().is(Kind::command) &&
         x.items().back().command_id() == cmd::equation;
}

// A number, a name or an algebraic: what can stand inside an algebraic.
const Object& operand_arg(const Object& x) {
  if (!x.is_number() && !x.is_symbolic()) fail(bad_argument_type);
  return x;
}

// 'name=expr' stores expr in name; 'name(a,b)=expr' stores the user function
// \<< \-> a b 'expr' \>>, in which a and b are its locals.
void define(Machine& m, const Args& a) {
  if (!is_equation(a[1])) fail(bad_argument_type);
  const auto sides = last_operands(a[1].items());
  const std::vector<Object>& left = sides[0];
  if (left.size() == 1 && left[0].is(Kind::name)) {
    m.store(left[0], object_of(sides[1]));
    return;
  }
  const Object& head = left.back();
  if (!head.is(Kind::call) || find_command(head.symbol())) fail(bad_argument_type);
  std::vector<const Symbol*> parameters;
  for (const auto& parameter : last_operands(left)) {
    if (parameter.size() != 1 || !parameter[0].is(Kind::name)) fail(bad_argument_type);
    parameters.push_back(parameter[0].symbol());
  }
  auto is_parameter = [&](const Symbol* s) {
    return std::find(parameters.begin(), parameters.end(), s) != parameters.end();
  };
  std::vector<Object> body = rewrite(sides[1], [&](const Object& item, std::vector<Object>& out) {
    if (item.is(Kind::name) && is_parameter(item.symbol())) {
      out.push_back(Object::name(item.symbol(), true, item.is_quoted()));
      return true;
    }
    if (item.is(Kind::call) && is_parameter(item.symbol())) {
      out.push_back(Object::call(item.symbol(), item.call_argc(), true));
      return true;
    }
    return false;
  });
  std::vector<Object> items{Object::command(word_id(Word::arrow_))};
  for (const Symbol* s : parameters) items.push_back(Object::name(s, true));
  items.push_back(Object::algebraic(std::move(body)));
  std::vector<Control> control(items.size());
  control[0] = {static_cast<std::uint32_t>(parameters.size()), ControlOp::bind};
  m.store(Object::name(head.symbol(), head.is_local()),
          make_program(std::move(items), {}, std::move(control)));
}

// EQ\->: the two sides of an equation; anything else that can stand in one, and 0.
void eq_to(Machine& m, const Args& a) {
  const Object& x = operand_arg(a[1]);
  if (is_equation(x)) {
    const auto sides = last_operands(x.items());
    m.push(object_of(sides[0]));
    m.push(object_of(sides[1]));
    return;
  }
  m.push(x);
  m.push(integer_object(0));
}

// QUOTE gives its argument back; inside an algebraic the argument stays unevaluated.
void quote(Machine& m, const Args& a) {
  const Object& x = a[1];
  m.push(x.is(Kind::algebraic) && x.items().size() == 1 ? object_of(copy_items(x.items())) : x);
}

// APPLY: { args } 'F' gives 'F(args)'.
void apply(Machine& m, const Args& a) {
  const Object& name = name_arg(a[1]);
  const auto& args = list_arg(a[2]);
  if (args.empty()) fail(bad_argument_value);
  std::vector<Object> postfix;
  for (const Object& arg : args) append_operand(postfix, operand_arg(arg));
  postfix.push_back(
      Object::call(name.symbol(), static_cast<std::uint32_t>(args.size()), name.is_local()));
  m.push(Object::algebraic(std::move(postfix)));
}

// Whether an algebraic holds no name: numbers and functions of them only (the quoted
// variable of a derivative is no value to put in).
bool only_numbers(std::span<const Object> postfix) {
  return std::all_of(postfix.begin(), postfix.end(), [](const Object& item) {
    return item.is_number() || item.is(Kind::command) || item.is_quoted();
  });
}

// |: expr { name1 value1 ... } puts each value in place of its name. When no name is
// left the result is computed ('X+1' { X 2 } | is 3); otherwise it is not evaluated,
// except numerically (\->NUM).
void where(Machine& m, const Args& a) {
  const auto& bindings = list_arg(a[1]);
  if (bindings.size() % 2 != 0) fail(bad_argument_value);
  for (std::size_t k = 0; k < bindings.size(); k += 2) {
    if (!bindings[k].is(Kind::name)) fail(bad_argument_type);
    operand_arg(bindings[k + 1]);
  }
  const Object& x = operand_arg(a[2]);
  // A quoted name is the variable of a derivative, integral or sum: it stays.
  Object result = rewrite_object(x, [&](const Object& item, std::vector<Object>& out) {
    if (!item.is(Kind::name) || item.is_quoted()) return false;
    for (std::size_t k = 0; k < bindings.size(); k += 2) {
      if (bindings[k].symbol() == item.symbol()) {
        append_operand(out, bindings[k + 1]);
        return true;
      }
    }
    return false;
  });
  if (m.numeric())
    m.evaluate_numerically(result);
  else if (result.is(Kind::algebraic) && only_numbers(result.items()))
    m.evaluate(result);
  else
    m.push(std::move(result));
}

// The postfix items of a real as a fraction n/d, or as n*\pi/d.
void append_fraction(std::vector<Object>& out, const Fraction& q, bool times_pi) {
  const Object n = Object::real(q.numerator);
  const Object d = Object::real(q.denominator);
  const bool unit_numerator = abs(q.numerator) == Real::from_int64(1);
  const bool unit_denominator = q.denominator == Real::from_int64(1);
  if (!times_pi) {
    out.push_back(n);
    if (unit_denominator) return;
    out.push_back(d);
    out.push_back(Object::command(cmd::divide));
    return;
  }
  out.push_back(Object::command(cmd::pi));
  if (!unit_numerator) {
    out.insert(out.end() - 1, n);
    out.push_back(Object::command(cmd::times));
  } else if (q.numerator.is_negative()) {
    out.push_back(Object::command(cmd::negate));
  }
  if (unit_denominator) return;
  out.push_back(d);
  out.push_back(Object::command(cmd::divide));
}

// \->Q and \->Q\pi: every real, alone or inside an algebraic, as a fraction; with \pi,
// as a multiple of \pi instead when that needs a smaller denominator.
void to_fractions(Machine& m, const Object& x, bool with_pi) {
  const DisplayMode mode = m.flags.display_mode();
  auto replace = [&](const Object& item, std::vector<Object>& out) {
    if (item.is(Kind::complex)) m.not_supported();
    if (!item.is(Kind::real) || item.as_real().is_integer()) return false;
    const Real value = item.as_real();
    const Fraction q = to_fraction(value, mode);
    if (with_pi) {
      const Fraction p = to_fraction(divide_by_pi(value), mode);
      if (!p.numerator.is_zero() && p.denominator < q.denominator) {
        append_fraction(out, p, true);
        return true;
      }
    }
    append_fraction(out, q, false);
    return true;
  };
  if (x.is(Kind::complex)) m.not_supported();
  if (!x.is(Kind::real) && !x.is_symbolic()) fail(bad_argument_type);
  m.push(rewrite_object(x, replace));
}

void to_q(Machine& m, const Args& a) { to_fractions(m, a[1], false); }
void to_q_pi(Machine& m, const Args& a) { to_fractions(m, a[1], true); }

constexpr CommandRow rows[] = {
    {"DEFINE", 1, define},
    {"EQ\\->", 1, eq_to},
    {"QUOTE", 1, quote, {.notation = Notation::function, .arity = 1, .quoted_args = true}},
    {"APPLY", 2, apply, {.notation = Notation::kept}},
    {"|", 2, where, {Notation::infix, prec_where, 2}},
    {"\\->Q", 1, to_q},
    {"\\->Q\\pi", 1, to_q_pi},
};

}  // namespace

std::span<const CommandRow> algebra_commands() { return rows; }

}  // namespace rplrun
