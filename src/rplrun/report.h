// Messages on standard error. Every line rplrun writes there goes through here, so
// that the program name and the form of a message live in one place.
#pragma once

#include <string>
#include <string_view>

namespace rplrun {

void set_program_name(std::string_view name);
const std::string& program_name();

// "rplrun: TEXT" and a newline on standard error.
void report(std::string_view text);

}  // namespace rplrun
