#include "objects/symbol.h"

#include <deque>
#include <unordered_map>

namespace rplrun {

const Symbol* intern(std::string_view text) {
  static std::deque<Symbol> symbols;
  static std::unordered_map<std::string_view, const Symbol*> index;
  if (const auto found = index.find(text); found != index.end()) return found->second;
  const Symbol& symbol = symbols.emplace_back(std::string(text));
  index.emplace(symbol.text(), &symbol);
  return &symbol;
}

}  // namespace rplrun
