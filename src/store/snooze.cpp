#include "store/snooze.h"

#include <algorithm>

namespace lq {
namespace {

char16_t Digit(int n) { return static_cast<char16_t>(u'0' + n); }

}  // namespace

std::int64_t SnoozeMinuteMilliseconds(std::u16string_view automation, std::u16string_view testMinute) {
  if (automation != u"1" || testMinute.empty() || testMinute.size() > 5) return kMinuteMilliseconds;
  std::int64_t value = 0;
  for (const char16_t c : testMinute) {
    if (c < u'0' || c > u'9') return kMinuteMilliseconds;
    value = value * 10 + (c - u'0');
  }
  return value >= 1 && value <= kMinuteMilliseconds ? value : kMinuteMilliseconds;
}

int SnoozeMinutes(std::span<const SnoozeChoice> choices, long index) {
  if (choices.empty()) return 0;
  if (index < 0 || static_cast<std::size_t>(index) >= choices.size()) index = 0;
  return choices[static_cast<std::size_t>(index)].minutes;
}

SnoozeCheck CheckSnooze(std::int64_t now, std::int64_t due, std::int64_t minuteMs) {
  SnoozeCheck c;
  if (now < due) {
    c.waitMs = std::min(due - now, kSnoozeCheckMilliseconds);
    return c;
  }
  c.due = true;
  // A long is 32 bits on Windows; no sleep lasts four thousand years.
  const std::int64_t late = (now - due) / std::max<std::int64_t>(minuteMs, 1);
  c.lateMinutes = static_cast<long>(std::min<std::int64_t>(late, 0x7FFFFFFF));
  return c;
}

std::u16string SnoozeUntilText(const DateTime& now, std::int64_t remainingMs) {
  constexpr std::int64_t kDayMs = 24 * 60 * kMinuteMilliseconds;
  const std::int64_t ofDay = ((now.hour * 60 + now.minute) * 60 + now.second) * 1000LL + now.millisecond;
  const std::int64_t at = ((ofDay + std::max<std::int64_t>(remainingMs, 0)) % kDayMs) / kMinuteMilliseconds;
  const int hour = static_cast<int>(at / 60);
  const int minute = static_cast<int>(at % 60);
  return std::u16string{Digit(hour / 10), Digit(hour % 10), u':', Digit(minute / 10), Digit(minute % 10)} +
         u"に再通知";
}

std::u16string SnoozeTip(const AlarmDisplay& alarm, std::u16string_view untilText, std::size_t maxUnits) {
  std::u16string what;
  if (alarm.alarms.size() == 1) {
    const AlarmEntry& e = alarm.alarms.front();
    if (e.timeGiven) what = e.time + u" ";
    what += e.text.empty() ? std::u16string(kAlarmNoText) : e.text;
  } else {
    what = alarm.time;
  }
  const std::size_t room = maxUnits > untilText.size() + 1 ? maxUnits - untilText.size() - 1 : 0;
  std::u16string tip = CutWithEllipsis(what, room);
  if (!tip.empty()) tip += u'\n';
  tip += untilText.substr(0, maxUnits);
  return tip;
}

AlarmDisplay SnoozedDisplay(AlarmDisplay alarm, long lateMinutes) {
  if (lateMinutes > 0) alarm.note = LateNote(lateMinutes);
  return alarm;
}

}  // namespace lq
