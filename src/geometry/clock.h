#pragma once
// The clock over the header of the text column: which pattern fits the room, where its two
// labels go, and the date-time patterns themselves.

#include <string>
#include <string_view>

#include "geometry/layout.h"
#include "store/datetext.h"

namespace lq {

// Formats a date-time pattern: yyyy, mm (month), dd, aaa (the one-character Japanese weekday),
// hh, nn (minutes), ss, and "quoted" literal text; any other character stands for itself.
std::string FormatClock(std::string_view pattern, const DateTime& t);

inline constexpr std::string_view kClockFull = "yyyy\"/\"mm\"/\"dd(aaa) hh:nn";
inline constexpr std::string_view kClockSeconds = ":ss";

// Text widths of the clock's parts in the labels' font, and the tallest part.
struct ClockParts {
  int year = 0;        // yyyy"/"
  int monthDay = 0;    // mm"/"dd
  int weekday = 0;     // (aaa)
  int space = 0;       // " "
  int hourMinute = 0;  // hh:nn
  int seconds = 0;     // :ss
  int height = 0;
};

struct ClockLayout {
  bool shown = true;           // false with LblCalendar 0: nothing is placed or written
  std::string format;          // the clock format (" " when nothing fits)
  bool seconds = false;        // the seconds label has a size
  Rect main;                   // lblYMDHM, window client coordinates
  Rect secondsLabel;           // lblSecond
};

// Picks the first pattern whose width is below `available` (1 prefers the date, 2 the time)
// and centres the labels over the header cell whose top-left corner is `cellTopLeft`.
ClockLayout FitClock(int lblCalendar, int available, const ClockParts& parts, Point cellTopLeft, int headerHeight);

}  // namespace lq
