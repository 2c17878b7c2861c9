#include "store/datetext.h"

#include <array>

namespace lq {
bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[static_cast<std::size_t>(m - 1)];
}

namespace {

void PutDigits(std::string& out, int value, int width) {
  char buf[8];
  for (int i = width - 1; i >= 0; --i) {
    buf[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  out.append(buf, static_cast<std::size_t>(width));
}

std::optional<int> Digits(std::string_view text, std::size_t pos, std::size_t count) {
  if (pos + count > text.size()) return std::nullopt;
  int v = 0;
  for (std::size_t i = pos; i < pos + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    v = v * 10 + (text[i] - '0');
  }
  return v;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

// Howard Hinnant's days-from-civil algorithm.
std::int64_t DayNumber(Date d) {
  const std::int64_t y = d.year - (d.month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t mp = (d.month + 9) % 12;
  const std::int64_t doy = (153 * mp + 2) / 5 + d.day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

MinuteNumber MinuteNumberOf(const DateTime& t) { return MinuteNumberOf(t.date, t.hour, t.minute); }

Date DateFromDayNumber(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  return Date{year, month, day};
}

int DayOfWeek(Date d) {
  const std::int64_t n = DayNumber(d);  // 1970-01-01 was a Thursday
  return static_cast<int>(((n % 7) + 7 + 4) % 7);
}

Date AddDays(Date d, int days) { return DateFromDayNumber(DayNumber(d) + days); }

std::string_view WeekdayName(int dayOfWeek) {
  static constexpr std::array<std::string_view, 7> kNames{
      "\x93\xFA",  // 日
      "\x8C\x8E",  // 月
      "\x89\xCE",  // 火
      "\x90\x85",  // 水
      "\x96\xD8",  // 木
      "\x8B\xE0",  // 金
      "\x93\x79",  // 土
  };
  return kNames[static_cast<std::size_t>(((dayOfWeek % 7) + 7) % 7)];
}

std::string FormatDueDate(Date d) {
  std::string s;
  s.reserve(14);
  PutDigits(s, d.year, 4);
  s += '/';
  PutDigits(s, d.month, 2);
  s += '/';
  PutDigits(s, d.day, 2);
  s += '(';
  s += WeekdayName(DayOfWeek(d));
  s += ')';
  return s;
}

std::string FormatStamp(const DateTime& t) {
  std::string s;
  s.reserve(17);
  PutDigits(s, t.date.year, 4);
  PutDigits(s, t.date.month, 2);
  PutDigits(s, t.date.day, 2);
  PutDigits(s, t.hour, 2);
  PutDigits(s, t.minute, 2);
  PutDigits(s, t.second, 2);
  PutDigits(s, t.millisecond, 3);
  return s;
}

std::optional<Date> ParseDateText(std::string_view text) {
  const auto y = Digits(text, 0, 4);
  const auto m = Digits(text, 5, 2);
  const auto d = Digits(text, 8, 2);
  if (!y || !m || !d || !IsValidDate(*y, *m, *d)) return std::nullopt;
  return Date{*y, *m, *d};
}

std::optional<std::int64_t> DaysLeftValue(std::string_view dueDate, Date today) {
  const auto due = ParseDateText(dueDate);
  if (!due) return std::nullopt;
  return DayNumber(*due) - DayNumber(today);
}

std::optional<std::string> DaysLeft(std::string_view dueDate, Date today) {
  const auto v = DaysLeftValue(dueDate, today);
  if (!v) return std::nullopt;
  return std::to_string(*v);
}

}  // namespace lq
