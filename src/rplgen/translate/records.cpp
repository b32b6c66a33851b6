#include "rplgen/translate/records.h"

#include <vector>

namespace rplgen {

namespace {

// Every record in one pool: its size, then its values. A record is the index of its
// size plus one, so that 0 is no record.
std::vector<std::uint32_t> pool;

std::uint32_t at(Record record) { return record - 1; }

}  // namespace

Record new_record(std::uint32_t size) {
  const auto record = static_cast<Record>(pool.size() + 1);
  pool.push_back(size);
  pool.resize(pool.size() + size, 0);
  return record;
}

std::uint32_t* record_values(Record record) { return pool.data() + at(record) + 1; }
std::uint32_t record_size(Record record) { return pool[at(record)]; }

Record record_append(Record record, std::uint32_t value) {
  const std::uint32_t size = record_size(record);
  if (at(record) + 1 + size != pool.size()) {
    // Not the last record: it moves to the end, where it can grow.
    const Record moved = new_record(size);
    for (std::uint32_t k = 0; k < size; ++k) record_values(moved)[k] = record_values(record)[k];
    record = moved;
  }
  pool.push_back(value);
  ++pool[at(record)];
  return record;
}

void forget_records() { pool.clear(); }

}  // namespace rplgen
