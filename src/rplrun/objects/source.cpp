#include "objects/source.h"

#include <algorithm>
#include <cstring>
#include <deque>

#include "objects/errors.h"

namespace rplrun {

namespace {
std::deque<std::string>& sources() {
  static std::deque<std::string> names{""};
  return names;
}
}  // namespace

std::uint32_t register_source(std::string name) {
  sources().push_back(std::move(name));
  return static_cast<std::uint32_t>(sources().size() - 1);
}

const std::string& source_name(std::uint32_t id) {
  return id < sources().size() ? sources()[id] : sources()[0];
}

std::string describe(const Position& position) {
  return source_name(position.source) + ":" + std::to_string(position.line) + ":" +
         std::to_string(position.column);
}

SourceText::SourceText(std::uint32_t source, std::string original_text)
    : source_(source), text_(std::move(original_text)) {
  if (text_.size() > max_input_bytes) {
    throw SyntaxError{Position{source, 1, 1}, insufficient_memory};
  }
  end_offset_ = static_cast<std::uint32_t>(text_.size());
  index_lines(text_);
}

SourceText::SourceText(std::uint32_t source, std::string_view original, std::string text,
                       const std::vector<std::uint32_t>& offsets)
    : source_(source), text_(std::move(text)) {
  if (original.size() > max_input_bytes || text_.size() > max_input_bytes) {
    throw SyntaxError{Position{source, 1, 1}, insufficient_memory};
  }
  end_offset_ = offsets.size() > text_.size() ? offsets[text_.size()]
                                              : static_cast<std::uint32_t>(original.size());
  // Kept only where the offsets do not run on one by one.
  breaks_.clear();
  for (std::size_t i = 0; i < text_.size() && i < offsets.size(); ++i) {
    if (!breaks_.empty() &&
        breaks_.back().offset + (i - breaks_.back().index) == offsets[i])
      continue;
    breaks_.push_back({static_cast<std::uint32_t>(i), offsets[i]});
  }
  if (breaks_.empty()) breaks_.push_back({0, end_offset_});
  index_lines(original);
  count_utf8_columns(original);
}

void SourceText::index_lines(std::string_view original) {
  line_starts_.assign(1, 0);
  const char* start = original.data();
  const char* end = start + original.size();
  for (const char* p = start; (p = static_cast<const char*>(std::memchr(p, '\n', end - p)));) {
    ++p;
    line_starts_.push_back(static_cast<std::uint32_t>(p - start));
  }
}

void SourceText::count_utf8_columns() { count_utf8_columns(text_); }

void SourceText::count_utf8_columns(std::string_view original) {
  utf8_columns_ = true;
  continuations_.clear();
  for (std::size_t i = 0; i < original.size(); ++i) {
    if ((static_cast<unsigned char>(original[i]) & 0xC0) == 0x80)
      continuations_.push_back(static_cast<std::uint32_t>(i));
  }
}

std::uint32_t SourceText::original_offset(std::size_t index) const {
  if (index >= text_.size()) return end_offset_;
  const auto after = std::upper_bound(breaks_.begin(), breaks_.end(), index,
                                      [](std::size_t i, const Break& b) { return i < b.index; });
  const Break& b = *(after - 1);
  return b.offset + static_cast<std::uint32_t>(index - b.index);
}

Position SourceText::position_at(std::size_t index) const {
  return position_of_offset(original_offset(index));
}

Position SourceText::position_of_offset(std::uint32_t offset) const {
  const auto line = std::upper_bound(line_starts_.begin(), line_starts_.end(), offset) - 1;
  std::uint32_t column = offset - *line + 1;
  if (utf8_columns_) {
    const auto before = [&](std::uint32_t at) {
      return std::lower_bound(continuations_.begin(), continuations_.end(), at) -
             continuations_.begin();
    };
    column -= static_cast<std::uint32_t>(before(offset) - before(*line));
  }
  return Position{source_, static_cast<std::uint32_t>(line - line_starts_.begin()) + first_line,
                  column};
}

// ---- rewriting in place

void SourceText::Rewrite::finish() {
  keep(text_.size() - read_);
  text_.resize(written_);
  if (breaks_.empty()) breaks_.push_back({0, source_.end_offset_});
  source_.breaks_ = std::move(breaks_);
}

std::uint32_t SourceText::Rewrite::offset_at_read() {
  const auto& old = source_.breaks_;
  while (old_break_ + 1 < old.size() && old[old_break_ + 1].index <= read_) ++old_break_;
  const Break& b = old[old_break_];
  return b.offset + static_cast<std::uint32_t>(read_ - b.index);
}

// The character written at `written` comes from `offset`: a new break unless that
// continues the last one.
void SourceText::Rewrite::mark(std::size_t written, std::uint32_t offset) {
  if (!breaks_.empty()) {
    const Break& last = breaks_.back();
    if (last.offset + (written - last.index) == offset) return;
  }
  breaks_.push_back({static_cast<std::uint32_t>(written), offset});
}

void SourceText::Rewrite::keep(std::size_t count) {
  if (count == 0) return;
  const auto& old = source_.breaks_;
  const std::size_t end = read_ + count;
  mark(written_, offset_at_read());
  // The old breaks inside the kept run stay breaks.
  while (old_break_ + 1 < old.size() && old[old_break_ + 1].index < end) {
    ++old_break_;
    mark(written_ + (old[old_break_].index - read_), old[old_break_].offset);
  }
  if (written_ != read_) std::memmove(text_.data() + written_, text_.data() + read_, count);
  written_ += count;
  read_ = end;
}

void SourceText::Rewrite::skip(std::size_t count) { read_ += count; }

void SourceText::Rewrite::replace(std::size_t count, char c) {
  mark(written_, offset_at_read());
  text_[written_++] = c;
  read_ += count;
}

}  // namespace rplrun
