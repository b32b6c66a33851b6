#include "commands/plot_sampling.h"

#include <algorithm>

#include "objects/algebraic.h"
#include "objects/reader.h"
#include "objects/symbolic.h"

namespace rplrun::plotting {

namespace {

const Symbol* equation_name() {
  static const Symbol* const name = intern("EQ");
  return name;
}

// An object that can stand for a curve: a number, a name, an algebraic or a program.
bool is_plottable(const Object& x) {
  return x.is_number() || x.is_symbolic() || x.is(Kind::program);
}

// The program each value is computed with: the object on the stack evaluated as \->NUM
// does, a failure caught (it leaves no number).
const Object& numeric_evaluation() {
  static const Object program = read_builtin_program("DRAW", "IFERR \\->NUM THEN \"\" END");
  return program;
}

}  // namespace

Pixel Geometry::pixel(Real x, Real y) const {
  Pixel p = user_to_pixel(window, width, height, {x, y});
  const auto w = static_cast<std::int64_t>(width);
  const auto h = static_cast<std::int64_t>(height);
  p.x = std::clamp<std::int64_t>(p.x, -w, 2 * w);
  p.y = std::clamp<std::int64_t>(p.y, -h, 2 * h);
  return p;
}

Real Geometry::column_step() const {
  return over(minus(window.pmax.re, window.pmin.re),
              whole(std::max<std::int64_t>(1, static_cast<std::int64_t>(width) - 1)));
}

Geometry geometry(Machine& m) {
  const Grob& pict = m.screen.draw_on_pict();
  return {plot_window(m), pict.width, pict.height};
}

void Trace::add(Machine& m, std::optional<Pixel> p) {
  if (p) {
    Grob& pict = m.screen.draw_on_pict();
    if (joined_ && last_)
      draw_line(pict, *last_, *p, Ink::dark);
    else
      draw_pixel(pict, *p, Ink::dark);
  }
  last_ = p;
}

bool joined(Machine& m) { return !m.flags.test(-31); }

bool is_equation(const Object& x) {
  return x.is(Kind::algebraic) && x.items().back().is(Kind::command) &&
         x.items().back().command_id() == cmd::equation;
}

std::pair<Object, Object> sides(const Object& equation) {
  std::vector<std::vector<Object>> operands = last_operands(equation.items());
  return {object_of(std::move(operands[0])), object_of(std::move(operands[1]))};
}

std::vector<Object> equations(Machine& m) {
  const Object* eq = m.global(equation_name());
  if (!eq) fail(invalid_eq);
  std::vector<Object> all;
  if (eq->is(Kind::list))
    all.assign(eq->items().begin(), eq->items().end());
  else
    all.push_back(*eq);
  if (all.empty()) fail(invalid_eq);
  for (const Object& x : all)
    if (!is_plottable(x)) fail(invalid_eq);
  return all;
}

PlotVariable variable_of(const Object& item) {
  if (item.is(Kind::name)) return {item.symbol(), std::nullopt};
  if (!item.is(Kind::list) || item.items().empty() || !item.items()[0].is(Kind::name))
    fail(invalid_ppar);
  const std::span<const Object> parts = item.items();
  if (parts.size() < 3) return {parts[0].symbol(), std::nullopt};
  return {parts[0].symbol(), std::pair{real_arg(parts[1]), real_arg(parts[2])}};
}

std::int64_t grid_count(Real count, std::size_t most) {
  return std::clamp<std::int64_t>(count.int64_toward_zero(), 1, static_cast<std::int64_t>(most));
}

bool Sampler::resume(Machine& m) {
  if (waiting_) {
    std::optional<Object> result;
    if (m.depth() > base_) result = m.level(1);
    m.stack().resize(std::min(m.depth(), base_));
    accept(m, result);
  }
  Real values[2];
  const Object* object = next(m, values);
  if (!object) {
    finish(m);
    return true;
  }
  for (std::size_t k = 0; k < names_.size(); ++k) {
    if (bound_)
      *m.local(names_[k]) = Object::real(values[k]);
    else
      m.bind_index(names_[k], Object::real(values[k]));
  }
  bound_ = true;
  m.push(*object);
  m.call(numeric_evaluation());
  waiting_ = true;
  return false;
}

CellSampler::CellSampler(Machine& m, Object sampled, const Symbol* x, const Symbol* y, Geometry g,
                         std::int64_t columns, std::int64_t rows)
    : Sampler({x, y}, m.depth()),
      sampled_(std::move(sampled)),
      geometry_(std::move(g)),
      columns_(columns),
      rows_(rows) {}

namespace {

// The centre pixel of cell k of count across `pixels`.
std::int64_t cell_centre(std::int64_t k, std::int64_t count, std::size_t pixels) {
  return (2 * k + 1) * (static_cast<std::int64_t>(pixels) - 1) / (2 * count);
}

}  // namespace

Pixel CellSampler::centre() const {
  return {cell_centre(column_, columns_, geometry_.width),
          cell_centre(row_, rows_, geometry_.height)};
}

const Object* CellSampler::sample(Pixel offset, Real* values) const {
  if (row_ == rows_) return nullptr;
  const Pixel c = centre();
  const Complex z = geometry_.user({c.x + offset.x, c.y + offset.y});
  values[0] = z.re;
  values[1] = z.im;
  return &sampled_;
}

void CellSampler::draw_segment(Machine& m, Extended right, Extended down) const {
  Grob& pict = m.screen.draw_on_pict();
  const Pixel at = centre();
  const Extended norm = square_root(right * right + down * down);
  if (norm.is_zero()) {
    draw_pixel(pict, at, Ink::dark);
    return;
  }
  const std::int64_t side = std::min(static_cast<std::int64_t>(geometry_.width) / columns_,
                                     static_cast<std::int64_t>(geometry_.height) / rows_);
  const Extended length(whole(std::max<std::int64_t>(1, side * 2 / 5)));
  const std::int64_t dx =
      (length * right / norm).nearest_integer().rounded().value.int64_toward_zero();
  const std::int64_t dy =
      (length * down / norm).nearest_integer().rounded().value.int64_toward_zero();
  draw_line(pict, {at.x - dx, at.y - dy}, {at.x + dx, at.y + dy}, Ink::dark);
}

void CellSampler::next_cell() {
  if (++column_ == columns_) {
    column_ = 0;
    ++row_;
  }
}

std::optional<Real> real_of(const std::optional<Object>& x) {
  if (!x || !x->is(Kind::real)) return std::nullopt;
  return x->as_real();
}

std::optional<Complex> complex_of(const std::optional<Object>& x) {
  if (x && x->is(Kind::complex)) return x->as_complex();
  if (x && x->is(Kind::real)) return Complex{x->as_real(), Real()};
  return std::nullopt;
}

}  // namespace rplrun::plotting
