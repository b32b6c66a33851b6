// Algebraics read in infix and printed back with only the parentheses needed.
#include <gtest/gtest.h>

#include "objects/algebraic.h"
#include "objects/charset.h"

namespace rplrun {
namespace {

struct NoLocals : AlgebraicScope {
  bool is_local(const Symbol*) const override { return false; }
};

// The infix text read and printed again, or "error at N" (offset in the text).
std::string reprint(const std::string& ascii) {
  const std::string text = rpl::decode_backslash_codes(ascii);
  std::vector<Object> postfix;
  std::size_t error_at = 0;
  if (!read_infix(text, '.', NoLocals(), postfix, error_at))
    return "error at " + std::to_string(error_at);
  TextSink out(max_object_bytes);
  append_infix(out, postfix, DisplayMode{});
  return encode(out.text(), OutputCharset::ascii);
}

struct Case {
  const char* infix;
  const char* printed;
};

const Case cases[] = {
    {"X^2+1", "X^2+1"},
    {" A + B * C ", "A+B*C"},
    {"(A+B)*C", "(A+B)*C"},
    {"A-(B-C)", "A-(B-C)"},
    {"(A-B)-C", "A-B-C"},
    {"A/(B*C)", "A/(B*C)"},
    {"A^B^C", "A^B^C"},
    {"A^(B^C)", "A^(B^C)"},
    {"-X^2", "-X^2"},
    {"(-X)^2", "(-X)^2"},
    {"-(A+B)", "-(A+B)"},
    {"-(-A)", "-(-A)"},
    {"A*-B", "A*-B"},
    {"2^-3", "2^(-3)"},
    {"+A", "A"},
    {"A==B", "A==B"},
    {"A\\=/B+1", "A\\=/B+1"},
    {"A<B", "A<B"},
    {"A\\<=B", "A\\<=B"},
    {"(A<B)+1", "(A<B)+1"},
    {"NOT A AND B", "NOT A AND B"},
    {"NOT (A AND B)", "NOT (A AND B)"},
    {"A OR B AND C", "A OR B AND C"},
    {"(A OR B) AND C", "(A OR B) AND C"},
    {"A XOR B", "A XOR B"},
    {"X=(3+S)/2", "X=(3+S)/2"},
    {"SIN(X)+COS(Y)", "SIN(X)+COS(Y)"},
    {"XROOT(2,A)", "XROOT(2,A)"},
    {"IFTE(X>0,X,-X)", "IFTE(X>0,X,-X)"},
    {"f(a,b+1)*2", "f(a,b+1)*2"},
    {"v(i)", "v(i)"},
    {"(X+1)!", "(X+1)!"},
    {"X!", "X!"},
    {"\\pi*R^2", "\\pi*R^2"},
    {"(1,2)*X", "(1,2)*X"},
    {"2.5E-3*X", ".0025*X"},
    {"1.E12", "1.E12"},
    {"UTPC(1,2)", "UTPC(1,2)"},
    {"\\v/X+\\v/(X+1)", "\\v/X+\\v/(X+1)"},
    {"\\v/X^2", "\\v/X^2"},
    {"\\v/(X^2)", "\\v/(X^2)"},
    {"X^2|(X=3)", "X^2|(X=3)"},
    {"X+Y | ( X = 1 , Y = A*B )", "X+Y|(X=1,Y=A*B)"},
    {"A=B|(B=2)|(A=1)", "A=B|(B=2)|(A=1)"},
    {"2*(X|(X=1))^2", "2*(X|(X=1))^2"},
    {"SIN(X|(X=Y|(Y=2)))", "SIN(X|(X=Y|(Y=2)))"},
    {"QUOTE(A+1)*QUOTE(B)", "QUOTE(A+1)*QUOTE(B)"},
    {"APPLY(F,X)", "APPLY(F,X)"},
    {"X|X=1", "error at 2"},
    {"X|(1=2)", "error at 3"},
    {"X|(SIN=2)", "error at 3"},
    {"X|(Y=2", "error at 6"},
    {"\\v/-X", "error at 1"},
    {"A+", "error at 2"},
    {"(A", "error at 2"},
    {"A)", "error at 1"},
    {"A B", "error at 2"},
    {"v(i 1 +)", "error at 4"},
    {"SIN(1,2)", "error at 0"},
    {"DUP(1)", "error at 0"},
    {"SIN", "error at 0"},
    {"f()", "error at 2"},
    {"AND", "error at 0"},
    {"", "error at 0"},
    {"2X", "error at 1"},
};

TEST(Algebraic, ReadAndPrint) {
  for (const Case& c : cases) EXPECT_EQ(reprint(c.infix), c.printed) << c.infix;
}

}  // namespace
}  // namespace rplrun
