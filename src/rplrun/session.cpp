#include "rplrun/session.h"

#include <sys/stat.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "rplrun/display.h"
#include "rplrun/machine.h"
#include "rplrun/reader.h"
#include "rplrun/report.h"
#include "rplrun/transfer.h"

namespace rplrun {

namespace {

class Session {
 public:
  explicit Session(const SessionOptions& options) : options_(options) {
    if (options.angle_mode) machine_.flags.set_angle_mode(*options.angle_mode);
    if (options.number_format) machine_.flags.set_display(*options.number_format, options.digits);
    machine_.limits.max_steps = options.max_steps;
    machine_.real_clock = options.real_clock;
    machine_.terminal.show = [this](const std::string& text) {
      write_out(encode(text, options_.charset) + "\n");
    };
  }

  int run() {
    int status = exit_done;
    if (options_.input_file && !load_input(*options_.input_file)) status = exit_usage;
    for (const std::string& path : options_.first_files) {
      if (status == exit_done) status = run_file(path);
    }
    if (status == exit_done && options_.file) status = run_file(*options_.file);
    for (std::size_t k = 0; k < options_.evals.size() && status == exit_done; ++k) {
      status = run_command_line(k == 0 ? "-e" : "-e" + std::to_string(k + 1), options_.evals[k]);
    }
    for (std::size_t k = 0; k < options_.operands.size() && status == exit_done; ++k) {
      status = run_command_line("arg" + std::to_string(k + 1), options_.operands[k]);
    }
    if (!options_.quiet)
      write_out(encode(stack_text(machine_, options_.top_only), options_.charset));
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
      report(std::string("cannot write the standard output: ") + std::strerror(errno));
      return exit_usage;
    }
    return status;
  }

 private:
  void write_out(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

  void message(const std::string& hp_text) {
    std::fflush(stdout);
    report(encode(hp_text, options_.charset));
  }

  static std::string where(const Position& p) { return p.known() ? describe(p) + ": " : ""; }

  bool read_bytes(const std::string& path, std::string& bytes) {
    if (path == "-") {
      bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
      if (std::cin.bad()) {
        message("-: cannot read");
        return false;
      }
      return true;
    }
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      message(path + ": cannot read: Is a directory");
      return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      message(path + ": cannot open: " + std::strerror(errno));
      return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
      message(path + ": cannot read");
      return false;
    }
    return true;
  }

  bool load_input(const std::string& path) {
    std::string bytes;
    if (!read_bytes(path, bytes)) return false;
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      machine_.terminal.input.push_back(std::move(line));
    }
    return true;
  }

  ReadContext context() const {
    return ReadContext{machine_.flags.angle_mode(), machine_.flags.binary_base()};
  }

  int run_file(const std::string& path) {
    std::string bytes;
    if (!read_bytes(path, bytes)) return exit_usage;
    try {
      const SourceText text = load_transfer(register_source(path), std::move(bytes));
      return evaluate(read_program_body(text, context()), true);
    } catch (const SyntaxError& error) {
      return syntax_error(error);
    }
  }

  int run_command_line(const std::string& name, const std::string& utf8) {
    try {
      SourceText text = load_command_line(register_source(name), utf8);
      text.fraction_mark = machine_.flags.fraction_mark();
      return evaluate(read_program_body(text, context()), false);
    } catch (const SyntaxError& error) {
      return syntax_error(error);
    }
  }

  int syntax_error(const SyntaxError& error) {
    message(where(error.where) + "Error: " + error_message(invalid_syntax));
    return exit_syntax;
  }

  // The named programs that were running, innermost first. Repeated calls from one
  // place (recursion) are one line with a count, and a long chain keeps its ends.
  void report_chain(const std::vector<std::pair<const Symbol*, Position>>& chain) {
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < chain.size();) {
      std::size_t same = 1;
      while (k + same < chain.size() && chain[k + same].first == chain[k].first &&
             describe(chain[k + same].second) == describe(chain[k].second))
        ++same;
      std::string line = "  in '" + chain[k].first->text() + "'";
      if (chain[k].second.known()) line += ", called at " + describe(chain[k].second);
      if (same > 1) line += " (" + std::to_string(same) + " times)";
      lines.push_back(std::move(line));
      k += same;
    }
    constexpr std::size_t shown_at_each_end = 10;
    for (std::size_t k = 0; k < lines.size(); ++k) {
      if (lines.size() > 2 * shown_at_each_end + 1 && k == shown_at_each_end) {
        message("  ... (" + std::to_string(lines.size() - 2 * shown_at_each_end) + " more)");
        k = lines.size() - shown_at_each_end - 1;
        continue;
      }
      message(lines[k]);
    }
  }

  int evaluate(const Object& body, bool is_file) {
    const Outcome outcome = machine_.run(body, is_file);
    const std::string command = outcome.command.empty() ? "" : outcome.command + " ";
    switch (outcome.status) {
      case Outcome::Status::done: return exit_done;
      case Outcome::Status::error:
        message(where(outcome.where) + command + "Error: " + outcome.error.message);
        break;
      case Outcome::Status::unsupported:
        message(where(outcome.where) + command + "Error: not supported by rplrun");
        break;
      case Outcome::Status::interrupted: message(where(outcome.where) + "Interrupted"); break;
      case Outcome::Status::halted:
        message(where(outcome.where) + "Halted: no input line left");
        break;
    }
    report_chain(outcome.chain);
    switch (outcome.status) {
      case Outcome::Status::interrupted: return exit_interrupted;
      case Outcome::Status::halted: return exit_halted;
      default: return exit_error;
    }
  }

  const SessionOptions& options_;
  Machine machine_;
};

}  // namespace

int run_session(const SessionOptions& options) {
  Session session(options);
  return session.run();
}

}  // namespace rplrun
