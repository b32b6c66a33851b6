#include "support/origins.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

#include "support/text_origins.h"

namespace rpl {

namespace origins {

bool tracked = false;

namespace {

std::uint32_t current_origin = 0;
std::string_view source;
std::uint32_t source_origin = 0;
std::unordered_map<const Text*, Runs> recorded;
// The runs of the text being built, until it is settled.
Runs pending;

// Whether run `b`, placed right after run `a`, continues it.
bool continues(const Run& a, const Run& b) {
  if (a.advancing != b.advancing) return false;
  return a.advancing ? a.origin + a.length == b.origin : a.origin == b.origin;
}

Run run_of(std::string_view bytes) {
  const auto length = static_cast<std::uint32_t>(bytes.size());
  const std::less<const char*> before;
  const bool from_source = !source.empty() && !bytes.empty() &&
                           !before(bytes.data(), source.data()) &&
                           !before(source.data() + source.size(), bytes.data() + bytes.size());
  if (!from_source) return Run{length, current_origin, false};
  return Run{length, source_origin + static_cast<std::uint32_t>(bytes.data() - source.data()), true};
}

}  // namespace

void Runs::push_back(Run run) {
  if (run.length == 0) return;
  if (!empty() && continues(runs_.back(), run)) {
    runs_.back().length += run.length;
    return;
  }
  runs_.push_back(run);
}

void Runs::push_front(Run run) {
  if (run.length == 0) return;
  if (!empty() && continues(run, runs_[first_])) {
    runs_[first_].origin = run.origin;
    runs_[first_].length += run.length;
    return;
  }
  if (first_ == 0) {
    // Room at the front as large as the runs held, so that filling it again
    // takes as many additions as there are runs.
    const std::size_t room = std::max<std::size_t>(4, runs_.size());
    runs_.insert(runs_.begin(), room, Run{});
    first_ = room;
  }
  runs_[--first_] = run;
}

void Runs::push_back(std::string_view bytes) { push_back(run_of(bytes)); }
void Runs::push_front(std::string_view bytes) { push_front(run_of(bytes)); }

void Runs::append(const Runs& other) {
  for (const Run& run : other) push_back(run);
}

void Runs::prepend(const Runs& other) {
  for (const Run* run = other.end(); run != other.begin();) push_front(*--run);
}

void Runs::keep(std::uint32_t size) {
  std::size_t i = first_;
  for (; i < runs_.size() && size > 0; ++i) {
    if (runs_[i].length >= size) {
      runs_[i].length = size;
      size = 0;
    } else {
      size -= runs_[i].length;
    }
  }
  runs_.resize(i);
}

namespace {

Runs take(const Text* text) {
  const auto found = recorded.find(text);
  if (found == recorded.end()) return {};
  Runs runs = std::move(found->second);
  recorded.erase(found);
  return runs;
}

}  // namespace

void assembling(const std::vector<Piece>& pieces, std::size_t base) {
  // The base's runs are reused as its bytes are: the others are added around them.
  pending = base < pieces.size() ? take(pieces[base].argument) : Runs{};
  for (std::size_t i = base < pieces.size() ? base : 0; i-- > 0;) {
    if (pieces[i].argument != nullptr) {
      pending.prepend(take(pieces[i].argument));
    } else {
      pending.push_front(pieces[i].literal);
    }
  }
  for (std::size_t i = base < pieces.size() ? base + 1 : 0; i < pieces.size(); ++i) {
    if (pieces[i].argument != nullptr) {
      pending.append(take(pieces[i].argument));
    } else {
      pending.push_back(pieces[i].literal);
    }
  }
}

void appending(const Text* text, std::string_view bytes) {
  pending = text != nullptr ? take(text) : Runs{};
  pending.push_back(bytes);
}

void truncating(const Text* text, std::size_t size) {
  pending = take(text);
  pending.keep(static_cast<std::uint32_t>(size));
}

void copying(const Text* text) {
  const auto found = recorded.find(text);
  pending = found == recorded.end() ? Runs{} : found->second;
}

void settle(const Text* made) {
  if (!pending.empty()) recorded[made] = std::move(pending);
  pending = Runs{};
}

void forget(const Text* text) { recorded.erase(text); }

}  // namespace origins

void track_origins(bool on) {
  origins::tracked = on;
  origins::recorded.clear();
  origins::pending = origins::Runs{};
  origins::current_origin = 0;
  origins::source = {};
}

void set_origin(std::uint32_t origin) { origins::current_origin = origin; }

void set_origin_source(std::string_view bytes, std::uint32_t origin) {
  origins::source = bytes;
  origins::source_origin = origin;
}

void append_origins(const Text* text, std::vector<std::uint32_t>& out) {
  const std::size_t start = out.size();
  const auto found = origins::recorded.find(text);
  if (found != origins::recorded.end()) {
    for (const origins::Run& run : found->second) {
      for (std::uint32_t i = 0; i < run.length; ++i) out.push_back(run.origin + (run.advancing ? i : 0));
    }
  }
  out.resize(start + text_view(text).size(), 0);
}

}  // namespace rpl
