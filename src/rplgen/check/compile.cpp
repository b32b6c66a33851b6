#include "rplgen/check/compile.h"

#include <cstdio>

#include "rplgen/check/checker.h"
#include "rplgen/check/parse.h"
#include "rplgen/lexer/scanner.h"
#include "rplgen/translate/expressions.h"
#include "rplgen/translate/locals.h"
#include "rplgen/translate/program.h"
#include "support/origins.h"

namespace rplgen::check {

namespace {

// The program of the source being compiled, as the translation hands it over.
rpl::Text* program = nullptr;

void take_program(rpl::Text* statements) { program = statements; }

// Sets up the translation to hand its program over with origins, and the
// checker to hear of assignments that cannot be made; puts everything back as
// rplgen has it afterwards, however the parse ended.
struct Translation {
  explicit Translation(Checker& checker) {
    program = nullptr;
    program_sink = take_program;
    on_cannot_assign = [&checker] { checker.cannot_assign(); };
    rpl::track_origins(true);
  }
  ~Translation() {
    if (program != nullptr) rpl::text_free(program);
    program = nullptr;
    close_all_local_tables();
    rpl::track_origins(false);
    on_cannot_assign = nullptr;
    program_sink = nullptr;
  }
  Translation(const Translation&) = delete;
  Translation& operator=(const Translation&) = delete;
};

}  // namespace

Compilation compile(std::string_view source, const CommandTest& is_command) {
  Compilation result;
  if (source.size() > max_source_size) {
    result.diagnostics.push_back({Diagnostic::Kind::error, 0, "the file is too large to compile"});
    return result;
  }
  Checker checker(source, is_command);
  Translation translation(checker);
  // The scanner reads a stream: the source in memory is one.
  static char no_bytes[1];
  char* const bytes = source.empty() ? no_bytes : const_cast<char*>(source.data());
  std::FILE* input = fmemopen(bytes, source.size(), "r");
  if (input == nullptr) {
    result.diagnostics.push_back({Diagnostic::Kind::error, 0, "cannot read the source"});
    return result;
  }
  restart_scanner(input);
  parse(checker);
  std::fclose(input);
  if (!checker.failed()) checker.finish();
  result.compiled = !checker.failed();
  result.diagnostics = checker.take_diagnostics();
  if (result.compiled && program != nullptr) {
    const std::string_view statements = rpl::text_view(program);
    result.rpl.reserve(program_opening.size() + statements.size() + program_closing.size());
    result.rpl.append(program_opening).append(statements).append(program_closing);
    // The program's own delimiters belong to no construct: the start of the source.
    result.origins.assign(program_opening.size(), 0);
    rpl::append_origins(program, result.origins);
    result.origins.resize(result.rpl.size(), 0);
  }
  return result;
}

}  // namespace rplgen::check
