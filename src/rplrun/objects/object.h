// RPL objects as values.
//
// An Object is a 32-byte handle. Reals, binary integers, names and commands live in the
// handle itself; everything else is a node shared by all copies and never changed after
// it is built (storing into an element builds a new list or array). Positions of the
// objects read from an input are kept beside the items of the program or list that holds
// them, not in every object.
//
// The one exception, a node changed in place, is made here (Object::replace_in_place,
// Object::growth, Growth) and keeps to two rules:
//  - An item of a list or an element of an array is replaced in place only when nothing
//    but the handle that changes it holds its node: no one can see the change.
//  - A string, or a list or algebraic without positions, grows in place (text at its
//    end, items at its end or in front) when every other holder of its node has recorded
//    how much of it it saw (extent_of) and makes the object again from that before it
//    next shows it (as_it_was). Such a node only grows from then on, so what each holder
//    saw stays a run of its items. LASTARG and variables are such holders
//    (Machine::growth); building a string or list step by step is then linear.
// LASTARG holds the arguments of the last command that saved any (none while flag -55
// is set) as that command took them, even when one has grown in place since; a command
// run as a step of another (apply_command) leaves it as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "numbers/complex.h"
#include "numbers/real.h"
#include "objects/source.h"
#include "objects/symbol.h"

namespace rplrun {

class Growth;

// ORDER: TYPE numbers of the calculator are given by type_number() in object.cpp.
enum class Kind : std::uint8_t {
  real,
  complex,
  string,
  list,
  array,
  name,       // global or local, possibly quoted
  algebraic,  // items in postfix order
  program,
  binary,
  tagged,
  command,       // a built-in command or a structure word, by its number in the command table
  call,          // inside an algebraic: f(a,b) on a user function or an element of a variable
  directory,     // its variables (directory.h)
  unit,          // a real and a unit expression (unit.h)
  grob,          // a picture (grob.h)
  library_data,  // a built-in library's own data (library_data.h)
};

struct Node {
  virtual ~Node() = default;
  // How many composite objects (lists, programs, algebraics, tagged objects) are nested
  // here, this one included: printing, comparing and freeing objects go that deep.
  std::uint32_t nesting = 1;
};

// The deepest nesting of composite objects allowed; deeper is Insufficient Memory.
inline constexpr std::uint32_t max_nesting = 1000;

// The largest single object: a string of this many bytes, or a list, program or
// algebraic with this many items (their handles take 32 bytes each). A calculator holds
// far less; larger is Insufficient Memory, checked before the object is built.
inline constexpr std::size_t max_object_bytes = std::size_t{64} << 20;
inline constexpr std::size_t max_object_items = max_object_bytes / 32;
// Insufficient Memory unless a string of `bytes`, or a sequence of `items`, may be built.
void check_string_size(std::size_t bytes);
void check_item_count(std::size_t items);

class Object {
 public:
  Object() : real_() {}
  ~Object() { release(); }
  // Copies and moves of objects without a node (reals, names, commands...) are a few
  // register moves: they are most of what a program's loop copies.
  Object(const Object& other) {
    if (other.is_heap())
      copy_from(other);
    else
      copy_plain(other);
  }
  Object(Object&& other) noexcept {
    if (other.is_heap())
      move_from(std::move(other));
    else
      copy_plain(other);
  }
  Object& operator=(const Object& other) {
    if (is_heap() || other.is_heap()) return assign_from(other);
    copy_plain(other);
    return *this;
  }
  Object& operator=(Object&& other) noexcept {
    if (is_heap() || other.is_heap()) return move_assign_from(std::move(other));
    copy_plain(other);
    return *this;
  }

  static Object real(Real value) {
    Object o;
    o.real_ = value;
    return o;
  }
  // Makes this real object the real `value`, in place: the counter of a loop, the
  // result of arithmetic on the stack.
  void set_real(Real value) { real_ = value; }
  static Object complex(const Complex& value);
  static Object string(std::string hp_text);
  static Object list(std::vector<Object> items, std::vector<Position> positions = {});
  static Object name(const Symbol* symbol, bool local = false, bool quoted = false);
  static Object algebraic(std::vector<Object> postfix);
  static Object binary(std::uint64_t value);
  static Object tagged(std::string tag, Object value);
  static Object command(std::uint32_t id);
  static Object call(const Symbol* symbol, std::uint32_t argc, bool local);
  // Programs and arrays are built by their own modules (program.h, array.h).
  static Object from_node(Kind kind, std::shared_ptr<const Node> node);

  Kind kind() const { return kind_; }
  bool is(Kind k) const { return kind_ == k; }
  bool is_number() const { return kind_ == Kind::real || kind_ == Kind::complex; }
  // A name or an algebraic: what arithmetic turns into an algebraic result.
  bool is_symbolic() const { return kind_ == Kind::name || kind_ == Kind::algebraic; }

  Real as_real() const { return real_; }
  const Complex& as_complex() const;
  // A real as the complex (x,0), a complex as itself.
  Complex to_complex() const;
  const std::string& as_string() const;
  std::span<const Object> items() const;            // of a list, program or algebraic
  const std::vector<Position>& positions() const;   // of a list or program (may be empty)
  const Symbol* symbol() const { return symbol_; }  // of a name or call
  bool is_local() const { return (flags_ & local_flag) != 0; }
  bool is_quoted() const { return (flags_ & quoted_flag) != 0; }
  Object unquoted() const;
  Object quoted() const;
  std::uint64_t as_binary() const { return bits_; }
  std::uint32_t command_id() const { return aux_; }
  std::uint32_t call_argc() const { return aux_; }
  const std::string& tag() const;
  const Object& tagged_value() const;

  // ---- Changes in place (the rules at the top of this file)
  // Handles sharing this object's node, this one included; 0 without a node.
  long holders() const { return is_heap() ? node_.use_count() : 0; }
  // This string, or list or algebraic without positions, ready to grow in place when
  // its node is held by this handle and `recorded` others that recorded their extent;
  // none otherwise.
  std::optional<Growth> growth(long recorded = 0) const;
  // Replaces item `index` of this list, or element `index` of this array, in place when
  // nothing else holds its node (the list then has no positions, as one built anew);
  // false, nothing changed, otherwise.
  bool replace_in_place(std::size_t index, Object value);

  const Node* node() const { return is_heap() ? node_.get() : nullptr; }
  const std::shared_ptr<const Node>& shared_node() const { return node_; }
  template <class T>
  const T& node_as() const {
    return static_cast<const T&>(*node_);
  }

 private:
  static constexpr std::uint8_t local_flag = 1;
  static constexpr std::uint8_t quoted_flag = 2;

  static constexpr std::uint32_t bit(Kind k) { return 1U << static_cast<unsigned>(k); }
  bool is_heap() const {
    constexpr std::uint32_t heap_kinds =
        bit(Kind::complex) | bit(Kind::string) | bit(Kind::list) | bit(Kind::array) |
        bit(Kind::algebraic) | bit(Kind::program) | bit(Kind::tagged) | bit(Kind::directory) |
        bit(Kind::unit) | bit(Kind::grob) | bit(Kind::library_data);
    return (heap_kinds & bit(kind_)) != 0;
  }
  void release() {
    if (is_heap()) node_.~shared_ptr();
  }
  // Neither this nor `other` holds a node.
  void copy_plain(const Object& other) {
    new (&real_) Real(other.real_);
    kind_ = other.kind_;
    flags_ = other.flags_;
    aux_ = other.aux_;
  }
  void copy_from(const Object& other);
  void move_from(Object&& other) noexcept;
  Object& assign_from(const Object& other);
  Object& move_assign_from(Object&& other) noexcept;

  union {
    Real real_;
    std::uint64_t bits_;
    const Symbol* symbol_;
    std::shared_ptr<const Node> node_;
  };
  Kind kind_ = Kind::real;
  std::uint8_t flags_ = 0;
  std::uint32_t aux_ = 0;
};

static_assert(sizeof(Object) == 32, "keep the object handle small");

// A string, list or algebraic growing in place, given by Object::growth and used at once.
class Growth {
 public:
  // Items at the end of a list or an algebraic, or in front of it; Insufficient Memory,
  // nothing changed, when the result would be too large or too deep.
  void append(const Object* items, std::size_t count) const;
  void prepend(const Object* items, std::size_t count) const;
  // Text at the end of a string.
  void append(std::string_view text) const;

 private:
  friend class Object;
  explicit Growth(Node& node) : node_(&node) {}
  Node* node_;
};
static_assert(max_object_items * sizeof(Object) == max_object_bytes);

struct ComplexNode : Node {
  explicit ComplexNode(const Complex& v) : value(v) {}
  Complex value;
};

struct StringNode : Node {
  explicit StringNode(std::string t) : text(std::move(t)) {}
  std::string text;
};

// The items of a list or an algebraic, and of a program (control.h adds its structure).
// Room may be kept before the first item, so that putting items in front of a list or an
// algebraic that nothing else holds does not move the others each time.
class SequenceNode : public Node {
 public:
  std::span<const Object> items() const {
    return {store_.data() + front_, store_.size() - front_};
  }
  std::size_t size() const { return store_.size() - front_; }
  void assign(std::vector<Object> items) {
    store_ = std::move(items);
    front_ = 0;
  }
  // How many items were put in front since it was built: a holder that saw it when this
  // was p finds its items from prepended() - p on.
  std::size_t prepended() const { return prepended_; }

  std::vector<Position> positions;  // beside the items, or empty

 private:
  friend class Growth;
  friend class Object;
  std::vector<Object> store_;  // the items from front_ on; before it, spare room
  std::size_t front_ = 0;
  std::size_t prepended_ = 0;
};

struct TaggedNode : Node {
  TaggedNode(std::string t, Object v) : tag(std::move(t)), value(std::move(v)) {}
  std::string tag;
  Object value;
};

// A copy of items, to build another object from.
inline std::vector<Object> copy_items(std::span<const Object> items) {
  return std::vector<Object>(items.begin(), items.end());
}

// The nesting of an object: 0 for one that holds no other.
std::uint32_t nesting_of(const Object& object);
// Sets a new composite node's nesting from its parts; Insufficient Memory beyond the
// limit.
void set_nesting(Node& node, std::span<const Object> parts);

// How much of a string, list or algebraic a holder saw, and the object it saw, made
// again once the node has grown in place since (Growth).
struct Extent {
  std::size_t prepended = 0;
  std::size_t length = 0;
};
Extent extent_of(const Object& x);
Object as_it_was(const Object& x, const Extent& seen);

// The same object: kinds and contents equal (SAME, POS, and == on non-numbers).
bool same(const Object& a, const Object& b);

// The calculator's TYPE number of the object.
int type_number(const Object& object);

}  // namespace rplrun
