#include "rplgen/translate/program.h"

#include <cstdio>
#include <string_view>

#include "rplgen/translate/locals.h"
#include "rplgen/translate/records.h"
#include "support/diagnostics.h"

namespace rplgen {

using rpl::fatal_errno;
using rpl::text_append;
using rpl::text_view;
using rpl::warning;
using rpl::xstrcat_list;
using rpl::xstrdup;
using rpl::xstrfmt;

std::FILE* outfile = stdout;
void (*program_sink)(Text* statements) = nullptr;
std::function<Text**()> complete_statements;

namespace {

bool write_bytes(std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), outfile) == bytes.size();
}

}  // namespace

void no_program() {
  if (program_sink != nullptr) {
    program_sink(nullptr);
    return;
  }
  warning("no output is produced, since no input was provided");
}

void write_program(Text* statements) {
  forget_records();
  if (program_sink != nullptr) {
    program_sink(statements);
    return;
  }
  const TextPtr program(statements);
  // Flushed and checked per program, so that no program is claimed written
  // that did not reach the output.
  const bool written = write_bytes(program_opening) && write_bytes(text_view(program.get())) &&
                       write_bytes(program_closing) && std::fflush(outfile) == 0;
  if (!written) fatal_errno(1, "write error");
}

Text* empty_text() { return xstrdup(std::string_view{}); }

// A definition's text ends with a newline like any other statement's: the
// calculator would read "STO" and a following name or number as one word.
Text* make_function(Text* name, Text* parameters, Text* body) {
  Locals locals = close_local_table();
  const bool has_locals = locals.names != nullptr;
  if (parameters == nullptr && !has_locals) {
    return xstrfmt("\\<<%s\\>> '%s' STO\n", body, name);
  }
  // The declaration part: the locals' initial values, then the names to bind,
  // parameters before locals, matching the order of the values on the stack.
  Text* declaration = has_locals ? locals.initial_values.release() : empty_text();
  declaration = text_append(declaration, " \\-> ");
  if (parameters != nullptr) {
    declaration = xstrcat_list(declaration, parameters);
    if (has_locals) declaration = text_append(declaration, ",");
  }
  // Appended rather than joined: of a long list the names' block is taken over
  // whole instead of copied.
  if (has_locals) declaration = text_append(declaration, locals.names.release());
  return xstrfmt("\\<< %s \\<< %s \\>> \\>> '%s' STO\n", declaration, body, name);
}

}  // namespace rplgen
