// Memory: MEM BYTES NEWOB VERSION, and ARCHIVE and RESTORE of the HOME directory to and
// from a transfer file.
//
// BYTES gives an object's size and checksum as the calculator has it in memory: its
// nibbles (prologs, length fields, BCD reals, characters) and their CRC, the one the
// Saturn processor computes. A built-in command inside an object is a pointer into the
// ROM or a library number, which rplrun does not know: BYTES of such an object is not
// supported rather than wrong. MEM counts the same sizes, a command as a ROM pointer.
#include <fstream>
#include <sstream>

#include "commands/support.h"
#include "objects/array.h"
#include "objects/charset.h"
#include "objects/directory.h"
#include "objects/display.h"
#include "objects/grob.h"
#include "objects/library_data.h"
#include "objects/reader.h"
#include "objects/transfer.h"
#include "objects/unit.h"

namespace rplrun {

namespace {

// The prologs: the ROM addresses that start each kind of object, and the end of a
// composite.
enum Prolog : std::uint32_t {
  real_prolog = 0x02933,
  complex_prolog = 0x02977,
  array_prolog = 0x029E8,
  string_prolog = 0x02A2C,
  binary_prolog = 0x02A4E,
  list_prolog = 0x02A74,
  directory_prolog = 0x02A96,
  algebraic_prolog = 0x02AB8,
  tagged_prolog = 0x02AFC,
  program_prolog = 0x02D9D,
  grob_prolog = 0x02B1E,
  global_name_prolog = 0x02E48,
  local_name_prolog = 0x02E6D,
  composite_end = 0x0312B,
};

// An object's nibbles as they lie in memory, counted and checksummed.
class Nibbles {
 public:
  // `exact`: fail when a part's encoding is not known; else count a command as a pointer.
  explicit Nibbles(bool exact) : exact_(exact) {}

  void nibble(unsigned n) {
    crc_ = (crc_ >> 4) ^ (((crc_ ^ n) & 0xF) * 0x1081);
    ++count_;
  }
  // A field of `width` nibbles, the lowest first.
  void field(std::uint64_t value, int width) {
    for (int k = 0; k < width; ++k, value >>= 4) nibble(static_cast<unsigned>(value & 0xF));
  }
  void text(const std::string& hp_text) {
    for (const char c : hp_text) field(static_cast<unsigned char>(c), 2);
  }
  // A real's 16 nibbles: the exponent (3 digits, ten's complement), the 12 digits of
  // the mantissa from the last, the sign (9 for negative).
  void real_body(Real x) {
    const Real::Decimal d = x.decimal();
    std::uint64_t mantissa = d.coefficient;
    int exponent = d.exponent;
    while (mantissa != 0 && mantissa < 100000000000ULL) {
      mantissa *= 10;
      --exponent;
    }
    exponent = mantissa == 0 ? 0 : exponent + 11;
    const int stored = exponent < 0 ? 1000 + exponent : exponent;
    for (int k = 0, e = stored; k < 3; ++k, e /= 10) nibble(static_cast<unsigned>(e % 10));
    for (int k = 0; k < 12; ++k, mantissa /= 10) nibble(static_cast<unsigned>(mantissa % 10));
    nibble(d.negative && d.coefficient != 0 ? 9 : 0);
  }

  void object(const Object& x, bool in_sequence = false);

  std::uint32_t crc() const { return crc_; }
  std::uint64_t count() const { return count_; }

 private:
  void sequence(std::uint32_t prolog, std::span<const Object> items, bool in_program) {
    field(prolog, 5);
    for (const Object& item : items) object(item, in_program);
    field(composite_end, 5);
  }
  void name(const Object& x) {
    const std::string& text = x.symbol()->text();
    field(x.is_local() ? local_name_prolog : global_name_prolog, 5);
    field(text.size(), 2);
    this->text(text);
  }
  void array(const ArrayNode& a) {
    const int dimensions = a.is_matrix ? 2 : 1;
    const int element = a.is_complex ? 32 : 16;
    field(array_prolog, 5);
    field(5 + 5 + 5 + 5 * dimensions + element * a.elements.size(), 5);
    field(a.is_complex ? complex_prolog : real_prolog, 5);
    field(static_cast<std::uint64_t>(dimensions), 5);
    if (a.is_matrix) field(a.rows, 5);
    field(a.columns, 5);
    for (const Object& e : a.elements) {
      const Complex z = e.to_complex();
      real_body(z.re);
      if (a.is_complex) real_body(z.im);
    }
  }
  void unknown(unsigned nibbles) {
    if (exact_) throw Unknown{};
    count_ += nibbles;
  }

  bool exact_;
  std::uint32_t crc_ = 0;
  std::uint64_t count_ = 0;

 public:
  struct Unknown {};
};

void Nibbles::object(const Object& x, bool in_program) {
  switch (x.kind()) {
    case Kind::real:
      field(real_prolog, 5);
      real_body(x.as_real());
      return;
    case Kind::complex:
      field(complex_prolog, 5);
      real_body(x.as_complex().re);
      real_body(x.as_complex().im);
      return;
    case Kind::string:
      field(string_prolog, 5);
      field(5 + 2 * x.as_string().size(), 5);
      text(x.as_string());
      return;
    case Kind::binary:
      field(binary_prolog, 5);
      field(5 + 16, 5);
      field(x.as_binary(), 16);
      return;
    case Kind::name:
      if (x.symbol()->text().size() > 255) return unknown(7 + 2 * x.symbol()->text().size());
      // A quoted name in a program is an algebraic holding the name.
      if (in_program && x.is_quoted()) {
        field(algebraic_prolog, 5);
        name(x);
        field(composite_end, 5);
        return;
      }
      name(x);
      return;
    case Kind::list: sequence(list_prolog, x.items(), false); return;
    case Kind::program: sequence(program_prolog, x.items(), true); return;
    case Kind::algebraic: sequence(algebraic_prolog, x.items(), true); return;
    case Kind::array: array(x.node_as<ArrayNode>()); return;
    case Kind::tagged:
      if (x.tag().size() > 255) return unknown(7 + 2 * x.tag().size());
      field(tagged_prolog, 5);
      field(x.tag().size(), 2);
      text(x.tag());
      object(x.tagged_value());
      return;
    case Kind::command: return unknown(5);
    case Kind::call: return unknown(7 + 2 * x.symbol()->text().size());
    case Kind::unit: {
      // The prolog, the real, each factor as a name and its power, the end.
      std::size_t size = 5 + 21 + 5;
      for (const UnitFactor& f : unit_of(x).factors) size += 7 + 2 * f.name.size() + 21;
      return unknown(static_cast<unsigned>(size));
    }
    case Kind::grob: {
      const Grob& g = grob_of(x);
      const std::string digits = grob_digits(g);
      field(grob_prolog, 5);
      field(15 + digits.size(), 5);
      field(g.height, 5);
      field(g.width, 5);
      for (const char c : digits)
        field(static_cast<unsigned>(c <= '9' ? c - '0' : c - 'A' + 10), 1);
      return;
    }
    case Kind::library_data:
      // The prolog, the length and the library's number, then what it holds.
      unknown(5 + 5 + 3);
      object(library_data_content(x));
      return;
    case Kind::directory: {
      unknown(5 + 3 + 5 + 5);
      for (const auto& [name, value] : directory_entries(x)) {
        unknown(2 + 2 * name->text().size() + 2 + 5);
        object(*value);
      }
      return;
    }
  }
}

// What the variables and the stack take, in nibbles, commands counted as ROM pointers.
std::uint64_t used_nibbles(Machine& m) {
  Nibbles used(false);
  for (const auto& [name, value] : directory_entries(m.home())) {
    used.field(0, 2 + 2 * name->text().size() + 2 + 5);
    used.object(*value);
  }
  for (const Object& x : m.stack()) {
    used.object(x);
    used.field(0, 5);  // the stack's pointer to it
  }
  return used.count();
}

// After a memory reset a 48GX (128 KB) has about this much free.
constexpr std::uint64_t free_after_reset = 126976;

void mem(Machine& m, const Args&) {
  const std::uint64_t used = (used_nibbles(m) + 1) / 2;
  m.push(integer_object(
      static_cast<std::int64_t>(used < free_after_reset ? free_after_reset - used : 0)));
}

Object size_object(std::uint64_t nibbles) {
  return Object::real(Real::from_decimal(false, nibbles * 5, -1).value);
}

void bytes(Machine& m, const Args& a) {
  // A built-in object is a pointer into the ROM.
  if (a[1].is(Kind::command)) {
    m.push(Object::binary(0));
    m.push(size_object(5));
    return;
  }
  Nibbles nibbles(true);
  try {
    nibbles.object(a[1]);
  } catch (const Nibbles::Unknown&) {
    m.not_supported();
  }
  m.push(Object::binary(nibbles.crc()));
  m.push(size_object(nibbles.count()));
}

// A copy in memory of its own: the same object to a program.
void newob(Machine& m, const Args& a) { m.push(a[1]); }

void version(Machine& m, const Args&) {
  m.push(Object::string("Version HP48-R"));
  m.push(Object::string("Copyright HP 1993"));
}

// ARCHIVE's and RESTORE's argument, :port:name, with port IO (the serial link) or a
// port number: the file named by the name, in the working directory. A name may hold
// a slash, but a file elsewhere (../x) is no port's: Bad Argument Value.
std::string backup_file(const Object& x) {
  if (!x.is(Kind::tagged)) fail(bad_argument_type);
  const Object& name = x.tagged_value();
  if (!name.is(Kind::name) || name.is_local()) fail(bad_argument_type);
  const std::string& port = x.tag();
  const bool number = !port.empty() && port.size() <= 2 &&
                      std::all_of(port.begin(), port.end(), [](char c) { return is_digit(c); });
  if (port != "IO" && !(number && std::stoi(port) <= 33)) fail(bad_argument_value);
  std::string file = encode(name.symbol()->text(), OutputCharset::ascii);
  if (file.find('/') != std::string::npos) fail(bad_argument_value);
  return file;
}

constexpr const char* backup_header = "%%HP: T(3)A(D)F(.);\n";

// HOME as a transfer file, written in the modes of a memory reset so that it reads back
// as it was.
void archive(Machine& m, const Args& a) {
  const std::string path = backup_file(a[1]);
  TextSink text_sink(max_object_bytes);
  text_sink.transfer = true;
  append_object(text_sink, m.home(), Flags(), false);
  const std::string& text = text_sink.text();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << backup_header << encode(text, OutputCharset::ascii) << '\n';
  out.close();
  if (!out) fail(bad_argument_value);
}

void restore(Machine& m, const Args& a) {
  const std::string path = backup_file(a[1]);
  std::ifstream in(path, std::ios::binary);
  if (!in) fail(undefined_name);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) fail(undefined_name);
  Object body;
  try {
    const SourceText text = load_transfer(register_source(path), bytes.str());
    body = read_program_body(text, ReadContext{m.flags.angle_mode(), 10});
  } catch (const SyntaxError&) {
    fail(invalid_syntax);
  }
  if (body.items().size() != 1 || !body.items()[0].is(Kind::directory)) fail(bad_argument_type);
  m.replace_home(body.items()[0]);
}

constexpr CommandRow rows[] = {
    {"MEM", 0, mem},         {"BYTES", 1, bytes},     {"NEWOB", 1, newob},
    {"VERSION", 0, version}, {"ARCHIVE", 1, archive}, {"RESTORE", 1, restore},
};

}  // namespace

std::span<const CommandRow> memory_commands() { return rows; }

}  // namespace rplrun
