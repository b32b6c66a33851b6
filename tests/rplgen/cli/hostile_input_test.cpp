// Hostile inputs: binary junk, files from other systems, generated monsters
// and scarce resources. Whatever comes in, the compiler
// must end with exactly the expected output, diagnostics and status: never a
// crash, a hang or a silent success after losing data.
//
// A table of trials (trial.h): big inputs are generated here, not kept in the
// tree; the command line and the standard streams are in command_line_test.cpp.
// Comments and literals across the input buffer's refills are in
// long_input_test.cpp, token boundaries of the buffer in tokens_test.cpp.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "trial.h"

using namespace std::string_literals;

namespace {

constexpr std::size_t big = 20 * 1000 * 1000;

// Every byte from 128 to 255, in order.
std::string high_bytes() {
  std::string bytes;
  for (int b = 128; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

std::string repeat(const std::string& piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

// A target whose text each "%=" around it would copy twice, doubling the
// translation with every level: each is an element of what is not a variable,
// which cannot be assigned.
std::string doubling_expression(int levels) {
  std::string e = "x";
  for (int i = 0; i < levels; ++i) e = "(" + e + " %= 1)[1]";
  return e + ";\n";
}

// A store into an element millions of indices deep: the translation holds some
// fifty bytes for each index of three.
std::string deep_element_store(std::size_t levels) {
  return "v" + repeat("[1]", levels) + " = 1;\n";
}

const TrialCase cases[] = {
    // NUL bytes: no character of the language outside literals and comments,
    // and never the end of the input; inside them, ordinary content.
    {"NulBeforeAnyStatement",
     [] { return source("\0x;\n"s, "", no_input + diag("1: parse error"), 1); }},
    {"NulAfterAStatement",
     [] { return source("x;\n\0y;\n"s, program("x\n"), diag("2: parse error"), 1); }},
    {"NulInsideAStatement", [] { return source("x = \0;"s, "", diag("1: parse error"), 1); }},
    {"NulInsideAlgebraic", [] { return source("'a\0b';\n"s, program("'a\0b'\n"s)); }},
    {"NulInsideVerbatim", [] { return source("`a\0b`;\n"s, program("a\0b\n"s)); }},
    {"NulInsideString", [] { return source("\"a\0b\";\n"s, program("\"a\0b\"\n"s)); }},
    {"NulInsideProgramLiteral", [] { return source("@<<a\0b>>;\n"s, program("\\<<a\0b\\>>\n"s)); }},
    {"NulEscapedInName", [] { return source("a\\\0b;\n"s, program("a\0b\n"s)); }},
    {"NulInsideComments", [] { return source("/*\0*/x;\n//\0\n#\0\ny;\n"s, program("x\ny\n")); }},
    {"NulInsideUnterminatedComment",
     [] { return source("x;\n/*\0"s, program("x\n"), diag("2: parse error"), 1); }},
    // Megabytes of them cost no more than other bytes (the scanner once
    // rescanned a lexeme at each of its NULs), and every one reaches the output.
    {"MegabytesOfNulsInEveryCommentAndLiteral",
     [] {
       const std::string nuls(2 * 1000 * 1000, '\0');
       const std::string name = repeat("\\"s + '\0', nuls.size() / 2);
       return source(
           "/*" + nuls + "*/\n//" + nuls + "\n#" + nuls + "\ns = \"" + nuls + "\";\na = '" + nuls +
               "';\nv = `" + nuls + "`;\np = @<<" + nuls + ">>;\n" + name + " = 1;\n",
           program("\"" + nuls + "\" 's' STO\n'" + nuls + "' 'a' STO\n" + nuls + " 'v' STO\n\\<<" +
                   nuls + "\\>> 'p' STO\n1 '" + std::string(nuls.size() / 2, '\0') + "' STO\n"));
     }},

    // Carriage returns: not white space; inside literals and comments they stay.
    {"CrBeforeAnyStatement",
     [] { return source("\r\nx;", "", no_input + diag("1: parse error"), 1); }},
    {"CrLfLineEnds",
     [] { return source("x;\r\ny;\r\n", program("x\n"), diag("1: parse error"), 1); }},
    {"CrLineEnds", [] { return source("x;\ry;\r", program("x\n"), diag("1: parse error"), 1); }},
    {"CrLfAfterLineComment",
     [] { return source("// note\r\nx;\r\n", program("x\n"), diag("2: parse error"), 1); }},
    {"CrInsideLiteralsAndComments",
     [] {
       return source("'a\r\nb';\n\"c\r\";\n/* \r\n */ // \r\ny;\n",
                     program("'a\r\nb'\n\"c\r\"\ny\n"));
     }},

    // Bytes 128 to 255: rejected outside literals, kept as they are inside.
    {"HighByteBeforeAnyStatement",
     [] { return source("\x80;\n", "", no_input + diag("1: parse error"), 1); }},
    {"HighByteAfterAStatement",
     [] { return source("x;\n\xe9t\xe9;\n", program("x\n"), diag("2: parse error"), 1); }},
    {"ByteFfIsNoEndOfInput",
     [] { return source("x;\n\xff\ny;\n", program("x\n"), diag("2: parse error"), 1); }},
    {"HighBytesInsideLiteralsAndComments",
     [] {
       const std::string h = high_bytes();
       return source("'" + h + "';\n`" + h + "`;\n\"" + h + "\";\n@<<" + h + ">>;\n/*" + h +
                         "*/ //" + h + "\n#" + h + "\nz;\n",
                     program("'" + h + "'\n" + h + "\n\"" + h + "\"\n\\<<" + h + "\\>>\nz\n"));
     }},

    // Literals without their closing delimiter: the opening character stands
    // alone, and the parser rejects it on its line.
    {"UnterminatedAlgebraic",
     [] { return source("x;\n'abc\ndef;\n", program("x\n"), diag("2: parse error"), 1); }},
    {"UnterminatedVerbatim",
     [] { return source("x;\n`abc\ndef;\n", program("x\n"), diag("2: parse error"), 1); }},
    {"UnterminatedString",
     [] { return source("x;\n\"abc\ndef;\n", program("x\n"), diag("2: parse error"), 1); }},
    {"UnterminatedProgramLiteral",
     [] { return source("x;\n@<< 1 2 +\n>>;\n", program("x\n"), diag("2: parse error"), 1); }},

    // 20 MB tokens and comments: the buffer grows to hold each one whole.
    {"HugeIdentifier",
     [] {
       const std::string name(big, 'n');
       return source(name + ";\n", program(name + "\n"));
     }},
    {"HugeEscapedIdentifier",
     [] {
       return source(repeat("\\+", big / 2) + ";\n", program(std::string(big / 2, '+') + "\n"));
     }},
    {"HugeNumber",
     [] {
       const std::string digits(big, '7');
       return source(digits + ";\n", program(digits + "\n"));
     }},
    {"HugeString",
     [] {
       const std::string body(big, 's');
       return source("\"" + body + "\";\n", program("\"" + body + "\"\n"));
     }},
    {"HugeAlgebraicOverManyLines",
     [] {
       const std::string body = repeat("a+\n", big / 3);
       return source("'" + body + "';\n", program("'" + body + "'\n"));
     }},
    {"HugeProgramLiteral",
     [] {
       const std::string body(big, 'p');
       return source("@<<" + body + ">>;\n", program("\\<<" + body + "\\>>\n"));
     }},
    {"HugeBlockComment",
     [] { return source("/*" + repeat("*c\n", big / 3) + "*/ x;\n", program("x\n")); }},
    {"HugeLineComment",
     [] { return source("//" + std::string(big, 'c') + "\nx;\n", program("x\n")); }},
    // A comment is skipped a bounded run at a time: one whose lines are longer
    // than the memory there is still costs next to none.
    {"LongCommentLinesInLittleMemory",
     [] {
       const std::string line(big, 'c');
       Trial t = source("/*" + line + "*/\n/* " + std::string(big, '*') + "/\n//" + line + "\n#" +
                            line + "\nx;\n",
                        program("x\n"));
       t.max_address_space = rlim_t{28} << 20;
       return t;
     }},
    {"HugeUnterminatedString",
     [] {
       return source("x;\n\"" + std::string(big, 's'), program("x\n"), diag("2: parse error"), 1);
     }},

    // Many statements; deep nesting is in parser_test.cpp.
    {"HundredThousandStatements",
     [] {
       std::string in, out;
       for (int i = 0; i < 100000; ++i) {
         in += "v" + std::to_string(i) + " = " + std::to_string(i) + ";\n";
         out += std::to_string(i) + " 'v" + std::to_string(i) + "' STO\n";
       }
       return source(in, program(out));
     }},
    // Texts held by open local tables are released while the process exits.
    {"ErrorInsideFunctionsWithLocals",
     [] {
       return source("declare f(p) : a(1), b('x') {\n declare g() : c(\"s\") { x }\n", "",
                     diag("2: parse error"), 1);
     }},
    {"TranslationThatWouldDoublePerLevel",
     [] {
       return source(doubling_expression(40), "", diag("1: cannot assign to this expression"), 1);
     }},

    // A local costs memory for its name and initial value only.
    {"ManyLocalsInLittleMemory",
     [] {
       std::string locals, values, names;
       for (int i = 0; i < 300000; ++i) {
         const std::string n = std::to_string(i);
         locals += (i > 0 ? ", l" : "l") + n + "(" + n + ")";
         values += (i > 0 ? "," : "") + n;
         names += (i > 0 ? ",l" : "l") + n;
       }
       const std::string header = "\\<< " + values + " \\-> " + names;
       Trial t = source("declare f() : " + locals + " { }\n",
                        program(header + " \\<<  \\>> \\>> 'f' STO\n"));
       t.max_address_space = rlim_t{48} << 20;
       return t;
     }},

    // Memory that runs out before the compiler's own limits: the translation
    // reports it as exhausted memory, the scanner with its own message.
    {"TranslationBeyondAvailableMemory",
     [] {
       Trial t = source(deep_element_store(8000000), "", diag("Cannot allocate memory"), 1);
       t.max_address_space = rlim_t{256} << 20;
       return t;
     }},
    // While the process ends, the locals held are released: that must not
    // fail again and add a second line.
    {"MemoryRunsOutWhileLocalsAreHeld",
     [] {
       std::string locals;
       for (int i = 0; i < 200000; ++i) locals += (i > 0 ? ", l" : "l") + std::to_string(i) + "(0)";
       Trial t = source("declare f() : " + locals + " {\n" + deep_element_store(2000000) + "}\n",
                        "", diag("Cannot allocate memory"), 1);
       t.max_address_space = rlim_t{64} << 20;
       return t;
     }},
    {"TokenBeyondAvailableMemory",
     [] {
       Trial t = source(std::string(2 * big, 'n') + ";\n", "",
                        "fatal error - scanner input buffer overflow\n", 2);
       t.max_address_space = rlim_t{64} << 20;
       return t;
     }},
};

INSTANTIATE_TEST_SUITE_P(Table, Trials, testing::ValuesIn(cases), trial_name);

}  // namespace
