// Objects as the calculator shows them: the decompiled form on one line (line breaks
// shown as blanks).
#pragma once

#include <string>

#include "objects/flag_words.h"
#include "objects/object.h"
#include "objects/text_sink.h"

namespace rplrun {

// The decompiled form of an object. `top_level`: as on a stack level (a name quoted, a
// tagged object as "tag: value"); otherwise as inside a list or program. Stops early
// once `out` is full.
void append_object(TextSink& out, const Object& object, const FlagWords& flags, bool top_level);
// The same as a text, no longer than an object may be (Insufficient Memory beyond).
std::string decompile(const Object& object, const FlagWords& flags, bool top_level = true);

// One stack level's text: the decompiled form with line breaks as blanks (capped too).
std::string show(const Object& object, const FlagWords& flags);

// A binary integer in the current base and word size: "# 28d".
std::string format_binary(std::uint64_t value, const FlagWords& flags);

}  // namespace rplrun
