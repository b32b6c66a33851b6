#include "rplgen/translate/locals.h"

#include <utility>
#include <vector>

namespace rplgen {

using rpl::text_append;

namespace {

std::vector<Locals> open_tables;

// Appends an item to a comma-separated list, which it starts if there is none.
void append_item(TextPtr& list, Text* item) {
  if (list == nullptr) {
    list.reset(item);
    return;
  }
  list.reset(text_append(list.release(), ",", item));
}

}  // namespace

void open_local_table() { open_tables.emplace_back(); }

void add_local(Text* name, Text* initial_value) {
  Locals& table = open_tables.back();
  append_item(table.initial_values, initial_value);
  append_item(table.names, name);
}

void close_all_local_tables() { open_tables.clear(); }

Locals close_local_table() {
  Locals locals = std::move(open_tables.back());
  open_tables.pop_back();
  return locals;
}

}  // namespace rplgen
