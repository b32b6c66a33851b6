#include "support/text.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/memory.h"
#include "support/text_origins.h"

namespace rpl {

// The header of a text's block; the storage follows it directly.
struct Text {
  std::size_t capacity;  // bytes of storage
  std::size_t begin;     // offset of the first byte of the text
  std::size_t end;       // offset just past its last byte
  TextLabel label;
};

namespace {

// Room given to a new text, for the blanks and operator words that templates
// usually add around an operand.
constexpr std::size_t new_front_room = 8;
constexpr std::size_t new_back_room = 24;

char* storage(Text* text) { return reinterpret_cast<char*>(text + 1); }
const char* storage(const Text* text) { return reinterpret_cast<const char*>(text + 1); }
std::size_t size_of(const Text* text) { return text->end - text->begin; }

// Copies bytes to `to`. An empty view may have no storage at all (a null data
// pointer), which memcpy must not be given even for zero bytes.
void put(char* to, std::string_view bytes) {
  if (!bytes.empty()) std::memcpy(to, bytes.data(), bytes.size());
}

void check_size(std::size_t size) {
  if (size > max_text_size) out_of_memory();
}

// Most texts are small and short-lived: a name, a number, an operand wrapped
// in its operator. Their blocks all get one size, and a released one is kept
// for the next small text instead of going back to malloc.
constexpr std::size_t small_capacity = 128 - sizeof(Text);

// The kept blocks, in storage of a fixed size: releasing a text never
// allocates, so it cannot fail, not even while the process is exiting because
// memory ran out (an open local table's destructor releases texts then). The
// storage is never destroyed, so blocks kept stay reachable.
struct {
  std::array<Text*, 4096> blocks;
  std::size_t count;
} released;

Text* allocate(std::size_t capacity) {
  if (capacity <= small_capacity) {
    if (released.count > 0) return released.blocks[--released.count];
    capacity = small_capacity;
  }
  void* block = std::malloc(sizeof(Text) + capacity);
  if (block == nullptr) out_of_memory();
  Text* text = static_cast<Text*>(block);
  text->capacity = capacity;
  return text;
}

void release(Text* text) {
  if (origins::tracked) [[unlikely]]
    origins::forget(text);
  if (text->capacity == small_capacity && released.count < released.blocks.size()) {
    released.blocks[released.count++] = text;
  } else {
    std::free(text);
  }
}

// An empty text able to take `size` bytes without growing.
Text* make_text(std::size_t size) {
  check_size(size);
  Text* text = allocate(new_front_room + size + new_back_room);
  text->begin = text->end = new_front_room;
  text->label = {};
  return text;
}

// Makes room for `front` more bytes before the text and `back` more after it.
// Growth at least doubles the room, so building a text by repeated wrapping
// costs time linear in its final size. The block may move: a caller that
// tracks origins takes the text's runs first.
Text* reserve(Text* text, std::size_t front, std::size_t back) {
  const std::size_t size = size_of(text);
  if (front <= text->begin && back <= text->capacity - text->end) return text;
  const std::size_t new_size = size + front + back;
  check_size(new_size);
  if (front <= text->begin) {
    // Growth at the back only: keep the offsets, so realloc may extend the
    // block in place (or remap it) instead of copying.
    const std::size_t capacity = text->end + 2 * back + size + new_back_room;
    void* block = std::realloc(text, sizeof(Text) + capacity);
    if (block == nullptr) out_of_memory();
    text = static_cast<Text*>(block);
    text->capacity = capacity;
    return text;
  }
  const std::size_t capacity = 2 * new_size + new_front_room + new_back_room;
  Text* grown = allocate(capacity);
  grown->begin = front + (grown->capacity - new_size) / 2;
  grown->end = grown->begin + size;
  std::memcpy(storage(grown) + grown->begin, storage(text) + text->begin, size);
  release(text);
  return grown;
}

// A text is built from pieces: literal bytes, or an argument text to insert.
// `for_each_piece(fn)` calls fn(literal, argument) for every piece in order,
// with a null argument for a literal piece; it is walked twice.
//
// The largest argument becomes the result's block and the other pieces are
// written around it, so every byte copied lands in a text at least twice the
// size of the one it came from.
template <class Pieces>
Text* assemble(const Pieces& for_each_piece) {
  std::size_t total = 0;
  std::size_t before_base = 0;
  std::size_t base_index = 0;
  std::size_t index = 0;
  Text* base = nullptr;
  for_each_piece([&](std::string_view literal, Text* argument) {
    if (argument != nullptr) {
      const std::size_t size = size_of(argument);
      if (base == nullptr || size > size_of(base)) {
        base = argument;
        base_index = index;
        before_base = total;
      }
      total += size;
    } else {
      total += literal.size();
    }
    ++index;
  });
  check_size(total);

  const bool has_base = base != nullptr;
  if (origins::tracked) [[unlikely]] {
    std::vector<origins::Piece> pieces;
    for_each_piece([&](std::string_view literal, Text* argument) {
      pieces.push_back({literal, argument});
    });
    origins::assembling(pieces, has_base ? base_index : pieces.size());
  }
  if (has_base) {
    base = reserve(base, before_base, total - before_base - size_of(base));
    base->begin -= before_base;
  } else {
    base = make_text(total);  // only literals: everything goes to the back
  }
  char* front = storage(base) + base->begin;
  char* back = storage(base) + base->end;

  index = 0;
  for_each_piece([&](std::string_view literal, Text* argument) {
    const std::size_t at = index++;
    if (has_base && at == base_index) return;
    std::string_view bytes = argument != nullptr ? text_view(argument) : literal;
    char*& to = has_base && at < base_index ? front : back;
    put(to, bytes);
    to += bytes.size();
    if (argument != nullptr) text_free(argument);
  });
  base->end = static_cast<std::size_t>(back - storage(base));
  base->label = {};
  if (origins::tracked) [[unlikely]]
    origins::settle(base);
  return base;
}

}  // namespace

Text* xstrdup(std::string_view bytes) {
  Text* text = make_text(bytes.size());
  put(storage(text) + text->begin, bytes);
  text->end += bytes.size();
  if (origins::tracked) [[unlikely]] {
    origins::appending(nullptr, bytes);
    origins::settle(text);
  }
  return text;
}

Text* xstrdup(const Text* text) {
  if (!origins::tracked) [[likely]]
    return xstrdup(text_view(text));
  origins::tracked = false;
  Text* copy = xstrdup(text_view(text));
  origins::tracked = true;
  origins::copying(text);
  origins::settle(copy);
  return copy;
}

std::string_view text_view(const Text* text) {
  return {storage(text) + text->begin, size_of(text)};
}

void text_free(Text* text) { release(text); }

TextLabel text_label(const Text* text) { return text->label; }
void set_text_label(Text* text, TextLabel label) { text->label = label; }

Text* text_append(Text* text, std::string_view bytes) {
  if (origins::tracked) [[unlikely]]
    origins::appending(text, bytes);
  text = reserve(text, 0, bytes.size());
  text->label = {};
  put(storage(text) + text->end, bytes);
  text->end += bytes.size();
  if (origins::tracked) [[unlikely]]
    origins::settle(text);
  return text;
}

Text* text_append(Text* text, Text* more) {
  if (origins::tracked) [[unlikely]]
    origins::assembling({{{}, text}, {{}, more}}, 0);
  const std::string_view bytes = text_view(more);
  text = reserve(text, 0, bytes.size());
  text->label = {};
  put(storage(text) + text->end, bytes);
  text->end += bytes.size();
  if (origins::tracked) [[unlikely]]
    origins::settle(text);
  text_free(more);
  return text;
}

Text* text_truncate(Text* text, std::size_t size) {
  if (size < size_of(text)) {
    if (origins::tracked) [[unlikely]]
      origins::truncating(text, size);
    text->end = text->begin + size;
    if (origins::tracked) [[unlikely]]
      origins::settle(text);
  }
  text->label = {};
  return text;
}

Text* xstrfmt_array(std::string_view tmpl, Text* const* args, std::size_t count) {
  // The template is split into pieces once, and assemble walks the pieces.
  // The list is kept from call to call, so splitting allocates nothing.
  struct Piece {
    std::string_view literal;
    Text* argument;
  };
  static std::vector<Piece> pieces;
  pieces.clear();
  std::size_t next = 0;
  std::size_t start = 0;  // of the literal bytes not yet made a piece
  const auto add_literal = [&](std::size_t stop) {
    if (stop > start) pieces.push_back({tmpl.substr(start, stop - start), nullptr});
  };
  std::size_t i = 0;
  while (i < tmpl.size()) {
    if (tmpl[i] != '%' || i + 1 == tmpl.size()) {
      ++i;
      continue;
    }
    add_literal(i);
    const char directive = tmpl[i + 1];
    if (directive == 's') {
      if (next < count) pieces.push_back({{}, args[next++]});
      start = i + 2;
    } else if (directive == '%') {
      start = i + 1;  // the second "%" begins the next literal
    } else {
      start = i + 2;  // any other pair is dropped
    }
    i += 2;
  }
  add_literal(tmpl.size());
  // Arguments beyond the template's "%s" are consumed all the same.
  for (std::size_t j = next; j < count; ++j) text_free(args[j]);
  return assemble([&](auto&& piece) {
    for (const Piece& p : pieces) piece(p.literal, p.argument);
  });
}

Text* xstrcat_array(Text* const* texts, std::size_t count) {
  return assemble([&](auto&& piece) {
    for (std::size_t i = 0; i < count; ++i) piece({}, texts[i]);
  });
}

}  // namespace rpl
