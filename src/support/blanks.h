// Blanks around a typed line: what is left when spaces and tabs at its ends go, as a
// view into the same text.
#pragma once

#include <string_view>

namespace rpl {

inline std::string_view without_blanks_around(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace rpl
