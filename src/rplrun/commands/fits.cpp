// Curve fitting on the statistics data: the model in \GSPAR (LINFIT LOGFIT EXPFIT
// PWRFIT), LR and BESTFIT, which fit it, and PREDX PREDY PREDV and \GSLINE, which read
// it.
//
// Each model is a straight line through transformed data: y = a + b x on x and y
// (linear), on ln x and y (logarithmic, y = a + b ln x), on x and ln y (exponential,
// y = a e^(b x)) and on ln x and ln y (power, y = a x^b); the intercept of the last two
// is e^a.
#include "commands/statistics_data.h"

namespace rplrun {

namespace {

bool logs_x(FitModel model) { return model == FitModel::logarithmic || model == FitModel::power; }
bool logs_y(FitModel model) { return model == FitModel::exponential || model == FitModel::power; }

// A column with its values' logarithms when the model asks for them.
std::vector<Extended> transformed(const StatisticsData& data, std::uint32_t column, bool log) {
  if (!log) return data.column(column);
  std::vector<Extended> values;
  for (std::uint32_t row = 0; row < data.rows(); ++row) {
    const Real value = data.at(row, column);
    if (value.is_zero()) fail(statistics_log_of_zero);
    if (value.is_negative()) fail(statistics_log_of_negative);
    values.push_back(ln(Extended(value)));
  }
  return values;
}

// The least-squares line through (x, y): its sums about the means.
struct Line {
  Extended mean_x, mean_y;
  Extended xx, yy, xy;  // sums of the products of the deviations
};

Line line_through(const std::vector<Extended>& x, const std::vector<Extended>& y) {
  const Extended n(Real::from_int64(static_cast<std::int64_t>(x.size())));
  Line line;
  for (std::size_t k = 0; k < x.size(); ++k) {
    line.mean_x = line.mean_x + x[k];
    line.mean_y = line.mean_y + y[k];
  }
  line.mean_x = line.mean_x / n;
  line.mean_y = line.mean_y / n;
  for (std::size_t k = 0; k < x.size(); ++k) {
    const Extended dx = x[k] - line.mean_x;
    const Extended dy = y[k] - line.mean_y;
    line.xx = line.xx + dx * dx;
    line.yy = line.yy + dy * dy;
    line.xy = line.xy + dx * dy;
  }
  return line;
}

struct Fit {
  StatisticsParameters parameters;
  Line line;
};

// The data of the model, as a line; nothing when the model cannot take the data (a
// logarithm of a datum that is not positive) and `quiet` is set.
std::optional<Line> model_line(const StatisticsData& data, const StatisticsParameters& p,
                               bool quiet) {
  const std::uint32_t x_column = column_index(p.x_column, data);
  const std::uint32_t y_column = column_index(p.y_column, data);
  try {
    return line_through(transformed(data, x_column, logs_x(p.model)),
                        transformed(data, y_column, logs_y(p.model)));
  } catch (const RplError&) {
    if (!quiet) throw;
    return std::nullopt;
  }
}

// Fits the model of `p` and stores the intercept and slope in \GSPAR.
StatisticsParameters fit(Machine& m, const StatisticsData& data, StatisticsParameters p) {
  const Line line = *model_line(data, p, false);
  // Every x alike: the calculator's infinite or undefined result.
  if (line.xx.is_zero()) settled_quotient(m, line.xy, line.xx);
  const Extended b = line.xx.is_zero() ? Extended() : line.xy / line.xx;
  const Extended a = line.mean_y - b * line.mean_x;
  p.slope = m.flags.settle(b.rounded());
  p.intercept = m.flags.settle((logs_y(p.model) ? exp(a) : a).rounded());
  store_statistics_parameters(m, p);
  return p;
}

void lr(Machine& m, const Args&) {
  const StatisticsParameters p = statistics_parameters(m);
  const StatisticsData data = statistics_data(m, 2);
  const StatisticsParameters fitted = fit(m, data, p);
  m.push(Object::tagged("Intercept", Object::real(fitted.intercept)));
  m.push(Object::tagged("Slope", Object::real(fitted.slope)));
}

// The model whose line has the largest correlation in magnitude (the first of equals),
// fitted; models that cannot take the data, or whose correlation is undefined, are
// passed over.
void bestfit(Machine& m, const Args&) {
  StatisticsParameters p = statistics_parameters(m);
  const StatisticsData data = statistics_data(m, 2);
  std::optional<Extended> best;
  FitModel chosen = FitModel::linear;
  for (const FitModel model : fit_models) {
    p.model = model;
    const std::optional<Line> line = model_line(data, p, true);
    if (!line) continue;
    const Extended spread = line->xx * line->yy;
    if (spread.is_zero()) continue;
    const Extended r = (line->xy / square_root(spread)).magnitude();
    if (!best || *best < r) {
      best = r;
      chosen = model;
    }
  }
  p.model = chosen;
  fit(m, data, p);
}

void set_model(Machine& m, FitModel model) {
  StatisticsParameters p = statistics_parameters(m);
  p.model = model;
  store_statistics_parameters(m, p);
}

void linfit(Machine& m, const Args&) { set_model(m, FitModel::linear); }
void logfit(Machine& m, const Args&) { set_model(m, FitModel::logarithmic); }
void expfit(Machine& m, const Args&) { set_model(m, FitModel::exponential); }
void pwrfit(Machine& m, const Args&) { set_model(m, FitModel::power); }

// The stored model with its intercept a and slope b as real objects.
struct FittedModel {
  FitModel kind;
  Object a;
  Object b;
};

FittedModel fitted_model(Machine& m) {
  const StatisticsParameters p = statistics_parameters(m);
  return {p.model, Object::real(p.intercept), Object::real(p.slope)};
}

// The model's y for x and x for y, computed as the commands of the model's formula
// would: their errors and complex results are theirs.
void predict_y(Machine& m, const Args& args) {
  const Object x = Object::real(real_arg(args[1]));
  const auto [kind, a, b] = fitted_model(m);
  const auto apply = [&](std::uint32_t id, const Object& u, const Object& v) {
    return apply_command(m, id, u, v);
  };
  switch (kind) {
    case FitModel::linear: m.push(apply(cmd::plus, a, apply(cmd::times, b, x))); break;
    case FitModel::logarithmic:
      m.push(apply(cmd::plus, a, apply(cmd::times, b, apply_command(m, cmd::ln, x))));
      break;
    case FitModel::exponential:
      m.push(apply(cmd::times, a, apply_command(m, cmd::exp, apply(cmd::times, b, x))));
      break;
    case FitModel::power: m.push(apply(cmd::times, a, apply(cmd::power, x, b))); break;
  }
}

void predict_x(Machine& m, const Args& args) {
  const Object y = Object::real(real_arg(args[1]));
  const auto [kind, a, b] = fitted_model(m);
  const auto apply = [&](std::uint32_t id, const Object& u, const Object& v) {
    return apply_command(m, id, u, v);
  };
  switch (kind) {
    case FitModel::linear: m.push(apply(cmd::divide, apply(cmd::minus, y, a), b)); break;
    case FitModel::logarithmic:
      m.push(apply_command(m, cmd::exp, apply(cmd::divide, apply(cmd::minus, y, a), b)));
      break;
    case FitModel::exponential:
      m.push(apply(cmd::divide, apply_command(m, cmd::ln, apply(cmd::divide, y, a)), b));
      break;
    case FitModel::power:
      m.push(apply(cmd::power, apply(cmd::divide, y, a), apply_command(m, cmd::invert, b)));
      break;
  }
}

// The fitted model as an expression of X, with the intercept and slope written out.
void sigma_line(Machine& m, const Args&) {
  const auto [kind, a, b] = fitted_model(m);
  const Object x = Object::name(intern("X"));
  const auto op = [](std::uint32_t id) { return Object::command(id); };
  switch (kind) {
    case FitModel::linear:
      m.push(Object::algebraic({a, b, x, op(cmd::times), op(cmd::plus)}));
      break;
    case FitModel::logarithmic:
      m.push(Object::algebraic({a, b, x, op(cmd::ln), op(cmd::times), op(cmd::plus)}));
      break;
    case FitModel::exponential:
      m.push(Object::algebraic({a, b, x, op(cmd::times), op(cmd::exp), op(cmd::times)}));
      break;
    case FitModel::power:
      m.push(Object::algebraic({a, x, b, op(cmd::power), op(cmd::times)}));
      break;
  }
}

constexpr CommandRow rows[] = {
    {"LINFIT", 0, linfit},       {"LOGFIT", 0, logfit},   {"EXPFIT", 0, expfit},
    {"PWRFIT", 0, pwrfit},       {"LR", 0, lr},           {"BESTFIT", 0, bestfit},
    {"PREDY", 1, predict_y},     {"PREDV", 1, predict_y}, {"PREDX", 1, predict_x},
    {"\\GSLINE", 0, sigma_line},
};

}  // namespace

std::span<const CommandRow> fit_commands() { return rows; }

}  // namespace rplrun
