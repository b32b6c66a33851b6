// Algebraics as trees: taken apart and rebuilt unchanged, and the automatic
// simplification, each case an infix text and the text printed after it.
#include <gtest/gtest.h>

#include "objects/algebraic.h"
#include "objects/charset.h"
#include "objects/errors.h"
#include "objects/expression.h"

namespace rplrun {
namespace {

struct NoLocals : AlgebraicScope {
  bool is_local(const Symbol*) const override { return false; }
};

Expr read(const std::string& ascii) {
  std::vector<Object> postfix;
  std::size_t error_at = 0;
  EXPECT_TRUE(read_infix(rpl::decode_backslash_codes(ascii), '.', NoLocals(), postfix, error_at))
      << ascii;
  return tree_of(postfix);
}

std::string print(const Expr& tree) {
  TextSink out(max_object_bytes);
  append_infix(out, postfix_of(tree), DisplayMode{});
  return encode(out.text(), OutputCharset::ascii);
}

struct Case {
  const char* infix;
  const char* printed;
};

TEST(Expression, RoundTrip) {
  for (const char* text : {"X^2+1", "F(A,B+1)*-C", "X=(3+S)/2", "IFTE(X>0,X,-X)", "QUOTE(A+1)*2",
                           "X+Y|(X=1,Y=A*B)", "\\pi*R^2", "(1,2)"})
    EXPECT_EQ(print(read(text)), text);
}

const Case simplifications[] = {
    {"2+3*4", "14"},
    {"6/4+X", "1.5+X"},
    {"1/3", "1/3"},
    {"1/0", "1/0"},
    {"0/0", "0/0"},
    {"0/X", "0"},
    {"2^10", "1024"},
    {"2^-1", "2^(-1)"},
    {"2^.5", "2^.5"},
    {"10^12", "10^12"},
    {"\\v/4-\\v/(-4)", "(2,-2)"},
    {"\\v/2", "\\v/2"},
    {"\\v/2.25", "1.5"},
    {"X+0+(0+Y)", "X+Y"},
    {"X-0-(0-Y)", "X+Y"},
    {"X*1*(1*Y)/1", "X*Y"},
    {"X*0+Y*(0*Z)", "0"},
    {"X^1+Y^0", "X+1"},
    {"-(-X)+-(2)", "X-2"},
    {"X+-Y", "X-Y"},
    {"X+(-3)", "X-3"},
    {"X-(-Y)", "X+Y"},
    {"(1,2)*(0,1)+X", "(-2,1)+X"},
    {"SIN(0)+F(1+1)", "SIN(0)+F(2)"},
    {"X=2*3", "X=6"},
};

TEST(Expression, Simplify) {
  for (const Case& c : simplifications)
    EXPECT_EQ(print(simplify(read(c.infix))), c.printed) << c.infix;
}

TEST(Expression, SubstituteAndCompare) {
  const Symbol* x = intern("X");
  const Expr e = substitute(read("X^2+F(X)"), x, read("A+1"));
  EXPECT_EQ(print(e), "(A+1)^2+F(A+1)");
  EXPECT_TRUE(same_tree(e, read("(A+1)^2+F(A+1)")));
  EXPECT_FALSE(same_tree(e, read("(A+1)^2+F(A+2)")));
  EXPECT_FALSE(mentions(e, x));
  EXPECT_TRUE(mentions(e, intern("F")));
  EXPECT_TRUE(mentions(e, intern("A")));
}

TEST(Expression, DepthIsBounded) {
  std::vector<Object> postfix{Object::name(intern("X"))};
  for (std::size_t k = 0; k < max_tree_depth; ++k) postfix.push_back(Object::command(cmd::negate));
  EXPECT_THROW(tree_of(postfix), RplError);
  postfix.pop_back();
  EXPECT_EQ(tree_of(postfix).args.size(), 1U);
}

}  // namespace
}  // namespace rplrun
