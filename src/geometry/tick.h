#pragma once
// The main timer's bookkeeping, decided from one reading of the clock: the clock texts, the
// change of day and the once-a-minute alarm check. The window gathers the inputs, calls
// TickBookkeeping and applies the outcome in the order of its fields (clock, day change,
// alarms), then decides the visibility (hover.h). A tick in which nothing changed allocates
// nothing: every text is formatted into a fixed buffer and only compared.

#include <optional>
#include <string>
#include <string_view>

#include "geometry/clock.h"
#include "store/alarm.h"
#include "store/datetext.h"

namespace lq {

using MinuteText = FixedText<5>;  // "hh:nn"

MinuteText MinuteOf(const DateTime& t);

// The timer's own state, owned by the main window.
struct TimerState {
  Date LastDate;               // today when the window is created
  MinuteText LastAlarmMinute;  // empty at start, so the first tick examines its own minute
  std::optional<MinuteNumber> lastAlarmCheck;  // the same minute with its date
  ExaminedMinutes examinedAlarms;
  ClockText lblYMDHM;          // the view-mode clock labels' captions as last set
  ClockText lblSecond;
};

struct TickInput {
  DateTime now;
  bool editMode = true;
  int lblCalendar = 0;          // 0: no clock at all
  std::string_view clockFormat;  // chosen by PlaceClockLabels
  bool secondsShown = false;    // lblSecond has a non-zero width plus height
};

struct TickOutcome {
  bool headerChanged = false;  // edit mode: the header cell was rewritten; repaint it
  bool labelsChanged = false;  // view mode: give lblYMDHM and lblSecond the state's captions
  bool dayChanged = false;     // SortTasks(current row - top row, true); RefreshViewImage in view mode
  bool checkAlarms = false;    // run the alarm check for `minute`
  MinuteText minute;
  AlarmPass alarms;            // with checkAlarms: which minutes that check covers
};

// `headerCell` is the header cell of colText (row 0), which holds the clock in edit mode.
// LastDate and LastAlarmMinute in `state` are brought up to `now`. The alarms are checked
// whenever the minute differs from the last check's, date included, so that a clock that
// jumped by whole days is noticed too (NextAlarmPass in store/alarm.h). The day change compares
// the date of `now` rather than reading the clock again, so the clock, the day change and the
// alarm minute of one tick always agree.
TickOutcome TickBookkeeping(const TickInput& in, TimerState& state, std::string& headerCell);

// PlaceClockLabels puts a space after the seconds caption, so that the next tick finds it
// different from any ":ss" and rewrites both labels in the new clock format.
inline void MarkClockLabelsStale(TimerState& state) { state.lblSecond.Append(" "); }

}  // namespace lq
