// Names, interned: one Symbol per distinct text for the whole run, so that comparing
// two names is comparing two pointers. Symbols are never freed.
#pragma once

#include <string>
#include <string_view>

namespace rplrun {

class Symbol {
 public:
  explicit Symbol(std::string text) : text_(std::move(text)) {}
  const std::string& text() const { return text_; }

 private:
  std::string text_;  // HP characters
};

const Symbol* intern(std::string_view text);

}  // namespace rplrun
