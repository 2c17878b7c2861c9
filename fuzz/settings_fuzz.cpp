// The settings load and the window placement: any settings file gives values the settings
// dialog could have written, and a window that fits the work area and can be reached on the
// screen; the position written back at the end reads back the same.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "geometry/layout.h"
#include "settings/settings.h"
#include "settings/textforms.h"
#include "settings/winposition.h"
#include "store/text.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// An INI file as the profile functions read it: sections and keys without regard to case, the
// first occurrence counts, blanks around names and values dropped, values cut at 2,047 bytes.
class IniText final : public lq::Profile {
 public:
  explicit IniText(std::string_view bytes) {
    std::string section;
    std::size_t start = 0;
    while (start <= bytes.size()) {
      std::size_t end = bytes.find_first_of("\r\n", start);
      if (end == std::string_view::npos) end = bytes.size();
      const std::string_view line = lq::TrimBlanks(bytes.substr(start, end - start));
      start = end + 1;
      if (line.empty()) continue;
      if (line.front() == '[') {
        const std::size_t close = line.find(']');
        section = Lower(lq::TrimBlanks(line.substr(1, close == std::string_view::npos ? line.size() : close - 1)));
        continue;
      }
      const std::size_t eq = line.find('=');
      if (eq == std::string_view::npos) continue;
      values_.emplace(std::make_pair(section, Lower(lq::TrimBlanks(line.substr(0, eq)))),
                      std::string(lq::TrimBlanks(line.substr(eq + 1))));
    }
  }
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const override {
    const auto it = values_.find({Lower(section), Lower(key)});
    const std::string value = it == values_.end() ? std::string(def) : it->second;
    return value.substr(0, std::min<std::size_t>(value.size(), lq::kMaxValueBytes));
  }
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override {
    values_[{Lower(section), Lower(key)}] = std::string(value);
    return true;
  }

 private:
  std::map<std::pair<std::string, std::string>, std::string> values_;
};

std::uint32_t SystemColor(int index) { return 0x00010203u * static_cast<std::uint32_t>(index & 0x3F); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t length) {
  IniText ini(std::string_view(reinterpret_cast<const char*>(data), length));

  const lq::Settings s = lq::LoadSettings(ini, SystemColor);
  Check(s.EditMode >= 0 && s.EditMode <= 90 && s.ViewMode >= 0 && s.ViewMode <= 90);
  Check(s.EditAlpha >= 25 && s.ViewAlpha >= 25);
  Check(s.RowHeight >= 12 && s.RowHeight <= 48);
  Check(s.HintStart >= 100 && s.HintStart <= 30000 && s.HintTerm >= 100 && s.HintTerm <= 30000);
  Check(s.DateFormat >= 0 && s.DateFormat <= 2 && s.LblCalendar >= 0 && s.LblCalendar <= 2);
  for (const lq::ClassStyle& c : s.Classes) {
    Check(c.FontSize >= lq::kFontSizeRange.min && c.FontSize <= lq::kFontSizeRange.max);
  }

  const lq::Rect primary{0, 0, 1280, 800};
  const lq::Rect work{0, 0, 1280, 770};
  const std::vector<lq::Rect> monitors{primary, lq::Rect{-1920, -200, 0, 880}};
  const lq::WindowPosition stored = lq::ReadWinPosition(ini);
  const lq::Point size = lq::FitWindowSize(stored.width, stored.height, work);
  Check(size.x > 0 && size.y > 0 && size.x <= work.Width() && size.y <= work.Height());
  const lq::Point at = lq::PlaceMainWindow({stored.x, stored.y, size.x, size.y}, primary, monitors);
  const bool reachable = std::any_of(monitors.begin(), monitors.end(), [&](const lq::Rect& m) {
    return std::int64_t{at.x} + size.x >= m.left && at.x <= m.right && at.y >= m.top && at.y <= m.bottom - 32;
  });
  Check(reachable);

  // The rows of that window, as the first showing lays them out.
  const int height = std::max(size.y, lq::MinimumHeight(s.RowHeight));
  Check(lq::SnapHeightToRows(height, s.RowHeight) <= height);
  Check(lq::VisibleRowCount(lq::SnapHeightToRows(height, s.RowHeight) - 8, s.RowHeight) >= 0);

  // What the close writes reads back as the same window.
  IniText after("");
  Check(lq::WriteWinPosition(after, {at.x, at.y, size.x, size.y}));
  const lq::WindowPosition back = lq::ReadWinPosition(after);
  Check(back.x == at.x && back.y == at.y && back.width == size.x && back.height == size.y);
  return 0;
}
