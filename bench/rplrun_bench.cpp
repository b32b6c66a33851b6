// rplrun_bench: times rplrun on a few RPL programs against rplrun_floor, which does
// their decimal operations directly in C++, times shapes that must grow linearly at
// three sizes, and checks rplrun's other targets: start-up time against rplgen's, the
// memory of a long list, and deep recursion.
//
//   rplrun_bench --rplrun PATH --rplgen PATH --floor PATH [--runs N]
//
// Every program runs with its standard output on /dev/null; times are medians.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "measure.h"

namespace {

// A program of the table, run at two sizes: the difference of the times over the
// difference of the counts is the cost of one item, without start-up and set-up.
struct Program {
  const char* name;
  const char* floor;  // rplrun_floor's program
  long small, large;  // its N at the two sizes
  long (*count)(long n);  // the items done at size N
  const char* unit;
  std::string (*rpl)(long n);
};

std::string n_(long n) { return std::to_string(n); }

long same(long n) { return n; }
// The calls that FIB N makes: 2 fib(N+1) - 1.
long fib_calls(long n) {
  long a = 0, b = 1;  // fib(i), fib(i+1)
  for (long i = 0; i <= n; ++i) {
    const long next = a + b;
    a = b;
    b = next;
  }
  return 2 * a - 1;
}

const Program programs[] = {
    {"counting loop", "count", 1000000, 4000000, same, "loop",
     [](long n) { return "\\<< 0 1 " + n_(n) + " FOR i i + NEXT \\>> EVAL"; }},
    {"fibonacci", "fib", 22, 27, fib_calls, "call",
     [](long n) {
       return "\\<< \\-> n \\<< IF n 2 < THEN n ELSE n 1 - FIB n 2 - FIB + END \\>> \\>> "
              "'FIB' STO " +
              n_(n) + " FIB";
     }},
    {"list, \\->LIST", "list", 500000, 2000000, same, "element",
     [](long n) { return "1 " + n_(n) + " FOR i i NEXT " + n_(n) + " \\->LIST"; }},
    {"list, +", "list", 10000, 40000, same, "element",
     [](long n) { return "{ } 1 " + n_(n) + " FOR i i + NEXT"; }},
    {"string, +", "string", 10000, 40000, same, "append",
     [](long n) { return "\"\" 1 " + n_(n) + " FOR i i \\->STR + NEXT"; }},
};

struct Options {
  std::string rplrun, rplgen, floor;
  int runs = 5;
};

struct Times {
  double wall, cpu;
  long peak_kilobytes;
};

Times time_runs(const std::vector<std::string>& argv, int runs) {
  std::vector<double> wall, cpu;
  long peak = 0;
  for (int i = 0; i < runs; ++i) {
    const Measure m = run_program(argv, "/dev/null", "/dev/null");
    if (m.status != 0) die("rplrun_bench", argv[0] + " failed with status " + std::to_string(m.status));
    wall.push_back(m.seconds);
    cpu.push_back(m.cpu_seconds);
    peak = std::max(peak, m.peak_kilobytes);
  }
  return {median(wall), median(cpu), peak};
}

// The least cpu time of `runs` runs at each size, taken in turn (small, large, small,
// ...) so that a change in the machine's speed touches both; nanoseconds per item.
double ns_per_item(std::vector<std::string> small, std::vector<std::string> large, double items,
                   int runs) {
  double best_small = 1e30, best_large = 1e30;
  for (int i = 0; i < runs; ++i) {
    best_small = std::min(best_small, time_runs(small, 1).cpu);
    best_large = std::min(best_large, time_runs(large, 1).cpu);
  }
  return (best_large - best_small) / items * 1e9;
}

void program_table(const Options& o) {
  std::printf("%-16s %8s %8s %10s %10s %7s\n", "program", "small", "large", "rplrun", "floor",
              "ratio");
  std::printf("%-16s %8s %8s %10s %10s %7s\n", "", "N", "N", "ns each", "ns each", "");
  for (const Program& p : programs) {
    const double items = static_cast<double>(p.count(p.large) - p.count(p.small));
    const double r = ns_per_item({o.rplrun, "-q", "-e", p.rpl(p.small)},
                                 {o.rplrun, "-q", "-e", p.rpl(p.large)}, items, o.runs);
    const double f = ns_per_item({o.floor, p.floor, n_(p.small)}, {o.floor, p.floor, n_(p.large)},
                                 items, o.runs);
    std::printf("%-16s %8ld %8ld %10.1f %10.1f %7.2f  (per %s)\n", p.name, p.small, p.large, r, f,
                r / f, p.unit);
    std::fflush(stdout);
  }
}

// Shapes that once took time or memory quadratic in their size (a list grown through a
// variable, a worst-case search, a traced algebraic, a long line piped to -i), each at
// three sizes: linear growth keeps the time per item flat.
struct Growth {
  const char* name;
  long base;  // then twice and four times as many
  std::string (*rpl)(long n);
  enum class Run { eval, trace, piped_line, file } run = Run::eval;
};

const Growth growth_shapes[] = {
    {"'L' x STO+, append", 40000,
     [](long n) { return "{ } 'L' STO 1 " + n_(n) + " START 'L' 1 STO+ NEXT"; }},
    {"L x + 'L' STO", 40000,
     [](long n) { return "{ } 'L' STO 1 " + n_(n) + " START L 1 + 'L' STO NEXT"; }},
    {"local l: 'l' x STO+", 40000,
     [](long n) { return "{ } \\-> l \\<< 1 " + n_(n) + " START 'l' 1 STO+ NEXT \\>>"; }},
    {"'L' i x PUT", 40000,
     [](long n) {
       return "1 " + n_(n) + " START 0 NEXT " + n_(n) + " \\->LIST 'L' STO 1 " + n_(n) +
              " FOR i 'L' i i PUT NEXT";
     }},
    {"x 'L' STO+, prepend", 40000,
     [](long n) { return "{ } 'L' STO 1 " + n_(n) + " START 1 'L' STO+ NEXT"; }},
    {"i SWAP +, prepend", 40000,
     [](long n) { return "{ } 1 " + n_(n) + " FOR i i SWAP + NEXT"; }},
    {"algebraic, prepend", 40000,
     [](long n) { return "'X' 1 " + n_(n) + " START 1 SWAP + NEXT"; }},
    {"string 'S' x STO+", 40000,
     [](long n) { return "\"\" 'S' STO 1 " + n_(n) + " START 'S' \"ab\" STO+ NEXT"; }},
    {"POS, worst case (chars)", 1L << 20,
     [](long n) {
       int doublings = 0;
       while ((1L << doublings) < n) ++doublings;
       return "\"a\" 1 " + n_(doublings) + " START DUP + NEXT DUP 2 OVER SIZE 2 / SUB \"b\" + POS";
     }},
    {"SORT, equal 1 KB strings", 10000,
     [](long n) {
       return "\"a\" 1 10 START DUP + NEXT 1 " + n_(n) + " START DUP \"\" + NEXT " +
              n_(n + 1) + " \\->LIST SORT";
     }},
    {"SORT, one 1 MB string", 50000,
     [](long n) {
       return "\"a\" 1 20 START DUP + NEXT 1 " + n_(n) + " START DUP NEXT " + n_(n + 1) +
              " \\->LIST SORT";
     }},
    {"--trace, growing algebraic", 3000,
     [](long n) { return "'X' 1 " + n_(n) + " START 1 + NEXT"; }, Growth::Run::trace},
    {"-i, one piped line (chars)", 10L << 20,
     [](long n) { return "\"" + std::string(static_cast<std::size_t>(n), 'a') + "\" SIZE\n"; },
     Growth::Run::piped_line},
    {"FILE, a blank file (chars)", 25L << 20,
     [](long n) { return std::string(static_cast<std::size_t>(n), ' '); }, Growth::Run::file},
};

void growth_table(const Options& o) {
  std::printf("\ngrowth shapes, each at three sizes (median cpu ms of %d runs):\n", o.runs);
  std::printf("%-28s %10s %9s %10s %8s\n", "shape", "size", "cpu ms", "ns/item", "peak MB");
  const std::string input = "/tmp/rplrun_bench_input.rpl";
  for (const Growth& g : growth_shapes) {
    for (long n = g.base, k = 0; k < 3; n *= 2, ++k) {
      std::vector<std::string> argv{o.rplrun, "-q"};
      const std::string rpl = g.rpl(n);
      switch (g.run) {
        case Growth::Run::eval: argv.insert(argv.end(), {"-e", rpl}); break;
        case Growth::Run::trace: argv.insert(argv.end(), {"-t", "-e", rpl}); break;
        case Growth::Run::piped_line:
        case Growth::Run::file:
          if (std::FILE* f = std::fopen(input.c_str(), "w")) {
            std::fwrite(rpl.data(), 1, rpl.size(), f);
            std::fclose(f);
          }
          argv = g.run == Growth::Run::file
                     ? std::vector<std::string>{o.rplrun, "-q", input}
                     : std::vector<std::string>{"sh", "-c", "exec \"$0\" -i < \"$1\"",
                                                o.rplrun, input};
          break;
      }
      std::vector<double> cpu;
      long peak = 0;
      for (int r = 0; r < o.runs; ++r) {
        const Measure m = run_program(argv, "/dev/null", "/dev/null");
        if (m.status != 0)
          die("rplrun_bench", std::string(g.name) + " failed with status " + std::to_string(m.status));
        cpu.push_back(m.cpu_seconds);
        peak = std::max(peak, m.peak_kilobytes);
      }
      const double t = median(cpu);
      std::printf("%-28s %10ld %9.1f %10.1f %8.1f\n", k == 0 ? g.name : "", n, t * 1e3,
                  t / static_cast<double>(n) * 1e9, static_cast<double>(peak) / 1024);
      std::fflush(stdout);
    }
  }
  std::remove(input.c_str());
}

void start_up(const Options& o) {
  const int runs = 20 * o.runs;
  const Times r = time_runs({o.rplrun, "-e", "1"}, runs);
  const Times g = time_runs({o.rplgen, "/dev/null"}, runs);
  std::printf("\nstart-up, wall ms (median of %d): rplrun -e 1 %.2f, rplgen on an empty input "
              "%.2f, ratio %.2f (target at most 2)\n",
              runs, r.wall * 1e3, g.wall * 1e3, r.wall / g.wall);
}

void list_memory(const Options& o) {
  const long n = 1000000;
  const Times empty = time_runs({o.rplrun, "-q", "-e", "1"}, 1);
  const Times full =
      time_runs({o.rplrun, "-q", "-e", "1 " + n_(n) + " FOR i i NEXT " + n_(n) + " \\->LIST"}, 1);
  const double bytes = static_cast<double>(full.peak_kilobytes - empty.peak_kilobytes) * 1024;
  std::printf("memory: a list of %ld reals, peak resident %.1f MB over start-up's %.1f MB: "
              "%.1f bytes per element (target at most 64)\n",
              n, static_cast<double>(full.peak_kilobytes) / 1024,
              static_cast<double>(empty.peak_kilobytes) / 1024, bytes / static_cast<double>(n));
}

void recursion(const Options& o) {
  const std::string errors = "/tmp/rplrun_bench_recursion.err";
  const Measure m = run_program(
      {o.rplrun, "-1", "-e",
       "\\<< \\-> n \\<< IF n 0 > THEN n 1 - R 1 + ELSE 0 END \\>> \\>> 'R' STO 100000 R"},
      "/dev/null", errors.c_str());
  std::string first_line;
  if (std::FILE* f = std::fopen(errors.c_str(), "r")) {
    char line[256] = "";
    if (std::fgets(line, sizeof line, f) != nullptr) first_line = line;
    std::fclose(f);
  }
  std::remove(errors.c_str());
  if (!first_line.empty() && first_line.back() == '\n') first_line.pop_back();
  std::printf("recursion 100000 deep: status %d%s%s (%.0f ms, %.1f MB)\n", m.status,
              first_line.empty() ? "" : ", ", first_line.c_str(), m.seconds * 1e3,
              static_cast<double>(m.peak_kilobytes) / 1024);
}

[[noreturn]] void usage() {
  std::fprintf(stderr, "usage: rplrun_bench --rplrun PATH --rplgen PATH --floor PATH [--runs N]\n");
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (i + 1 == argc) usage();
    const std::string value = argv[++i];
    if (flag == "--rplrun") {
      o.rplrun = value;
    } else if (flag == "--rplgen") {
      o.rplgen = value;
    } else if (flag == "--floor") {
      o.floor = value;
    } else if (flag == "--runs") {
      o.runs = std::max(1, std::atoi(value.c_str()));
    } else {
      usage();
    }
  }
  if (o.rplrun.empty() || o.rplgen.empty() || o.floor.empty()) usage();
  std::printf("rplrun benchmark: %s, %d runs of each\n", o.rplrun.c_str(), o.runs);
  std::printf("load average at the start: %s\n", load().c_str());
  std::printf(
      "  ns each: the cost of one item without start-up: each program runs at two sizes,\n"
      "  the least cpu time of the runs at each, and the difference of the times over the\n"
      "  difference of the items; floor: the same decimal work in C++ with rplrun's own\n"
      "  numbers layer (each +, - and comparison rounded to 12 digits, numbers shown as\n"
      "  STD), without the interpreter; ratio: rplrun's cost over the floor's\n\n");
  program_table(o);
  growth_table(o);
  start_up(o);
  list_memory(o);
  recursion(o);
  std::printf("\nload average at the end: %s\n", load().c_str());
  return 0;
}
