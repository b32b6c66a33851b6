#include "objects/display.h"

#include <algorithm>

#include "numbers/coordinates.h"
#include "objects/algebraic.h"
#include "objects/array.h"
#include "objects/command_registry.h"
#include "objects/directory.h"
#include "objects/grob.h"
#include "objects/unit.h"

namespace rplrun {

std::string format_binary(std::uint64_t value, const FlagWords& flags) {
  const int size = flags.word_size();
  if (size < 64) value &= (1ULL << size) - 1;
  const int base = flags.binary_base();
  std::string digits;
  do {
    const auto d = static_cast<int>(value % static_cast<std::uint64_t>(base));
    digits += static_cast<char>(d < 10 ? '0' + d : 'A' + d - 10);
    value /= static_cast<std::uint64_t>(base);
  } while (value != 0);
  std::reverse(digits.begin(), digits.end());
  const char letter = base == 16 ? 'h' : base == 8 ? 'o' : base == 2 ? 'b' : 'd';
  return "# " + digits + letter;
}

namespace {

void append_items(TextSink& out, std::span<const Object> items, const FlagWords& flags) {
  for (const Object& item : items) {
    if (out.full()) return;
    out.text() += ' ';
    append_object(out, item, flags, false);
  }
}

// A real vector of 2 or 3 elements in a polar mode: [ r \<)theta ], cylindrical
// [ r \<)theta z ], spherical [ r \<)theta \<)phi ].
bool append_polar_vector(std::string& out, const ArrayNode& a, const DisplayMode& mode) {
  const std::size_t n = a.elements.size();
  if (mode.coordinates == CoordinateMode::rectangular || a.is_matrix || a.is_complex ||
      (n != 2 && n != 3))
    return false;
  const Real x = a.elements[0].as_real();
  const Real y = a.elements[1].as_real();
  Real parts[3];
  bool angle[3] = {false, true, false};
  if (n == 3 && mode.coordinates == CoordinateMode::spherical) {
    const TripleResult s = to_spherical(x, y, a.elements[2].as_real(), mode.angle_mode);
    for (std::size_t k = 0; k < 3; ++k) parts[k] = s.values[k];
    angle[2] = true;
  } else {
    const Complex polar = to_polar(Complex{x, y}, mode.angle_mode).value;
    parts[0] = polar.re;
    parts[1] = polar.im;
    if (n == 3) parts[2] = a.elements[2].as_real();
  }
  out += '[';
  for (std::size_t k = 0; k < n; ++k) {
    out += ' ';
    if (angle[k]) out += static_cast<char>(hp_angle_sign);
    append_real(out, parts[k], mode);
  }
  out += " ]";
  return true;
}

void append_array(TextSink& sink, const ArrayNode& a, const DisplayMode& mode) {
  std::string& out = sink.text();
  if (append_polar_vector(out, a, mode)) {
    sink.settle();
    return;
  }
  auto element = [&](std::size_t k) {
    const Object& e = a.elements[k];
    if (e.is(Kind::complex))
      append_complex(out, e.as_complex(), mode);
    else
      append_real(out, e.as_real(), mode);
  };
  if (!a.is_matrix) {
    out += '[';
    for (std::size_t k = 0; k < a.elements.size() && !sink.full(); ++k) {
      out += ' ';
      element(k);
      sink.settle();
    }
    out += " ]";
    sink.settle();
    return;
  }
  out += '[';
  for (std::uint32_t r = 0; r < a.rows; ++r) {
    out += r == 0 ? "[" : "\n [";  // a row per line
    for (std::uint32_t c = 0; c < a.columns && !sink.full(); ++c) {
      out += ' ';
      element(static_cast<std::size_t>(r) * a.columns + c);
      sink.settle();
    }
    out += " ]";
    sink.settle();
  }
  out += ']';
  sink.settle();
}

}  // namespace

void append_object(TextSink& sink, const Object& object, const FlagWords& flags, bool top_level) {
  const DisplayMode mode = flags.display_mode();
  std::string& out = sink.text();
  switch (object.kind()) {
    case Kind::real: append_real(out, object.as_real(), mode); break;
    case Kind::complex: append_complex(out, object.as_complex(), mode); break;
    case Kind::string:
      out += '"';
      sink.put(object.as_string());
      sink.text() += '"';
      break;
    case Kind::list:
      out += '{';
      append_items(sink, object.items(), flags);
      sink.text() += " }";
      break;
    case Kind::program:
      out += static_cast<char>(171);
      append_items(sink, object.items(), flags);
      sink.text() += ' ';
      sink.text() += static_cast<char>(187);
      break;
    case Kind::array: append_array(sink, object.node_as<ArrayNode>(), mode); return;
    case Kind::name:
      if (top_level || object.is_quoted()) {
        out += '\'';
        out += object.symbol()->text();
        out += '\'';
      } else {
        out += object.symbol()->text();
      }
      break;
    case Kind::algebraic:
      out += '\'';
      append_infix(sink, object.items(), mode);
      sink.text() += '\'';
      break;
    case Kind::binary: out += format_binary(object.as_binary(), flags); break;
    case Kind::tagged:
      if (!top_level) out += ':';
      out += object.tag();
      out += ": ";
      sink.settle();
      append_object(sink, object.tagged_value(), flags, false);
      return;
    case Kind::command: out += command_info(object.command_id()).name; break;
    case Kind::call: out += object.symbol()->text(); break;
    case Kind::unit:
      append_real(out, unit_of(object).value, mode);
      out += '_';
      append_unit_expression(out, unit_of(object).factors, mode.fraction_mark);
      break;
    case Kind::directory:
      // A variable per line, as a transfer file holds it.
      out += "DIR";
      for (const auto& [name, value] : directory_entries(object)) {
        if (sink.full()) return;
        // Library data has no text to read back: a transfer leaves its variable out, so
        // that the rest restores (MINIT makes Mpar again).
        if (sink.transfer && value->is(Kind::library_data)) continue;
        sink.text() += '\n';
        sink.text() += name->text();
        sink.text() += ' ';
        append_object(sink, *value, flags, false);
      }
      sink.text() += "\nEND";
      break;
    case Kind::grob: {
      const Grob& g = grob_of(object);
      if (sink.transfer) {
        out += "GROB " + std::to_string(g.width) + ' ' + std::to_string(g.height) + ' ';
        sink.put(grob_digits(g));
        return;
      }
      out += "Graphic " + std::to_string(g.width) + ' ' + static_cast<char>(215) + ' ' +
             std::to_string(g.height);
      break;
    }
    // Nothing the reader could take back: the calculator writes it so in transfers too.
    case Kind::library_data: out += "Library Data"; break;
  }
  sink.settle();
}

std::string decompile(const Object& object, const FlagWords& flags, bool top_level) {
  TextSink out(max_object_bytes);
  append_object(out, object, flags, top_level);
  return std::move(out.text());
}

std::string show(const Object& object, const FlagWords& flags) {
  std::string text = decompile(object, flags, true);
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

}  // namespace rplrun
