#include "machine/keyboard.h"

#include <array>
#include "numbers/real.h"
#include "support/blanks.h"

namespace rplrun {

namespace {

// The keys' labels, row by row, as an answer names them (ASCII; the square root key
// with its backslash code).
constexpr std::array<std::array<std::string_view, 6>, 9> labels = {{
    {"A", "B", "C", "D", "E", "F"},
    {"MTH", "PRG", "CST", "VAR", "UP", "NXT"},
    {"'", "STO", "EVAL", "LEFT", "DOWN", "RIGHT"},
    {"SIN", "COS", "TAN", "\\v/", "^", "1/X"},
    {"ENTER", "+/-", "EEX", "DEL", "BACK", ""},
    {"ALPHA", "7", "8", "9", "/", ""},
    {"LS", "4", "5", "6", "*", ""},
    {"RS", "1", "2", "3", "-", ""},
    {"ON", "0", ".", "SPC", "+", ""},
}};

int columns(int row) { return row <= 4 ? 6 : 5; }

using rpl::without_blanks_around;

std::optional<Key> key_of_label(std::string_view label) {
  for (int row = 1; row <= 9; ++row) {
    for (int column = 1; column <= columns(row); ++column) {
      if (labels[row - 1][column - 1] == label) return Key{row, column, 1};
    }
  }
  return std::nullopt;
}

// A code written as a number: digits, then at most one digit after a point.
std::optional<Key> key_of_number(std::string_view text) {
  int value = 0;
  int decimals = -1;
  for (const char c : text) {
    if (c == '.' && decimals < 0) {
      decimals = 0;
    } else if (c >= '0' && c <= '9' && decimals < 1 && value < 100) {
      value = value * 10 + (c - '0');
      if (decimals >= 0) ++decimals;
    } else {
      return std::nullopt;
    }
  }
  if (decimals <= 0) value *= 10;
  const std::optional<Key> key = key_of_code(Real::from_int64(value / 10));
  if (!key || value % 10 > 6) return std::nullopt;
  return Key{key->row, key->column, value % 10 == 0 ? 1 : value % 10};
}

}  // namespace

Real Key::value() const {
  return Real::from_decimal(false, static_cast<std::uint64_t>(order()), -1).value;
}

std::optional<Key> key_of_code(Real code) {
  if (code.is_negative()) return std::nullopt;
  const Real::Decimal d = code.decimal();
  // Ten times the code, which must be a whole number: rc.p with one digit of plane.
  std::uint64_t tenfold = d.coefficient;
  int exponent = d.exponent + 1;
  for (; exponent < 0; ++exponent) {
    if (tenfold % 10 != 0) return std::nullopt;
    tenfold /= 10;
  }
  for (; exponent > 0 && tenfold < 1000; --exponent) tenfold *= 10;
  if (exponent > 0 || tenfold >= 1000) return std::nullopt;
  const int rc = static_cast<int>(tenfold / 10);
  const int plane = static_cast<int>(tenfold % 10);
  const Key key{rc / 10, rc % 10, plane == 0 ? 1 : plane};
  if (key.row < 1 || key.row > 9 || key.column < 1 || key.column > columns(key.row) || plane > 6)
    return std::nullopt;
  return key;
}

std::optional<Key> key_of_answer(std::string_view text) {
  std::string_view rest = without_blanks_around(text);
  if (const std::optional<Key> key = key_of_number(rest)) return key;
  int plane = 1;
  if (rest.starts_with("ALPHA ")) {
    plane = 4;
    rest = without_blanks_around(rest.substr(6));
  }
  if (rest.starts_with("LS ")) {
    plane += 1;
    rest = without_blanks_around(rest.substr(3));
  } else if (rest.starts_with("RS ")) {
    plane += 2;
    rest = without_blanks_around(rest.substr(3));
  }
  std::optional<Key> key = key_of_label(rest);
  if (!key) return std::nullopt;
  key->plane = plane;
  return key;
}

}  // namespace rplrun
