// The alarm program's parameters: whatever minute and task text go in, the Windows splitting
// of the command line the shell builds gives back exactly two arguments, the minute and the
// text, as the alarm program is to see them; and the alarm program makes of them its minute.
// The same for an alarm marked late and for several alarms in one call: each comes back with
// its lateness, and no text can move where the next alarm begins.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "store/alarm.h"
#include "store/alarmcall.h"
#include "store/text.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// Code page 932 to UTF-16 as far as the splitting can tell: a lead byte and a second byte
// become one character that is no blank, quote or backslash; any other byte stays itself.
std::u16string Widen(std::string_view s) {
  std::u16string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (lq::IsLeadByte(b) && i + 1 < s.size() && lq::IsTrailByte(static_cast<unsigned char>(s[i + 1]))) {
      out += static_cast<char16_t>(0x8000u | (static_cast<unsigned>(b & 0x7F) << 8) |
                                   static_cast<unsigned char>(s[i + 1]));
      ++i;
    } else {
      out += static_cast<char16_t>(b);
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first five bytes stand for the minute; the alarm check gives the text from byte 6.
  const std::string minute(input.substr(0, 5));
  const std::string text = lq::AlarmTaskText(input);
  const std::string parameters = lq::AlarmParameters(minute, text);
  Check(parameters.find('\0') == std::string::npos);

  const std::u16string commandLine = u"\"C:\\Program Files\\Lindqvale\\TarnwillowAlarm.exe\" " + Widen(parameters);
  const std::vector<std::u16string> args = lq::SplitCommandLine(commandLine);
  Check(args.size() == 3);
  Check(args[1] == Widen(lq::CommandLineSafe(minute)));
  Check(args[2] == Widen(lq::CommandLineSafe(text)));
  // Nothing the text holds can stand in for the minute.
  if (lq::ParseCallTime(args[1])) {
    const lq::AlarmDisplay shown =
        lq::InterpretAlarmArguments(std::vector<std::u16string>(args.begin() + 1, args.end()));
    Check(shown.timeGiven && shown.time == *lq::ParseCallTime(args[1]));
  }

  // Late, alone and with a second alarm after it.
  const long late = static_cast<long>(size % 721) + 1;
  const lq::AlarmCall calls[] = {{1, minute, text, late}, {2, "07:00", text, late + 1}};
  for (const std::size_t count : {std::size_t{1}, std::size_t{2}}) {
    const std::u16string line = u"TarnwillowAlarm.exe " + Widen(lq::AlarmParameters(std::span(calls, count)));
    const std::vector<std::u16string> split = lq::SplitCommandLine(line);
    Check(split.size() == 1 + 3 * count);
    const lq::AlarmDisplay shown =
        lq::InterpretAlarmArguments(std::vector<std::u16string>(split.begin() + 1, split.end()));
    Check(shown.alarms.size() == count);
    for (std::size_t i = 0; i < count; ++i) {
      Check(split[1 + 3 * i] == Widen(lq::CommandLineSafe(calls[i].minute)));
      Check(split[2 + 3 * i] == Widen(lq::CommandLineSafe(calls[i].taskText)));
      Check(shown.alarms[i].lateMinutes == calls[i].lateMinutes);
    }
    if (count == 2) Check(shown.alarms[1].time == u"07:00");
  }
  return 0;
}
