#include "commands/statistics_data.h"

#include "support/charset.h"

namespace rplrun {

namespace {

const Symbol* parameters_name() {
  static const Symbol* const name = intern(rpl::decode_backslash_codes("\\GSPAR"));
  return name;
}

bool is_real_matrix(const Object& object) {
  if (!object.is(Kind::array)) return false;
  const ArrayNode& array = object.node_as<ArrayNode>();
  return array.is_matrix && !array.is_complex && array.rows > 0;
}

constexpr std::uint32_t model_commands[] = {cmd::linfit, cmd::logfit, cmd::expfit, cmd::pwrfit};

std::optional<FitModel> model_of(const Object& object) {
  if (!object.is(Kind::command)) return std::nullopt;
  for (const FitModel model : fit_models)
    if (object.command_id() == model_commands[static_cast<int>(model)]) return model;
  return std::nullopt;
}

}  // namespace

const Symbol* statistics_data_name() {
  static const Symbol* const name = intern(rpl::decode_backslash_codes("\\GSDAT"));
  return name;
}

std::vector<Extended> StatisticsData::column(std::uint32_t index) const {
  std::vector<Extended> values;
  values.reserve(rows());
  for (std::uint32_t row = 0; row < rows(); ++row) values.emplace_back(at(row, index));
  return values;
}

std::optional<StatisticsData> find_statistics_data(Machine& m) {
  const Object* value = m.global(statistics_data_name());
  if (!value) return std::nullopt;
  const Symbol* home = statistics_data_name();
  if (value->is(Kind::name) && !value->is_local()) {
    home = value->symbol();
    value = m.global(home);
  }
  if (!value || !is_real_matrix(*value)) fail(invalid_statistics_data);
  return StatisticsData{*value, home};
}

StatisticsData statistics_data(Machine& m, std::uint32_t at_least) {
  std::optional<StatisticsData> data = find_statistics_data(m);
  if (!data) fail(nonexistent_statistics_data);
  if (data->rows() < at_least) fail(insufficient_statistics_data);
  return std::move(*data);
}

void store_statistics_data(Machine& m, const Symbol* home, std::optional<Object> matrix) {
  if (matrix)
    m.store_global(home, std::move(*matrix));
  else
    m.purge_global(home);
}

StatisticsParameters statistics_parameters(Machine& m) {
  const Object* value = m.global(parameters_name());
  if (!value) {
    const StatisticsParameters defaults;
    store_statistics_parameters(m, defaults);
    return defaults;
  }
  if (!value->is(Kind::list) || value->items().size() != 5) fail(invalid_statistics_parameters);
  const std::span<const Object> items = value->items();
  for (int k = 0; k < 4; ++k)
    if (!items[k].is(Kind::real)) fail(invalid_statistics_parameters);
  const std::optional<FitModel> model = model_of(items[4]);
  if (!model) fail(invalid_statistics_parameters);
  return {items[0].as_real(), items[1].as_real(), items[2].as_real(), items[3].as_real(), *model};
}

void store_statistics_parameters(Machine& m, const StatisticsParameters& p) {
  const std::uint32_t model = model_commands[static_cast<int>(p.model)];
  m.store_global(
      parameters_name(),
      Object::list({Object::real(p.x_column), Object::real(p.y_column), Object::real(p.intercept),
                    Object::real(p.slope), Object::command(model)}));
}

std::uint32_t column_index(Real column, const StatisticsData& data) {
  const std::optional<std::int64_t> index = column.exact_int64();
  if (!index || *index < 1) fail(invalid_statistics_parameters);
  if (*index > data.columns()) fail(invalid_dimension);
  return static_cast<std::uint32_t>(*index - 1);
}

Object settled_quotient(Machine& m, Extended a, Extended b) {
  if (b.is_zero()) return settled(m, divide(a.rounded().value, Real()));
  return settled(m, a / b);
}

}  // namespace rplrun
