#include "objects/errors.h"

namespace rplrun {

std::string error_message(std::uint32_t number) {
  switch (number) {
#define RPLRUN_ERROR_MESSAGE(name, number, message) \
  case name: return message;
    RPLRUN_ERRORS(RPLRUN_ERROR_MESSAGE)
#undef RPLRUN_ERROR_MESSAGE
    default: return "";
  }
}

RplError error_of(std::uint32_t number, std::optional<std::uint32_t> command) {
  return RplError{number, error_message(number), command};
}

void fail(std::uint32_t number, std::optional<std::uint32_t> command) {
  throw error_of(number, command);
}

void fail_with(std::uint32_t number, std::string message) {
  throw RplError{number, std::move(message), std::nullopt};
}

}  // namespace rplrun
