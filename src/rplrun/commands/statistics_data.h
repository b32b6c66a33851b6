// What the statistics commands share: the data matrix in \GSDAT (or in the variable whose
// name \GSDAT holds), the parameters in \GSPAR (the independent and dependent columns, the
// fitted intercept and slope, the model), and sums over the data's columns.
#pragma once

#include <optional>
#include <vector>

#include "commands/support.h"
#include "numbers/extended.h"
#include "objects/array.h"

namespace rplrun {

// The current data: a real matrix of at least one row.
struct StatisticsData {
  Object matrix;
  const Symbol* home = nullptr;  // the variable holding it

  const ArrayNode& array() const { return matrix.node_as<ArrayNode>(); }
  std::uint32_t rows() const { return array().rows; }
  std::uint32_t columns() const { return array().columns; }
  Real at(std::uint32_t row, std::uint32_t column) const {
    return array().elements[static_cast<std::size_t>(row) * columns() + column].as_real();
  }
  // One column's values (from 0) at 15 digits.
  std::vector<Extended> column(std::uint32_t index) const;
};

// The data; none when \GSDAT does not exist; Invalid \GSData when it holds anything but
// a real matrix or the name of a variable holding one.
std::optional<StatisticsData> find_statistics_data(Machine& m);
// The same, Nonexistent \GSDAT when there is none; Insufficient \GSData with fewer rows
// than `at_least`.
StatisticsData statistics_data(Machine& m, std::uint32_t at_least = 1);
// Replaces the data in its variable (\GSDAT when there was none); no matrix purges it.
void store_statistics_data(Machine& m, const Symbol* home, std::optional<Object> matrix);
const Symbol* statistics_data_name();

enum class FitModel : std::uint8_t { linear, logarithmic, exponential, power };
inline constexpr FitModel fit_models[] = {FitModel::linear, FitModel::logarithmic,
                                          FitModel::exponential, FitModel::power};

struct StatisticsParameters {
  Real x_column = Real::from_int64(1);
  Real y_column = Real::from_int64(2);
  Real intercept;
  Real slope;
  FitModel model = FitModel::linear;
};

// \GSPAR's parameters, stored with their defaults first when it does not exist; Invalid
// \GSPAR when it is not a list of four reals and a model.
StatisticsParameters statistics_parameters(Machine& m);
void store_statistics_parameters(Machine& m, const StatisticsParameters& parameters);

// A column named by \GSPAR, from 0: Invalid \GSPAR unless a positive integer, Invalid
// Dimension beyond the data's columns.
std::uint32_t column_index(Real column, const StatisticsData& data);

// A 15-digit intermediate as a result, its condition settled by the flags.
inline Object settled(Machine& m, Extended x) { return settled(m, x.rounded()); }
// a / b at 15 digits; b = 0 gives the calculator's infinite or undefined result.
Object settled_quotient(Machine& m, Extended a, Extended b);

}  // namespace rplrun
