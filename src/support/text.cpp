#include "support/text.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
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

// Copies bytes to `to`. Most are a few bytes (a blank, an operator word, a
// name), copied here without a call; an empty view may have no storage at all
// (a null data pointer), which memcpy must not be given even for zero bytes.
inline void put(char* to, std::string_view bytes) {
  const char* from = bytes.data();
  const std::size_t size = bytes.size();
  if (size > 8) {
    std::memcpy(to, from, size);
  } else if (size >= 4) {  // two stretches of four, overlapping when fewer than eight
    std::memcpy(to, from, 4);
    std::memcpy(to + size - 4, from + size - 4, 4);
  } else if (size > 0) {  // the first, middle and last byte cover up to three
    to[0] = from[0];
    to[size / 2] = from[size / 2];
    to[size - 1] = from[size - 1];
  }
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

// A large text (a whole program's statements, a long chain or literal) takes a
// block of its own from the system, in huge pages where the system gives them:
// the first touch of every page costs a fault, and over a text of megabytes the
// faults of small pages cost more than building the text does.
constexpr std::size_t huge_page = std::size_t{2} << 20;
constexpr std::size_t large_capacity = huge_page / 2;

std::size_t large_block_size(std::size_t capacity) {
  return (sizeof(Text) + capacity + huge_page - 1) / huge_page * huge_page;
}

void* mapped_or_out_of_memory(void* mapped) {
  if (mapped == MAP_FAILED) out_of_memory();
  return mapped;
}

bool is_large(const Text* text) { return text->capacity >= large_capacity; }

// A block of `size` bytes, a multiple of the huge page, aligned to one: mapped
// a huge page larger, and the ends beyond the alignment unmapped.
void* map_large_block(std::size_t size) {
  void* mapped =
      mmap(nullptr, size + huge_page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  char* const start = static_cast<char*>(mapped_or_out_of_memory(mapped));
  const auto address = reinterpret_cast<std::uintptr_t>(start);
  char* const aligned = start + (huge_page - address % huge_page) % huge_page;
  // Either end may be empty, which munmap refuses harmlessly.
  munmap(start, static_cast<std::size_t>(aligned - start));
  munmap(aligned + size, static_cast<std::size_t>(start + huge_page - aligned));
  madvise(aligned, size, MADV_HUGEPAGE);  // a system without huge pages keeps small ones
  return aligned;
}

// A large block made `size` bytes long, its contents kept: its pages move to a
// new aligned block, and none is copied or touched.
void* remap_large_block(void* block, std::size_t old_size, std::size_t size) {
  void* const aligned = map_large_block(size);
  return mapped_or_out_of_memory(
      mremap(block, old_size, size, MREMAP_MAYMOVE | MREMAP_FIXED, aligned));
}

inline Text* allocate(std::size_t capacity) {
  if (capacity <= small_capacity) {
    if (released.count > 0) return released.blocks[--released.count];
    capacity = small_capacity;
  }
  void* block = nullptr;
  if (capacity >= large_capacity) {
    const std::size_t size = large_block_size(capacity);
    block = map_large_block(size);
    capacity = size - sizeof(Text);
  } else {
    block = std::malloc(sizeof(Text) + capacity);
    if (block == nullptr) out_of_memory();
  }
  Text* text = static_cast<Text*>(block);
  text->capacity = capacity;
  return text;
}

inline void release(Text* text) {
  if (origins::tracked) [[unlikely]]
    origins::forget(text);
  if (text->capacity == small_capacity && released.count < released.blocks.size()) {
    released.blocks[released.count++] = text;
  } else if (is_large(text)) {
    munmap(text, sizeof(Text) + text->capacity);
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

// A larger block for a text whose room is short (reserve). Growth at least
// doubles the room, so building a text by repeated wrapping costs time linear
// in its final size.
Text* grow(Text* text, std::size_t front, std::size_t back) {
  const std::size_t size = size_of(text);
  const std::size_t new_size = size + front + back;
  check_size(new_size);
  const std::size_t back_capacity = text->end + 2 * back + size + new_back_room;
  if (front <= text->begin && back_capacity < large_capacity) {
    // Growth at the back only: keep the offsets, so realloc may extend the
    // block in place instead of copying.
    void* block = std::realloc(text, sizeof(Text) + back_capacity);
    if (block == nullptr) out_of_memory();
    text = static_cast<Text*>(block);
    text->capacity = back_capacity;
    return text;
  }
  const std::size_t capacity = 2 * new_size + new_front_room + new_back_room;
  if (is_large(text)) {
    // A large text keeps its pages: the block grows at the back, and room in
    // front is made by moving the text within it.
    const bool at_back = front <= text->begin;
    const std::size_t block = large_block_size(at_back ? back_capacity : capacity);
    text = static_cast<Text*>(remap_large_block(text, sizeof(Text) + text->capacity, block));
    text->capacity = block - sizeof(Text);
    if (!at_back) {
      const std::size_t begin = front + (text->capacity - new_size) / 2;
      std::memmove(storage(text) + begin, storage(text) + text->begin, size);
      text->begin = begin;
      text->end = begin + size;
    }
    return text;
  }
  Text* grown = allocate(capacity);
  grown->begin = front + (grown->capacity - new_size) / 2;
  grown->end = grown->begin + size;
  std::memcpy(storage(grown) + grown->begin, storage(text) + text->begin, size);
  release(text);
  return grown;
}

// Makes room for `front` more bytes before the text and `back` more after it.
// The block may move: a caller that tracks origins takes the text's runs first.
inline Text* reserve(Text* text, std::size_t front, std::size_t back) {
  if (front <= text->begin && back <= text->capacity - text->end) [[likely]]
    return text;
  return grow(text, front, back);
}

const std::size_t page_size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));

std::size_t round_up_to_page(std::size_t offset) {
  return (offset + page_size - 1) / page_size * page_size;
}

// Appends bytes and then a large text to a large text whose block is too small
// for them, by moving the pages of the second behind the first instead of
// copying it: a copy would take as much fresh memory again, which the system
// must clear before handing it out. The pages keep the bytes' offsets within a
// page, so a shift of under two pages lines them up. `more` is consumed; a
// caller that tracks origins takes both texts' runs first.
Text* append_moving_pages(Text* text, std::string_view bytes, Text* more) {
  const std::size_t size = size_of(text);
  const std::size_t more_size = size_of(more);
  check_size(size + bytes.size() + more_size);
  // The whole pages that hold more's bytes, and where its first byte is in them.
  const auto first = reinterpret_cast<std::uintptr_t>(storage(more) + more->begin);
  const std::uintptr_t pages_begin = first / page_size * page_size;
  const std::size_t pages_length = round_up_to_page(first + more_size - pages_begin);
  const std::size_t more_block = sizeof(Text) + more->capacity;
  // Offsets from the start of text's block, which is page aligned: where more's
  // first byte goes, and where its pages go, past every page text's bytes use.
  const std::size_t at = sizeof(Text) + text->end + bytes.size();
  const std::size_t pages_at = round_up_to_page(at);
  const std::size_t needed = pages_at + pages_length + new_back_room - sizeof(Text);
  const std::size_t block = large_block_size(text->end + 2 * (needed - text->end) + size);
  text = static_cast<Text*>(remap_large_block(text, sizeof(Text) + text->capacity, block));
  text->capacity = block - sizeof(Text);
  char* const start = reinterpret_cast<char*>(text);
  mapped_or_out_of_memory(mremap(reinterpret_cast<void*>(pages_begin), pages_length, pages_length,
                                 MREMAP_MAYMOVE | MREMAP_FIXED, start + pages_at));
  std::memmove(start + at, start + pages_at + (first - pages_begin), more_size);
  put(storage(text) + text->end, bytes);
  text->end += bytes.size() + more_size;
  text->label = {};
  if (origins::tracked) [[unlikely]]
    origins::forget(more);
  munmap(more, more_block);  // what is left of it: the pages moved are no longer there
  return text;
}

// Writes bytes and then more's bytes at the back of text, which has room for
// them, and frees more.
inline Text* put_at_back(Text* text, std::string_view bytes, Text* more) {
  const std::string_view more_bytes = text_view(more);
  text->label = {};
  put(storage(text) + text->end, bytes);
  put(storage(text) + text->end + bytes.size(), more_bytes);
  text->end += bytes.size() + more_bytes.size();
  text_free(more);
  return text;
}

// Appends bytes and then another text to a text whose room at the back is too
// small for them: in a larger block, or by moving pages where both are large.
// Kept out of line, so that the appends with room to spare pay nothing for it.
[[gnu::noinline]] Text* append_growing(Text* text, std::string_view bytes, Text* more) {
  if (is_large(text) && size_of(more) >= large_capacity) {  // more is large too
    return append_moving_pages(text, bytes, more);
  }
  return put_at_back(grow(text, 0, bytes.size() + size_of(more)), bytes, more);
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

namespace {

// A text with another appended, for origin tracking; kept apart as above.
[[gnu::noinline]] void track_appending(const Text* text, const Text* more) {
  origins::assembling({{{}, text}, {{}, more}}, 0);
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
    track_appending(text, more);
  text = size_of(more) > text->capacity - text->end ? append_growing(text, {}, more)
                                                    : put_at_back(text, {}, more);
  if (origins::tracked) [[unlikely]]
    origins::settle(text);
  return text;
}

Text* text_append(Text* text, std::string_view bytes, Text* more) {
  if (origins::tracked) [[unlikely]]
    return text_append(text_append(text, bytes), more);
  if (bytes.size() + size_of(more) > text->capacity - text->end) [[unlikely]]
    return append_growing(text, bytes, more);
  return put_at_back(text, bytes, more);
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

namespace {

// What a template's expansion is made of, for origin tracking. Kept apart from
// expand, whose frame it would otherwise enlarge on every call.
[[gnu::noinline]] void track_expanding(const Template& tmpl, Text* const* args,
                                       const Template::Piece* base_piece) {
  std::vector<origins::Piece> pieces;
  for (const Template::Piece& piece : tmpl) {
    pieces.push_back({piece.literal, piece.argument < 0 ? nullptr : args[piece.argument]});
  }
  origins::assembling(pieces, static_cast<std::size_t>(base_piece - tmpl.begin()));
}

// Expands a template with exactly one argument per "%s". The largest argument
// becomes the result's block, as in assemble; the pieces before it are written
// in front of it and the others behind it.
Text* expand(const Template& tmpl, Text* const* args) {
  std::size_t base_argument = 0;
  std::size_t total = tmpl.literal_size();
  for (std::size_t k = 0; k < tmpl.arguments(); ++k) {
    total += size_of(args[k]);
    if (size_of(args[k]) > size_of(args[base_argument])) base_argument = k;
  }
  check_size(total);
  const Template::Piece* const base_piece = tmpl.piece_of(base_argument);
  const auto bytes_of = [&](const Template::Piece& piece) {
    return piece.argument < 0 ? piece.literal : text_view(args[piece.argument]);
  };
  std::size_t before_base = 0;
  for (const Template::Piece* piece = tmpl.begin(); piece != base_piece; ++piece) {
    before_base += bytes_of(*piece).size();
  }
  if (origins::tracked) [[unlikely]]
    track_expanding(tmpl, args, base_piece);
  Text* base = args[base_argument];
  base = reserve(base, before_base, total - before_base - size_of(base));
  base->begin -= before_base;
  const auto write = [&](char* to, const Template::Piece* from, const Template::Piece* stop) {
    for (; from != stop; ++from) {
      const std::string_view bytes = bytes_of(*from);
      put(to, bytes);
      to += bytes.size();
    }
    return to;
  };
  write(storage(base) + base->begin, tmpl.begin(), base_piece);
  char* const end = write(storage(base) + base->end, base_piece + 1, tmpl.end());
  base->end = static_cast<std::size_t>(end - storage(base));
  base->label = {};
  for (std::size_t k = 0; k < tmpl.arguments(); ++k) {
    if (k != base_argument) text_free(args[k]);
  }
  if (origins::tracked) [[unlikely]]
    origins::settle(base);
  return base;
}

}  // namespace

Text* xstrfmt_array(const Template& tmpl, Text* const* args, std::size_t count) {
  if (count == tmpl.arguments()) [[likely]]
    return expand(tmpl, args);
  // A "%s" without an argument gets an empty text; an argument without a "%s" is
  // released.
  std::vector<Text*> exact(args, args + std::min(count, tmpl.arguments()));
  while (exact.size() < tmpl.arguments()) exact.push_back(xstrdup(std::string_view{}));
  for (std::size_t k = tmpl.arguments(); k < count; ++k) text_free(args[k]);
  return expand(tmpl, exact.data());
}

Text* xstrcat_array(Text* const* texts, std::size_t count) {
  return assemble([&](auto&& piece) {
    for (std::size_t i = 0; i < count; ++i) piece({}, texts[i]);
  });
}

}  // namespace rpl
