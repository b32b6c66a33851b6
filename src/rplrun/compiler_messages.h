// Diagnostics in the form that compilers write and editors read:
// "FILE:LINE:COLUMN: error: MESSAGE" (or warning, note) on standard error, then
// the line of the source and a caret under the column, as gcc and clang show
// them. Used for .c48 sources and for RPL files checked with --check.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rplrun {

// `where` is "FILE:LINE:COLUMN"; `source` the whole text of the file, `offset` the byte
// the diagnostic points at.
void report_compiler_message(const std::string& where, std::string_view kind,
                             std::string_view message, std::string_view source,
                             std::size_t offset);

// The offset in `source` of column `column` (counted in bytes, from 1) of line `line`.
std::size_t offset_of(std::string_view source, std::size_t line, std::size_t column);

}  // namespace rplrun
