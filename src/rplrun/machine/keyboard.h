// The calculator's keyboard and menus as state: the keys by row, column and shift
// plane, the user key assignments (ASN, STOKEYS), and the menu shown (MENU, TMENU).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>

#include "objects/object.h"

namespace rplrun {

// A key: row 1-9 from the top, column 1-6 (rows 1-4) or 1-5 (rows 5-9), and the shift
// plane: 1 none, 2 left shift, 3 right shift, 4 alpha, 5 alpha and left shift, 6 alpha
// and right shift. Written rc.p (82.1 is 1, 82.2 left-shifted 1).
struct Key {
  int row = 0;
  int column = 0;
  int plane = 1;
  int code() const { return row * 10 + column; }  // rc, as KEY gives it
  Real value() const;                             // rc.p, as WAIT gives it
  int order() const { return code() * 10 + plane; }
};

// The key of a code rc or rc.p, plane 0 meaning 1; none for a key the keyboard lacks.
std::optional<Key> key_of_code(Real code);

// The key an answer names: a key's label (A ... F, MTH, ENTER, 7, +, ...) after an
// optional shift (LS, RS, ALPHA, ALPHA LS, ALPHA RS), or its code rc or rc.p; none if
// it names no key. A shift key alone is the key itself, unshifted.
std::optional<Key> key_of_answer(std::string_view text);

// User key assignments, and whether the keys without one keep their standard meaning
// (RCLKEYS shows it as S).
struct UserKeys {
  bool standard = true;
  std::map<int, Object> assigned;  // by Key::order(): rc, then the plane
};

// The menu shown: a built-in menu's number, 1 for the custom menu (CST), 0 for a
// temporary one (TMENU), and the page. RCLMENU gives number + page / 100; at the start
// the first page of MTH is shown, as on the calculator recorded.
struct Menus {
  int number = 3;
  int page = 1;
  int last_number = 3;  // the menu shown before, for 0 MENU
  int last_page = 1;
  // Shows a menu: the one shown now becomes the one before.
  void show(int new_number, int new_page) {
    last_number = number;
    last_page = page;
    number = new_number;
    page = new_page;
  }
};

}  // namespace rplrun
