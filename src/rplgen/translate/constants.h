// The texts of names and constants, made from the lexeme of their token.
//
// Characters beyond ASCII, in UTF-8, are written as the calculator's translation
// codes wherever text is copied (names, strings, algebraics, verbatim RPL and
// program literals): "°" as "\^o", "é" as "\233". Bytes that are not UTF-8, and
// characters the calculator does not have, are copied as they are.
#pragma once

#include <string_view>

#include "rplgen/translate/forms.h"

namespace rplgen {

// The name with each backslash removed and the character after it kept.
Text* identifier_text(std::string_view lexeme);
// A number as the calculator writes one: a capital E, and no "+" after it.
Text* number_text(std::string_view lexeme);
// An algebraic, quotes and all.
Text* algebraic_text(std::string_view lexeme);
// Verbatim RPL: the text between the backquotes.
Text* verbatim_text(std::string_view lexeme);
// "@<< ... >>" becomes the RPL program "\<< ... \>>".
Text* rpl_program_text(std::string_view lexeme);
// The string with "\n" made a newline and every other backslash removed
// (the character after it is kept); the double quotes stay.
Text* string_text(std::string_view lexeme);

}  // namespace rplgen
