// What the parser makes of a whole input: where syntax errors are reported,
// what the top-level default reductions write or warn before an error, and
// how deep the parser's stack may grow. One exemplar of each error shape is a
// golden case; bytes that are no characters of the language are hostile input.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "trial.h"

namespace {

std::string repeat(const std::string& unit, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += unit;
  return text;
}

const TrialCase cases[] = {
    // A first token that cannot begin a statement: the empty program is
    // reduced first, with its warning, then the error is reported.
    {"RejectedFirstTokenElse", source("\n\nelse x;", "", no_input + diag("3: parse error"), 1)},
    {"RejectedFirstTokenUnusedOperator", source("<< x;", "", no_input + diag("1: parse error"), 1)},
    // Complete statements followed by a token that can neither begin one nor
    // end the input: their program is written, then the error is reported.
    {"ProgramBeforeStrayBrace", source("x; }", program("x\n"), diag("1: parse error"), 1)},
    {"ProgramBeforeStrayElse",
     source("x;\ny;\nelse", program("x\ny\n"), diag("3: parse error"), 1)},
    // Inside an incomplete statement nothing is written.
    {"StrayBraceInsideStatement", source("x }", "", diag("1: parse error"), 1)},
    {"UnusedTokenInsideStatement", source("x = a >> b;", "", diag("1: parse error"), 1)},
    {"SecondStatementIncomplete", source("x;\ny =\n", "", diag("3: parse error"), 1)},
    // An error at the end of input is reported on the last line.
    {"EndOfInputAfterNewlines", source("x =\n\n", "", diag("3: parse error"), 1)},
    {"EndOfInputWithoutNewline", source("x =", "", diag("1: parse error"), 1)},
    {"EndOfInputInLineComment", source("x =\n// note", "", diag("2: parse error"), 1)},

    {"EndOfInputInsideParentheses", source("x = (\n1\n", "", diag("3: parse error"), 1)},
    // An unterminated block comment is rejected on the line where it begins.
    {"UnterminatedBlockCommentInsideStatement",
     source("x = /* a\nb\nc", "", diag("1: parse error"), 1)},
    // A literal that spans lines: its newlines count, and an error at the
    // literal itself names its last line.
    {"ErrorAtAlgebraicSpanningLines", source("x 'a\nb\nc';", "", diag("3: parse error"), 1)},
    {"ErrorAtVerbatimSpanningLines", source("x `a\nb`;", "", diag("2: parse error"), 1)},
    {"ErrorAtStringSpanningLines", source("x \"a\n\\\"\nb\";", "", diag("3: parse error"), 1)},
    {"ErrorAfterStringSpanningLines", source("x = \"a\nb\"\n\n}", "", diag("4: parse error"), 1)},
    {"ErrorAfterCommentsSpanningLines",
     source("/*\n*/ x = 1; // a\n# b\ny = ;", "", diag("4: parse error"), 1)},
    // The stack holds at most 9999 states: it starts at 200 entries, doubles,
    // and is capped at 10000, whose reaching is an overflow.
    {"Parentheses9998Open", source(std::string(9998, '('), "", diag("1: parse error"), 1)},
    {"Parentheses9999Open",
     source(std::string(9999, '('), "", diag("1: parser stack overflow"), 1)},
    {"Parentheses9997OpenAfterStatement",
     source("x;\n" + std::string(9997, '('), "", diag("2: parse error"), 1)},
    {"Parentheses9998OpenAfterStatement",
     source("x;\n" + std::string(9998, '('), "", diag("2: parser stack overflow"), 1)},
    {"OverflowReportedOnItsLine",
     source(repeat("(\n", 9999), "", diag("9999: parser stack overflow"), 1)},
    {"Identifier9996ParenthesesDeep",
     source(std::string(9996, '(') + "x" + std::string(9996, ')') + ";", program("x\n"), "", 0)},
    {"Identifier9997ParenthesesDeep",
     source(std::string(9997, '(') + "x" + std::string(9997, ')') + ";", "",
            diag("1: parser stack overflow"), 1)},
    {"Blocks9996Deep", source(std::string(9996, '{') + std::string(9996, '}'), program(""), "", 0)},
    {"Blocks9997Deep", source(std::string(9997, '{') + std::string(9997, '}'), "",
                              diag("1: parser stack overflow"), 1)},
    {"Blocks9997DeepOverflowOnItsLine",
     source(repeat("{\n", 9997) + repeat("}\n", 9997), "", diag("9998: parser stack overflow"), 1)},
    // An assignment to what is neither a name nor an element of a variable ends
    // the run where the parser stands, as a syntax error there would: the
    // statements complete at the top level are written first.
    {"AssignToNumberAfterStatements",
     source("x = 1;\ny = 2;\n3 = 4;\n", program("1 'x' STO\n2 'y' STO\n"),
            diag("3: cannot assign to this expression"), 1)},
    {"AssignToNumberFirst",
     source("3 = 4;\nx;\n", "", diag("1: cannot assign to this expression"), 1)},
    {"IncrementNumber", source("++5;", "", diag("1: cannot assign to this expression"), 1)},
    {"DecrementString", source("\"s\"--;", "", diag("1: cannot assign to this expression"), 1)},
    {"AssignToCall", source("f(x) = 2;", "", diag("1: cannot assign to this expression"), 1)},
    {"AssignToElementOfCall",
     source("f(x)[1] = 2;", "", diag("1: cannot assign to this expression"), 1)},
    {"AssignToElementOfLiteral",
     source("@{1, 2}[k] += 2;", "", diag("1: cannot assign to this expression"), 1)},
    {"CompoundOnAlgebraic",
     source("'x' += 1;", "", diag("1: cannot assign to this expression"), 1)},
    {"AssignToVerbatim", source("`x` = 1;", "", diag("1: cannot assign to this expression"), 1)},
    {"AssignToCommaExpression",
     source("(a, b) = 1;", "", diag("1: cannot assign to this expression"), 1)},
    {"AssignToAssignment",
     source("(a = 1) = 2;", "", diag("1: cannot assign to this expression"), 1)},
    {"AssignToNegation", source("-x %= 2;", "", diag("1: cannot assign to this expression"), 1)},
    {"IncrementIncrement", source("x++ ++;", "", diag("1: cannot assign to this expression"), 1)},
    // Reported where the parser noticed it: at the token after the target.
    {"ReportedOnTheLineAfterTheValue",
     source("x;\n5\n=\ny\n;", program("x\n"), diag("5: cannot assign to this expression"), 1)},
    // Inside a statement, only the statements complete at the top level are written.
    {"InsideABlock",
     source("x;\n{ y;\n1 = y; }", program("x\n"), diag("3: cannot assign to this expression"), 1)},
    {"InsideAFunction", source("x;\ndeclare f() {\n y = 1;\n 2 = y;\n}\n", program("x\n"),
                               diag("4: cannot assign to this expression"), 1)},
    {"InsideACondition",
     source("if (x) 1 = y;", "", diag("1: cannot assign to this expression"), 1)},
    {"InsideACaseValue", source("x;\nswitch (k) { case a = 1, 2 = b: y; }", program("x\n"),
                                diag("2: cannot assign to this expression"), 1)},

    // Long but shallow inputs never come near the cap.
    {"ManyParenthesesInSequence",
     source(repeat("(x);", 20000), program(repeat("x\n", 20000)), "", 0)},
};

INSTANTIATE_TEST_SUITE_P(Parser, Trials, testing::ValuesIn(cases), trial_name);

// Where memory runs out as the stacks grow, that is exhausted memory, never
// an overflow: the input nests 9000 deep, below the cap. The least memory the
// compiler needs for it is found first; then every limit below that, in steps
// of 16 KB, must end in exhausted memory, down to where the input cannot even
// be opened (or the program not even started).
TEST(ParserStack, GrowthBeyondAvailableMemoryIsNoOverflow) {
  if (harness::sanitized_build) GTEST_SKIP() << "no address-space limit here";
  std::string source = "y = " + std::string(9000, '(') + "a";
  for (int i = 0; i < 9000; ++i) source += i % 2 == 0 ? ") + b" : ") * c";
  source += ";\n";
  const auto compile_within = [&](rlim_t bytes) {
    harness::Invocation inv = rplgen_invocation({"in.c48"});
    inv.files = {{"in.c48", source}};
    inv.stdin_kind = harness::Stream::dev_null;
    inv.limits.push_back({RLIMIT_AS, bytes});
    return harness::run(inv);
  };
  const rlim_t step = rlim_t{16} << 10;
  rlim_t too_little = 0;
  rlim_t enough = rlim_t{256} << 20;
  ASSERT_EQ(compile_within(enough).status, 0);
  while (enough - too_little > step) {
    const rlim_t middle = (too_little + enough) / 2;
    (compile_within(middle).status == 0 ? enough : too_little) = middle;
  }
  int out_of_memory = 0;
  for (rlim_t limit = enough - step; limit > step; limit -= step) {
    const harness::Outcome got = compile_within(limit);
    if (got.status == 127 || got.err == diag("in.c48: Cannot allocate memory")) break;
    SCOPED_TRACE(limit);
    harness::expect_outcome(got, "", diag("Cannot allocate memory"), 1);
    ++out_of_memory;
  }
  EXPECT_GT(out_of_memory, 0);
}

}  // namespace
