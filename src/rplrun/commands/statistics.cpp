// The statistics data and its summaries: \GS+ \GS- CL\GS STO\GS RCL\GS, the column
// sums and moments, XCOL YCOL COL\GS, BINS and SCL\GS. Sums and moments keep 15-digit
// intermediates; a variance is the mean square about the mean, so that data far from
// zero lose no digits.
#include <algorithm>

#include "commands/statistics_data.h"
#include "machine/plot_parameters.h"

namespace rplrun {

namespace {

// ---- the data

// A real, a real vector or a real matrix as rows of data.
Object rows_of(const Object& x) {
  if (x.is(Kind::real)) return make_matrix({x}, 1, 1);
  if (!x.is(Kind::array) || x.node_as<ArrayNode>().is_complex) fail(bad_argument_type);
  const ArrayNode& array = x.node_as<ArrayNode>();
  if (array.is_matrix) return x;
  return make_matrix(array.elements, 1, array.columns);
}

void sigma_plus(Machine& m, const Args& a) {
  const Object added = rows_of(a[1]);
  const ArrayNode& more = added.node_as<ArrayNode>();
  const std::optional<StatisticsData> data = find_statistics_data(m);
  if (!data) {
    store_statistics_data(m, statistics_data_name(), added);
    return;
  }
  if (more.columns != data->columns()) fail(invalid_dimension);
  const std::vector<Object>& kept = data->array().elements;
  if (kept.size() + more.elements.size() > max_array_elements) fail(insufficient_memory);
  std::vector<Object> elements;
  elements.reserve(kept.size() + more.elements.size());
  elements.insert(elements.end(), kept.begin(), kept.end());
  elements.insert(elements.end(), more.elements.begin(), more.elements.end());
  store_statistics_data(m, data->home,
                        make_matrix(std::move(elements), data->rows() + more.rows, more.columns));
}

// A row (or one value per column) as a real when the data has one column, else a vector.
Object row_result(std::vector<Object> values) {
  if (values.size() == 1) return values.front();
  return make_vector(std::move(values));
}

// The last row comes off; the data's variable goes with its last row.
void sigma_minus(Machine& m, const Args&) {
  const StatisticsData data = statistics_data(m);
  const std::vector<Object>& elements = data.array().elements;
  const auto last = elements.end() - data.columns();
  std::optional<Object> rest;
  if (data.rows() > 1)
    rest = make_matrix({elements.begin(), last}, data.rows() - 1, data.columns());
  Object removed = row_result({last, elements.end()});
  store_statistics_data(m, data.home, std::move(rest));
  m.push(std::move(removed));
}

void clear_sigma(Machine& m, const Args&) { m.purge_global(statistics_data_name()); }

// Any object: what is not a real matrix or a name is reported by the next command.
void store_sigma(Machine& m, const Args& a) { m.store_global(statistics_data_name(), a[1]); }

void recall_sigma(Machine& m, const Args&) {
  const Object* value = m.global(statistics_data_name());
  if (!value) fail(nonexistent_statistics_data);
  m.push(detached(*value));
}

void count(Machine& m, const Args&) { m.push(integer_object(statistics_data(m).rows())); }

// ---- sums over the columns that \GSPAR names

struct Columns {
  std::vector<Extended> x;
  std::vector<Extended> y;
};

Columns paired_columns(Machine& m, std::uint32_t at_least) {
  const StatisticsParameters p = statistics_parameters(m);
  const StatisticsData data = statistics_data(m, at_least);
  return {data.column(column_index(p.x_column, data)), data.column(column_index(p.y_column, data))};
}

std::vector<Extended> one_column(Machine& m, bool dependent) {
  const StatisticsParameters p = statistics_parameters(m);
  const StatisticsData data = statistics_data(m);
  return data.column(column_index(dependent ? p.y_column : p.x_column, data));
}

Extended sum(const std::vector<Extended>& values) {
  Extended total;
  for (const Extended& v : values) total = total + v;
  return total;
}

Extended sum_of_products(const std::vector<Extended>& a, const std::vector<Extended>& b) {
  Extended total;
  for (std::size_t k = 0; k < a.size(); ++k) total = total + a[k] * b[k];
  return total;
}

Extended count_of(const std::vector<Extended>& values) {
  return Extended(Real::from_int64(static_cast<std::int64_t>(values.size())));
}

Extended mean(const std::vector<Extended>& values) { return sum(values) / count_of(values); }

// The sum of the products of the deviations from the means.
Extended centred_products(const std::vector<Extended>& a, const std::vector<Extended>& b) {
  const Extended mean_a = mean(a);
  const Extended mean_b = mean(b);
  Extended total;
  for (std::size_t k = 0; k < a.size(); ++k) total = total + (a[k] - mean_a) * (b[k] - mean_b);
  return total;
}

void sum_x(Machine& m, const Args&) { m.push(settled(m, sum(one_column(m, false)))); }
void sum_y(Machine& m, const Args&) { m.push(settled(m, sum(one_column(m, true)))); }
void sum_x2(Machine& m, const Args&) {
  const std::vector<Extended> x = one_column(m, false);
  m.push(settled(m, sum_of_products(x, x)));
}
void sum_y2(Machine& m, const Args&) {
  const std::vector<Extended> y = one_column(m, true);
  m.push(settled(m, sum_of_products(y, y)));
}
void sum_xy(Machine& m, const Args&) {
  const Columns c = paired_columns(m, 1);
  m.push(settled(m, sum_of_products(c.x, c.y)));
}

void correlation(Machine& m, const Args&) {
  const Columns c = paired_columns(m, 2);
  const Extended product = centred_products(c.x, c.y);
  const Extended spread = square_root(centred_products(c.x, c.x) * centred_products(c.y, c.y));
  m.push(settled_quotient(m, product, spread));
}

// COV divides by n - 1, PCOV by n.
void covariance(Machine& m, bool population) {
  const Columns c = paired_columns(m, population ? 1 : 2);
  const Extended n = count_of(c.x);
  const Extended one(Real::from_int64(1));
  m.push(settled(m, centred_products(c.x, c.y) / (population ? n : n - one)));
}
void cov(Machine& m, const Args&) { covariance(m, false); }
void pcov(Machine& m, const Args&) { covariance(m, true); }

// ---- one value per column of the data

using ColumnSummary = Extended (*)(const std::vector<Extended>& column);

void per_column(Machine& m, std::uint32_t at_least, ColumnSummary summary) {
  const StatisticsData data = statistics_data(m, at_least);
  std::vector<Object> values;
  for (std::uint32_t c = 0; c < data.columns(); ++c)
    values.push_back(settled(m, summary(data.column(c))));
  m.push(row_result(std::move(values)));
}

Extended variance_of(const std::vector<Extended>& column, bool population) {
  const Extended one(Real::from_int64(1));
  const Extended n = count_of(column);
  return centred_products(column, column) / (population ? n : n - one);
}

template <bool Population, bool Root>
Extended spread(const std::vector<Extended>& column) {
  const Extended variance = variance_of(column, Population);
  return Root ? square_root(variance) : variance;
}

Extended largest(const std::vector<Extended>& column) {
  return *std::max_element(column.begin(), column.end());
}
Extended smallest(const std::vector<Extended>& column) {
  return *std::min_element(column.begin(), column.end());
}

void total(Machine& m, const Args&) { per_column(m, 1, sum); }
void mean_(Machine& m, const Args&) { per_column(m, 1, mean); }
void maximum(Machine& m, const Args&) { per_column(m, 1, largest); }
void minimum(Machine& m, const Args&) { per_column(m, 1, smallest); }
void sdev(Machine& m, const Args&) { per_column(m, 2, spread<false, true>); }
void var(Machine& m, const Args&) { per_column(m, 2, spread<false, false>); }
void psdev(Machine& m, const Args&) { per_column(m, 1, spread<true, true>); }
void pvar(Machine& m, const Args&) { per_column(m, 1, spread<true, false>); }

// ---- the columns in \GSPAR

// A column number: a real, its integer part at least 1.
Real column_arg(const Object& x) {
  const Real column = ip(real_arg(x));
  if (column < Real::from_int64(1)) fail(bad_argument_value);
  return column;
}

void xcol(Machine& m, const Args& a) {
  const Real column = column_arg(a[1]);
  StatisticsParameters p = statistics_parameters(m);
  p.x_column = column;
  store_statistics_parameters(m, p);
}

void ycol(Machine& m, const Args& a) {
  const Real column = column_arg(a[1]);
  StatisticsParameters p = statistics_parameters(m);
  p.y_column = column;
  store_statistics_parameters(m, p);
}

void colsigma(Machine& m, const Args& a) {
  const Real x = column_arg(a[2]);
  const Real y = column_arg(a[1]);
  StatisticsParameters p = statistics_parameters(m);
  p.x_column = x;
  p.y_column = y;
  store_statistics_parameters(m, p);
}

// ---- BINS and SCL\GS

// xmin width n: the counts of the independent column in n bins of the given width from
// xmin, as a matrix of one column, and the counts below and above them. The last bin
// takes its upper edge too.
void bins(Machine& m, const Args& a) {
  const Real low = real_arg(a[3]);
  const Real width = real_arg(a[2]);
  const std::int64_t n = integer_arg(a[1]);
  if (width.sign() <= 0 || n < 1) fail(bad_argument_value);
  if (static_cast<std::uint64_t>(n) > max_array_elements) fail(insufficient_memory);
  const std::vector<Extended> x = one_column(m, false);
  std::vector<std::int64_t> counts(static_cast<std::size_t>(n));
  std::int64_t below = 0;
  std::int64_t above = 0;
  const Extended start(low);
  const Extended step(width);
  const Extended end = start + step * Extended(Real::from_int64(n));
  for (const Extended& value : x) {
    if (value < start) {
      ++below;
    } else if (end < value) {
      ++above;
    } else {
      const Real bin = floor(((value - start) / step).rounded().value);
      counts[static_cast<std::size_t>(std::min(bin.int64_toward_zero(), n - 1))]++;
    }
  }
  std::vector<Object> column;
  for (const std::int64_t c : counts) column.push_back(integer_object(c));
  m.push(make_matrix(std::move(column), static_cast<std::uint32_t>(n), 1));
  m.push(make_vector({integer_object(below), integer_object(above)}));
}

// The plot's corners in PPAR become the least and greatest of the two columns, so that
// a scatter plot fills the screen.
void scale_sigma(Machine& m, const Args&) {
  const Columns c = paired_columns(m, 1);
  PlotParameters p = plot_parameters(m);
  const auto corner = [&](ColumnSummary pick) {
    return Object::complex({pick(c.x).rounded().value, pick(c.y).rounded().value});
  };
  p.items[PlotParameters::lower] = corner(smallest);
  p.items[PlotParameters::upper] = corner(largest);
  store_plot_parameters(m, p);
}

constexpr CommandRow rows[] = {
    {"\\GS+", 1, sigma_plus},
    {"\\GS-", 0, sigma_minus},
    {"CL\\GS", 0, clear_sigma},
    {"STO\\GS", 1, store_sigma},
    {"RCL\\GS", 0, recall_sigma},
    {"N\\GS", 0, count},
    {"\\GSX", 0, sum_x},
    {"\\GSY", 0, sum_y},
    {"\\GSX^2", 0, sum_x2},
    {"\\GSY^2", 0, sum_y2},
    {"\\GSX*Y", 0, sum_xy},
    {"MAX\\GS", 0, maximum},
    {"MIN\\GS", 0, minimum},
    {"MEAN", 0, mean_},
    {"SDEV", 0, sdev},
    {"VAR", 0, var},
    {"PSDEV", 0, psdev},
    {"PVAR", 0, pvar},
    {"TOT", 0, total},
    {"CORR", 0, correlation},
    {"COV", 0, cov},
    {"PCOV", 0, pcov},
    {"XCOL", 1, xcol},
    {"YCOL", 1, ycol},
    {"COL\\GS", 2, colsigma},
    {"BINS", 3, bins},
    {"SCL\\GS", 0, scale_sigma},
};

}  // namespace

std::span<const CommandRow> statistics_commands() { return rows; }

}  // namespace rplrun
