// RPL errors: the calculator's error numbers (ERRN) and messages (ERRM).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// X(name, number, message): every error rplrun reports, in one table.
#define RPLRUN_ERRORS(X)                                           \
  X(insufficient_memory, 0x001, "Insufficient Memory")             \
  X(undefined_local_name, 0x003, "Undefined Local Name")           \
  X(interrupted_error, 0x00A, "Interrupted")                       \
  X(invalid_syntax, 0x106, "Invalid Syntax")                       \
  X(directory_not_allowed, 0x12A, "Directory Not Allowed")         \
  X(non_empty_directory, 0x12B, "Non-Empty Directory")             \
  X(invalid_ppar, 0x12E, "Invalid PPAR")                           \
  X(unable_to_isolate, 0x130, "Unable to Isolate")                 \
  X(too_few_arguments, 0x201, "Too Few Arguments")                 \
  X(bad_argument_type, 0x202, "Bad Argument Type")                 \
  X(bad_argument_value, 0x203, "Bad Argument Value")               \
  X(undefined_name, 0x204, "Undefined Name")                       \
  X(positive_underflow, 0x301, "Positive Underflow")               \
  X(negative_underflow, 0x302, "Negative Underflow")               \
  X(overflow_error, 0x303, "Overflow")                             \
  X(undefined_result, 0x304, "Undefined Result")                   \
  X(infinite_result, 0x305, "Infinite Result")                     \
  X(invalid_dimension, 0x501, "Invalid Dimension")                 \
  X(invalid_array_element, 0x502, "Invalid Array Element")         \
  /* \205 is the calculator's sigma. */                            \
  X(invalid_statistics_data, 0x601, "Invalid \205Data")            \
  X(nonexistent_statistics_data, 0x602, "Nonexistent \205DAT")     \
  X(insufficient_statistics_data, 0x603, "Insufficient \205Data")  \
  X(invalid_statistics_parameters, 0x604, "Invalid \205PAR")       \
  X(statistics_log_of_negative, 0x605, "Invalid \205Data LN(Neg)") \
  X(statistics_log_of_zero, 0x606, "Invalid \205Data LN(0)")       \
  X(invalid_eq, 0x607, "Invalid EQ")                               \
  X(bad_guesses, 0xA01, "Bad Guess(es)")                           \
  X(constant_function, 0xA02, "Constant?")                         \
  X(invalid_unit, 0xB01, "Invalid Unit")                           \
  X(inconsistent_units, 0xB02, "Inconsistent Units")               \
  X(invalid_date, 0xD01, "Invalid Date")                           \
  X(invalid_time, 0xD02, "Invalid Time")                           \
  X(invalid_repeat, 0xD03, "Invalid Repeat")                       \
  X(nonexistent_alarm, 0xD04, "Nonexistent Alarm")                 \
  X(invalid_mpar, 0xE401, "Invalid Mpar")                          \
  X(single_equation, 0xE402, "Single Equation")                    \
  X(eq_invalid_for_minit, 0xE403, "EQ Invalid for MINIT")          \
  X(too_many_unknowns, 0xE404, "Too Many Unknowns")                \
  X(all_variables_known, 0xE405, "All Variables Known")

namespace rplrun {

enum ErrorNumber : std::uint32_t {
  error_none = 0,
#define RPLRUN_ERROR_NUMBER(name, number, message) name = number,
  RPLRUN_ERRORS(RPLRUN_ERROR_NUMBER)
#undef RPLRUN_ERROR_NUMBER
      user_error = 0x70000,  // DOERR with a string
};

// The message of an error number of the table; empty for any other.
std::string error_message(std::uint32_t number);

// An error raised by a command or by evaluation; IFERR may catch it.
struct RplError {
  std::uint32_t number = error_none;
  std::string message;                   // ERRM
  std::optional<std::uint32_t> command;  // the command that failed, if any
  bool names_command = true;             // false: reported without it (DOERR)
};

// The error of that number with its message, raised by `command` when given.
RplError error_of(std::uint32_t number, std::optional<std::uint32_t> command = std::nullopt);
[[noreturn]] void fail(std::uint32_t number, std::optional<std::uint32_t> command = std::nullopt);
[[noreturn]] void fail_with(std::uint32_t number, std::string message);

}  // namespace rplrun
