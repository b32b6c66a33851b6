#include "numbers/fifteen_digits.h"

#include "numbers/decimal128.h"

namespace rplrun {

using dec::D;

// The bits of a FifteenDigits are a decimal128's. get converts without rounding; make cuts
// a library result to 15 digits.
struct FifteenDigitsBits {
  template <Cut kind>
  static constexpr _IDEC_round operation_mode =
      kind == Cut::toward_zero ? BID_ROUNDING_TO_ZERO : dec::nearest;
  template <Cut kind>
  static constexpr _IDEC_round cut_mode =
      kind == Cut::toward_zero ? BID_ROUNDING_TO_ZERO : BID_ROUNDING_TIES_AWAY;

  template <Cut kind>
  static D get(FifteenDigits<kind> x) {
    D d;
    d.w[0] = x.lo_;
    d.w[1] = x.hi_;
    return d;
  }
  template <Cut kind>
  static FifteenDigits<kind> make(D d) {
    d = dec::keep_digits(d, 15, cut_mode<kind>);
    FifteenDigits<kind> x;
    x.lo_ = d.w[0];
    x.hi_ = d.w[1];
    return x;
  }
};

namespace {

using Bits = FifteenDigitsBits;

template <Cut kind>
D of(FifteenDigits<kind> x) {
  return Bits::get(x);
}

// A binary operation of the decimal library.
using Operation = D (*)(D, D, _IDEC_round, dec::Flags*);

template <Cut kind>
FifteenDigits<kind> apply(Operation operation, D a, D b) {
  dec::Flags f = 0;
  return Bits::make<kind>(operation(a, b, Bits::operation_mode<kind>, &f));
}

}  // namespace

template <Cut kind>
FifteenDigits<kind> FifteenDigits<kind>::ratio(int p, int q) {
  return apply<kind>(bid128_div, dec::from_int(p), dec::from_int(q));
}

template <Cut kind>
FifteenDigits<kind> FifteenDigits<kind>::operator+(FifteenDigits b) const {
  return apply<kind>(bid128_add, of(*this), of(b));
}

template <Cut kind>
FifteenDigits<kind> FifteenDigits<kind>::operator-(FifteenDigits b) const {
  return apply<kind>(bid128_sub, of(*this), of(b));
}

template <Cut kind>
FifteenDigits<kind> FifteenDigits<kind>::operator*(FifteenDigits b) const {
  return apply<kind>(bid128_mul, of(*this), of(b));
}

template <Cut kind>
FifteenDigits<kind> FifteenDigits<kind>::operator/(FifteenDigits b) const {
  return apply<kind>(bid128_div, of(*this), of(b));
}

template <Cut kind>
FifteenDigits<kind> FifteenDigits<kind>::operator-() const {
  return Bits::make<kind>(bid128_negate(of(*this)));
}

template <Cut kind>
bool FifteenDigits<kind>::operator<(FifteenDigits b) const {
  return dec::less(of(*this), of(b));
}

template <Cut kind>
bool FifteenDigits<kind>::is_zero() const {
  return dec::is_zero(of(*this));
}

template <Cut kind>
bool FifteenDigits<kind>::is_integer() const {
  dec::Flags f = 0;
  return dec::equal(bid128_round_integral_zero(of(*this), &f), of(*this));
}

template <Cut kind>
FifteenDigits<kind> FifteenDigits<kind>::magnitude() const {
  return Bits::make<kind>(bid128_abs(of(*this)));
}

template <Cut kind>
FifteenDigits<kind> FifteenDigits<kind>::nearest_integer() const {
  dec::Flags f = 0;
  return Bits::make<kind>(bid128_round_integral_nearest_away(of(*this), &f));
}

template <Cut kind>
RealResult FifteenDigits<kind>::rounded() const {
  return dec::round12(of(*this), 0);
}

namespace {

// A function of one argument of the decimal library.
using Function = D (*)(D, _IDEC_round, dec::Flags*);

template <Cut kind>
FifteenDigits<kind> apply(Function function, FifteenDigits<kind> x) {
  dec::Flags f = 0;
  return Bits::make<kind>(function(of(x), Bits::operation_mode<kind>, &f));
}

}  // namespace

template <Cut kind>
FifteenDigits<kind> square_root(FifteenDigits<kind> x) {
  return apply(bid128_sqrt, x);
}

template <Cut kind>
FifteenDigits<kind> ln(FifteenDigits<kind> x) {
  return apply(bid128_log, x);
}

template <Cut kind>
FifteenDigits<kind> exp(FifteenDigits<kind> x) {
  return apply(bid128_exp, x);
}

template class FifteenDigits<Cut::halves_away>;
template class FifteenDigits<Cut::toward_zero>;
template Extended square_root(Extended);
template Extended ln(Extended);
template Extended exp(Extended);

}  // namespace rplrun
