// Running a program as a child process and timing it, for the benchmark tables.
#pragma once

#include <string>
#include <vector>

struct Measure {
  double seconds;      // wall-clock
  double cpu_seconds;  // user and system
  long peak_kilobytes;
  int status;  // the exit status, or 128 + the signal that ended it
};

// Runs `argv` (found on the PATH) with its standard output on the file `output`
// (standard input and error stay the caller's, unless `error` names a file for
// standard error).
Measure run_program(const std::vector<std::string>& argv, const char* output,
                    const char* error = nullptr);

// The same, ending the benchmark unless the program exits with status 0.
Measure run_once(const std::vector<std::string>& argv, const char* output);

double median(std::vector<double> values);

// The three load averages, or "unknown".
std::string load();

[[noreturn]] void die(const std::string& program, const std::string& message);
