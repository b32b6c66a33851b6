// rplgen_bench: generates the benchmark's source programs and times the
// compiler on them against two floors, reading the file (cat) and scanning
// and parsing it with actions that do nothing.
//
//   rplgen_bench generate SHAPE MEGABYTES FILE
//   rplgen_bench run --compiler PATH --floor PATH --dir DIR
//                    [--runs N] [--sizes 1,10,100] [--shapes a,b,...] [--keep]
//
// Every program runs with its standard output on /dev/null. Times are
// medians of the runs (three times as many for sizes of 1 MB and less, whose
// times are short); the peak resident memory is the largest of the runs.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "generate.h"
#include "measure.h"

namespace {

constexpr double megabyte = 1e6;

[[noreturn]] void die(const std::string& message) { ::die("rplgen_bench", message); }

std::vector<std::string> split(const std::string& list) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    if (comma > start) items.push_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  return items;
}

void generate(const std::string& shape_name, double megabytes, const std::string& path) {
  const Shape* shape = find_shape(shape_name);
  if (shape == nullptr) die("no shape named " + shape_name);
  std::FILE* out = std::fopen(path.c_str(), "w");
  if (out == nullptr) die(path + ": " + std::strerror(errno));
  shape->write(out, static_cast<std::size_t>(megabytes * megabyte));
  if (std::fclose(out) != 0) die(path + ": " + std::strerror(errno));
}

struct Row {
  double cat, floor, compiler;  // median wall-clock seconds
  double floor_cpu, compiler_cpu;  // median CPU seconds
  double source_mb, output_mb, peak_mb;
};

struct Options {
  std::string compiler, floor, dir;
  int runs = 5;
  std::vector<double> sizes{1, 10, 100};
  std::vector<std::string> shapes;
  bool keep = false;
};

Row measure(const Options& options, const std::string& source) {
  struct stat info {};
  if (stat(source.c_str(), &info) != 0) die(source + ": " + std::strerror(errno));
  Row row{};
  row.source_mb = static_cast<double>(info.st_size) / megabyte;

  // One run into a file gives the output's size and warms every cache.
  const std::string output = options.dir + "/output.tmp";
  run_once({options.compiler, source}, output.c_str());
  if (stat(output.c_str(), &info) != 0) die(output + ": " + std::strerror(errno));
  row.output_mb = static_cast<double>(info.st_size) / megabyte;
  std::remove(output.c_str());
  run_once({"cat", source}, "/dev/null");
  run_once({options.floor, source}, "/dev/null");

  const int runs = row.source_mb <= 1.5 ? 3 * options.runs : options.runs;
  std::vector<double> cat, floor, compiler, floor_cpu, compiler_cpu;
  long peak = 0;
  for (int i = 0; i < runs; ++i) {  // interleaved, so that a busy moment hits all three
    cat.push_back(run_once({"cat", source}, "/dev/null").seconds);
    const Measure f = run_once({options.floor, source}, "/dev/null");
    floor.push_back(f.seconds);
    floor_cpu.push_back(f.cpu_seconds);
    const Measure m = run_once({options.compiler, source}, "/dev/null");
    compiler.push_back(m.seconds);
    compiler_cpu.push_back(m.cpu_seconds);
    peak = std::max(peak, m.peak_kilobytes);
  }
  row.cat = median(cat);
  row.floor = median(floor);
  row.compiler = median(compiler);
  row.floor_cpu = median(floor_cpu);
  row.compiler_cpu = median(compiler_cpu);
  row.peak_mb = static_cast<double>(peak) * 1024 / megabyte;
  return row;
}

int run_all(const Options& options) {
  mkdir(options.dir.c_str(), 0755);
  std::printf("rplgen benchmark: %s, median of %d runs (%d at 1 MB and less)\n",
              options.compiler.c_str(), options.runs, 3 * options.runs);
  std::printf("load average at the start: %s\n", load().c_str());
  std::printf(
      "  wall: wall-clock ms; cpu: user and system ms; floor: the same scanner and parser with\n"
      "  actions that do nothing; /floor: rplgen's time over the floor's; x10: rplgen's time\n"
      "  over its time on the size ten times smaller; RSS limit: twice the output plus 16 MB\n\n");
  std::printf("%-9s %6s %6s %8s %8s %8s %8s %6s %6s %6s %6s %6s %7s %7s %7s\n", "", "source",
              "cat", "floor", "floor", "rplgen", "rplgen", "rplgen", "/floor", "/floor", "x10",
              "x10", "peak", "output", "RSS");
  std::printf("%-9s %6s %6s %8s %8s %8s %8s %6s %6s %6s %6s %6s %7s %7s %7s\n", "shape", "MB",
              "wall", "wall", "cpu", "wall", "cpu", "MB/s", "wall", "cpu", "wall", "cpu", "RSS MB",
              "MB", "limit");
  for (const std::string& name : options.shapes) {
    std::map<double, Row> rows;
    for (const double size : options.sizes) {
      char file_name[64];
      std::snprintf(file_name, sizeof file_name, "/%s-%gMB.c48", name.c_str(), size);
      const std::string source = options.dir + file_name;
      generate(name, size, source);
      const Row row = measure(options, source);
      if (!options.keep) std::remove(source.c_str());
      rows[size] = row;
      char step_wall[16] = "", step_cpu[16] = "";
      if (rows.count(size / 10) != 0) {
        const Row& smaller = rows[size / 10];
        std::snprintf(step_wall, sizeof step_wall, "%.2f", row.compiler / smaller.compiler);
        std::snprintf(step_cpu, sizeof step_cpu, "%.2f", row.compiler_cpu / smaller.compiler_cpu);
      }
      const double limit = 2 * row.output_mb + 16;
      std::printf(
          "%-9s %6.1f %6.1f %8.1f %8.1f %8.1f %8.1f %6.1f %6.2f %6.2f %6s %6s %7.1f %7.1f "
          "%7.1f%s\n",
          name.c_str(), row.source_mb, row.cat * 1e3, row.floor * 1e3, row.floor_cpu * 1e3,
          row.compiler * 1e3, row.compiler_cpu * 1e3, row.source_mb / row.compiler,
          row.compiler / row.floor, row.compiler_cpu / row.floor_cpu, step_wall, step_cpu,
          row.peak_mb, row.output_mb, limit, row.peak_mb > limit ? " over" : "");
      std::fflush(stdout);
    }
  }
  std::printf("\nload average at the end: %s\n", load().c_str());
  return 0;
}

[[noreturn]] void usage() {
  std::fprintf(stderr,
               "usage: rplgen_bench generate SHAPE MEGABYTES FILE\n"
               "       rplgen_bench run --compiler PATH --floor PATH --dir DIR\n"
               "                        [--runs N] [--sizes 1,10,100] [--shapes a,b,...] [--keep]\n"
               "shapes:\n");
  for (const Shape& shape : all_shapes()) {
    std::fprintf(stderr, "  %-10s %s\n", std::string(shape.name).c_str(),
                 std::string(shape.summary).c_str());
  }
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 4 && args[0] == "generate") {
    generate(args[1], std::atof(args[2].c_str()), args[3]);
    return 0;
  }
  if (args.empty() || args[0] != "run") usage();
  Options options;
  for (const Shape& shape : all_shapes()) options.shapes.emplace_back(shape.name);
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& flag = args[i];
    if (flag == "--keep") {
      options.keep = true;
      continue;
    }
    if (i + 1 == args.size()) usage();
    const std::string& value = args[++i];
    if (flag == "--compiler") {
      options.compiler = value;
    } else if (flag == "--floor") {
      options.floor = value;
    } else if (flag == "--dir") {
      options.dir = value;
    } else if (flag == "--runs") {
      options.runs = std::max(1, std::atoi(value.c_str()));
    } else if (flag == "--sizes") {
      options.sizes.clear();
      for (const std::string& size : split(value)) options.sizes.push_back(std::atof(size.c_str()));
    } else if (flag == "--shapes") {
      options.shapes = split(value);
      for (const std::string& shape : options.shapes) {
        if (find_shape(shape) == nullptr) die("no shape named " + shape);
      }
    } else {
      usage();
    }
  }
  if (options.compiler.empty() || options.floor.empty() || options.dir.empty()) usage();
  return run_all(options);
}
