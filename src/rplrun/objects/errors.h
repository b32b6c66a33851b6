// RPL errors: the calculator's error numbers (ERRN) and messages (ERRM).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace rplrun {

// ORDER: error_message() in errors.cpp has the message of each.
enum ErrorNumber : std::uint32_t {
  error_none = 0,
  insufficient_memory = 0x001,
  undefined_local_name = 0x003,
  interrupted_error = 0x00A,
  invalid_syntax = 0x106,
  too_few_arguments = 0x201,
  bad_argument_type = 0x202,
  bad_argument_value = 0x203,
  undefined_name = 0x204,
  positive_underflow = 0x301,
  negative_underflow = 0x302,
  overflow_error = 0x303,
  undefined_result = 0x304,
  infinite_result = 0x305,
  invalid_dimension = 0x501,
  invalid_array_element = 0x502,
  user_error = 0x70000,  // DOERR with a string
};

std::string error_message(std::uint32_t number);

// An error raised by a command or by evaluation; IFERR may catch it.
struct RplError {
  std::uint32_t number = error_none;
  std::string message;                   // ERRM
  std::optional<std::uint32_t> command;  // the command that failed, if any
  bool names_command = true;             // false: reported without it (DOERR)
};

[[noreturn]] void fail(std::uint32_t number);
[[noreturn]] void fail_with(std::uint32_t number, std::string message);

}  // namespace rplrun
