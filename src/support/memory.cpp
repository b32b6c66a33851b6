#include "support/memory.h"

#include <cerrno>
#include <new>

#include "support/diagnostics.h"

namespace rpl {

void out_of_memory() {
  errno = ENOMEM;  // operator new does not say why it failed
  fatal_errno(1, nullptr);
}

void install_memory_handler() { std::set_new_handler(out_of_memory); }

}  // namespace rpl
