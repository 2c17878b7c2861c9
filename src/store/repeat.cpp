#include "store/repeat.h"

#include <algorithm>

#include "store/alarm.h"
#include "store/text.h"

namespace lq {
namespace {

std::int64_t Days(Date d) { return DayNumber(d); }

bool IsWeekday(Date d) {
  const int w = DayOfWeek(d);
  return w >= 1 && w <= 5;
}

// The series' date after `d`.
std::optional<Date> Step(Repeat kind, Date d, int seriesDay) {
  switch (kind) {
    case Repeat::Daily: d = AddDays(d, 1); break;
    case Repeat::Weekdays:
      do {
        d = AddDays(d, 1);
      } while (!IsWeekday(d));
      break;
    case Repeat::Weekly: d = AddDays(d, 7); break;
    case Repeat::Monthly:
      if (++d.month > 12) {
        d.month = 1;
        ++d.year;
      }
      if (d.year > 9999) return std::nullopt;
      d.day = std::min(seriesDay, DaysInMonth(d.year, d.month));
      break;
    case Repeat::Yearly:
      if (++d.year > 9999) return std::nullopt;
      d.day = std::min(seriesDay, DaysInMonth(d.year, d.month));
      break;
    case Repeat::None: return std::nullopt;
  }
  if (!IsValidDate(d.year, d.month, d.day)) return std::nullopt;
  return d;
}

}  // namespace

Repetition RepetitionOf(std::string_view flags) {
  // Position 2 is a character of its own only after a one-byte first character.
  if (flags.size() < 2 || CharBytes(flags, 0) != 1 || CharBytes(flags, 1) != 1) return {};
  switch (flags[1]) {
    case 'D': return {Repeat::Daily, 0};
    case 'B': return {Repeat::Weekdays, 0};
    case 'W': return {Repeat::Weekly, 0};
    case 'M': return {Repeat::Monthly, 0};
    case '9': return {Repeat::Monthly, 29};
    case '0': return {Repeat::Monthly, 30};
    case '1': return {Repeat::Monthly, 31};
    case 'Y': return {Repeat::Yearly, 0};
    case 'L': return {Repeat::Yearly, 29};
    default: return {};
  }
}

int SeriesDay(const Repetition& r, Date due) {
  // A kept day counts only where the task stands on the end of a month too short for it; a
  // date set by hand anywhere else starts the series anew.
  const bool shortMonthEnd = due.day == DaysInMonth(due.year, due.month) && r.keptDay > due.day;
  if (r.kind == Repeat::Yearly && due.month != 2) return due.day;
  return shortMonthEnd ? r.keptDay : due.day;
}

char RepeatCode(Repeat kind, Date due, int seriesDay) {
  if (seriesDay > due.day) {
    if (kind == Repeat::Monthly && seriesDay >= 29 && seriesDay <= 31) return "901"[seriesDay - 29];
    if (kind == Repeat::Yearly && due.month == 2 && seriesDay == 29) return 'L';
  }
  return "-DBWMY"[static_cast<int>(kind)];
}

std::string WithRepeat(std::string_view flags, Repeat kind) {
  // A new choice: the series keeps the due date's own day.
  return SetFlagText(flags, 2, std::string(1, RepeatCode(kind, Date{}, 0)));
}

std::optional<Date> NextDueDate(Repeat kind, Date due, int seriesDay, Date today) {
  const std::optional<Date> next = Step(kind, due, seriesDay);
  if (!next || Days(*next) >= Days(today)) return next;
  // Overdue by more than one period: the first date of the series after today.
  switch (kind) {
    case Repeat::Daily:
    case Repeat::Weekdays: return Step(kind, today, seriesDay);
    case Repeat::Weekly: {
      const std::int64_t weeks = (Days(today) - Days(due)) / 7 + 1;
      const Date d = DateFromDayNumber(Days(due) + weeks * 7);
      if (!IsValidDate(d.year, d.month, d.day)) return std::nullopt;
      return d;
    }
    default: break;
  }
  std::optional<Date> d = next;
  while (d && Days(*d) <= Days(today)) d = Step(kind, *d, seriesDay);
  return d;
}

}  // namespace lq
