#include "objects/errors.h"

namespace rplrun {

std::string error_message(std::uint32_t number) {
  switch (number) {
    case error_none: return "";
    case insufficient_memory: return "Insufficient Memory";
    case undefined_local_name: return "Undefined Local Name";
    case interrupted_error: return "Interrupted";
    case invalid_syntax: return "Invalid Syntax";
    case too_few_arguments: return "Too Few Arguments";
    case bad_argument_type: return "Bad Argument Type";
    case bad_argument_value: return "Bad Argument Value";
    case undefined_name: return "Undefined Name";
    case positive_underflow: return "Positive Underflow";
    case negative_underflow: return "Negative Underflow";
    case overflow_error: return "Overflow";
    case undefined_result: return "Undefined Result";
    case infinite_result: return "Infinite Result";
    case invalid_dimension: return "Invalid Dimension";
    case invalid_array_element: return "Invalid Array Element";
    // \205 is the calculator's sigma.
    case invalid_statistics_data: return "Invalid \205Data";
    case nonexistent_statistics_data: return "Nonexistent \205DAT";
    case insufficient_statistics_data: return "Insufficient \205Data";
    case invalid_statistics_parameters: return "Invalid \205PAR";
    case statistics_log_of_negative: return "Invalid \205Data LN(Neg)";
    case statistics_log_of_zero: return "Invalid \205Data LN(0)";
    default: return "";
  }
}

void fail(std::uint32_t number) { throw RplError{number, error_message(number), std::nullopt}; }

void fail_with(std::uint32_t number, std::string message) {
  throw RplError{number, std::move(message), std::nullopt};
}

}  // namespace rplrun
