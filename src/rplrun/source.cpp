#include "rplrun/source.h"

#include <algorithm>
#include <deque>

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
  index_lines(text_);
  offsets_.resize(text_.size() + 1);
  for (std::size_t i = 0; i <= text_.size(); ++i) offsets_[i] = static_cast<std::uint32_t>(i);
}

SourceText::SourceText(std::uint32_t source, std::string_view original, std::string text,
                       std::vector<std::uint32_t> offsets)
    : source_(source), text_(std::move(text)), offsets_(std::move(offsets)) {
  index_lines(original);
  count_utf8_columns(original);
  offsets_.resize(text_.size() + 1, static_cast<std::uint32_t>(original.size()));
}

void SourceText::index_lines(std::string_view original) {
  line_starts_.assign(1, 0);
  for (std::size_t i = 0; i < original.size(); ++i) {
    if (original[i] == '\n') line_starts_.push_back(static_cast<std::uint32_t>(i + 1));
  }
}

void SourceText::replace(std::string text, const std::vector<std::size_t>& offsets) {
  std::vector<std::uint32_t> composed(text.size() + 1);
  for (std::size_t i = 0; i < text.size(); ++i) composed[i] = offsets_[offsets[i]];
  composed[text.size()] = offsets_.back();
  text_ = std::move(text);
  offsets_ = std::move(composed);
}

void SourceText::count_utf8_columns() { count_utf8_columns(text_); }

void SourceText::count_utf8_columns(std::string_view original) {
  continuations_.assign(original.size() + 1, 0);
  for (std::size_t i = 0; i < original.size(); ++i) {
    const bool continuation = (static_cast<unsigned char>(original[i]) & 0xC0) == 0x80;
    continuations_[i + 1] = continuations_[i] + (continuation ? 1 : 0);
  }
}

Position SourceText::position_at(std::size_t index) const {
  return position_of_offset(offsets_[std::min(index, offsets_.size() - 1)]);
}

Position SourceText::position_of_offset(std::uint32_t offset) const {
  const auto line = std::upper_bound(line_starts_.begin(), line_starts_.end(), offset) - 1;
  std::uint32_t column = offset - *line + 1;
  if (!continuations_.empty()) column -= continuations_[offset] - continuations_[*line];
  return Position{source_, static_cast<std::uint32_t>(line - line_starts_.begin()) + first_line,
                  column};
}

}  // namespace rplrun
