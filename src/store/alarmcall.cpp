#include "store/alarmcall.h"

#include <string>

namespace lq {
namespace {

constexpr bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
constexpr bool IsBlank(char16_t c) { return c <= u' ' || c == u'\u3000' || c == u'\x7F'; }
constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

std::u16string_view TrimBlanks(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A time at the very start of `s`: its normalised form and how many units it took.
struct LeadingTime {
  std::u16string time;
  std::size_t length = 0;
};

std::optional<LeadingTime> ReadLeadingTime(std::u16string_view s) {
  std::size_t i = 0;
  int hour = 0;
  while (i < s.size() && i < 2 && IsDigit(s[i])) hour = hour * 10 + (s[i++] - u'0');
  if (i == 0 || i >= s.size() || s[i] != u':') return std::nullopt;
  ++i;
  if (i + 2 > s.size() || !IsDigit(s[i]) || !IsDigit(s[i + 1])) return std::nullopt;
  const int minute = (s[i] - u'0') * 10 + (s[i + 1] - u'0');
  i += 2;
  if (hour > 23 || minute > 59) return std::nullopt;
  if (i < s.size() && (IsDigit(s[i]) || s[i] == u':')) return std::nullopt;  // "12:345", "1:23:45"
  LeadingTime t;
  t.time = {static_cast<char16_t>(u'0' + hour / 10), static_cast<char16_t>(u'0' + hour % 10), u':',
            static_cast<char16_t>(u'0' + minute / 10), static_cast<char16_t>(u'0' + minute % 10)};
  t.length = i;
  return t;
}

std::u16string Number(long n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

// One alarm's arguments: the time (or text), then the pieces of the text.
AlarmEntry InterpretOneAlarm(std::span<const std::u16string> args) {
  AlarmEntry e;
  std::u16string rawText;
  auto appendText = [&rawText](std::u16string_view piece) {
    if (!rawText.empty() && !piece.empty() && !IsBlank(rawText.back()) && !IsBlank(piece.front())) rawText += u' ';
    rawText += piece;
  };
  std::size_t next = 0;
  if (!args.empty()) {
    const std::u16string_view first = TrimBlanks(args[0]);
    if (auto t = ReadLeadingTime(first)) {
      e.time = std::move(t->time);
      e.timeGiven = true;
      // Text glued to the time ("07:00 起床" as one argument) comes first.
      if (t->length < first.size()) appendText(first.substr(t->length));
    } else {
      appendText(args[0]);
    }
    next = 1;
  }
  for (; next < args.size(); ++next) appendText(args[next]);
  e.text = CleanAlarmText(rawText);
  if (!e.timeGiven) e.time = kAlarmNoTime;
  return e;
}

}  // namespace

std::optional<std::u16string> ParseCallTime(std::u16string_view arg) {
  const std::u16string_view s = TrimBlanks(arg);
  auto t = ReadLeadingTime(s);
  if (!t || t->length != s.size()) return std::nullopt;
  return std::move(t->time);
}

std::u16string CleanAlarmText(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  bool inControls = false;
  for (char16_t c : text) {
    const bool control = c < u' ' || c == u'\x7F';
    if (!control) {
      out += c;
    } else if (!inControls) {
      out += u' ';  // a line break "\r\n" becomes one blank
    }
    inControls = control;
  }
  return std::u16string(TrimBlanks(out));
}

std::u16string CutWithEllipsis(std::u16string_view text, std::size_t maxUnits) {
  if (text.size() <= maxUnits) return std::u16string(text);
  if (maxUnits == 0) return {};
  std::size_t keep = maxUnits - 1;
  if (keep > 0 && IsHighSurrogate(text[keep - 1])) --keep;  // its low half would be cut off
  std::u16string out(text.substr(0, keep));
  out += kEllipsis;
  return out;
}

std::optional<long> ParseLateOption(std::u16string_view arg) {
  if (arg.substr(0, kAlarmLatePrefix.size()) != kAlarmLatePrefix) return std::nullopt;
  const std::u16string_view digits = arg.substr(kAlarmLatePrefix.size());
  if (digits.empty() || digits.size() > 6) return std::nullopt;
  long value = 0;
  for (const char16_t c : digits) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  return value;
}

std::u16string LatenessText(long minutes) {
  const long hours = minutes / 60;
  const long rest = minutes % 60;
  std::u16string t;
  if (hours > 0) t += Number(hours) + u"時間";
  if (rest > 0 || hours == 0) t += Number(rest) + u"分";
  return t;
}

std::u16string LateNote(long minutes) { return LatenessText(minutes) + u"遅れのアラームです"; }

AlarmDisplay InterpretAlarmArguments(std::span<const std::u16string> args) {
  AlarmDisplay d;
  std::size_t i = 0;
  do {
    const std::size_t start = i;
    if (i < args.size()) ++i;  // the time
    if (i < args.size()) ++i;  // the text, whatever it looks like
    while (i < args.size() && !ParseLateOption(args[i])) ++i;
    AlarmEntry e = InterpretOneAlarm(args.subspan(start, i - start));
    if (i < args.size()) e.lateMinutes = *ParseLateOption(args[i++]);
    // Blanks after the last alarm are no alarm of their own.
    if (d.alarms.empty() || e.timeGiven || !e.text.empty()) d.alarms.push_back(std::move(e));
  } while (i < args.size());

  if (d.alarms.size() == 1) {
    const AlarmEntry& e = d.alarms.front();
    d.time = e.time;
    d.timeGiven = e.timeGiven;
    d.textGiven = !e.text.empty();
    d.text = d.textGiven ? CutWithEllipsis(e.text, kAlarmTextMaxUnits) : std::u16string(kAlarmNoText);
    d.caption = kAlarmCaption;
    if (d.timeGiven) d.caption += u" " + d.time;
    if (e.lateMinutes > 0) {
      d.caption += u"（" + LatenessText(e.lateMinutes) + u"遅れ）";
      d.note = LateNote(e.lateMinutes);
    }
    return d;
  }

  d.time = Number(static_cast<long>(d.alarms.size())) + u"件のアラーム";
  d.timeGiven = true;
  d.textGiven = true;
  d.caption = std::u16string(kAlarmCaption) + u" " + Number(static_cast<long>(d.alarms.size())) + u"件";
  bool late = false;
  for (std::size_t n = 0; n < d.alarms.size(); ++n) {
    const AlarmEntry& e = d.alarms[n];
    late = late || e.lateMinutes > 0;
    if (n >= kAlarmListMaxLines) continue;
    if (n > 0) d.text += u"\r\n";
    d.text += e.time + u" " + (e.text.empty() ? std::u16string(kAlarmNoText) : CutWithEllipsis(e.text, kAlarmListTextMaxUnits));
    if (e.lateMinutes > 0) d.text += u"（" + LatenessText(e.lateMinutes) + u"遅れ）";
  }
  if (d.alarms.size() > kAlarmListMaxLines) {
    d.text += u"\r\nほか" + Number(static_cast<long>(d.alarms.size() - kAlarmListMaxLines)) + u"件";
  }
  if (late) d.note = kAlarmSeveralNote;
  return d;
}

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  std::vector<std::u16string> args;
  std::size_t i = 0;
  std::u16string arg;
  if (i < line.size() && line[i] == u'"') {
    for (++i; i < line.size() && line[i] != u'"'; ++i) arg += line[i];
    if (i < line.size()) ++i;
  } else {
    for (; i < line.size() && !blank(line[i]); ++i) arg += line[i];
  }
  args.push_back(std::move(arg));
  while (i < line.size() && blank(line[i])) ++i;
  if (i == line.size()) return args;

  arg.clear();
  int quotes = 0;  // odd inside quotes; a third quote in a row is a quote character
  std::size_t backslashes = 0;
  while (i < line.size()) {
    const char16_t c = line[i];
    if (blank(c) && quotes == 0) {
      args.push_back(std::move(arg));
      arg.clear();
      backslashes = 0;
      while (i < line.size() && blank(line[i])) ++i;
      if (i == line.size()) return args;
    } else if (c == u'\\') {
      arg += c;
      ++backslashes;
      ++i;
    } else if (c == u'"') {
      if (backslashes % 2 == 0) {
        arg.resize(arg.size() - backslashes / 2);
        ++quotes;
      } else {
        arg.resize(arg.size() - backslashes / 2 - 1);
        arg += u'"';
      }
      backslashes = 0;
      for (++i; i < line.size() && line[i] == u'"'; ++i) {
        if (++quotes == 3) {
          arg += u'"';
          quotes = 0;
        }
      }
      if (quotes == 2) quotes = 0;
    } else {
      arg += c;
      backslashes = 0;
      ++i;
    }
  }
  args.push_back(std::move(arg));
  return args;
}

bool LooksLikeWave(std::string_view head) {
  return head.size() >= 12 && head.substr(0, 4) == "RIFF" && head.substr(8, 4) == "WAVE";
}

}  // namespace lq
