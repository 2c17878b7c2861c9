#pragma once
// Tasks that come back: how often a task repeats (one character at position 2 of the flags)
// and the due date of the task that follows it when it is marked done.

#include <optional>
#include <string>
#include <string_view>

#include "store/datetext.h"

namespace lq {

enum class Repeat { None, Daily, Weekdays, Weekly, Monthly, Yearly };

// Position 2 of the flags: "D" daily, "B" Monday to Friday, "W" weekly, "M" monthly, "Y"
// yearly; "-", nothing or anything else does not repeat. A monthly task that had to stand on
// the last day of a shorter month keeps the day it came from as "9", "0" or "1" (the 29th,
// 30th, 31st), and a yearly task of 29 February standing on the 28th as "L", so that it goes
// back to that day when the month has it; a reader that keeps the flags keeps these too.
struct Repetition {
  Repeat kind = Repeat::None;
  int keptDay = 0;  // the day the series keeps beyond a short month's end; 0 for none
};
Repetition RepetitionOf(std::string_view flags);

// The day of the month the series of a task due on `due` keeps: its own day, or the kept day
// when the task stands on the last day of a month too short for it.
int SeriesDay(const Repetition& r, Date due);

// The character position 2 of the flags gets for a task of `kind` due on `due` in a series
// keeping `seriesDay`: "-" for none.
char RepeatCode(Repeat kind, Date due, int seriesDay);

// The flags with the repetition of `kind` written at position 2 (a new choice: the series
// keeps the due date's own day); the alarm flag and everything after position 2 stay.
std::string WithRepeat(std::string_view flags, Repeat kind);

// The due date of the task that follows a repeating task due on `due` and marked done
// `today`: the series' next date after `due`; when that one is already past (the task was
// overdue by more than one period), the series' first date after today. Nothing when the
// task does not repeat or the series leaves the calendar (after the year 9999).
std::optional<Date> NextDueDate(Repeat kind, Date due, int seriesDay, Date today);

}  // namespace lq
