// Inputs as the calculator receives them: a transfer file with its "%%HP:" header and
// translation mode, or a command line typed in UTF-8.
#pragma once

#include <string>

#include "objects/source.h"

namespace rplrun {

// A file's bytes. The header "%%HP: T(n)A(x)F(c);" may start it: T is the translation
// mode (0 none, 1 line ends, 2 and 3 line ends and backslash codes), A the angle mode
// while the file is read, F the fraction mark. Missing fields are T(3), A(R), F(.); a
// file without a header is read with T(3) and the angle mode in force. A file that is
// valid UTF-8 and holds characters beyond ASCII is read as UTF-8, any other as 8-bit
// HP characters. Throws SyntaxError for a malformed header and for a UTF-8 character
// that the calculator does not have.
SourceText load_transfer(std::uint32_t source, std::string bytes);
// The same for a text already loaded (a .c48 source compiled into a transfer text).
SourceText decode_transfer(SourceText source);

// A command line: UTF-8 with the backslash codes accepted too. Throws SyntaxError at a
// character the calculator does not have.
SourceText load_command_line(std::uint32_t source, std::string utf8);

}  // namespace rplrun
