#pragma once
// Automation dates (VT_DATE): days since 1899-12-30 as a double, the fraction being the time of
// day; for days before 1899-12-30 the fraction still counts forward from midnight
// (-1.25 is 1899-12-29 06:00).

#include <optional>

#include "store/datetext.h"

namespace lq {

// Rounded to the millisecond. Empty for a value outside the years 1 to 9999 or not a number.
std::optional<DateTime> FromAutomationDate(double value);
double ToAutomationDate(const DateTime& t);

// A due date that stands for none: Outlook gives 4501-01-01 for a task without one, and an
// empty date value reads as day 0, 1899-12-30.
bool IsNoDueDate(const DateTime& t);

}  // namespace lq
