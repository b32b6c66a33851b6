// The clock and the calendar: TICKS TIME DATE, \->TIME \->DATE CLKADJ, HMS\-> \->HMS
// HMS+ HMS-, DATE+ DDAYS TSTR, and the alarm list: STOALARM RCLALARM DELALARM
// FINDALARM ACK ACKALL.
#include <algorithm>

#include "commands/alarms.h"
#include "commands/support.h"
#include "machine/clock.h"
#include "numbers/calendar.h"

namespace rplrun {

namespace {

// The calendar's dates that DATE+, DDAYS and TSTR take, and those the clock can be set
// to (its alarms too).
constexpr Date first_calendar_date{1582, 10, 15};
constexpr Date last_calendar_date{9999, 12, 31};
constexpr Date first_clock_date{1991, 1, 1};
constexpr Date last_clock_date{2090, 12, 31};

std::uint64_t now(const Machine& m) { return clock_now(m.real_clock, m.clock_offset); }

void set_now(Machine& m, std::uint64_t ticks) {
  const std::uint64_t base = clock_ticks(read_clock(m.real_clock));
  m.clock_offset = static_cast<std::int64_t>(ticks - base);
  run_due_alarms(m);
}

// A date real; a year left out is the clock's.
Date date_arg(const Machine& m, const Object& x, const Date& first, const Date& last) {
  const auto date = date_parts(real_arg(x), m.flags.day_first());
  if (!date) fail(invalid_date);
  Date d = *date;
  if (d.year == 0) d.year = reading_at(now(m)).year;
  if (!valid_date(d, first, last)) fail(invalid_date);
  return d;
}

// A time of day H.MMSSs as ticks from midnight.
std::uint64_t time_arg(const Object& x) {
  const Real t = real_arg(x);
  if (t.is_negative() || !(t < Real::from_int64(24))) fail(invalid_time);
  const Real mmss = multiply(fp(t), Real::from_int64(100)).value;
  const Real ss = multiply(fp(mmss), Real::from_int64(100)).value;
  const Real sixty = Real::from_int64(60);
  if (!(ip(mmss) < sixty) || !(ss < sixty)) fail(invalid_time);
  const std::int64_t seconds =
      (t.int64_toward_zero() * 60 + mmss.int64_toward_zero()) * 60 + ss.int64_toward_zero();
  const Real part = multiply(fp(ss), Real::from_int64(ticks_per_second)).value;
  return static_cast<std::uint64_t>(seconds) * ticks_per_second +
         static_cast<std::uint64_t>(part.int64_toward_zero());
}

std::uint64_t midnight(const Date& date) {
  return static_cast<std::uint64_t>(day_number(date)) * ticks_per_day;
}

Object date_object(const Machine& m, const ClockReading& when) {
  return Object::real(clock_date(when, m.flags.day_first()));
}

void ticks(Machine& m, const Args&) { m.push(Object::binary(now(m))); }
void time_(Machine& m, const Args&) { m.push(Object::real(clock_time(reading_at(now(m))))); }
void date(Machine& m, const Args&) { m.push(date_object(m, reading_at(now(m)))); }

void to_time(Machine& m, const Args& a) {
  const std::uint64_t in_day = time_arg(a[1]);
  const std::uint64_t t = now(m);
  set_now(m, t - t % ticks_per_day + in_day);
}

void to_date(Machine& m, const Args& a) {
  const Date d = date_arg(m, a[1], first_clock_date, last_clock_date);
  set_now(m, midnight(d) + now(m) % ticks_per_day);
}

// CLKADJ x: the clock moves on x ticks (back when negative).
void clkadj(Machine& m, const Args& a) {
  const std::int64_t x = real_arg(a[1]).int64_toward_zero();
  const std::uint64_t t = now(m) + static_cast<std::uint64_t>(x);
  const Date d = date_of_day(static_cast<std::int64_t>(t / ticks_per_day));
  if (!valid_date(d, first_clock_date, last_clock_date)) fail(invalid_date);
  set_now(m, t);
}

void hms_to(Machine& m, const Args& a) { m.push(settled(m, hms_to_hours(real_arg(a[1])))); }
void to_hms(Machine& m, const Args& a) { m.push(settled(m, hours_to_hms(real_arg(a[1])))); }

template <bool minus>
void hms_sum(Machine& m, const Args& a) {
  const Real x = hms_to_hours(real_arg(a[2])).value;
  const Real y = hms_to_hours(real_arg(a[1])).value;
  const RealResult hours = minus ? subtract(x, y) : add(x, y);
  m.flags.settle_condition(hours.condition);
  m.push(settled(m, hours_to_hms(hours.value)));
}

void date_plus(Machine& m, const Args& a) {
  const Date d = date_arg(m, a[2], first_calendar_date, last_calendar_date);
  const std::int64_t days = real_arg(a[1]).int64_toward_zero();
  const Date result = date_of_day(day_number(d) + days);
  if (!valid_date(result, first_calendar_date, last_calendar_date)) fail(invalid_date);
  m.push(Object::real(date_real(result, m.flags.day_first())));
}

void ddays(Machine& m, const Args& a) {
  const Date from = date_arg(m, a[2], first_calendar_date, last_calendar_date);
  const Date to = date_arg(m, a[1], first_calendar_date, last_calendar_date);
  m.push(integer_object(day_number(to) - day_number(from)));
}

std::string two_digits(int n) {
  return std::string{static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}

// TSTR: "TUE 01/01/30 12:30:00P"; DD.MM.YY with flag -42, a 24-hour clock with -41.
void tstr(Machine& m, const Args& a) {
  const Date d = date_arg(m, a[2], first_calendar_date, last_calendar_date);
  const ClockReading t = reading_at(time_arg(a[1]));
  static constexpr const char* days[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
  const bool day_first = m.flags.day_first();
  const char mark = day_first ? '.' : '/';
  std::string text = days[weekday(day_number(d))];
  text += ' ';
  text += two_digits(day_first ? d.day : d.month) + mark;
  text += two_digits(day_first ? d.month : d.day) + mark + two_digits(d.year);
  const bool clock24 = m.flags.test(-41);
  const int hour = clock24 ? t.hour : (t.hour + 11) % 12 + 1;
  text += ' ' + two_digits(hour) + ':' + two_digits(t.minute) + ':' + two_digits(t.second);
  if (!clock24) text += t.hour < 12 ? 'A' : 'P';
  m.push(Object::string(std::move(text)));
}

// ---- alarms

std::size_t index_arg(const Machine& m, const Object& x) {
  const std::int64_t n = real_arg(x).int64_toward_zero();
  if (n < 1 || static_cast<std::size_t>(n) > m.alarms.size()) fail(nonexistent_alarm);
  return static_cast<std::size_t>(n - 1);
}

// Keeps the list in the order the alarms come due, a new one after those due with it;
// returns its index.
std::size_t insert_alarm(Machine& m, Alarm alarm) {
  const auto at = std::upper_bound(m.alarms.begin(), m.alarms.end(), alarm.due,
                                   [](std::uint64_t due, const Alarm& x) { return due < x.due; });
  const auto index = static_cast<std::size_t>(at - m.alarms.begin());
  m.alarms.insert(at, std::move(alarm));
  return index + 1;
}

// STOALARM: a time (today), or { date time [action [repeat]] }.
void stoalarm(Machine& m, const Args& a) {
  const Object& x = a[1];
  Alarm alarm;
  alarm.action = Object::string("");
  if (x.is(Kind::list)) {
    const auto items = x.items();
    if (items.size() < 2 || items.size() > 4) fail(bad_argument_value);
    const Date d = date_arg(m, items[0], first_clock_date, last_clock_date);
    alarm.due = midnight(d) + time_arg(items[1]);
    if (items.size() > 2) alarm.action = items[2];
    if (items.size() > 3) {
      const Real repeat = real_arg(items[3]);
      if (repeat.is_negative()) fail(invalid_repeat);
      alarm.repeat = static_cast<std::uint64_t>(repeat.int64_toward_zero());
    }
  } else {
    const std::uint64_t t = now(m);
    alarm.due = t - t % ticks_per_day + time_arg(x);
  }
  m.push(integer_object(static_cast<std::int64_t>(insert_alarm(m, std::move(alarm)))));
}

void rclalarm(Machine& m, const Args& a) {
  const Alarm& alarm = m.alarms[index_arg(m, a[1])];
  const ClockReading when = reading_at(alarm.due);
  m.push(Object::list({date_object(m, when), Object::real(clock_time(when)), alarm.action,
                       integer_object(static_cast<std::int64_t>(alarm.repeat))}));
}

void delalarm(Machine& m, const Args& a) {
  if (real_arg(a[1]).is_zero()) {
    m.alarms.clear();
    return;
  }
  const std::size_t k = index_arg(m, a[1]);
  m.alarms.erase(m.alarms.begin() + static_cast<std::ptrdiff_t>(k));
}

// FINDALARM: the first alarm due at or after a date or { date time }; 0: the first
// past-due one. 0 when there is none.
void findalarm(Machine& m, const Args& a) {
  const Object& x = a[1];
  std::uint64_t from = 0;
  bool past_due = false;
  if (x.is(Kind::list)) {
    const auto items = x.items();
    if (items.size() != 2) fail(bad_argument_value);
    from = midnight(date_arg(m, items[0], first_calendar_date, last_calendar_date)) +
           time_arg(items[1]);
  } else if (real_arg(x).is_zero()) {
    past_due = true;
  } else {
    from = midnight(date_arg(m, x, first_calendar_date, last_calendar_date));
  }
  const std::uint64_t t = now(m);
  for (std::size_t k = 0; k < m.alarms.size(); ++k) {
    const std::uint64_t due = m.alarms[k].due;
    if (past_due ? due <= t : due >= from) {
      m.push(integer_object(static_cast<std::int64_t>(k + 1)));
      return;
    }
    if (past_due) break;
  }
  m.push(integer_object(0));
}

// Takes the alarm at k off the list; a repeating one comes back at its next time after
// now, unless flag -43 is set.
void retire(Machine& m, std::size_t k) {
  Alarm alarm = std::move(m.alarms[k]);
  m.alarms.erase(m.alarms.begin() + static_cast<std::ptrdiff_t>(k));
  if (alarm.repeat == 0 || m.flags.test(-43)) return;
  const std::uint64_t t = now(m);
  if (alarm.due <= t) alarm.due += ((t - alarm.due) / alarm.repeat + 1) * alarm.repeat;
  alarm.shown = false;
  insert_alarm(m, std::move(alarm));
}

// ACK: the oldest past-due alarm is acknowledged; ACKALL: all of them.
void ack(Machine& m, const Args&) {
  if (!m.alarms.empty() && m.alarms.front().due <= now(m)) retire(m, 0);
}

void ackall(Machine& m, const Args&) {
  const std::uint64_t t = now(m);
  std::size_t count = 0;
  while (count < m.alarms.size() && m.alarms[count].due <= t) ++count;
  for (; count > 0; --count) retire(m, 0);
}

constexpr Operands numbers = Operands::numbers;

constexpr CommandRow rows[] = {
    {"TICKS", 0, ticks},
    {"TIME", 0, time_},
    {"DATE", 0, date},
    {"\\->TIME", 1, to_time, {}, false, numbers},
    {"\\->DATE", 1, to_date, {}, false, numbers},
    {"CLKADJ", 1, clkadj, {}, false, numbers},
    {"HMS\\->", 1, hms_to, {}, false, numbers},
    {"\\->HMS", 1, to_hms, {}, false, numbers},
    {"HMS+", 2, hms_sum<false>, {}, false, numbers},
    {"HMS-", 2, hms_sum<true>, {}, false, numbers},
    {"DATE+", 2, date_plus, {}, false, numbers},
    {"DDAYS", 2, ddays, {}, false, numbers},
    {"TSTR", 2, tstr, {}, false, numbers},
    {"STOALARM", 1, stoalarm},
    {"RCLALARM", 1, rclalarm, {}, false, numbers},
    {"DELALARM", 1, delalarm, {}, false, numbers},
    {"FINDALARM", 1, findalarm},
    {"ACK", 0, ack},
    {"ACKALL", 0, ackall},
};

}  // namespace

void run_due_alarms(Machine& m) {
  const std::uint64_t t = now(m);
  std::vector<Object> actions;
  for (std::size_t k = 0; k < m.alarms.size() && m.alarms[k].due <= t;) {
    Alarm& alarm = m.alarms[k];
    if (alarm.action.is(Kind::string)) {
      if (!alarm.shown && m.terminal.show) m.terminal.show(alarm.action.as_string());
      alarm.shown = true;
      // Flag -44 clear keeps a past-due appointment until ACK; set, it is done with.
      if (m.flags.test(-44)) {
        retire(m, k);
        continue;
      }
      ++k;
      continue;
    }
    actions.push_back(alarm.action);
    retire(m, k);
  }
  // The last one pushed runs first.
  for (auto it = actions.rbegin(); it != actions.rend(); ++it) m.evaluate(*it);
}

void wait_on_clock(Machine& m, Real seconds) {
  if (!m.real_clock) {
    const Real ticks = multiply(seconds, Real::from_int64(ticks_per_second)).value;
    m.clock_offset += ticks.int64_toward_zero();
  }
  run_due_alarms(m);
}

std::span<const CommandRow> time_commands() { return rows; }

}  // namespace rplrun
