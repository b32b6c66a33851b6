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
  invalid_statistics_data = 0x601,        // \GSDAT holds no real matrix
  nonexistent_statistics_data = 0x602,    // no \GSDAT
  insufficient_statistics_data = 0x603,   // too few rows
  invalid_statistics_parameters = 0x604,  // \GSPAR is no list of its five parameters
  statistics_log_of_negative = 0x605,     // a fit's logarithm of a negative datum
  statistics_log_of_zero = 0x606,
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
