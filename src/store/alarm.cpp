#include "store/alarm.h"

#include <algorithm>
#include <array>

#include "store/text.h"

namespace lq {
namespace {

// The first five characters of a text, one or two bytes each; missing ones are empty.
std::array<std::string_view, 5> FirstFiveChars(std::string_view t) {
  std::array<std::string_view, 5> c{};
  std::size_t i = 0;
  for (std::string_view& ch : c) {
    if (i >= t.size()) break;
    const std::size_t n = (IsLeadByte(static_cast<unsigned char>(t[i])) && i + 1 < t.size()) ? 2 : 1;
    ch = t.substr(i, n);
    i += n;
  }
  return c;
}

// The day a minute number lies on, rounding down also before 1970.
MinuteNumber DayOf(MinuteNumber m) { return (m >= 0 ? m : m - kMinutesPerDay + 1) / kMinutesPerDay; }

bool IsDigit(std::string_view c) { return c.size() == 1 && c[0] >= '0' && c[0] <= '9'; }
int DigitValue(std::string_view c) { return c[0] - '0'; }

void AppendTwoDigits(std::string& out, int v) {
  out += static_cast<char>('0' + v / 10);
  out += static_cast<char>('0' + v % 10);
}

// Quotes one argument for the Windows command-line rules: backslashes are literal unless a
// quote follows them, so only runs before a quote (an inner one or the closing one) are
// doubled, and an inner quote gets one more backslash.
void AppendQuotedArgument(std::string& out, std::string_view arg) {
  out += '"';
  std::size_t backslashes = 0;
  for (std::size_t i = 0; i < arg.size();) {
    const unsigned char b = static_cast<unsigned char>(arg[i]);
    if (IsLeadByte(b) && i + 1 < arg.size() && IsTrailByte(static_cast<unsigned char>(arg[i + 1]))) {
      // One character after conversion, never a backslash or quote, whatever its second byte.
      out.append(arg.substr(i, 2));
      backslashes = 0;
      i += 2;
      continue;
    }
    if (b == '"') {
      out.append(backslashes + 1, '\\');
      backslashes = 0;
    } else if (b == '\\') {
      ++backslashes;
    } else {
      backslashes = 0;
    }
    out += static_cast<char>(b);
    ++i;
  }
  out.append(backslashes, '\\');
  out += '"';
}

}  // namespace

std::string SetFlagText(std::string_view flags, std::size_t position, std::string_view text) {
  if (position < 1) position = 1;
  std::string f(flags);
  const std::size_t end = position + text.size();  // one past the last written position
  if (f.size() < end) f.append(end - f.size() - 1, '-');
  std::string result = f.substr(0, position - 1);
  result += text;
  if (end - 1 < f.size()) result += f.substr(end - 1);
  // A double-byte character written over in part loses its other byte to the pad as well: a
  // second byte left alone could be a "|" (of ポ) and end the flags field in the task file.
  const std::size_t from = position - 1;
  const std::size_t to = from + text.size();
  for (std::size_t i = 0; i < flags.size(); i += CharBytes(flags, i)) {
    if (CharBytes(flags, i) != 2) continue;
    const bool firstWritten = i >= from && i < to;
    const bool secondWritten = i + 1 >= from && i + 1 < to;
    if (firstWritten != secondWritten) result[firstWritten ? i + 1 : i] = '-';
  }
  return result;
}

std::string ParseAlarmTime(std::string_view text) {
  const auto c = FirstFiveChars(text);
  if (!IsDigit(c[0])) return {};
  int hour = DigitValue(c[0]);
  std::size_t consumed = 1;
  std::string_view m1;
  std::string_view m2;
  if (c[1] == ":") {
    consumed = 2;
    m1 = c[2];
    m2 = c[3];
  } else if (IsDigit(c[1])) {
    hour = hour * 10 + DigitValue(c[1]);
    consumed = 2;
    if (c[2] == ":") {
      consumed = 3;
      m1 = c[3];
      m2 = c[4];
    } else {
      m1 = c[2];
      m2 = c[3];
    }
  } else {
    return {};
  }
  if (hour > 23 || !IsDigit(m1) || !IsDigit(m2)) return {};
  const int minute = DigitValue(m1) * 10 + DigitValue(m2);
  if (minute > 59) return {};
  // Every character taken so far is one byte, so `consumed` counts bytes as well.
  consumed += 2;

  std::string out;
  out.reserve(text.size() + 3);
  AppendTwoDigits(out, hour);
  out += ':';
  AppendTwoDigits(out, minute);
  if (consumed >= text.size() || text[consumed] != ' ') out += ' ';
  out.append(BytesFrom(text, consumed + 1));
  return out;
}

void AlarmRowsToRing(const TaskTable& table, std::string_view minute, std::vector<int>& rows) {
  rows.clear();
  const int count = table.RowCount();
  // The table is sorted by due date, so the overdue rows come first; done marks and other
  // non-numbers are passed over with them.
  int r = 1;
  while (r < count && ParseInt32(table.Cell(colDaysLeft, r)).value_or(-1) < 0) ++r;
  // Today's block. Done rows sorted among or right after it read as 0 and are walked over.
  for (; r < count && ParseInt32(table.Cell(colDaysLeft, r)).value_or(0) == 0; ++r) {
    const RowView row = table.Row(r);
    if (IsDoneMark(row[colDaysLeft])) continue;
    if (row[colFlags].empty() || row[colFlags][0] != 'A') continue;
    if (TakeChars(row[colText], 5) != minute) continue;
    rows.push_back(r);
  }
}

bool ExaminedMinutes::Contains(MinuteNumber m) const {
  for (std::size_t i = 0; i < count_; ++i) {
    if (m >= spans_[i].from && m <= spans_[i].to) return true;
  }
  return false;
}

void ExaminedMinutes::Add(MinuteNumber from, MinuteNumber to) {
  // Every span the new one touches or adjoins becomes part of it.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < count_; ++i) {
    const Span s = spans_[i];
    if (s.to + 1 >= from && s.from <= to + 1) {
      from = std::min(from, s.from);
      to = std::max(to, s.to);
    } else {
      spans_[kept++] = s;
    }
  }
  count_ = kept;
  if (count_ == spans_.size()) {
    std::size_t first = 0;
    for (std::size_t i = 1; i < count_; ++i) {
      if (spans_[i].to < spans_[first].to) first = i;
    }
    spans_[first] = spans_[--count_];
  }
  spans_[count_++] = Span{from, to};
}

AlarmPass NextAlarmPass(std::optional<MinuteNumber>& lastCheck, ExaminedMinutes& examined, MinuteNumber now) {
  AlarmPass pass;
  pass.now = now;
  pass.previous = lastCheck.value_or(now - 1);
  pass.examined = examined;
  MinuteNumber from = now;
  if (pass.Jumped() && now - pass.previous <= kLateRingLimit) {
    from = std::max(pass.previous + 1, DayOf(now) * kMinutesPerDay);
  }
  examined.Add(from, now);
  lastCheck = now;
  return pass;
}

AlarmDue WhenAlarmRings(const AlarmPass& pass, MinuteNumber alarmMinute) {
  if (alarmMinute > pass.now || pass.examined.Contains(alarmMinute)) return AlarmDue::No;
  if (alarmMinute == pass.now) return AlarmDue::OnTime;
  if (alarmMinute <= pass.previous) return AlarmDue::No;
  const bool sameDay = DayOf(alarmMinute) == DayOf(pass.now);
  return sameDay && pass.now - pass.previous <= kLateRingLimit ? AlarmDue::Late : AlarmDue::Missed;
}

std::optional<MinuteNumber> AlarmMinuteOf(const RowView& row) {
  if (IsDoneMark(row[colDaysLeft]) || row[colFlags].empty() || row[colFlags][0] != 'A') return std::nullopt;
  // The time as the alarm check compares it: the text's first five bytes, "hh:nn".
  const std::string_view t = row[colText];
  if (t.size() < 5 || t[2] != ':') return std::nullopt;
  for (const std::size_t i : {0u, 1u, 3u, 4u}) {
    if (t[i] < '0' || t[i] > '9') return std::nullopt;
  }
  const int hour = (t[0] - '0') * 10 + (t[1] - '0');
  const int minute = (t[3] - '0') * 10 + (t[4] - '0');
  if (hour > 23 || minute > 59) return std::nullopt;
  const auto date = ParseDateText(row[colDueDate]);
  if (!date) return std::nullopt;
  return MinuteNumberOf(*date, hour, minute);
}

void AlarmsOfPass(const TaskTable& table, const AlarmPass& pass, std::vector<DueAlarm>& alarms) {
  alarms.clear();
  for (int r = 1; r < table.RowCount(); ++r) {
    const auto minute = AlarmMinuteOf(table.Row(r));
    if (!minute) continue;
    const AlarmDue due = WhenAlarmRings(pass, *minute);
    if (due != AlarmDue::No) alarms.push_back(DueAlarm{r, *minute, due});
  }
  std::stable_sort(alarms.begin(), alarms.end(),
                   [](const DueAlarm& a, const DueAlarm& b) { return a.minute < b.minute; });
}

std::string AlarmTaskText(std::string_view text) {
  std::string b(BytesFrom(text, 6));
  // A double quote byte is never the second byte of a double-byte character.
  for (char& ch : b) {
    if (ch == '"') ch = '\'';
  }
  return b;
}

std::string CommandLineSafe(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b == 0) {
      out += ' ';
    } else if (!IsLeadByte(b)) {
      out += static_cast<char>(b);
    } else if (i + 1 < text.size() && IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
      out.append(text.substr(i, 2));
      ++i;
    } else {
      out += '?';
    }
  }
  return out;
}

std::string AlarmParameters(std::string_view minute, std::string_view taskText) {
  std::string p;
  p.reserve(minute.size() + taskText.size() + 8);
  AppendQuotedArgument(p, CommandLineSafe(minute));
  p += ' ';
  AppendQuotedArgument(p, CommandLineSafe(taskText));
  return p;
}

std::string AlarmParameters(std::span<const AlarmCall> alarms) {
  std::string p;
  for (const AlarmCall& a : alarms) {
    if (!p.empty()) p += ' ';
    p += AlarmParameters(a.minute, a.taskText);
    if (a.lateMinutes > 0 || alarms.size() > 1) {
      p += ' ';
      p += kAlarmLateOption;
      p += std::to_string(std::max<MinuteNumber>(a.lateMinutes, 0));
    }
  }
  return p;
}

bool StillRings(const TaskTable& table, const AlarmCall& alarm) {
  if (alarm.row < 1 || alarm.row >= table.RowCount()) return false;
  const RowView row = table.Row(alarm.row);
  return !IsDoneMark(row[colDaysLeft]) && !row[colFlags].empty() && row[colFlags][0] == 'A' &&
         TakeChars(row[colText], 5) == alarm.minute;
}

std::vector<std::vector<AlarmCall>> GroupLateAlarms(std::vector<AlarmCall> late) {
  std::vector<std::vector<AlarmCall>> groups;
  const std::size_t size = late.size() <= kFewAlarms ? 1 : kAlarmsPerWindow;
  for (std::size_t i = 0; i < late.size(); i += size) {
    const auto end = late.begin() + static_cast<std::ptrdiff_t>(std::min(late.size(), i + size));
    groups.emplace_back(std::make_move_iterator(late.begin() + static_cast<std::ptrdiff_t>(i)),
                        std::make_move_iterator(end));
  }
  return groups;
}

AlarmPlan PlanAlarmCheck(const TaskTable& table, std::string_view minute, const AlarmPass& pass, std::vector<int>& rows,
                         std::vector<DueAlarm>& due) {
  AlarmPlan plan;
  if (!pass.Jumped()) {
    // The usual next minute, unless the clock went back to one examined before.
    if (WhenAlarmRings(pass, pass.now) != AlarmDue::OnTime) return plan;
    AlarmRowsToRing(table, minute, rows);
    for (const int row : rows) {
      plan.starts.push_back({AlarmCall{row, std::string(minute), AlarmTaskText(table.Cell(colText, row)), 0}});
    }
    return plan;
  }
  // The clock jumped: what fell in between rings late, or is listed when it cannot.
  AlarmsOfPass(table, pass, due);
  std::vector<AlarmCall> late;
  for (const DueAlarm& a : due) {
    const std::string_view text = table.Cell(colText, a.row);
    AlarmCall call{a.row, std::string(TakeChars(text, 5)), AlarmTaskText(text), pass.now - a.minute};
    if (a.due == AlarmDue::OnTime) plan.starts.push_back({std::move(call)});
    if (a.due == AlarmDue::Late) late.push_back(std::move(call));
    if (a.due == AlarmDue::Missed) plan.missed.push_back(a);
  }
  for (std::vector<AlarmCall>& group : GroupLateAlarms(std::move(late))) plan.starts.push_back(std::move(group));
  return plan;
}

std::string MissedAlarmsMessage(const TaskTable& table, std::span<const DueAlarm> missed) {
  if (missed.empty()) return {};
  // 次のアラームは時刻を過ぎていたため鳴らしていません。
  std::string m =
      "\x8E\x9F\x82\xCC\x83\x41\x83\x89\x81\x5B\x83\x80\x82\xCD\x8E\x9E\x8D\x8F\x82\xF0\x89\xDF\x82\xAC\x82\xC4"
      "\x82\xA2\x82\xBD\x82\xBD\x82\xDF\x96\xC2\x82\xE7\x82\xB5\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1\x81\x42\r\n";
  // (12時間を超えて時計が進んだか、前日以前の予定です)
  m += "(12\x8E\x9E\x8A\xD4\x82\xF0\x92\xB4\x82\xA6\x82\xC4\x8E\x9E\x8C\x76\x82\xAA\x90\x69\x82\xF1\x82\xBE\x82\xA9"
       "\x81\x41\x91\x4F\x93\xFA\x88\xC8\x91\x4F\x82\xCC\x97\x5C\x92\xE8\x82\xC5\x82\xB7)\r\n";
  for (std::size_t i = 0; i < missed.size() && i < kMissedListed; ++i) {
    const RowView row = table.Row(missed[i].row);
    m.append("\r\n").append(row[colDueDate]).append(" ").append(row[colText]);
  }
  if (missed.size() > kMissedListed) {
    m += "\r\n\x82\xD9\x82\xA9";  // ほか
    m += std::to_string(missed.size() - kMissedListed);
    m += "\x8C\x8F";  // 件
  }
  return m;
}

std::string_view AlarmErrorExplanation(int code) {
  switch (code) {
    case 0:  // 0(システムに､ メモリまたはリソースが足りません)
      return "0(\x83\x56\x83\x58\x83\x65\x83\x80\x82\xC9\xA4 \x83\x81\x83\x82\x83\x8A\x82\xDC\x82\xBD\x82\xCD"
             "\x83\x8A\x83\x5C\x81\x5B\x83\x58\x82\xAA\x91\xAB\x82\xE8\x82\xDC\x82\xB9\x82\xF1)";
    case 2:  // ERROR_FILE_NOT_FOUND(指定されたファイルが見つかりませんでした)
      return "ERROR_FILE_NOT_FOUND(\x8E\x77\x92\xE8\x82\xB3\x82\xEA\x82\xBD\x83\x74\x83\x40\x83\x43\x83\x8B"
             "\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD)";
    case 3:  // ERROR_PATH_NOT_FOUND(指定されたパスが見つかりませんでした)
      return "ERROR_PATH_NOT_FOUND(\x8E\x77\x92\xE8\x82\xB3\x82\xEA\x82\xBD\x83\x70\x83\x58\x82\xAA\x8C\xA9"
             "\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD)";
    case 11:  // ERROR_BAD_FORMAT(.EXEファイルが無効です (Win32 .EXEではないか､ .EXEイメージ内のエラーです))
      return "ERROR_BAD_FORMAT(.EXE\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x96\xB3\x8C\xF8\x82\xC5\x82\xB7 "
             "(Win32 .EXE\x82\xC5\x82\xCD\x82\xC8\x82\xA2\x82\xA9\xA4 .EXE\x83\x43\x83\x81\x81\x5B\x83\x57\x93\xE0"
             "\x82\xCC\x83\x47\x83\x89\x81\x5B\x82\xC5\x82\xB7))";
    case 26:  // SE_ERR_SHARE(共有違反が発生しました)
      return "SE_ERR_SHARE(\x8B\xA4\x97\x4C\x88\xE1\x94\xBD\x82\xAA\x94\xAD\x90\xB6\x82\xB5\x82\xDC\x82\xB5\x82\xBD)";
    case 27:  // SE_ERR_ASSOCINCOMPLETE(ファイル名の関連付けが不完全､ または無効です)
      return "SE_ERR_ASSOCINCOMPLETE(\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC\x82\xCC\x8A\xD6\x98\x41\x95\x74"
             "\x82\xAF\x82\xAA\x95\x73\x8A\xAE\x91\x53\xA4 \x82\xDC\x82\xBD\x82\xCD\x96\xB3\x8C\xF8\x82\xC5\x82\xB7)";
    case 28:  // SE_ERR_DDETIMEOUT(要求タイムアウトのためにDDEトランザクションを完了できませんでした)
      return "SE_ERR_DDETIMEOUT(\x97\x76\x8B\x81\x83\x5E\x83\x43\x83\x80\x83\x41\x83\x45\x83\x67\x82\xCC\x82\xBD"
             "\x82\xDF\x82\xC9"
             "DDE\x83\x67\x83\x89\x83\x93\x83\x55\x83\x4E\x83\x56\x83\x87\x83\x93\x82\xF0\x8A\xAE\x97\xB9\x82\xC5"
             "\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD)";
    case 29:  // SE_ERR_DDEFAIL(DDEトランザクションが失敗しました)
      return "SE_ERR_DDEFAIL(DDE\x83\x67\x83\x89\x83\x93\x83\x55\x83\x4E\x83\x56\x83\x87\x83\x93\x82\xAA\x8E\xB8"
             "\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD)";
    case 30:  // SE_ERR_DDEBUSY(ほかのDDEトランザクションが処理されているために､ DDEトランザクションを完了できませんでした)
      return "SE_ERR_DDEBUSY(\x82\xD9\x82\xA9\x82\xCC"
             "DDE\x83\x67\x83\x89\x83\x93\x83\x55\x83\x4E\x83\x56\x83\x87\x83\x93\x82\xAA\x8F\x88\x97\x9D\x82\xB3"
             "\x82\xEA\x82\xC4\x82\xA2\x82\xE9\x82\xBD\x82\xDF\x82\xC9\xA4 "
             "DDE\x83\x67\x83\x89\x83\x93\x83\x55\x83\x4E\x83\x56\x83\x87\x83\x93\x82\xF0\x8A\xAE\x97\xB9\x82\xC5"
             "\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD)";
    case 31:  // SE_ERR_NOASSOC(指定されたファイル名拡張子には､ アプリケーションが関連付けられていません)
      return "SE_ERR_NOASSOC(\x8E\x77\x92\xE8\x82\xB3\x82\xEA\x82\xBD\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC"
             "\x8A\x67\x92\xA3\x8E\x71\x82\xC9\x82\xCD\xA4 \x83\x41\x83\x76\x83\x8A\x83\x50\x81\x5B\x83\x56\x83\x87"
             "\x83\x93\x82\xAA\x8A\xD6\x98\x41\x95\x74\x82\xAF\x82\xE7\x82\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1)";
    default:
      return {};
  }
}

std::string AlarmErrorMessage(std::string_view minute, std::string_view taskText, int code) {
  const AlarmCall one{0, std::string(minute), std::string(taskText), 0};
  return AlarmErrorMessage(std::span<const AlarmCall>(&one, 1), code);
}

std::string AlarmErrorMessage(std::span<const AlarmCall> alarms, int code) {
  const std::string_view explanation = AlarmErrorExplanation(code);
  if (explanation.empty()) return {};
  std::string m;
  for (const AlarmCall& a : alarms) m.append(a.minute).append(" ").append(a.taskText).append("\r\n");
  // のアラーム鳴動時にエラーが発生しました。
  m += "\x82\xCC\x83\x41\x83\x89\x81\x5B\x83\x80\x96\xC2\x93\xAE\x8E\x9E\x82\xC9\x83\x47\x83\x89\x81\x5B\x82\xAA"
       "\x94\xAD\x90\xB6\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\r\n";
  m += "\x83\x52\x81\x5B\x83\x68";  // コード
  m += std::to_string(code);
  m += "\x81\x46";  // ：
  m += explanation;
  return m;
}

}  // namespace lq
