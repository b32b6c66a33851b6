#include "golden.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace harness {

namespace {

std::vector<std::string> split_blanks(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::string with_source_dir(std::string text, const std::string& source_dir) {
  for (std::size_t at = 0; (at = text.find("{src}", at)) != std::string::npos;
       at += source_dir.size())
    text.replace(at, 5, source_dir);
  return text;
}

void read_topic(const fs::path& file, const std::string& source_dir,
                std::vector<GoldenCase>& cases) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  GoldenCase current;
  bool open = false;
  const auto finish = [&] {
    if (open) cases.push_back(std::move(current));
    open = false;
    current = GoldenCase();
  };
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty()) {
      finish();
      continue;
    }
    const char kind = line[0];
    const std::string rest = line.size() >= 2 ? line.substr(2) : "";
    if (kind == '#' && !open) continue;
    if (!open) {
      open = true;
      current.file = file.string();
      current.line = number;
      current.name = file.stem().string() + "_" + std::to_string(number);
    }
    switch (kind) {
      case '#': break;
      case '$': {
        const auto words = split_blanks(with_source_dir(rest, source_dir));
        current.args.insert(current.args.end(), words.begin(), words.end());
        break;
      }
      case '>': current.rpl.push_back(rest); break;
      case '<':
        current.input += rest + "\n";
        current.has_input = true;
        break;
      case '@': current.path = rest; break;
      case ':':
        current.source += rest + "\n";
        current.has_source = true;
        break;
      case '+': current.operands.push_back(rest); break;
      case '!': current.err += with_source_dir(rest, source_dir) + "\n"; break;
      case '=': current.status = std::stoi(rest); break;
      case '|': current.out += rest + "\n"; break;
      default: current.out += line + "\n"; break;
    }
  }
  finish();
}

}  // namespace

void PrintTo(const GoldenCase& c, std::ostream* os) {
  *os << fs::path(c.file).filename().string() << ":" << c.line;
}

std::vector<GoldenCase> read_golden_cases(const std::string& dir, const std::string& source_dir) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() == ".txt") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<GoldenCase> cases;
  for (const fs::path& file : files) read_topic(file, source_dir, cases);
  return cases;
}

Invocation golden_invocation(const GoldenCase& c, const std::string& program,
                             const std::string& name) {
  Invocation inv;
  inv.program = program;
  inv.argv = {name};
  inv.argv.insert(inv.argv.end(), c.args.begin(), c.args.end());
  if (!c.rpl.empty()) {
    std::string text;
    for (std::size_t k = 0; k < c.rpl.size(); ++k) text += (k ? "\n" : "") + c.rpl[k];
    inv.argv.push_back("-e");
    inv.argv.push_back(text);
  }
  if (c.has_input) inv.argv.push_back("-");
  if (c.has_source) {
    inv.argv.push_back("prog.c48");
    inv.files.push_back({"prog.c48", c.source});
  }
  inv.argv.insert(inv.argv.end(), c.operands.begin(), c.operands.end());
  inv.stdin_data = c.input;
  if (!c.has_input) inv.stdin_kind = Stream::dev_null;
  return inv;
}

}  // namespace harness
