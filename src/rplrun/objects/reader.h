// Reading RPL text into objects: tokens, every object kind with its position,
// algebraics, and program structures checked as they are read.
#pragma once

#include "objects/control.h"
#include "objects/object.h"
#include "objects/source.h"

namespace rplrun {

// A delimiter left open at the end of the input, which the reader closed there.
struct SuppliedClosing {
  Position opener;
  unsigned char open;   // the HP characters: « { [ " '
  unsigned char close;  // » } ] " '
};

struct ReadContext {
  AngleMode angle_mode = AngleMode::degrees;  // for polar complex literals
  int binary_base = 10;                       // for "#12" without a base letter
  // Where the text ends as a file or a command line does, whose programs, lists,
  // arrays, strings and algebraics left open the calculator closes: the closings
  // supplied go here, innermost first. Null: anything left open is Invalid Syntax.
  std::vector<SuppliedClosing>* supplied = nullptr;
};

// The objects of a whole input, as the body of one program: items, their positions and
// their structures. Throws SyntaxError.
Object read_program_body(const SourceText& source, const ReadContext& context);

// A program of the runner's own, written in RPL with backslash codes (commands run it
// as a step of their work); its positions name the source `source_name`. Callers keep
// it in a static, so that it is read once.
Object read_builtin_program(const char* source_name, std::string_view rpl);

}  // namespace rplrun
