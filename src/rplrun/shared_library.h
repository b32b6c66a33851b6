// A library the program opens when it first needs it rather than links: a linked
// library is loaded and bound at every start, which costs each run, the many short ones
// that never use it too.
#pragma once

#include <string>

namespace rplrun {

class SharedLibrary {
 public:
  // Opens `file`, a library's soname ("libpng16.so.16"); a failure is kept in error().
  explicit SharedLibrary(const char* file);

  // Sets `function` to the library's function `name`; one missing makes it unusable.
  template <class Function>
  void find(Function*& function, const char* name) {
    function = reinterpret_cast<Function*>(symbol(name));
  }

  bool usable() const { return error_.empty(); }
  const std::string& error() const { return error_; }

 private:
  void* symbol(const char* name);

  // Never closed: what it gives is used until the program ends.
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace rplrun
