// Records of where the parts of an expression stand in its text: the items of a
// list that are negative numbers, the base and the indices of an element. The
// translation of the constructs around the expression reads them.
//
// A record lives until the end of the statement that holds its expression: no
// expression outlives its statement, so the records are forgotten together when a
// statement is complete, and no record costs an allocation of its own.
#pragma once

#include <cstdint>

namespace rplgen {

using Record = std::uint32_t;
inline constexpr Record no_record = 0;

// A new record of `size` values, all 0.
Record new_record(std::uint32_t size);
// The record's values; the pointer holds until the next record is made or grown.
std::uint32_t* record_values(Record record);
std::uint32_t record_size(Record record);
// Appends a value to a record, which may move: use the record returned.
Record record_append(Record record, std::uint32_t value);

// Forgets every record: a statement is complete.
void forget_records();

}  // namespace rplgen
