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

Runs take(const Text* text) {
  const auto found = recorded.find(text);
  if (found == recorded.end()) return {};
  Runs runs = std::move(found->second);
  recorded.erase(found);
  return runs;
}

Runs copy(const Text* text) {
  const auto found = recorded.find(text);
  return found == recorded.end() ? Runs{} : found->second;
}

void put(const Text* text, Runs runs) {
  if (!runs.empty()) recorded[text] = std::move(runs);
}

void forget(const Text* text) { recorded.erase(text); }

}  // namespace origins

void track_origins(bool on) {
  origins::tracked = on;
  origins::recorded.clear();
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
