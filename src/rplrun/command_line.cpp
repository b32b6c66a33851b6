#include "command_line.h"

#include <getopt.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "report.h"

#ifndef RPLRUN_VERSION
#define RPLRUN_VERSION "unknown"
#endif

namespace rplrun {

namespace {

constexpr std::uint64_t max_screen_scale = 32;

enum LongOnly : int {
  opt_max_steps = 256,
  opt_timeout,
  opt_rad,
  opt_deg,
  opt_grad,
  opt_std,
  opt_fix,
  opt_sci,
  opt_eng,
  opt_ascii,
  opt_unicode,
  opt_input,
  opt_strict,
  opt_real_clock,
  opt_check,
  opt_source,
  opt_screen,
  opt_screen_scale,
  opt_show,
};

constexpr option long_options[] = {
    {"eval", required_argument, nullptr, 'e'},
    {"file", required_argument, nullptr, 'f'},
    {"store", optional_argument, nullptr, 's'},
    {"interactive", no_argument, nullptr, 'i'},
    {"quiet", no_argument, nullptr, 'q'},
    {"top", no_argument, nullptr, '1'},
    {"trace", no_argument, nullptr, 't'},
    {"strict", no_argument, nullptr, opt_strict},
    {"max-steps", required_argument, nullptr, opt_max_steps},
    {"timeout", required_argument, nullptr, opt_timeout},
    {"rad", no_argument, nullptr, opt_rad},
    {"deg", no_argument, nullptr, opt_deg},
    {"grad", no_argument, nullptr, opt_grad},
    {"std", no_argument, nullptr, opt_std},
    {"fix", required_argument, nullptr, opt_fix},
    {"sci", required_argument, nullptr, opt_sci},
    {"eng", required_argument, nullptr, opt_eng},
    {"ascii", no_argument, nullptr, opt_ascii},
    {"unicode", no_argument, nullptr, opt_unicode},
    {"input", required_argument, nullptr, opt_input},
    {"real-clock", no_argument, nullptr, opt_real_clock},
    {"check", no_argument, nullptr, opt_check},
    {"source", required_argument, nullptr, opt_source},
    {"screen", required_argument, nullptr, opt_screen},
    {"screen-scale", required_argument, nullptr, opt_screen_scale},
    {"show", no_argument, nullptr, opt_show},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};

constexpr std::string_view usage_text =
    "Usage: rplrun [OPTION]... [FILE [RPL]...]\n"
    "  or:  rplrun --check [OPTION]... [FILE]...\n"
    "Run HP48 User RPL as an HP48G would: FILE (a transfer file or RPL text, a .c48\n"
    "source compiled as rplgen compiles it, - for standard input), then each RPL\n"
    "operand as a command line; print the stack.\n"
    "\n"
    "      --check          compile or read each FILE and report its errors and\n"
    "                       warnings as FILE:LINE:COLUMN: error: ...; run nothing\n"
    "      --source=KIND    read standard input and files not named .c48 as KIND:\n"
    "                       c48 (source) or rpl (the default)\n"
    "  -e, --eval=TEXT      evaluate TEXT as a command line (after FILE)\n"
    "  -f, --file=FILE      evaluate FILE first\n"
    "  -s, --store[=NAME]   store each file's object in a variable (FILE's in NAME,\n"
    "                       by default the file's name without its extension)\n"
    "                       instead of running it\n"
    "  -i, --interactive    then read command lines, showing the stack before each\n"
    "                       (UNDO: the stack before the last line; Ctrl-D or OFF: leave)\n"
    "                       and the display after each line that changes it\n"
    "  -q, --quiet          do not print the final stack\n"
    "  -1, --top            print only level 1, without its label\n"
    "  -t, --trace          write each evaluated object and the stack after it on\n"
    "                       standard error\n"
    "      --strict         warn about undefined names evaluated, files without header,\n"
    "                       delimiters left open at the end\n"
    "      --max-steps=N    stop with \"Interrupted\" after N evaluated objects\n"
    "      --timeout=SECONDS  stop with \"Interrupted\" after that time\n"
    "      --rad, --deg, --grad         initial angle mode (default DEG)\n"
    "      --std, --fix=N, --sci=N, --eng=N  display mode (default STD)\n"
    "      --ascii          write HP characters as backslash codes (default)\n"
    "      --unicode        write HP characters as UTF-8\n"
    "      --input=FILE     answers for INPUT, CHOOSE, INFORM, WAIT and KEY, and\n"
    "                       lines run while PROMPT or HALT waits\n"
    "      --real-clock     TICKS, TIME, DATE and 0 RDZ read the local time\n"
    "                       (default: a fixed moment, 1 January 1991 00:00:00)\n"
    "      --screen=FILE.png  write the display when the run ends as a PNG picture:\n"
    "                       PICT if it was shown or drawn on last, else the text\n"
    "                       screen; --screen=DIR/ writes DIR/0001.png, ... for each\n"
    "                       frame shown (PVIEW, FREEZE, DISP, ANIMATE) and the end\n"
    "      --screen-scale=N  each pixel an N x N square (default 4, at most 32)\n"
    "      --show           draw the display in the terminal when the run ends\n"
    "  -h, --help           show this help and exit\n"
    "  -V, --version        show the version and exit\n"
    "\n"
    "Exit status: 0 done, 1 RPL error, 2 usage or file error, 3 Invalid Syntax or\n"
    "an answer not taken, 4 interrupted, 5 halted with no input left.\n";

// Decimal digits only: no sign, no blank, no base prefix (strtoull would take " -1" as
// 2^64-1).
bool parse_count(const char* text, std::uint64_t& value) {
  const std::string_view digits(text);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtoull(text, &end, 10);
  return errno == 0;
}

// A word that names one of the options: "--NAME" or "--NAME=..." for a long one,
// "-X..." for a short one other than -1, which after FILE is the number.
bool is_option_word(std::string_view word) {
  if (word.starts_with("--")) {
    const std::string_view name = word.substr(2, word.find('=') - 2);
    for (const option& o : long_options) {
      if (o.name != nullptr && name == o.name) return true;
    }
    return false;
  }
  return word.size() >= 2 && word[0] == '-' &&
         std::string_view("efsiqthV").find(word[1]) != std::string_view::npos;
}

}  // namespace

CommandLine parse_command_line(int argc, char** argv) {
  CommandLine result;
  SessionOptions& s = result.session;
  auto usage_error = [&](const std::string& text) {
    report(text);
    report("try 'rplrun --help' for more information");
    result.exit_now = exit_usage;
    return result;
  };
  auto digits = [&](NumberFormat format, const char* text) {
    std::uint64_t n = 0;
    if (!parse_count(text, n) || n > 11) return false;
    s.number_format = format;
    s.digits = static_cast<int>(n);
    return true;
  };
  optind = 0;
  opterr = 0;
  int c = 0;
  while ((c = getopt_long(argc, argv, "+:e:f:s::iq1thV", long_options, nullptr)) != -1) {
    switch (c) {
      case 'e': s.evals.emplace_back(optarg); break;
      case 'f': s.first_files.emplace_back(optarg); break;
      case 'q': s.quiet = true; break;
      case '1': s.top_only = true; break;
      case 's':
        s.store = true;
        if (optarg) s.store_name = optarg;
        break;
      case 'i': s.interactive = true; break;
      case 't': s.trace = true; break;
      case opt_strict: s.strict = true; break;
      case opt_max_steps:
        if (!parse_count(optarg, s.max_steps) || s.max_steps == 0)
          return usage_error(std::string("invalid step count '") + optarg + "'");
        break;
      case opt_timeout: {
        char* end = nullptr;
        s.timeout_seconds = std::strtod(optarg, &end);
        if (*optarg == '\0' || *end != '\0' || !(s.timeout_seconds > 0))
          return usage_error(std::string("invalid timeout '") + optarg + "'");
        break;
      }
      case opt_rad: s.angle_mode = AngleMode::radians; break;
      case opt_deg: s.angle_mode = AngleMode::degrees; break;
      case opt_grad: s.angle_mode = AngleMode::grads; break;
      case opt_std:
        s.number_format = NumberFormat::standard;
        s.digits = 0;
        break;
      case opt_fix:
      case opt_sci:
      case opt_eng: {
        const NumberFormat format = c == opt_fix   ? NumberFormat::fixed
                                    : c == opt_sci ? NumberFormat::scientific
                                                   : NumberFormat::engineering;
        if (!digits(format, optarg))
          return usage_error(std::string("invalid digit count '") + optarg + "'");
        break;
      }
      case opt_ascii: s.charset = OutputCharset::ascii; break;
      case opt_unicode: s.charset = OutputCharset::unicode; break;
      case opt_input: s.input_file = optarg; break;
      case opt_real_clock: s.real_clock = true; break;
      case opt_check: s.check = true; break;
      case opt_source:
        if (std::string_view(optarg) == "c48") {
          s.source = SourceKind::c48;
        } else if (std::string_view(optarg) == "rpl") {
          s.source = SourceKind::rpl;
        } else {
          return usage_error(std::string("invalid source kind '") + optarg + "' (c48 or rpl)");
        }
        break;
      case opt_screen:
        if (*optarg == '\0') return usage_error("invalid screen file ''");
        s.screen = optarg;
        break;
      case opt_screen_scale: {
        std::uint64_t n = 0;
        if (!parse_count(optarg, n) || n == 0 || n > max_screen_scale)
          return usage_error(std::string("invalid screen scale '") + optarg + "'");
        s.screen_scale = static_cast<unsigned>(n);
        break;
      }
      case opt_show: s.show_screen = true; break;
      case 'h':
        std::fwrite(usage_text.data(), 1, usage_text.size(), stdout);
        result.exit_now = std::fflush(stdout) == 0 ? exit_done : exit_usage;
        return result;
      case 'V':
        std::printf("rplrun %s\n", RPLRUN_VERSION);
        result.exit_now = std::fflush(stdout) == 0 ? exit_done : exit_usage;
        return result;
      case ':':
        return usage_error(std::string("option '") + argv[optind - 1] + "' needs an argument");
      default: return usage_error(std::string("unknown option '") + argv[optind - 1] + "'");
    }
  }
  // After FILE come RPL operands; an option there was meant for rplrun, not the stack.
  // "--" lets the words after it be operands whatever they are.
  std::vector<std::string> words;
  for (int i = optind; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (i > optind && word == "--") {
      words.insert(words.end(), argv + i + 1, argv + argc);
      break;
    }
    if (i > optind && is_option_word(word))
      return usage_error("option '" + std::string(word) + "' after FILE: options go before it");
    words.emplace_back(word);
  }
  if (s.check) {
    s.check_files = words.empty() ? std::vector<std::string>{"-"} : words;
  } else if (!words.empty()) {
    s.file = words.front();
    s.operands.assign(words.begin() + 1, words.end());
  } else if (s.evals.empty() && !s.interactive) {
    // Standard input is the program, or at a terminal the keyboard.
    if (isatty(STDIN_FILENO)) {
      s.interactive = true;
    } else {
      s.file = "-";
    }
  }
  return result;
}

}  // namespace rplrun
