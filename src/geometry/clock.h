#pragma once
// The clock over the header of the text column: which pattern fits the room, where its two
// labels go, and the date-time patterns themselves.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "geometry/layout.h"
#include "store/datetext.h"

namespace lq {

// Formats a date-time pattern: yyyy, mm (month), dd, aaa (the one-character Japanese weekday),
// hh, nn (minutes), ss, and "quoted" literal text; any other character stands for itself.
std::string FormatClock(std::string_view pattern, const DateTime& t);

// A short text in a fixed buffer, so that the 100 ms timer formats and compares its texts
// without allocating. A piece that does not fit whole is left out, so a double-byte
// character is never cut.
template <std::size_t N>
class FixedText {
 public:
  static constexpr std::size_t kCapacity = N;
  std::string_view View() const { return {bytes_.data(), size_}; }
  bool Empty() const { return size_ == 0; }
  void Clear() { size_ = 0; }
  void Append(std::string_view s) {
    if (s.size() > N - size_) return;
    for (const char c : s) bytes_[size_++] = c;
  }
  void Assign(std::string_view s) {
    Clear();
    Append(s);
  }
  friend bool operator==(const FixedText& a, const FixedText& b) { return a.View() == b.View(); }

 private:
  std::array<char, N> bytes_{};
  std::size_t size_ = 0;
};

// Room for every clock pattern of FitClock with ":ss" (24 bytes at most) and then some.
using ClockText = FixedText<48>;

// FormatClock appending to a fixed buffer; allocates nothing.
void AppendClock(ClockText& out, std::string_view pattern, const DateTime& t);

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
