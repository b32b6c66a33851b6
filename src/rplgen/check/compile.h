// Compiling a source in memory, as rplgen compiles a file, while checking it
// as a C compiler would: syntax errors that name the offending token and what
// would have been accepted, warnings for the mistakes that compile into RPL
// that fails or computes something else, and for each byte of the RPL written
// the place in the source that it came from.
//
// The source is parsed by the same grammar as rplgen's, generated a second
// time with detailed error reports and locations, and translated by the same
// templates: what compiles here is byte for byte what rplgen writes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rplgen::check {

// Whether a word is a command of the calculator. The program that compiles
// provides it; rplgen's libraries know no commands.
using CommandTest = std::function<bool(std::string_view word)>;

struct Diagnostic {
  enum class Kind { error, warning, note };
  Kind kind;
  std::uint32_t offset;  // in the source, in bytes
  std::string message;
};

struct Compilation {
  bool compiled = false;  // no error: the source compiles
  // In source order. At most one error, after which the source was not read on;
  // a note follows the error or warning it belongs to.
  std::vector<Diagnostic> diagnostics;
  // The program as rplgen writes it; empty when the source holds no statement.
  std::string rpl;
  // For each byte of `rpl`, the source offset of the construct that wrote it.
  std::vector<std::uint32_t> origins;
};

// The largest source that can be compiled: offsets are 32-bit.
inline constexpr std::size_t max_source_size = 0xFFFFFFF0u;

Compilation compile(std::string_view source, const CommandTest& is_command);

}  // namespace rplgen::check
