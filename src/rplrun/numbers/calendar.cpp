#include "numbers/calendar.h"

#include "numbers/extended.h"
#include "numbers/real_functions.h"

namespace rplrun {

namespace {

bool leap(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int days_in_month(int year, int month) {
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && leap(year) ? 29 : days[month - 1];
}

int compare(const Date& a, const Date& b) {
  if (a.year != b.year) return a.year < b.year ? -1 : 1;
  if (a.month != b.month) return a.month < b.month ? -1 : 1;
  if (a.day != b.day) return a.day < b.day ? -1 : 1;
  return 0;
}

// The integer part of a non-negative extended value.
Extended integer_part(Extended x) {
  Extended n = x.nearest_integer();
  if (x < n) n = n - Extended(Real::from_int64(1));
  return n;
}

Extended ext(std::int64_t n) { return Extended(Real::from_int64(n)); }

}  // namespace

std::optional<Date> date_parts(Real x, bool day_first) {
  if (x.is_negative()) return std::nullopt;
  // x * 10^6 must be an integer below 10^8: MMDDYYYY.
  const Real::Decimal d = x.decimal();
  std::uint64_t n = d.coefficient;
  int shift = d.exponent + 6;
  for (; shift < 0; ++shift) {
    if (n % 10 != 0) return std::nullopt;
    n /= 10;
  }
  for (; shift > 0; --shift) {
    if (n >= 100000000) return std::nullopt;
    n *= 10;
  }
  if (n >= 100000000) return std::nullopt;
  const int first = static_cast<int>(n / 1000000);
  const int second = static_cast<int>(n / 10000 % 100);
  Date date;
  date.year = static_cast<int>(n % 10000);
  date.month = day_first ? second : first;
  date.day = day_first ? first : second;
  return date;
}

bool valid_date(const Date& date, const Date& first, const Date& last) {
  if (date.month < 1 || date.month > 12 || date.day < 1) return false;
  if (date.day > days_in_month(date.year, date.month)) return false;
  return compare(first, date) <= 0 && compare(date, last) <= 0;
}

Real date_real(const Date& date, bool day_first) {
  const int first = day_first ? date.day : date.month;
  const int second = day_first ? date.month : date.day;
  const auto digits = static_cast<std::uint64_t>((first * 100 + second) * 10000 + date.year);
  return Real::from_decimal(false, digits, -6).value;
}

// The civil-from-days method: 400-year eras of 146097 days, years counted from March
// so that the leap day comes last.
std::int64_t day_number(const Date& date) {
  const std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t year_of_era = y - era * 400;
  const std::int64_t day_of_year =
      (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  // The era count starts on 1 March of the year 0, 60 days after 1 January (a leap year).
  return era * 146097 + day_of_era + 60;
}

Date date_of_day(std::int64_t day) {
  const std::int64_t z = day - 60;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t day_of_era = z - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t mp = (5 * day_of_year + 2) / 153;
  Date date;
  date.day = static_cast<int>(day_of_year - (153 * mp + 2) / 5 + 1);
  date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  date.year = static_cast<int>(year_of_era + era * 400 + (date.month <= 2 ? 1 : 0));
  return date;
}

int weekday(std::int64_t day) {
  // 1 January 1991 was a Tuesday.
  const std::int64_t from_tuesday = day - day_number(Date{1991, 1, 1});
  return static_cast<int>(((from_tuesday + 2) % 7 + 7) % 7);
}

RealResult hms_to_hours(Real hms) {
  const Real a = abs(hms);
  const Real h = ip(a);
  const Real mmss = multiply(fp(a), Real::from_int64(100)).value;
  const Real mm = ip(mmss);
  const Real ss = multiply(fp(mmss), Real::from_int64(100)).value;
  Extended hours = Extended(h) + Extended(mm) / ext(60) + Extended(ss) / ext(3600);
  if (hms.is_negative()) hours = -hours;
  return hours.rounded();
}

RealResult hours_to_hms(Real hours) {
  const Real a = abs(hours);
  const Extended minutes = Extended(fp(a)) * ext(60);
  const Extended m = integer_part(minutes);
  const Extended s = (minutes - m) * ext(60);
  const RealResult hms = (Extended(ip(a)) + m / ext(100) + s / ext(10000)).rounded();
  // Seconds that round up to 60 carry into the minute, and 60 minutes into the hour.
  Real h = ip(hms.value);
  const Real mmss = multiply(fp(hms.value), Real::from_int64(100)).value;
  Real mm = ip(mmss);
  Real ss = multiply(fp(mmss), Real::from_int64(100)).value;
  const Real sixty = Real::from_int64(60);
  if (ss < sixty) return {hours.is_negative() ? negate(hms.value) : hms.value, hms.condition};
  ss = subtract(ss, sixty).value;
  mm = add(mm, Real::from_int64(1)).value;
  if (!(mm < sixty)) {
    mm = Real();
    h = add(h, Real::from_int64(1)).value;
  }
  const Extended carried = Extended(h) + Extended(mm) / ext(100) + Extended(ss) / ext(10000);
  return (hours.is_negative() ? -carried : carried).rounded();
}

}  // namespace rplrun
