// Lists as data: SORT, and \GSLIST \PILIST \GDLIST, which combine the elements with
// + * and - as those commands do (so they add strings, lists and algebraics too).
#include <algorithm>

#include "commands/support.h"

namespace rplrun {

namespace {

// The object an element is ordered by: itself, or for a list its first element (again
// for a list of lists). An empty list has none: Bad Argument Value.
const Object& sort_key(const Object& element) {
  const Object* key = &element;
  while (key->is(Kind::list)) {
    if (key->items().empty()) fail(bad_argument_value);
    key = &key->items().front();
  }
  return *key;
}

// By character codes: std::string compares as unsigned bytes, with memcmp.
bool text_less(const std::string& a, const std::string& b) { return a.compare(b) < 0; }

// SORT: reals, strings, names or binary integers, all of one kind, or lists ordered by
// their first elements; strings and names by character codes.
void sort(Machine& m, const Args& a) {
  std::vector<Object> items = copy_items(list_arg(a[1]));
  if (items.empty()) {
    m.push(a[1]);
    return;
  }
  const Kind kind = sort_key(items.front()).kind();
  if (kind != Kind::real && kind != Kind::string && kind != Kind::name && kind != Kind::binary)
    fail(bad_argument_type);
  for (const Object& item : items) {
    if (sort_key(item).kind() != kind) fail(bad_argument_type);
  }
  const int word_size = m.flags.word_size();
  const std::uint64_t mask = word_size >= 64 ? ~0ULL : (1ULL << word_size) - 1;
  std::uint32_t compared = 0;
  auto less = [&](const Object& x, const Object& y) {
    // A long sort stops, as between two objects, when the run is interrupted.
    if (++compared % 65536 == 0) m.poll();
    const Object& p = sort_key(x);
    const Object& q = sort_key(y);
    if (p.node() && p.node() == q.node()) return false;
    switch (kind) {
      case Kind::real: return p.as_real() < q.as_real();
      case Kind::string: return text_less(p.as_string(), q.as_string());
      case Kind::name: return text_less(p.symbol()->text(), q.symbol()->text());
      default: return (p.as_binary() & mask) < (q.as_binary() & mask);
    }
  };
  std::stable_sort(items.begin(), items.end(), less);
  m.push(Object::list(std::move(items)));
}

// The elements of a list of at least two, combined from the first on.
std::span<const Object> two_or_more(const Object& x) {
  const auto& items = list_arg(x);
  if (items.size() < 2) fail(invalid_dimension);
  return items;
}

void combine(Machine& m, const Object& list, std::uint32_t op) {
  const auto& items = two_or_more(list);
  Object result = items.front();
  for (std::size_t k = 1; k < items.size(); ++k) result = apply_command(m, op, result, items[k]);
  m.push(std::move(result));
}

void sum_list(Machine& m, const Args& a) { combine(m, a[1], cmd::plus); }
void product_list(Machine& m, const Args& a) { combine(m, a[1], cmd::times); }

void difference_list(Machine& m, const Args& a) {
  const auto& items = two_or_more(a[1]);
  std::vector<Object> differences;
  differences.reserve(items.size() - 1);
  for (std::size_t k = 1; k < items.size(); ++k)
    differences.push_back(apply_command(m, cmd::minus, items[k], items[k - 1]));
  m.push(Object::list(std::move(differences)));
}

constexpr CommandRow rows[] = {
    {"SORT", 1, sort},
    {"\\GSLIST", 1, sum_list},
    {"\\156LIST", 1, product_list},
    {"\\GDLIST", 1, difference_list},
};

}  // namespace

std::span<const CommandRow> list_arithmetic_commands() { return rows; }

}  // namespace rplrun
