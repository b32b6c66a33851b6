// The commands the code itself names (the operators the algebraic reader writes, the
// commands one command applies to the elements of another...), each with an id fixed at
// compile time: the command table gives them the first ids, in this order, and is not
// built when one of these names has no row (commands/table.cpp).
#pragma once

#include <cstdint>

// X(id, name): the name with the backslash codes of the transfer format.
#define RPLRUN_NAMED_COMMANDS(X) \
  X(plus, "+")                   \
  X(minus, "-")                  \
  X(times, "*")                  \
  X(divide, "/")                 \
  X(power, "^")                  \
  X(negate, "NEG")               \
  X(invert, "INV")               \
  X(conjugate, "CONJ")           \
  X(ln, "LN")                    \
  X(exp, "EXP")                  \
  X(square_root, "\\v/")         \
  X(factorial, "!")              \
  X(equation, "=")               \
  X(where, "|")                  \
  X(equal, "==")                 \
  X(not_equal, "\\=/")           \
  X(less, "<")                   \
  X(greater, ">")                \
  X(less_equal, "\\<=")          \
  X(greater_equal, "\\>=")       \
  X(and_, "AND")                 \
  X(or_, "OR")                   \
  X(xor_, "XOR")                 \
  X(not_, "NOT")                 \
  X(mod, "MOD")                  \
  X(ifte, "IFTE")                \
  X(pi, "\\pi")                  \
  X(e, "e")                      \
  X(i, "i")                      \
  X(maxr, "MAXR")                \
  X(minr, "MINR")                \
  X(cont, "CONT")                \
  X(function, "FUNCTION")        \
  X(linfit, "LINFIT")            \
  X(logfit, "LOGFIT")            \
  X(expfit, "EXPFIT")            \
  X(pwrfit, "PWRFIT")            \
  X(pict, "PICT")                \
  X(derivative, "\\.d")          \
  X(integral, "\\.S")            \
  X(summation, "\\GS")           \
  X(sq, "SQ")                    \
  X(abs, "ABS")                  \
  X(sign, "SIGN")                \
  X(expm, "EXPM")                \
  X(lnp1, "LNP1")                \
  X(log, "LOG")                  \
  X(alog, "ALOG")                \
  X(sin, "SIN")                  \
  X(cos, "COS")                  \
  X(tan, "TAN")                  \
  X(asin, "ASIN")                \
  X(acos, "ACOS")                \
  X(atan, "ATAN")                \
  X(sinh, "SINH")                \
  X(cosh, "COSH")                \
  X(tanh, "TANH")                \
  X(asinh, "ASINH")              \
  X(acosh, "ACOSH")              \
  X(atanh, "ATANH")              \
  X(match_up, "\\|^MATCH")       \
  X(match_down, "\\|vMATCH")     \
  X(home, "HOME")                \
  X(noval, "NOVAL")              \
  X(mroot, "MROOT")              \
  X(root, "ROOT")                \
  X(rkf, "RKF")                  \
  X(rkfstep, "RKFSTEP")          \
  X(rkferr, "RKFERR")            \
  X(rrk, "RRK")                  \
  X(rrkstep, "RRKSTEP")          \
  X(rsberr, "RSBERR")

namespace rplrun::cmd {

// cmd::plus is the id of +, usable wherever a command id is.
enum : std::uint32_t {
#define RPLRUN_COMMAND_ID(id, name) id,
  RPLRUN_NAMED_COMMANDS(RPLRUN_COMMAND_ID)
#undef RPLRUN_COMMAND_ID
      named_count  // not a command: how many are named
};

// The names, by id.
inline constexpr const char* names[named_count] = {
#define RPLRUN_COMMAND_NAME(id, name) name,
    RPLRUN_NAMED_COMMANDS(RPLRUN_COMMAND_NAME)
#undef RPLRUN_COMMAND_NAME
};

}  // namespace rplrun::cmd
