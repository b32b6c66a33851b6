// Runs recorded calculator runs (records/records.jsonl, data recorded on HP48 ROMs)
// through the built rplrun and compares the stack it prints with the one recorded.
// records/selection.txt says which records run; see the comments there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "rplrun_test.h"
#include "support/charset.h"

namespace fs = std::filesystem;

namespace {

using harness::Outcome;

// The fields of one record that the test reads. The file holds one flat JSON object
// per line: strings, lists of strings, lists of integers.
struct Record {
  std::string id;
  std::string scope;
  std::string rpl;
  std::vector<std::string> expected;
  std::optional<std::string> error;
  std::set<int> truncated_levels;
  std::string setup;  // typed before the input the record shows
  std::string skip_reason;
  // The recorded session's clock ran on between the commands: times (H.MMSS) are
  // compared to within 5 seconds.
  bool clock_ran = false;
  bool home_iopar = false;  // the record's HOME held IOPAR
};

void PrintTo(const Record& r, std::ostream* os) { *os << r.id; }

class JsonLine {
 public:
  explicit JsonLine(const std::string& text) : text_(text) {}

  // Calls `field(name)` for each key, positioned at its value.
  template <class F>
  void each_field(F field) {
    expect('{');
    while (peek() != '}') {
      const std::string key = string();
      expect(':');
      field(key);
      if (peek() == ',') ++pos_;
    }
  }

  std::string string() {
    expect('"');
    std::string out;
    while (text_.at(pos_) != '"') {
      char c = text_[pos_++];
      if (c == '\\') {
        c = text_.at(pos_++);
        if (c == 'n')
          c = '\n';
        else if (c == 't')
          c = '\t';
        else if (c == 'u') {
          const unsigned code =
              static_cast<unsigned>(std::stoul(text_.substr(pos_, 4), nullptr, 16));
          pos_ += 4;
          if (code < 0x80) {
            out += static_cast<char>(code);
          } else {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
          }
          continue;
        }
      }
      out += c;
    }
    ++pos_;
    return out;
  }

  template <class F>
  void each_item(F item) {
    expect('[');
    while (peek() != ']') {
      item();
      if (peek() == ',') ++pos_;
    }
    ++pos_;
  }

  long number() {
    skip();
    std::size_t used = 0;
    const long value = std::stol(text_.substr(pos_), &used);
    pos_ += used;
    return value;
  }

  // Any value, ignored.
  void skip_value() {
    const char c = peek();
    if (c == '"')
      string();
    else if (c == '[')
      each_item([&] { skip_value(); });
    else if (c == '{')
      each_field([&](const std::string&) { skip_value(); });
    else
      while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '}' && text_[pos_] != ']')
        ++pos_;
  }

 private:
  void skip() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  char peek() {
    skip();
    return text_.at(pos_);
  }
  void expect(char c) {
    if (peek() != c) throw std::runtime_error("bad record line: " + text_);
    ++pos_;
  }

  const std::string& text_;
  std::size_t pos_ = 0;
};

Record parse(const std::string& line) {
  Record r;
  JsonLine json(line);
  json.each_field([&](const std::string& key) {
    if (key == "id")
      r.id = json.string();
    else if (key == "scope")
      r.scope = json.string();
    else if (key == "rpl")
      r.rpl = json.string();
    else if (key == "error")
      r.error = json.string();
    else if (key == "expected")
      json.each_item([&] { r.expected.push_back(json.string()); });
    else if (key == "truncated_levels")
      json.each_item([&] { r.truncated_levels.insert(static_cast<int>(json.number())); });
    else if (key == "depends_on")
      json.each_item([&] {
        const std::string item = json.string();
        const std::string setup = "state set up before the input: ";
        if (item.starts_with(setup)) r.setup = item.substr(setup.size());
        if (item.starts_with("HOME holds IOPAR")) r.home_iopar = true;
      });
    else
      json.skip_value();
  });
  // The stack shown is the one the input left: whatever the setup typed before it left
  // there (LR's results before PREDY) was cleared.
  if (!r.setup.empty() && r.rpl.starts_with(r.setup))
    r.rpl = r.setup + " CLEAR" + r.rpl.substr(r.setup.size());
  // The serial link's parameters, as the recording calculator's HOME held them.
  if (r.home_iopar) r.rpl = "{ 9600 0 0 0 3 1 } 'IOPAR' STO " + r.rpl;
  return r;
}

fs::path records_dir() { return fs::path(source_dir()) / "tests/rplrun/records"; }

std::vector<Record> selected_records() {
  std::set<std::string> run_other;
  std::set<std::string> clock_ran;
  std::map<std::string, std::string> skipped;
  std::ifstream selection(records_dir() / "selection.txt");
  for (std::string line; std::getline(selection, line);) {
    std::istringstream in(line);
    std::string verb, id;
    if (!(in >> verb >> id) || verb[0] == '#') continue;
    std::string reason;
    std::getline(in >> std::ws, reason);
    if (verb == "run") {
      run_other.insert(id);
    } else if (verb == "clock") {
      run_other.insert(id);
      clock_ran.insert(id);
    } else {
      skipped[id] = verb + ": " + reason;
    }
  }
  std::vector<Record> records;
  std::ifstream data(records_dir() / "records.jsonl");
  for (std::string line; std::getline(data, line);) {
    if (line.empty()) continue;
    Record r = parse(line);
    if (r.scope != "core" && !run_other.contains(r.id)) continue;
    if (const auto found = skipped.find(r.id); found != skipped.end())
      r.skip_reason = found->second;
    r.clock_ran = clock_ran.contains(r.id);
    records.push_back(std::move(r));
  }
  return records;
}

std::string test_name(const std::string& id) {
  std::string name;
  for (const char c : id) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

// H.MMSS as seconds.
double seconds_of_hms(const std::string& text) {
  const double x = std::stod(text) * 10000 + 1e-6;
  const auto hhmmss = static_cast<long>(x);
  return static_cast<double>(hhmmss / 10000 * 3600 + hhmmss / 100 % 100 * 60 + hhmmss % 100) +
         (x - static_cast<double>(hhmmss));
}

class Records : public testing::TestWithParam<Record> {};

TEST_P(Records, SameStack) {
  const Record& r = GetParam();
  if (!r.skip_reason.empty()) GTEST_SKIP() << r.skip_reason;
  const Outcome got = harness::run(rplrun_invocation({"-e", r.rpl}));
  ASSERT_FALSE(got.timed_out);
  if (r.error) {
    EXPECT_EQ(got.status, 1);
    EXPECT_NE(got.err.find("Error: " + *r.error + "\n"), std::string::npos) << got.err;
    return;
  }
  EXPECT_EQ(got.status, 0) << got.err;
  std::istringstream lines(got.out);
  std::vector<std::string> shown;
  for (std::string line; std::getline(lines, line);) shown.push_back(line);
  ASSERT_EQ(shown.size(), r.expected.size()) << got.out;
  for (std::size_t k = 0; k < shown.size(); ++k) {
    const int level = static_cast<int>(shown.size() - k);
    const std::string want = std::to_string(level) + ": " + r.expected[k];
    if (r.clock_ran) {
      const std::string label = std::to_string(level) + ": ";
      ASSERT_EQ(shown[k].substr(0, label.size()), label);
      EXPECT_NEAR(seconds_of_hms(shown[k].substr(label.size())), seconds_of_hms(r.expected[k]), 5)
          << shown[k];
    } else if (r.truncated_levels.contains(level)) {
      EXPECT_EQ(shown[k].substr(0, want.size()), want);
    } else {
      // The records write HP characters as \ddd, rplrun's output by their two-letter
      // codes where they have one (\215 is \.x): compared as characters.
      EXPECT_EQ(rpl::decode_backslash_codes(shown[k]), rpl::decode_backslash_codes(want));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Calculator, Records, testing::ValuesIn(selected_records()),
                         [](const testing::TestParamInfo<Record>& info) {
                           return test_name(info.param.id) + "_" + std::to_string(info.index);
                         });

}  // namespace
