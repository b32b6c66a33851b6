#include "report.h"

#include <cstdio>

#include "objects/charset.h"
#include "support/diagnostics.h"

namespace rplrun {

namespace {
std::string& name_storage() {
  static std::string name = "rplrun";
  return name;
}
}  // namespace

void set_program_name(std::string_view name) {
  const std::size_t slash = name.rfind('/');
  name_storage() = std::string(slash == std::string_view::npos ? name : name.substr(slash + 1));
  rpl::set_program_name(name_storage().c_str());
}

void report(std::string_view text) {
  static const bool named = (rpl::set_program_name(name_storage().c_str()), true);
  static_cast<void>(named);
  // One line, whatever the text holds (a file name, an option's value): a control
  // character is written as its code.
  std::string line;
  for (const char c : text) {
    if (is_control(static_cast<unsigned char>(c)))
      line += rpl::backslash_code(static_cast<unsigned char>(c));
    else
      line += c;
  }
  rpl::warning("%.*s", static_cast<int>(line.size()), line.data());
  std::fflush(stderr);
}

}  // namespace rplrun
