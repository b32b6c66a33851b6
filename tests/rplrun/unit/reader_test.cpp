// Reading RPL text: tokens, every object kind, structures, and what is Invalid Syntax.
#include <gtest/gtest.h>

#include "objects/charset.h"
#include "objects/display.h"
#include "objects/reader.h"
#include "objects/transfer.h"

namespace rplrun {
namespace {

// The text read as a command line, shown as the program it becomes; or "L:C" where
// reading failed.
std::string read_back(const std::string& text) {
  try {
    const SourceText source = load_command_line(register_source("t"), text);
    const Object body = read_program_body(source, ReadContext{});
    return encode(decompile(body, FlagWords()), OutputCharset::ascii);
  } catch (const SyntaxError& error) {
    return std::to_string(error.where.line) + ":" + std::to_string(error.where.column);
  }
}

struct ReadCase {
  const char* text;
  const char* shown;
};

const ReadCase read_cases[] = {
    // Separators, comments, self-delimiting characters.
    {"1,2;3", "\\<< 1 2 3 \\>>"},
    {"1 @ a comment @ 2 @ to the end\n3", "\\<< 1 2 3 \\>>"},
    {"\\<<STO\\>>", "\\<< \\<< STO \\>> \\>>"},
    {"'f' STOx", "\\<< 'f' STOx \\>>"},
    {"{a,\"b\",3}{}", "\\<< { a \"b\" 3 } { } \\>>"},
    {"{ 'X' 1 }", "\\<< { X 1 } \\>>"},
    {"\"a b\nc\"\"\"", "\\<< \"a b\nc\" \"\" \\>>"},
    // Numbers.
    {"-1.5E-3 .5 5. 007 1E3 12345678901234", "\\<< -.0015 .5 5 7 1000 1.23456789012E13 \\>>"},
    {"(1,2) (1 2) (-1.5,-2E3)", "\\<< (1,2) (1,2) (-1.5,-2000) \\>>"},
    {"(2,\\<)90)", "\\<< (0,2) \\>>"},
    {"[1,2,3] [[1,2],[3,4]] [(1,2) 3]", "\\<< [ 1 2 3 ] [[ 1 2 ]\n [ 3 4 ]] [ (1,2) (3,0) ] \\>>"},
    {"#12h # 1010b #12", "\\<< # 18d # 10d # 12d \\>>"},
    // Names, commands, algebraics, tagged objects.
    {"a-b $ & DUP dup \\->LIST", "\\<< a-b $ & DUP dup \\->LIST \\>>"},
    {"'X' 'X^2+1' 'v(i)' 'm(1,2)'", "\\<< 'X' 'X^2+1' 'v(i)' 'm(1,2)' \\>>"},
    {"'-2.5' '-X' 'NOT X OR Y'", "\\<< -2.5 '-X' 'NOT X OR Y' \\>>"},
    {":Slope:1.95 { :A: B }", "\\<< :Slope: 1.95 { :A: B } \\>>"},
    // Structures and locals.
    {"IF 1 THEN 2 ELSE 3 END", "\\<< IF 1 THEN 2 ELSE 3 END \\>>"},
    {"\\<<CASE 1 THEN 2 END 3 END\\>>", "\\<< \\<< CASE 1 THEN 2 END 3 END \\>> \\>>"},
    {"IFERR 1 THEN 2 END WHILE 1 REPEAT END DO UNTIL 1 END",
     "\\<< IFERR 1 THEN 2 END WHILE 1 REPEAT END DO UNTIL 1 END \\>>"},
    {"1 2 START NEXT 1 2 FOR i i 2 STEP", "\\<< 1 2 START NEXT 1 2 FOR i i 2 STEP \\>>"},
    {"\\-> a,b 'a+b' \\-> i \\<< i 'i' \\>>", "\\<< \\-> a b 'a+b' \\-> i \\<< i 'i' \\>> \\>>"},
    // Invalid Syntax, where it is found.
    {"(1,2 NEG)", "1:6"},
    {"'v(i 1 +)'", "1:6"},
    {"x ''v(i)' EVAL' STO", "1:4"},
    {"IF 1 THEN", "1:1"},
    {"1 END", "1:3"},
    {"ELSE", "1:1"},
    {"[a,b]", "1:2"},
    {"[ ]", "1:1"},
    {"[[1 2][3]]", "1:7"},
    {"\\<< 1", "1:1"},
    {"}", "1:1"},
    {"2X", "1:1"},
    {"'AND+1'", "1:2"},
    {"\\-> OR \\<< 'OR' \\>>", "1:13"},
    {"1 1e3", "1:3"},  // only a capital E marks the exponent
    {"'X*1e3'", "1:5"},
    {"1+", "1:1"},
    {"\"abc", "1:1"},
    {"'abc", "1:1"},
    {"#12z", "1:1"},
    {"#", "1:1"},
    {"FOR 1 NEXT", "1:5"},
    {"\\-> \\<< \\>>", "1:5"},
    {"\\-> a 5", "1:7"},
    {"{ IF }", "1:3"},
    {"1\n  THEN", "2:3"},
    {":tag", "1:1"},
    {"(1,2", "1:1"},
};

TEST(Reader, ObjectsAndInvalidSyntax) {
  for (const ReadCase& c : read_cases) EXPECT_EQ(read_back(c.text), c.shown) << c.text;
}

TEST(Reader, TransferHeaderAndModes) {
  struct Case {
    const char* file;
    const char* shown;
  };
  const Case cases[] = {
      {"%%HP: T(3)A(R)F(.);\r\n\\<< 1.5 \\>>\r\n", "\\<< \\<< 1.5 \\>> \\>>"},
      {"%%HP: T(3)A(D)F(,);\n(1,5;2) 1,5", "\\<< (1.5,2) 1.5 \\>>"},
      {"%%HP: T(3)A(D)F(.);\n(2,\\<)90)", "\\<< (0,2) \\>>"},
      {"%%HP: T(0);\n\\<<", "\\<< \\<< \\>>"},
      {"%%HP: ;\n1", "\\<< 1 \\>>"},
      {"%%HP: T(4);\n1", "1:7"},
      {"%%HP: T(3)\n1", "1:11"},
      {"no header 1", "\\<< no header 1 \\>>"},
  };
  for (const Case& c : cases) {
    std::string shown;
    try {
      const SourceText source = load_transfer(register_source("f"), c.file);
      shown = encode(decompile(read_program_body(source, ReadContext{}), FlagWords()),
                     OutputCharset::ascii);
    } catch (const SyntaxError& error) {
      shown = std::to_string(error.where.line) + ":" + std::to_string(error.where.column);
    }
    EXPECT_EQ(shown, c.shown) << c.file;
  }
}

// Positions name the original text however decoding shortened it: the header, CR LF,
// backslash codes and UTF-8 (whose columns count characters).
TEST(Reader, PositionsInTheOriginalText) {
  struct Case {
    const char* text;
    bool file;          // a transfer file, else a command line
    const char* where;  // of the Z in the decoded text
  };
  const Case cases[] = {
      {"%%HP: T(3);\r\nA\r\nB Z", true, "3:3"},
      {"\\<<\\->\\>> Z", true, "1:11"},
      {"a\\065\r\n\\->Z", true, "2:4"},
      {"%%HP: T(1);\r\n\\-> Z\r\nZ", true, "2:5"},
      {"\xc2\xab\xe2\x86\x92 Z", false, "1:4"},
      {"x\xcc\x84 Z", false, "1:4"},
      {"\xe2\x86\x92\\->Z", false, "1:5"},
      {"\xc3\xa9\n\xcf\x80 Z", false, "2:3"},
  };
  for (const Case& c : cases) {
    const std::uint32_t id = register_source("p");
    const SourceText source = c.file ? load_transfer(id, c.text) : load_command_line(id, c.text);
    const Position p = source.position_at(source.text().find('Z'));
    EXPECT_EQ(std::to_string(p.line) + ":" + std::to_string(p.column), c.where) << c.text;
  }
}

}  // namespace
}  // namespace rplrun
