#pragma once
// Putting an alarm off in the alarm program: the choices of when to ring again, when that is
// due, how late a ring is that the computer slept through, and the texts that say so. Times
// are milliseconds of a clock that keeps counting while the computer sleeps and that the user
// cannot set, so a clock set back or ahead neither delays nor hastens a snooze.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "store/alarmcall.h"
#include "store/datetext.h"

namespace lq {

struct SnoozeChoice {
  std::u16string_view label;
  int minutes = 0;
};

// In the order of the drop-down; the first is chosen when the alarm shows.
inline constexpr SnoozeChoice kSnoozeChoices[] = {
    {u"5分後", 5},
    {u"10分後", 10},
    {u"30分後", 30},
    {u"1時間後", 60},
};
inline constexpr std::u16string_view kSnoozeButtonCaption = u"スヌーズ(&S)";

inline constexpr std::int64_t kMinuteMilliseconds = 60'000;
// A waiting snooze looks at the clock at least this often, so that a ring the computer slept
// through comes soon after it wakes even when no wake-up message arrives.
inline constexpr std::int64_t kSnoozeCheckMilliseconds = 1000;

// The length of one snooze minute: a real minute, unless the program runs for a test
// (`automation` is "1") and `testMinute` names a shorter one in milliseconds (1 to 60000,
// digits only); anything else is ignored.
std::int64_t SnoozeMinuteMilliseconds(std::u16string_view automation, std::u16string_view testMinute);

// The minutes of a choice from the drop-down; an index out of range (no selection) is the
// first choice.
int SnoozeMinutes(std::span<const SnoozeChoice> choices, long index);

struct SnoozeCheck {
  bool due = false;
  long lateMinutes = 0;       // whole minutes after the due time; 0 at it
  std::int64_t waitMs = 0;    // when not due: until the next look at the clock
};

// Where a snooze due at `due` stands at `now`.
SnoozeCheck CheckSnooze(std::int64_t now, std::int64_t due, std::int64_t minuteMs);

// "07:35に再通知": the minute of the local clock `now` plus `remainingMs` (less than a day).
std::u16string SnoozeUntilText(const DateTime& now, std::int64_t remainingMs);

// The tray icon's tip while a snooze waits: the alarm ("07:00 起床", "4件のアラーム") cut so that
// the whole fits the `maxUnits` the notification area shows, then a line with `untilText`.
inline constexpr std::size_t kSnoozeTipMaxUnits = 127;
std::u16string SnoozeTip(const AlarmDisplay& alarm, std::u16string_view untilText,
                         std::size_t maxUnits = kSnoozeTipMaxUnits);

// What the window shows when a snooze rings: the alarm's own texts; a ring `lateMinutes`
// after its time says so in the words of a late alarm instead of the alarm's own note.
AlarmDisplay SnoozedDisplay(AlarmDisplay alarm, long lateMinutes);

}  // namespace lq
