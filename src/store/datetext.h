#pragma once
// Calendar dates, local date-times and their text forms: the 14-byte due date
// "yyyy/mm/dd(aaa)" with its one-character Japanese weekday, and the 17-digit stamp
// "yyyymmddhhnnsszzz".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lq {

struct Date {
  int year = 1;
  int month = 1;
  int day = 1;
  friend bool operator==(const Date&, const Date&) = default;
};

struct DateTime {
  Date date;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

bool IsValidDate(int year, int month, int day);  // years 1 to 9999
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // month 1 to 12
std::int64_t DayNumber(Date d);                 // days since 1970-01-01
Date DateFromDayNumber(std::int64_t n);
int DayOfWeek(Date d);  // 0 Sunday … 6 Saturday
Date AddDays(Date d, int days);

// A minute of the local clock counted from 1970-01-01 00:00, so that the same hh:nn of two
// days are two minutes and a jump of the clock is a difference.
using MinuteNumber = std::int64_t;
inline constexpr MinuteNumber kMinutesPerDay = 24 * 60;
MinuteNumber MinuteNumberOf(const DateTime& t);
inline MinuteNumber MinuteNumberOf(Date d, int hour, int minute) {
  return DayNumber(d) * kMinutesPerDay + hour * 60 + minute;
}

// The one-character weekday name, two bytes of code page 932 (日 月 火 水 木 金 土).
std::string_view WeekdayName(int dayOfWeek);

// "yyyy/mm/dd(aaa)", always 14 bytes.
std::string FormatDueDate(Date d);
// "yyyymmddhhnnsszzz", always 17 digits.
std::string FormatStamp(const DateTime& t);

// The date in bytes 1-4 (year), 6-7 (month) and 9-10 (day); bytes 5, 8 and after 10 are not
// examined. Empty when the digits do not form a valid calendar date.
std::optional<Date> ParseDateText(std::string_view text);

// Whole days from today to the due date; empty when the text holds no valid date.
std::optional<std::int64_t> DaysLeftValue(std::string_view dueDate, Date today);
// The same as decimal text ("-1", "0", "12"); empty optional for an invalid date.
std::optional<std::string> DaysLeft(std::string_view dueDate, Date today);

}  // namespace lq
