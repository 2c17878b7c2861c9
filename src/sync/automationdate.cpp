#include "sync/automationdate.h"

#include <cmath>
#include <cstdint>

namespace lq {
namespace {

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

std::int64_t Epoch() { return DayNumber(Date{1899, 12, 30}); }

}  // namespace

std::optional<DateTime> FromAutomationDate(double value) {
  if (!std::isfinite(value) || std::fabs(value) > 3'000'000.0) return std::nullopt;
  const double whole = std::trunc(value);
  std::int64_t ms = std::llround(std::fabs(value - whole) * static_cast<double>(kMillisecondsPerDay));
  std::int64_t day = Epoch() + static_cast<std::int64_t>(whole);
  if (ms >= kMillisecondsPerDay) {  // rounded up to the next midnight
    ms -= kMillisecondsPerDay;
    ++day;
  }
  const Date date = DateFromDayNumber(day);
  if (date.year < 1 || date.year > 9999) return std::nullopt;
  DateTime t;
  t.date = date;
  t.hour = static_cast<int>(ms / 3'600'000);
  t.minute = static_cast<int>(ms / 60'000 % 60);
  t.second = static_cast<int>(ms / 1000 % 60);
  t.millisecond = static_cast<int>(ms % 1000);
  return t;
}

double ToAutomationDate(const DateTime& t) {
  const auto days = static_cast<double>(DayNumber(t.date) - Epoch());
  const double time =
      static_cast<double>(((t.hour * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond) /
      static_cast<double>(kMillisecondsPerDay);
  return days >= 0 ? days + time : days - time;
}

bool IsNoDueDate(const DateTime& t) { return t.date == Date{1899, 12, 30} || t.date.year >= 4501; }

}  // namespace lq
