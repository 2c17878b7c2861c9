#pragma once
// Alarms: the leading HH:MM of a task text, the flags column where "A" arms it, the rows that
// ring in a given minute, and how the alarm program is started and its failures explained.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/datetext.h"
#include "store/tasktable.h"

namespace lq {

// The flags with `text` written at 1-based `position`; positions between the old end and it
// are padded with "-", and so is the other byte of a double-byte character written over in
// part.
std::string SetFlagText(std::string_view flags, std::size_t position, std::string_view text);

// The text with its leading time normalised to "HH:MM" and a blank after it ("9:05会議" gives
// "09:05 会議"); empty when the text does not begin with a valid time. Only one-byte "0" to
// "9" are digits, so full-width digits are refused. The time is looked for in the first five
// characters; a double-byte character there is one character, and since neither of its bytes
// can be a digit or ":" it ends the time just as two single bytes would.
std::string ParseAlarmTime(std::string_view text);

// The program started for each ringing alarm; no path, the shell's search finds it.
inline constexpr std::string_view kAlarmProgram = "TarnwillowAlarm.exe";

// The rows that ring in `minute` ("hh:nn"): from the first row whose days left is an integer
// of 0 or more, the block of rows reading 0 (rows that are no integer count as 0 there), and
// of those the ones not done, armed ("A" at position 1 of the flags) and whose text begins
// with the minute. `rows` is cleared and refilled, so a caller that keeps it allocates only
// when a minute rings more rows than ever before.
void AlarmRowsToRing(const TaskTable& table, std::string_view minute, std::vector<int>& rows);

// --- Minutes the clock skipped. The timer examines the alarms once a minute; when it finds
// the clock further on than the next minute (the machine slept, the time was changed, a modal
// loop held the timer), the alarms in between ring late instead of being lost, and a minute
// already examined never rings again, also when the clock goes back.

// Alarm minutes already examined, as a few spans. When a fifth span is needed the one that
// ended first is forgotten: it lies before all the others.
class ExaminedMinutes {
 public:
  bool Contains(MinuteNumber m) const;
  void Add(MinuteNumber from, MinuteNumber to);  // from <= to

 private:
  struct Span {
    MinuteNumber from = 0;
    MinuteNumber to = -1;
  };
  std::array<Span, 4> spans_{};
  std::size_t count_ = 0;
};

// The longest jump of the clock after which the skipped alarms of today still ring late.
inline constexpr MinuteNumber kLateRingLimit = 12 * 60;

// One alarm check: the minute now, the minute of the check before, and what had been examined
// before this one.
struct AlarmPass {
  MinuteNumber now = 0;
  MinuteNumber previous = -1;
  ExaminedMinutes examined;
  // More than one minute forward: the alarms in between are due as well.
  bool Jumped() const { return now - previous > 1; }
};

// Brings the timer's record up to `now` and says what this check is to ring. The first check
// of a run examines only its own minute. A jump forward of up to 12 hours counts today's
// skipped minutes as examined (they ring late now); the minutes of a longer jump or of another
// day are not, so that they can still ring should the clock be set back over them.
AlarmPass NextAlarmPass(std::optional<MinuteNumber>& lastCheck, ExaminedMinutes& examined, MinuteNumber now);

enum class AlarmDue {
  No,      // not in this check, or examined before
  OnTime,  // its minute is now
  Late,    // today, skipped by a jump of at most 12 hours: rings, late by now - minute
  Missed,  // skipped, but of another day or of a longer jump: listed, not rung
};
AlarmDue WhenAlarmRings(const AlarmPass& pass, MinuteNumber alarmMinute);

// The minute at which a row's alarm rings: its due date at the HH:MM its text begins with.
// Empty for a row that does not ring: done, not armed, no valid date or time.
std::optional<MinuteNumber> AlarmMinuteOf(const RowView& row);

struct DueAlarm {
  int row = 0;
  MinuteNumber minute = 0;
  AlarmDue due = AlarmDue::No;
};
// Every row whose alarm is due in a check after a jump, earliest minute first. The whole
// table is read, since the skipped minutes may lie on other days than today.
void AlarmsOfPass(const TaskTable& table, const AlarmPass& pass, std::vector<DueAlarm>& alarms);

// The task text handed to the alarm program: the text from its 6th byte (after the time),
// every double quote turned into an apostrophe.
std::string AlarmTaskText(std::string_view text);

// The alarm program's parameters: the minute and the task text, each in double quotes,
// separated by one blank. A run of backslashes right before a closing quote is doubled, so
// that the program's command-line parser (the usual Windows rules) gives back both texts
// unchanged instead of reading "\"" as a quote inside the argument. Only real backslash
// characters count: the second byte of a double-byte character such as 表 (0x95 0x5C) is not
// one. The caller converts the result from code page 932 to UTF-16 as a whole. Each text goes
// as CommandLineSafe gives it.
std::string AlarmParameters(std::string_view minute, std::string_view taskText);

// An alarm ringing late is marked by one more argument after its two, "/late:N" with N in
// minutes. Several alarms go to one alarm program as such triples one after another (one on
// time then carries "/late:0"), so that the program can tell where the next begins.
inline constexpr std::string_view kAlarmLateOption = "/late:";
struct AlarmCall {
  int row = 0;               // where the task stood when the check began
  std::string minute;        // "hh:nn"
  std::string taskText;      // as AlarmTaskText gives it
  MinuteNumber lateMinutes = 0;
};
std::string AlarmParameters(std::span<const AlarmCall> alarms);
// Whether the task the call was made of still rings: open, armed, its text beginning with the
// minute. The list may change while an error of an earlier alarm is on the screen.
bool StillRings(const TaskTable& table, const AlarmCall& alarm);

// Up to this many late alarms of one check ring each in a window of its own; more ring
// together, in windows that list at most kAlarmsPerWindow each.
inline constexpr std::size_t kFewAlarms = 3;
inline constexpr std::size_t kAlarmsPerWindow = 10;
std::vector<std::vector<AlarmCall>> GroupLateAlarms(std::vector<AlarmCall> late);

// What one alarm check does: the starts of the alarm program, in order (each start a group of
// alarms ringing together), and the skipped alarms that are only listed. Without a jump only
// the alarms of `minute` ("hh:nn") ring, each alone; after one, each on-time alarm rings alone
// and the late ones as GroupLateAlarms groups them. `rows` and `due` are the caller's, kept
// from one check to the next, so that a minute without alarms allocates nothing.
struct AlarmPlan {
  std::vector<std::vector<AlarmCall>> starts;
  std::vector<DueAlarm> missed;
};
AlarmPlan PlanAlarmCheck(const TaskTable& table, std::string_view minute, const AlarmPass& pass, std::vector<int>& rows,
                         std::vector<DueAlarm>& due);

// The message listing alarms that were skipped but are not rung (AlarmDue::Missed): each
// task's due date and text, at most kMissedListed of them and then how many more. Code page 932.
inline constexpr std::size_t kMissedListed = 20;
std::string MissedAlarmsMessage(const TaskTable& table, std::span<const DueAlarm> missed);

// A text as a command line can carry it: a NUL, which would end the line, becomes a blank; a
// lead byte without a proper second byte becomes "?", since the conversion to UTF-16 may take
// the byte after it (a closing quote, say) into the same character.
std::string CommandLineSafe(std::string_view text);

// The explanation for a start error code of the shell, empty for the codes not listed (those
// are ignored). Code page 932, like the message it ends.
std::string_view AlarmErrorExplanation(int code);

// The warning shown when the alarm program could not be started: minute, task text (as
// AlarmTaskText gives it), the error line and the explanation, in code page 932. Empty for a
// code that is not listed.
std::string AlarmErrorMessage(std::string_view minute, std::string_view taskText, int code);
// The same for one start of the alarm program with several alarms: a line for each.
std::string AlarmErrorMessage(std::span<const AlarmCall> alarms, int code);

}  // namespace lq
