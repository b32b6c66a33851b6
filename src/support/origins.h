// Where the bytes of owned texts came from.
//
// While origins are tracked, every text records for each stretch of its bytes
// an origin: a number that the builder chooses, such as the place in a source
// file of the construct whose translation wrote the stretch. The bytes a
// routine writes itself (a template's literal part) get the current origin;
// bytes copied from the stretch named by set_origin_source get the origin of
// their own place in it; bytes taken from another text keep theirs. Without
// tracking, text building records nothing and pays one test per routine.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "support/text.h"

namespace rpl {

// Starts or stops tracking; stopping forgets every origin recorded.
void track_origins(bool on);

// The origin of the bytes written from now on.
void set_origin(std::uint32_t origin);

// Bytes copied from inside `bytes` (the lexeme of a token, say) from now on get
// `origin` plus their offset in it.
void set_origin_source(std::string_view bytes, std::uint32_t origin);

// Appends the origin of each byte of the text, in order. A text built while
// origins were not tracked has origin 0 throughout.
void append_origins(const Text* text, std::vector<std::uint32_t>& out);

}  // namespace rpl
