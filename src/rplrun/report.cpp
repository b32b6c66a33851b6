#include "rplrun/report.h"

#include <cstdio>

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
}

const std::string& program_name() { return name_storage(); }

void report(std::string_view text) {
  std::string line = program_name();
  line += ": ";
  line += text;
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace rplrun
