#include "rplgen/translate/locals.h"

#include <utility>

namespace rplgen {

namespace {

std::vector<std::vector<Local>> open_tables;

}  // namespace

void open_local_table() { open_tables.emplace_back(); }

void add_local(Text* name, Text* initial_value) {
  open_tables.back().push_back({TextPtr(name), TextPtr(initial_value)});
}

std::vector<Local> close_local_table() {
  std::vector<Local> locals = std::move(open_tables.back());
  open_tables.pop_back();
  return locals;
}

}  // namespace rplgen
