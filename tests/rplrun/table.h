// The data tables of the number tests: tab-separated rows, '#' starts a comment line.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "numbers/real.h"

struct Row {
  int line = 0;
  std::vector<std::string> fields;
};

inline std::vector<Row> read_table(const std::string& name) {
  std::ifstream in(std::string(RPLRUN_NUMBER_DATA) + "/" + name);
  EXPECT_TRUE(in) << "cannot read " << name;
  std::vector<Row> rows;
  std::string text;
  for (int line = 1; std::getline(in, text); ++line) {
    if (text.empty() || text[0] == '#') continue;
    Row row{line, {}};
    std::istringstream fields(text);
    for (std::string field; std::getline(fields, field, '\t');) row.fields.push_back(field);
    rows.push_back(row);
  }
  return rows;
}

inline const char* condition_name(rplrun::Condition c) {
  switch (c) {
    case rplrun::Condition::none: return "none";
    case rplrun::Condition::underflow_positive: return "underflow+";
    case rplrun::Condition::underflow_negative: return "underflow-";
    case rplrun::Condition::overflow: return "overflow";
    case rplrun::Condition::infinite_result: return "infinite";
    case rplrun::Condition::undefined_result: return "undefined";
    case rplrun::Condition::bad_argument_value: return "bad";
  }
  return "?";
}
