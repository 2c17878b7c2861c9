#pragma once
// The alarm program's side of an alarm call: Lindqvale starts TarnwillowAlarm.exe with two
// quoted arguments, the minute "hh:nn" and the task text after the time; an alarm that rings
// late has a third, "/late:N" (N minutes), and several alarms come as such triples one after
// another. These rules turn whatever arrives (nothing, one argument, a split text, an endless
// text) into what the alarm window shows. The texts are UTF-16 as the shell hands them over.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lq {

inline constexpr std::u16string_view kAlarmNoTime = u"--:--";
inline constexpr std::u16string_view kAlarmNoText = u"（予定なし）";
inline constexpr std::u16string_view kAlarmCaption = u"アラーム";
inline constexpr char16_t kEllipsis = u'…';
inline constexpr std::u16string_view kAlarmLatePrefix = u"/late:";
inline constexpr std::u16string_view kAlarmSeveralNote = u"時刻に鳴らせなかったアラームです";

// Longest text the window shows, in UTF-16 units including the ellipsis; about eight lines
// of full-width characters in the window's width.
inline constexpr std::size_t kAlarmTextMaxUnits = 120;

// Longest task text in the list of several alarms, and how many alarms the list shows.
inline constexpr std::size_t kAlarmListTextMaxUnits = 40;
inline constexpr std::size_t kAlarmListMaxLines = 10;

// One alarm of a call.
struct AlarmEntry {
  std::u16string time;  // "hh:mm", or kAlarmNoTime
  std::u16string text;  // cleaned, uncut; empty when none was given
  bool timeGiven = false;
  long lateMinutes = 0;  // 0: at its minute
};

struct AlarmDisplay {
  // One alarm: "hh:mm", or kAlarmNoTime. Several: "4件のアラーム".
  std::u16string time;
  // One alarm: one line of text, cut to kAlarmTextMaxUnits, or kAlarmNoText. Several: a line
  // for each ("07:00 起床（32分遅れ）"), then "ほか3件" for those beyond kAlarmListMaxLines.
  std::u16string text;
  // How late: "1時間2分遅れのアラームです" for one alarm, kAlarmSeveralNote for several of
  // which one is late; empty when all ring at their minute.
  std::u16string note;
  // "アラーム hh:mm", "アラーム hh:mm（32分遅れ）", "アラーム" without a time, or "アラーム 4件".
  std::u16string caption;
  bool timeGiven = false;
  bool textGiven = false;
  std::vector<AlarmEntry> alarms;  // every alarm of the call, at least one
};

// "32分", "1時間", "1時間2分".
std::u16string LatenessText(long minutes);
// "32分遅れのアラームです".
std::u16string LateNote(long minutes);

// "h:mm" or "hh:mm" with ASCII digits, hour 0..23 and minute 0..59, blanks around allowed;
// gives "hh:mm".
std::optional<std::u16string> ParseCallTime(std::u16string_view arg);

// The arguments after the program's name. The first is the time; the second and any further
// ones up to a "/late:N", joined by a blank where none is at the seam, are the text (a text
// whose quotes went astray arrives in pieces). The second is always text, so two arguments
// mean what they always meant. When the first is no time but begins with one and a blank,
// the rest of it starts the text; when it is no time at all, it is part of the text, so
// nothing a caller sent gets lost. After a "/late:N" the next alarm begins.
AlarmDisplay InterpretAlarmArguments(std::span<const std::u16string> args);

// N of an argument "/late:N" (1 to 6 digits), or empty.
std::optional<long> ParseLateOption(std::u16string_view arg);

// Each run of control characters (a line break, a tab) becomes one blank, and blanks at both
// ends go, the full-width space included.
std::u16string CleanAlarmText(std::u16string_view text);

// At most maxUnits UTF-16 units: a longer text keeps its start and ends in kEllipsis. A
// surrogate pair is never split. maxUnits of 0 gives an empty text.
std::u16string CutWithEllipsis(std::u16string_view text, std::size_t maxUnits);

// A command line split into arguments by the rules of CommandLineToArgvW: the program's name
// first, taken up to its closing quote or the first blank; then arguments separated by blanks
// and tabs outside quotes, where 2n backslashes before a quote give n and the quote opens or
// closes, 2n+1 give n and a quote, other backslashes are themselves, and within quotes each
// third of a run of quotes is a quote. Lets the arguments Lindqvale passes be checked where
// there is no Windows.
std::vector<std::u16string> SplitCommandLine(std::u16string_view line);

// True when the bytes begin like a RIFF WAVE file ("RIFF", size, "WAVE").
bool LooksLikeWave(std::string_view head);

}  // namespace lq
