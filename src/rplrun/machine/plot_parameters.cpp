#include "machine/plot_parameters.h"

#include <array>

#include "objects/command_registry.h"
#include "objects/errors.h"

namespace rplrun {

namespace {

// n / 10 as a real: the defaults are all in tenths.
Real tenths(int n) {
  return Real::from_decimal(n < 0, static_cast<std::uint64_t>(n < 0 ? -n : n), -1).value;
}

const Symbol* plot_name() {
  static const Symbol* const name = intern("PPAR");
  return name;
}

const Symbol* view_name() {
  static const Symbol* const name = intern("VPAR");
  return name;
}

}  // namespace

const char* const* plot_type_names() {
  // ORDER: the PlotType enumerators.
  static constexpr const char* names[plot_type_count] = {
      "FUNCTION", "POLAR",     "PARAMETRIC", "CONIC",      "TRUTH",
      "BAR",      "HISTOGRAM", "SCATTER",    "SLOPEFIELD", "WIREFRAME",
      "YSLICE",   "PCONTOUR",  "GRIDMAP",    "PARSURFACE", "DIFFEQ"};
  return names;
}

std::uint32_t plot_type_command(PlotType type) {
  static const std::array<std::uint32_t, plot_type_count> ids = [] {
    std::array<std::uint32_t, plot_type_count> found{};
    for (int k = 0; k < plot_type_count; ++k) found[k] = *find_command(plot_type_names()[k]);
    return found;
  }();
  return ids[static_cast<int>(type)];
}

PlotParameters PlotParameters::defaults() {
  const auto point = [](int x, int y) { return Object::complex({tenths(x), tenths(y)}); };
  return {{point(-65, -31), point(65, 32), Object::name(intern("X")), Object::real(Real()),
           point(0, 0), Object::command(plot_type_command(PlotType::function)),
           Object::name(intern("Y"))}};
}

std::optional<PlotType> PlotParameters::plot_type() const {
  const Object& item = items[type];
  if (!item.is(Kind::command)) return std::nullopt;
  for (int k = 0; k < plot_type_count; ++k)
    if (item.command_id() == plot_type_command(static_cast<PlotType>(k)))
      return static_cast<PlotType>(k);
  return std::nullopt;
}

PlotParameters plot_parameters(Machine& m) {
  const Object* value = m.global(plot_name());
  if (!value) {
    PlotParameters defaults = PlotParameters::defaults();
    store_plot_parameters(m, defaults);
    return defaults;
  }
  if (!value->is(Kind::list) || value->items().size() != PlotParameters::item_count)
    fail(invalid_ppar);
  const std::span<const Object> items = value->items();
  if (!items[0].is(Kind::complex) || !items[1].is(Kind::complex)) fail(invalid_ppar);
  return {{items.begin(), items.end()}};
}

void store_plot_parameters(Machine& m, const PlotParameters& parameters) {
  m.store_global(plot_name(), Object::list(parameters.items));
}

PlotWindow plot_window(Machine& m) {
  const PlotParameters p = m.global(plot_name()) ? plot_parameters(m) : PlotParameters::defaults();
  return {p.corner(PlotParameters::lower), p.corner(PlotParameters::upper)};
}

std::vector<Real> view_parameters(Machine& m) {
  constexpr std::size_t count = 15;
  const Object* value = m.global(view_name());
  if (!value) {
    std::vector<Real> defaults;
    for (int k = 0; k < 5; ++k) {
      defaults.push_back(tenths(-10));
      defaults.push_back(tenths(10));
    }
    for (const int n : {0, -30, 0, 100, 80}) defaults.push_back(tenths(n));
    store_view_parameters(m, defaults);
    return defaults;
  }
  if (!value->is(Kind::list) || value->items().size() != count) fail(invalid_ppar);
  std::vector<Real> values;
  for (const Object& item : value->items()) {
    if (!item.is(Kind::real)) fail(invalid_ppar);
    values.push_back(item.as_real());
  }
  return values;
}

void store_view_parameters(Machine& m, const std::vector<Real>& values) {
  std::vector<Object> items;
  for (const Real value : values) items.push_back(Object::real(value));
  m.store_global(view_name(), Object::list(std::move(items)));
}

}  // namespace rplrun
