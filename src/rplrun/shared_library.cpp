#include "shared_library.h"

#include <dlfcn.h>

namespace rplrun {

namespace {

std::string last_error(const char* what) {
  const char* reason = dlerror();
  return reason ? reason : std::string(what) + ": not found";
}

}  // namespace

SharedLibrary::SharedLibrary(const char* file) : handle_(dlopen(file, RTLD_NOW | RTLD_LOCAL)) {
  if (!handle_) error_ = last_error(file);
}

void* SharedLibrary::symbol(const char* name) {
  if (!handle_) return nullptr;
  void* found = dlsym(handle_, name);
  if (!found && error_.empty()) error_ = last_error(name);
  return found;
}

}  // namespace rplrun
