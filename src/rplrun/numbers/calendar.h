// Dates and times as the calculator writes them in reals: a date as MM.DDYYYY (or
// DD.MMYYYY, flag -42), a time of day or an angle as H.MMSS followed by the fraction of
// the second; and the Gregorian calendar's day numbers.
#pragma once

#include <cstdint>
#include <optional>

#include "numbers/real.h"

namespace rplrun {

struct Date {
  int year = 0;  // 0: left out of the real (7.15 is 15 July of the current year)
  int month = 1;
  int day = 1;
};

// The parts of a date real, unchecked but for their form: a non-negative real of at most
// two digits before the point and six after. None for anything else.
std::optional<Date> date_parts(Real x, bool day_first);
// Whether the date is a day of the calendar between `first` and `last`.
bool valid_date(const Date& date, const Date& first, const Date& last);
Real date_real(const Date& date, bool day_first);

// Days from 1 January of the year 0, the Gregorian calendar extended backwards.
std::int64_t day_number(const Date& date);
Date date_of_day(std::int64_t day);
int weekday(std::int64_t day);  // 0 Sunday ... 6 Saturday

// HMS\->: H.MMSSs to hours; \->HMS: back. Computed with 15-digit intermediates.
RealResult hms_to_hours(Real hms);
RealResult hours_to_hms(Real hours);

}  // namespace rplrun
