#include "measure.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void die(const std::string& program, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", program.c_str(), message.c_str());
  std::exit(2);
}

namespace {

void redirect(const char* path, int fd) {
  const int opened = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (opened < 0 || dup2(opened, fd) < 0) _exit(126);
  close(opened);
}

}  // namespace

Measure run_program(const std::vector<std::string>& argv, const char* output, const char* error) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child < 0) die("bench", std::string("fork: ") + std::strerror(errno));
  if (child == 0) {
    redirect(output, 1);
    if (error != nullptr) redirect(error, 2);
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) < 0)
    die("bench", std::string("wait4: ") + std::strerror(errno));
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  const auto cpu = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return {elapsed.count(), cpu(usage.ru_utime) + cpu(usage.ru_stime), usage.ru_maxrss, code};
}

Measure run_once(const std::vector<std::string>& argv, const char* output) {
  const Measure m = run_program(argv, output);
  if (m.status != 0) {
    die("bench", argv[0] + " " + (argv.size() > 1 ? argv[1] : "") + " failed with status " +
                     std::to_string(m.status));
  }
  return m;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string load() {
  std::FILE* file = std::fopen("/proc/loadavg", "r");
  if (file == nullptr) return "unknown";
  char line[128] = "";
  if (std::fgets(line, sizeof line, file) == nullptr) line[0] = '\0';
  std::fclose(file);
  std::string text(line);
  // The three load averages only.
  std::size_t end = 0;
  for (int i = 0; i < 3 && end != std::string::npos; ++i) end = text.find(' ', end + 1);
  return text.substr(0, end);
}
