#include "geometry/tick.h"

namespace lq {

MinuteText MinuteOf(const DateTime& t) {
  const char text[5] = {static_cast<char>('0' + t.hour / 10 % 10), static_cast<char>('0' + t.hour % 10), ':',
                        static_cast<char>('0' + t.minute / 10 % 10), static_cast<char>('0' + t.minute % 10)};
  MinuteText m;
  m.Assign(std::string_view(text, 5));
  return m;
}

TickOutcome TickBookkeeping(const TickInput& in, TimerState& state, std::string& headerCell) {
  TickOutcome out;
  if (in.lblCalendar > 0) {
    if (in.editMode) {
      ClockText text;
      AppendClock(text, in.clockFormat, in.now);
      if (in.secondsShown) AppendClock(text, kClockSeconds, in.now);
      if (headerCell != text.View()) {
        headerCell.assign(text.View());
        out.headerChanged = true;
      }
    } else {
      ClockText seconds;
      AppendClock(seconds, kClockSeconds, in.now);
      if (seconds != state.lblSecond) {
        state.lblYMDHM.Clear();
        AppendClock(state.lblYMDHM, in.clockFormat, in.now);
        state.lblSecond = seconds;
        out.labelsChanged = true;
      }
    }
  }

  if (in.now.date != state.LastDate) {
    state.LastDate = in.now.date;
    out.dayChanged = true;
  }

  out.minute = MinuteOf(in.now);
  const MinuteNumber minute = MinuteNumberOf(in.now);
  if (state.lastAlarmCheck != minute) {
    state.LastAlarmMinute = out.minute;
    out.alarms = NextAlarmPass(state.lastAlarmCheck, state.examinedAlarms, minute);
    out.checkAlarms = true;
  }
  return out;
}

}  // namespace lq
