// Messages on standard error, through the base library's diagnostics: every line
// rplrun writes there goes through here.
#pragma once

#include <string>
#include <string_view>

namespace rplrun {

// The name that begins every message: the program's name as invoked, without its
// directory.
void set_program_name(std::string_view name);

// "NAME: TEXT" and a newline on standard error, control characters of TEXT written as
// their codes ("\010").
void report(std::string_view text);

}  // namespace rplrun
