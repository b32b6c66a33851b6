#include "translate/expressions.h"

namespace {

// Indexed by Binary.
constexpr const char* binary_templates[] = {
    "%s %s ^",    "%s %s *",    "%s %s /",   "%s %s MOD", "%s %s +",   "%s %s -",
    "%s %s <",    "%s %s >",    "%s %s \\<=", "%s %s \\>=", "%s %s ==",  "%s %s \\=/",
    "%s %s &",    "%s %s ^",    "%s %s |",   "%s %s AND", "%s %s OR",
};

struct StoreTemplate {
  const char* tmpl;
  bool computes;  // the template starts with a copy of the target
};

// Indexed by Store.
constexpr StoreTemplate store_templates[] = {
    {"%s '%s' STO", false},         {"%s '%s' STO+", false},
    {"%s '%s' STO-", false},        {"%s '%s' STO*", false},
    {"%s '%s' STO/", false},        {"%s %s MOD '%s' STO", true},
    {"%s %s & '%s' STO", true},     {"%s %s ^ '%s' STO", true},
    {"%s %s | '%s' STO", true},
};

}  // namespace

Text* binary(Binary op, Text* left, Text* right) {
  return xstrfmt(binary_templates[static_cast<int>(op)], left, right);
}

// The target's text goes inside the quotes as it is, whatever it is.
Text* store(Store op, Text* target, Text* value) {
  const StoreTemplate& form = store_templates[static_cast<int>(op)];
  if (form.computes) return xstrfmt(form.tmpl, xstrdup(target), value, target);
  return xstrfmt(form.tmpl, value, target);
}

// Both branches are RPL code, so the conditional is an IF structure.
Text* conditional(Text* condition, Text* if_true, Text* if_false) {
  return xstrfmt("IF %s\nTHEN %s\nELSE %s\nEND\n", condition, if_true, if_false);
}

Text* negate(Text* operand) { return xstrfmt("%s NEG", operand); }
Text* logical_not(Text* operand) { return xstrfmt("%s NOT", operand); }
Text* increment(Text* target) { return xstrfmt("'%s' 1 STO+", target); }
Text* decrement(Text* target) { return xstrfmt("'%s' 1 STO-", target); }
Text* factorial(Text* operand) { return xstrfmt("%s !", operand); }

// v[i] names the element as an algebraic, 'v(i)', and evaluates it.
Text* index_expr(Text* indexed, Text* index) {
  return xstrfmt("'%s(%s)' EVAL", indexed, index);
}

// The leading blank stays in front of a call wherever it ends up.
Text* call(Text* function) { return xstrfmt(" %s", function); }

Text* call_with_arguments(Text* function, Text* arguments) {
  return xstrfmt(" %s %s", arguments, function);
}

Text* comma_join(Text* items, Text* item) { return xstrfmt("%s,%s", items, item); }
Text* vector_literal(Text* items) { return xstrfmt("[%s]", items); }
Text* list_literal(Text* items) { return xstrfmt("{%s}", items); }
Text* empty_list() { return xstrdup(std::string_view{"{}"}); }

Text* complex_literal(Text* real, Text* imaginary) {
  return xstrfmt("(%s,%s)", real, imaginary);
}
