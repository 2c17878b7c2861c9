#pragma once
// Alarms: the leading HH:MM of a task text, the flags column where "A" arms it, the rows that
// ring in a given minute, and how the alarm program is started and its failures explained.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

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

}  // namespace lq
