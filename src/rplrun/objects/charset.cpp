#include "objects/charset.h"

namespace rplrun {

std::string encode(std::string_view hp_text, OutputCharset charset, LineBreaks breaks) {
  std::string out;
  out.reserve(hp_text.size());
  for (const char ch : hp_text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\n' && breaks != LineBreaks::code) {
      out += breaks == LineBreaks::kept ? '\n' : ' ';
    } else if (is_control(c)) {
      out += rpl::backslash_code(c);
    } else if (c < 128) {
      out += ch;
    } else if (charset == OutputCharset::ascii) {
      out += rpl::backslash_code(c);
    } else {
      rpl::append_utf8(out, c);
    }
  }
  return out;
}

}  // namespace rplrun
