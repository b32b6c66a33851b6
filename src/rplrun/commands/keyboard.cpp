// The keyboard and the menus: KEY WAIT, the user keys (ASN STOKEYS RCLKEYS DELKEYS) and
// MENU TMENU RCLMENU. A key pressed is an answer (answers.h): its name, as
// key_of_answer reads it. Menus and user keys are state that programs set and read; no
// key runs what is assigned to it here.
#include "commands/alarms.h"
#include "commands/answers.h"
#include "commands/support.h"

namespace rplrun {

namespace {

std::string key_taker(std::optional<Key>& key, const std::string& text) {
  key = key_of_answer(text);
  return key ? "" : "expected a key's name (A, ENTER, LS 1, ...) or its code rc.p";
}

// KEY: the key pressed and 1, or 0 when none is. It does not wait.
void key(Machine& m, const Args&) {
  std::optional<Key> pressed;
  const auto take = [&](const std::string& text) { return key_taker(pressed, text); };
  if (ask_without_waiting(m, take) != Asked::answered) {
    m.push(integer_object(0));
    return;
  }
  m.push(integer_object(pressed->code()));
  m.push(integer_object(1));
}

// WAIT: x > 0 seconds go by at once, the fixed clock moved on by them; 0 (or -1, the
// menu shown) waits for a key and gives its code rc.p.
void wait(Machine& m, const Args& a) {
  const Real x = real_arg(a[1]);
  if (x.sign() > 0) {
    wait_on_clock(m, x);
    return;
  }
  std::optional<Key> pressed;
  const Asked asked =
      ask(m, {}, "Key?", [&](const std::string& text) { return key_taker(pressed, text); });
  if (asked == Asked::missing) {
    m.push(a[1]);
    m.halt();
  }
  if (asked != Asked::answered) m.stop(Outcome::Status::interrupted);
  m.push(Object::real(pressed->value()));
}

// ---- user keys

Key key_arg(const Object& code) {
  const std::optional<Key> key = key_of_code(real_arg(code));
  if (!key) fail(bad_argument_value);
  return *key;
}

bool is_standard_name(const Object& x) { return x.is(Kind::name) && x.symbol()->text() == "S"; }

void asn(Machine& m, const Args& a) {
  const Key key = key_arg(a[1]);
  m.user_keys.assigned.insert_or_assign(key.order(), a[2]);
}

// STOKEYS: { [S] object key ... } assigns the pairs (S: the other keys keep their
// standard meaning); 'S' alone gives the standard meanings back.
void stokeys(Machine& m, const Args& a) {
  if (is_standard_name(a[1])) {
    m.user_keys.standard = true;
    return;
  }
  std::span<const Object> items = list_arg(a[1]);
  const bool standard = !items.empty() && is_standard_name(items[0]);
  if (standard) items = items.subspan(1);
  if (items.size() % 2 != 0) fail(bad_argument_value);
  std::vector<Key> keys;
  for (std::size_t k = 1; k < items.size(); k += 2) keys.push_back(key_arg(items[k]));
  for (std::size_t k = 0; k < keys.size(); ++k)
    m.user_keys.assigned.insert_or_assign(keys[k].order(), items[2 * k]);
  if (standard) m.user_keys.standard = true;
}

// RCLKEYS: { [S] object key ... }, by key.
void rclkeys(Machine& m, const Args&) {
  std::vector<Object> items;
  if (m.user_keys.standard) items.push_back(Object::name(intern("S")));
  for (const auto& [order, object] : m.user_keys.assigned) {
    items.push_back(object);
    items.push_back(Object::real(Key{order / 100, order / 10 % 10, order % 10}.value()));
  }
  m.push(Object::list(std::move(items)));
}

// DELKEYS: a key's assignment, a list of them, all of them (0), or the standard
// meanings of the keys without one ('S').
void delkeys(Machine& m, const Args& a) {
  const Object& x = a[1];
  if (is_standard_name(x)) {
    m.user_keys.standard = false;
    return;
  }
  if (x.is(Kind::real) && x.as_real().is_zero()) {
    m.user_keys.assigned.clear();
    return;
  }
  const std::span<const Object> codes =
      x.is(Kind::list) ? x.items() : std::span<const Object>(&x, 1);
  std::vector<Key> keys;
  for (const Object& code : codes) keys.push_back(key_arg(code));
  for (const Key& key : keys) m.user_keys.assigned.erase(key.order());
}

// ---- menus

constexpr std::int64_t last_built_in_menu = 177;
constexpr std::int64_t first_library_menu = 256;

void show_menu(Machine& m, int number, int page) { m.menus.show(number, page); }

// A built-in menu by number and page (x.yy); 0 is the menu shown before.
void show_built_in(Machine& m, Real x) {
  if (x.is_negative()) fail(bad_argument_value);
  const std::int64_t number = x.int64_toward_zero();
  if (number >= first_library_menu) m.not_supported();
  if (number > last_built_in_menu) fail(bad_argument_value);
  const Real hundredths = multiply(fp(x), Real::from_int64(100)).value;
  const auto page = static_cast<int>(std::max<std::int64_t>(1, hundredths.int64_nearest()));
  if (number == 0)
    show_menu(m, m.menus.last_number, m.menus.last_page);
  else
    show_menu(m, static_cast<int>(number), page);
}

// MENU: a built-in menu, or the custom menu of a list or of a name holding one, which
// becomes CST.
void menu(Machine& m, const Args& a) {
  const Object& x = a[1];
  if (x.is(Kind::real)) return show_built_in(m, x.as_real());
  if (!x.is(Kind::list) && !x.is(Kind::name)) fail(bad_argument_type);
  m.store_global(intern("CST"), x);
  show_menu(m, 1, 1);
}

// TMENU: as MENU, but a list or name makes a temporary menu, CST left as it is.
void tmenu(Machine& m, const Args& a) {
  const Object& x = a[1];
  if (x.is(Kind::real)) return show_built_in(m, x.as_real());
  if (!x.is(Kind::list) && !x.is(Kind::name)) fail(bad_argument_type);
  show_menu(m, 0, 1);
}

void rclmenu(Machine& m, const Args&) {
  const auto hundredths = static_cast<std::uint64_t>(m.menus.number * 100 + m.menus.page);
  m.push(Object::real(Real::from_decimal(false, hundredths, -2).value));
}

constexpr CommandRow rows[] = {
    {"KEY", 0, key},         {"WAIT", 1, wait},       {"ASN", 2, asn},
    {"STOKEYS", 1, stokeys}, {"RCLKEYS", 0, rclkeys}, {"DELKEYS", 1, delkeys},
    {"MENU", 1, menu},       {"TMENU", 1, tmenu},     {"RCLMENU", 0, rclmenu},
};

}  // namespace

std::span<const CommandRow> keyboard_commands() { return rows; }

}  // namespace rplrun
