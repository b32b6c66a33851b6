// The font files of data/, built into the program (font_data.cpp is generated).
#pragma once

namespace rplrun {

extern const char* const font_small_text;
extern const char* const font_medium_text;
extern const char* const font_large_text;

}  // namespace rplrun
