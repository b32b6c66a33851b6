// Names, interned: one Symbol per distinct text for the whole run, so that comparing
// two names is comparing two pointers. Symbols are never freed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rplrun {

class Symbol {
 public:
  explicit Symbol(std::string text) : text_(std::move(text)) {}
  const std::string& text() const { return text_; }

  // The command of this name, kept by the command registry once it has looked it up
  // (find_command): the table of commands does not change while the program runs.
  static constexpr std::uint32_t not_looked_up = UINT32_MAX;
  static constexpr std::uint32_t no_command = UINT32_MAX - 1;
  mutable std::uint32_t command = not_looked_up;

 private:
  std::string text_;  // HP characters
};

const Symbol* intern(std::string_view text);

}  // namespace rplrun
