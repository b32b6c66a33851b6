#include "session.h"

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "compiler_messages.h"
#include "input_file.h"
#include "line_reader.h"
#include "machine/machine.h"
#include "objects/command_registry.h"
#include "objects/display.h"
#include "objects/reader.h"
#include "objects/transfer.h"
#include "output.h"
#include "report.h"
#include "rplgen/check/compile.h"
#include "screen_picture.h"
#include "support/blanks.h"
#include "watch.h"

namespace rplrun {

namespace {

// SIGALRM after that many seconds (0: never); main() makes it an interruption.
void arm_timer(double seconds) {
  // Longer than any run lasts (about three years): a larger value, infinity included,
  // is taken as this one rather than overflow the timer's fields.
  constexpr double longest = 1e8;
  seconds = std::min(seconds, longest);
  itimerval timer{};
  timer.it_value.tv_sec = static_cast<time_t>(seconds);
  timer.it_value.tv_usec =
      static_cast<suseconds_t>((seconds - static_cast<double>(timer.it_value.tv_sec)) * 1e6);
  if (seconds > 0 && timer.it_value.tv_sec == 0 && timer.it_value.tv_usec == 0)
    timer.it_value.tv_usec = 1;
  setitimer(ITIMER_REAL, &timer, nullptr);
}

// A line of a longer input (a --input line, a line typed in interactive mode), read so
// that its positions give its line number there.
SourceText numbered_line(std::uint32_t source, std::size_t number, std::string utf8,
                         char fraction_mark) {
  const auto line = static_cast<std::uint32_t>(number);
  try {
    SourceText text = load_command_line(source, std::move(utf8));
    text.fraction_mark = fraction_mark;
    text.first_line = line;
    return text;
  } catch (SyntaxError& error) {
    error.where.line += line - 1;
    throw;
  }
}

bool is_hp48g_command(std::string_view word) { return find_command(word).has_value(); }

std::string_view kind_name(rplgen::check::Diagnostic::Kind kind) {
  switch (kind) {
    case rplgen::check::Diagnostic::Kind::error: return "error";
    case rplgen::check::Diagnostic::Kind::warning: return "warning";
    case rplgen::check::Diagnostic::Kind::note: return "note";
  }
  return "error";
}

class Session {
 public:
  explicit Session(const SessionOptions& options) : options_(options) {
    if (options.angle_mode) machine_.flags.set_angle_mode(*options.angle_mode);
    if (options.number_format) machine_.flags.set_display(*options.number_format, options.digits);
    machine_.limits.max_steps = options.max_steps;
    machine_.real_clock = options.real_clock;
    machine_.terminal.show = [this](const std::string& text) {
      // The run stops at the first write that fails.
      if (!write_out(text) || !write_out("\n")) machine_.stop(Outcome::Status::output_failed);
    };
    if (options.trace) watch_evaluation(machine_, options.charset);
    if (options.strict) watch_undefined_names(machine_, options.charset);
    if (options.interactive) {
      machine_.terminal.interactive = true;
      machine_.terminal.read_line = [this](const std::string& prompt, std::string& line) {
        return read_answer_line(prompt, line);
      };
      machine_.terminal.line_ready = [this] { return reader_.ready(); };
    }
    if (options.screen && options.screen->ends_with('/')) {
      mkdir(options.screen->c_str(), 0777);  // a failure shows when a frame is written
      machine_.screen.frame_watcher = [this](const Grob& display) { write_frame(display); };
    }
  }

  int run() {
    if (options_.check) return check_files();
    if (options_.interactive) std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    arm_timer(options_.timeout_seconds);
    int status = exit_done;
    if (options_.input_file && !load_input(*options_.input_file)) status = exit_usage;
    // The first failure ends the inputs; so does OFF.
    const auto going = [&] { return status == exit_done && !off_; };
    for (const std::string& path : options_.first_files) {
      if (going()) status = run_file(path, false);
    }
    if (going() && options_.file) status = run_file(*options_.file, true);
    for (std::size_t k = 0; k < options_.evals.size() && going(); ++k) {
      status = run_command_line(k == 0 ? "-e" : "-e" + std::to_string(k + 1), options_.evals[k]);
    }
    for (std::size_t k = 0; k < options_.operands.size() && going(); ++k) {
      status = run_command_line("arg" + std::to_string(k + 1), options_.operands[k]);
    }
    arm_timer(0);
    if (options_.show_screen && !output_.failed()) show_screen();
    if (options_.interactive && !output_.failed()) {
      status = off_ ? exit_done : interact();
    } else if (!options_.quiet && !output_.failed()) {
      write_stack_out();
    }
    if (!write_final_screen() && status == exit_done) status = exit_usage;
    if (!output_.flush()) return output_failure();
    return status;
  }

 private:
  bool write_out(std::string_view hp_text) { return output_.write(hp_text, LineBreaks::kept); }

  void show_screen() { output_.write_utf8(half_blocks(machine_.screen.display())); }

  // --screen=DIR/: each frame shown as the next numbered picture. The first failure is
  // reported and ends the frames.
  void write_frame(const Grob& display) {
    if (screen_failed_) return;
    char name[32];
    std::snprintf(name, sizeof name, "%04llu.png",
                  static_cast<unsigned long long>(frames_written_ + 1));
    screen_failed_ = !write_screen(*options_.screen + name, display);
    if (screen_failed_) return;
    ++frames_written_;
    last_frame_ = display;
  }

  bool write_screen(const std::string& path, const Grob& display) {
    std::string error;
    if (write_png(display, options_.screen_scale, path, error)) return true;
    report("cannot write '" + path + "': " + error);
    return false;
  }

  // The display as the run left it: --screen's file, or the last of its frames unless
  // the last frame written shows it already.
  bool write_final_screen() {
    if (!options_.screen) return true;
    const Grob display = machine_.screen.display();
    if (!machine_.screen.frame_watcher) return write_screen(*options_.screen, display);
    if (frames_written_ == 0 || last_frame_ != display) write_frame(display);
    return !screen_failed_;
  }

  void write_stack_out() {
    OutputSink sink(output_);
    write_stack(machine_, options_.top_only, sink);
    sink.finish();
  }

  // Standard output failed: said once, and the status it stands for.
  int output_failure() {
    if (!output_failure_reported_) {
      report(std::string("cannot write the standard output: ") + std::strerror(output_.error()));
      output_failure_reported_ = true;
    }
    return exit_usage;
  }

  void message(const std::string& hp_text) {
    output_.flush();
    report(encode(hp_text, options_.charset, LineBreaks::code));
  }

  static std::string where(const Position& p) { return p.known() ? describe(p) + ": " : ""; }

  bool read_bytes(const std::string& path, std::string& bytes) {
    std::string error;
    if (read_input_file(path, bytes, error)) return true;
    message(path + ": " + error);
    return false;
  }

  bool load_input(const std::string& path) {
    std::string bytes;
    if (!read_bytes(path, bytes)) return false;
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      machine_.terminal.input.push_back(std::move(line));
    }
    machine_.terminal.input_source = register_source(path);
    machine_.terminal.input_lines = machine_.terminal.input.size();
    return true;
  }

  // An answer typed at the terminal, once the --input lines are used up.
  Terminal::Typed read_answer_line(const std::string& prompt, std::string& line) {
    if (!prompt.empty()) write_out(prompt + "\n");
    if (!output_.flush()) return Terminal::Typed::interrupted;
    switch (reader_.read(line)) {
      case LineReader::Result::line: return Terminal::Typed::line;
      case LineReader::Result::interrupted: return Terminal::Typed::interrupted;
      case LineReader::Result::end: break;
    }
    return Terminal::Typed::end;
  }

  ReadContext context() const {
    return ReadContext{machine_.flags.angle_mode(), machine_.flags.binary_base()};
  }

  static std::string closing_warning(const SuppliedClosing& closing) {
    return "'" + std::string(1, static_cast<char>(closing.open)) + "' is not closed: '" +
           std::string(1, static_cast<char>(closing.close)) + "' supplied at the end";
  }

  // Reads a file or a command line: what it leaves open at its end is closed there,
  // as the calculator's command line closes it, with a --strict warning for each
  // closing supplied.
  Object read_input(const SourceText& text) {
    std::vector<SuppliedClosing> supplied;
    ReadContext read = context();
    read.supplied = &supplied;
    Object body = read_program_body(text, read);
    if (options_.strict) {
      for (const SuppliedClosing& closing : supplied) {
        message(describe(closing.opener) + ": warning: " + closing_warning(closing));
      }
    }
    return body;
  }

  bool is_source(const std::string& path) const {
    return path.ends_with(".c48") || (options_.source == SourceKind::c48);
  }

  // Compiles a .c48 source as rplgen does and reports its errors (and, `warnings`, its
  // warnings) in the compilers' form; the RPL that rplgen would write, with every
  // position in the source. None: it does not compile.
  std::optional<SourceText> compile(const std::string& path, const std::string& bytes,
                                    bool warnings) {
    const rplgen::check::Compilation compiled = rplgen::check::compile(bytes, is_hp48g_command);
    const std::uint32_t id = register_source(path);
    const SourceText places(id, bytes, "", {});
    bool shown = false;
    for (const rplgen::check::Diagnostic& d : compiled.diagnostics) {
      using Kind = rplgen::check::Diagnostic::Kind;
      if (d.kind != Kind::note) shown = d.kind == Kind::error || warnings;
      if (!shown) continue;
      report_compiler_message(describe(places.position_of_offset(d.offset)), kind_name(d.kind),
                              d.message, bytes, d.offset);
    }
    if (!compiled.compiled) return std::nullopt;
    return decode_transfer(SourceText(id, bytes, compiled.rpl, compiled.origins));
  }

  // --check: each file compiled (.c48) or read (RPL), nothing run.
  int check_files() {
    int status = exit_done;
    for (const std::string& path : options_.check_files) {
      std::string bytes;
      if (!read_bytes(path, bytes)) {
        status = exit_usage;
        continue;
      }
      if (is_source(path)) {
        if (!compile(path, bytes, true) && status == exit_done) status = exit_error;
        continue;
      }
      try {
        std::vector<SuppliedClosing> supplied;
        ReadContext read = context();
        read.supplied = &supplied;
        read_program_body(load_transfer(register_source(path), bytes), read);
        for (const SuppliedClosing& closing : supplied) {
          report_compiler_message(
              describe(closing.opener), "warning", encode(closing_warning(closing), options_.charset),
              bytes, offset_of(bytes, closing.opener.line, closing.opener.column));
        }
      } catch (const SyntaxError& error) {
        const std::uint32_t number = error.error != 0 ? error.error : invalid_syntax;
        report_compiler_message(describe(error.where), "error", error_message(number), bytes,
                                offset_of(bytes, error.where.line, error.where.column));
        if (status == exit_done) status = exit_error;
      }
    }
    return status;
  }

  // FILE (`main`) or a -f file: run, or stored with --store.
  int run_file(const std::string& path, bool main) {
    std::string bytes;
    if (!read_bytes(path, bytes)) return exit_usage;
    const bool source = is_source(path);
    if (options_.strict && !source && !bytes.starts_with("%%HP:"))
      message(path + ": warning: no %%HP: header");
    Object body;
    try {
      if (source) {
        const std::optional<SourceText> text = compile(path, bytes, options_.strict);
        if (!text) return exit_syntax;
        body = read_program_body(*text, context());
      } else {
        const SourceText text = load_transfer(register_source(path), std::move(bytes));
        body = read_input(text);
      }
    } catch (const SyntaxError& error) {
      return syntax_error(error);
    }
    if (options_.store) return store_file(path, body, main ? options_.store_name : std::nullopt);
    return evaluate(body, true);
  }

  // The variable a file is stored in: its name without the directory and the extension
  // (EUCLIDE for lib/EUCLIDE.txt), as the programs that call it name it.
  static std::string variable_of_file(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    if (const auto dot = name.find_last_of('.'); dot != std::string::npos) name.resize(dot);
    return name;
  }

  // --store: the file's one object goes into a variable named NAME, or after the file.
  int store_file(const std::string& path, const Object& body, std::optional<std::string> name) {
    if (body.items().size() != 1) {
      message(path + ": cannot store: the file holds " + std::to_string(body.items().size()) +
              " objects, not one");
      return exit_usage;
    }
    if (!name) {
      if (path == "-") {
        message("-: cannot store standard input without a name (--store=NAME)");
        return exit_usage;
      }
      name = variable_of_file(path);
    }
    const Symbol* symbol = variable_name(*name);
    if (!symbol) {
      message(path + ": cannot store: '" + *name + "' is not a variable name");
      return exit_usage;
    }
    try {
      machine_.store_global(symbol, body.items()[0]);
    } catch (const RplError& error) {
      // Over a subdirectory, or too deep for the directory it goes in.
      message(path + ": cannot store: " + encode(error.message, options_.charset));
      return exit_error;
    }
    return exit_done;
  }

  // The name `text` stands for, if it reads as one: a global name, not a command.
  const Symbol* variable_name(const std::string& text) {
    try {
      static const std::uint32_t source = register_source("--store");
      const Object read = read_program_body(load_command_line(source, text), context());
      if (read.items().size() != 1) return nullptr;
      const Object& item = read.items()[0];
      return item.is(Kind::name) && !item.is_quoted() ? item.symbol() : nullptr;
    } catch (const SyntaxError&) {
      return nullptr;
    }
  }

  int run_command_line(const std::string& name, const std::string& utf8) {
    try {
      SourceText text = load_command_line(register_source(name), utf8);
      text.fraction_mark = machine_.flags.fraction_mark();
      return evaluate(read_input(text), false);
    } catch (const SyntaxError& error) {
      return syntax_error(error);
    }
  }

  // Interactive mode: the stack, a prompt, a line typed, until Ctrl-D or OFF. Errors
  // leave the stack as they left it; UNDO alone on a line puts back the stack of
  // before the last line (and again, the one it replaced).
  int interact() {
    interactive_ = true;
    const std::uint32_t source = register_source("-");
    std::vector<Object> undo = machine_.stack();
    for (;;) {
      // Memory that runs out between two runs (the stack shown, the line read) costs
      // that line, not the session.
      try {
        if (!interact_once(source, undo)) break;
      } catch (const std::bad_alloc&) {
        arm_timer(0);
        clear_interrupt();
        message("Error: " + error_message(insufficient_memory));
      }
      if (output_.failed()) return output_failure();
    }
    return exit_done;
  }

  // The stack, the prompt, a line and its run; false when the session ends.
  bool interact_once(std::uint32_t source, std::vector<Object>& undo) {
    write_stack_out();
    const std::string prompt = machine_.halted_count() > 0 ? "HALT> " : "> ";
    if (!reader_.edits()) write_out(prompt);
    if (!output_.flush()) return false;
    std::string line;
    const LineReader::Result got = reader_.read(line, prompt, true);
    clear_interrupt();
    if (got != LineReader::Result::line) {
      write_out("\n");
      return got != LineReader::Result::end;
    }
    if (rpl::without_blanks_around(line) == "UNDO") {
      machine_.stack().swap(undo);
      return true;
    }
    undo = machine_.stack();
    if (options_.max_steps != 0) machine_.limits.max_steps = machine_.steps() + options_.max_steps;
    arm_timer(options_.timeout_seconds);
    const std::uint64_t screen_changes = machine_.screen.changes();
    try {
      evaluate(read_input(numbered_line(source, reader_.lines(), std::move(line),
                                        machine_.flags.fraction_mark())),
               false);
    } catch (const SyntaxError& error) {
      syntax_error(error);
    }
    arm_timer(0);
    clear_interrupt();
    if (machine_.screen.changes() != screen_changes) show_screen();
    return !off_ && !output_.failed();
  }

  int syntax_error(const SyntaxError& error) {
    const std::uint32_t number = error.error != 0 ? error.error : invalid_syntax;
    message(where(error.where) + "Error: " + error_message(number));
    return error.error ? exit_error : exit_syntax;
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

  // Runs an input. Before interactive mode, a program that halts waits while the next
  // --input line runs as a command line, then continues as if CONT followed it.
  int evaluate(const Object& body, bool is_file) {
    Outcome outcome = machine_.run(body, is_file);
    while (!interactive_ && machine_.halted_count() > 0 &&
           (outcome.status == Outcome::Status::done || outcome.status == Outcome::Status::halted)) {
      if (outcome.status == Outcome::Status::done) {
        static const Object cont = make_program({Object::command(cmd::cont)}, {}, {});
        outcome = machine_.run(cont);
        continue;
      }
      std::optional<Answer> line = machine_.terminal.take_input();
      if (!line) break;
      try {
        outcome = machine_.run(
            read_input(numbered_line(line->where.source, line->where.line, std::move(line->text),
                                     machine_.flags.fraction_mark())));
      } catch (const SyntaxError& error) {
        return syntax_error(error);
      }
    }
    return conclude(outcome);
  }

  // Reports how a run ended and gives the exit status it stands for.
  int conclude(const Outcome& outcome) {
    const std::string command = outcome.command.empty() ? "" : outcome.command + " ";
    switch (outcome.status) {
      case Outcome::Status::done:
      case Outcome::Status::killed: return exit_done;
      case Outcome::Status::output_failed: return output_failure();
      case Outcome::Status::off: off_ = true; return exit_done;
      case Outcome::Status::error:
        message(where(outcome.where) + command + "Error: " + outcome.error.message);
        break;
      case Outcome::Status::unsupported:
        message(where(outcome.where) + command + "Error: not supported by rplrun");
        break;
      case Outcome::Status::interrupted: message(where(outcome.where) + "Interrupted"); break;
      case Outcome::Status::bad_answer:
        message(where(outcome.where) + command + "Error: " + outcome.error.message);
        if (outcome.asked.known()) message("  asked at " + describe(outcome.asked));
        break;
      case Outcome::Status::halted:
        if (options_.interactive) return exit_halted;  // the prompt says HALT
        message(where(outcome.where) + "Halted: no input line left");
        break;
    }
    report_chain(outcome.chain);
    switch (outcome.status) {
      case Outcome::Status::interrupted: return exit_interrupted;
      case Outcome::Status::halted: return exit_halted;
      case Outcome::Status::bad_answer: return exit_syntax;
      default: return exit_error;
    }
  }

  const SessionOptions& options_;
  Output output_{options_.charset};
  std::uint64_t frames_written_ = 0;
  Grob last_frame_;
  bool screen_failed_ = false;
  bool output_failure_reported_ = false;
  Machine machine_;
  LineReader reader_{STDIN_FILENO};
  bool interactive_ = false;        // the prompt is up
  bool off_ = false;                // OFF: interactive mode ends
};

}  // namespace

int run_session(const SessionOptions& options) {
  Session session(options);
  return session.run();
}

}  // namespace rplrun
