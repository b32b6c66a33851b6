// The texts of names and constants, made from the lexeme of their token.
#pragma once

#include <string_view>

#include "support/text.h"

namespace rplgen {

using rpl::Text;

// The name with each backslash removed and the character after it kept.
Text* identifier_text(std::string_view lexeme);
// Numbers and algebraics are copied as written, quotes and all.
Text* number_text(std::string_view lexeme);
Text* algebraic_text(std::string_view lexeme);
// Verbatim RPL: the text between the backquotes.
Text* verbatim_text(std::string_view lexeme);
// "@<< ... >>" becomes the RPL program "\<< ... \>>".
Text* rpl_program_text(std::string_view lexeme);
// The string with "\n" made a newline and every other backslash removed
// (the character after it is kept); the double quotes stay.
Text* string_text(std::string_view lexeme);

}  // namespace rplgen
