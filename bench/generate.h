// Source programs for the benchmark, in several shapes. The same shape and
// size always give the same bytes: every choice comes from a fixed seed.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>
#include <vector>

struct Shape {
  std::string_view name;
  std::string_view summary;
  // Writes a program of at least `bytes` bytes (a little more, to finish the
  // construct in progress).
  void (*write)(std::FILE* out, std::size_t bytes);
};

const std::vector<Shape>& all_shapes();
const Shape* find_shape(std::string_view name);
