#include "geometry/clock.h"

#include <algorithm>
#include <initializer_list>

#include "store/text.h"

namespace lq {
namespace {

// Shared by the string and the fixed-buffer forms; `out` only needs Append(string_view).
template <typename Out>
void Two(Out& out, int v) {
  const char digits[2] = {static_cast<char>('0' + (v / 10) % 10), static_cast<char>('0' + v % 10)};
  out.Append(std::string_view(digits, 2));
}

struct StringOut {
  std::string& s;
  void Append(std::string_view piece) { s.append(piece); }
};

template <typename Out>
void FormatClockTo(Out& out, std::string_view p, const DateTime& t) {
  for (std::size_t i = 0; i < p.size();) {
    const std::string_view rest = p.substr(i);
    if (rest.starts_with("yyyy")) {
      Two(out, t.date.year / 100);
      Two(out, t.date.year % 100);
      i += 4;
    } else if (rest.starts_with("aaa")) {
      out.Append(WeekdayName(DayOfWeek(t.date)));
      i += 3;
    } else if (rest.starts_with("mm")) {
      Two(out, t.date.month);
      i += 2;
    } else if (rest.starts_with("dd")) {
      Two(out, t.date.day);
      i += 2;
    } else if (rest.starts_with("hh")) {
      Two(out, t.hour);
      i += 2;
    } else if (rest.starts_with("nn")) {
      Two(out, t.minute);
      i += 2;
    } else if (rest.starts_with("ss")) {
      Two(out, t.second);
      i += 2;
    } else if (rest[0] == '"') {
      const std::size_t close = p.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? p.size() : close;
      out.Append(p.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      // A double-byte character whole, so its second byte is never read as a pattern letter.
      const std::size_t n = IsLeadByte(static_cast<unsigned char>(rest[0])) && rest.size() > 1 ? 2 : 1;
      out.Append(rest.substr(0, n));
      i += n;
    }
  }
}

struct Candidate {
  int width;
  std::string_view format;
  bool seconds;
};

}  // namespace

std::string FormatClock(std::string_view p, const DateTime& t) {
  std::string s;
  StringOut out{s};
  FormatClockTo(out, p, t);
  return s;
}

void AppendClock(ClockText& out, std::string_view pattern, const DateTime& t) { FormatClockTo(out, pattern, t); }

ClockLayout FitClock(int lblCalendar, int available, const ClockParts& w, Point cellTopLeft, int headerHeight) {
  ClockLayout layout;
  if (lblCalendar == 0) {
    layout.shown = false;
    return layout;
  }
  const int all = w.year + w.monthDay + w.weekday + w.space + w.hourMinute + w.seconds;
  std::initializer_list<Candidate> dateFirst = {
      {all, kClockFull, true},
      {w.year + w.monthDay + w.weekday + w.space + w.hourMinute, kClockFull, false},
      {w.year + w.monthDay + w.weekday, "yyyy\"/\"mm\"/\"dd(aaa)", false},
      {w.monthDay + w.weekday, "mm\"/\"dd(aaa)", false},
      {w.monthDay, "mm\"/\"dd", false},
  };
  std::initializer_list<Candidate> timeFirst = {
      {all, kClockFull, true},
      {w.monthDay + w.weekday + w.space + w.hourMinute + w.seconds, "mm\"/\"dd(aaa) hh:nn", true},
      {w.monthDay + w.space + w.hourMinute + w.seconds, "mm\"/\"dd hh:nn", true},
      {w.hourMinute + w.seconds, "hh:nn", true},
      {w.hourMinute, "hh:nn", false},
  };
  std::initializer_list<Candidate> onlyFull = {{all, kClockFull, true}};
  const auto& candidates = lblCalendar == 1 ? dateFirst : (lblCalendar == 2 ? timeFirst : onlyFull);

  int width = 0;
  int height = 0;
  std::string_view format = " ";
  for (const Candidate& c : candidates) {
    if (c.width < available) {
      width = c.width;
      height = std::min(w.height, headerHeight);
      format = c.format;
      layout.seconds = c.seconds;
      break;
    }
  }
  layout.format.assign(format.data(), format.size());
  const int left = (available - width) / 2 + cellTopLeft.x;
  const int top = (headerHeight - height) / 2 + cellTopLeft.y;
  layout.main = Rect{left, top, left + width, top + height};
  if (layout.seconds) {
    const int sl = left + width - w.seconds;
    layout.secondsLabel = Rect{sl, top, sl + w.seconds, top + height};
  } else {
    layout.secondsLabel = Rect{left + width - w.seconds, top, left + width - w.seconds, top};
  }
  return layout;
}

}  // namespace lq
