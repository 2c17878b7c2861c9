#pragma once
// The settings load of the main window as a value: every key it reads, in its order, with the
// few numbers that would break the layout brought into a safe range. The window applies the
// result (fonts, transparency, hot keys, menus); nothing here touches the window.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/colors.h"
#include "settings/keys.h"
#include "store/seams.h"
#include "store/tasktable.h"

namespace lq {

// Font and colours of one urgency class.
struct ClassStyle {
  std::string FontName;
  std::int32_t FontSize = 0;  // points
  ColorValue TextColor = 0;
  ColorValue BackColor = 0;
};

// A default-constructed value is not the defaults: LoadSettings of an empty file gives those.
struct Settings {
  // [Transparent]: percents as read, and the alpha values worked out from them.
  std::int32_t EditModePercent = 0;
  std::int32_t ViewModePercent = 0;
  std::uint8_t EditAlpha = 255;
  std::uint8_t ViewAlpha = 255;
  bool EditNoTransparent = false;
  bool ViewNoTransparent = false;

  // [View]
  bool HideWhenOnMouse = false;
  bool HideWhenOnEdge = false;
  bool TopMost = false;
  std::int32_t RowHeight = 0;
  std::int32_t DateFormat = 0;
  bool ShowDateRow = false;
  bool ShowCountRow = false;
  std::int32_t LblCalendar = 0;

  // [Font]: the defaults of the classes, and the classes indexed by UrgencyClass; every size
  // in kFontSizeRange.
  std::string FontName;
  std::int32_t FontSize = 0;
  std::array<ClassStyle, kUrgencyClassCount> Classes;
  const ClassStyle& Class(UrgencyClass c) const { return Classes[static_cast<std::size_t>(c)]; }

  // [Settings]
  bool DoneDown = false;
  bool DateCursorTurn = false;
  bool SaveOnLostFocus = false;
  bool FinishedDayChange = false;
  std::string IMEName;
  bool IMEOnOff = false;
  // False when IMEName is "(指定しない)": the input-method name is cleared rather than set.
  bool ImeNameChosen() const;

  // [Hint]: milliseconds as read.
  bool HintEnabled = false;
  std::int32_t HintStart = 0;
  std::int32_t HintTerm = 0;
  bool HintFullPath = false;

  // [HotKey]: the four texts as read, and modifier + "+" + key for the registration.
  bool HotKeyEnabled = false;
  std::string ModifyToActivate;
  std::string ToActivate;
  std::string ModifyToVisible;
  std::string ToVisible;
  std::string ActivateShortcut;  // "Ctrl+Alt+Up" by default
  std::string VisibleShortcut;   // "Ctrl+Alt+Down" by default

  // [Sync]
  bool SyncEnabled = false;
};

// Fonts: the dialog offers 6 to 24 points and keeps a size from the file that is not in its
// list (13, say); a hand-edited size beyond them is brought to the nearer end. The window is
// at least as wide as the date columns measured in these fonts, so a huge size would push it
// off the screen, and no row (48 pixels at most) shows more than 24 points anyway.
inline constexpr IntRange kFontSizeRange{6, 24};

// (100 - percent) * 255 div 100, worked out without overflow and kept to a byte, so a
// hand-edited percent outside 0..100 never wraps round to an unexpected transparency.
std::uint8_t AlphaFromPercent(std::int32_t percent);

// Reads every key the main window's settings load reads, in the order it reads them; a
// missing file gives every default. `systemColor` resolves the caption colours for the
// default title background.
Settings LoadSettings(const Profile& profile, SystemColorFn systemColor);

}  // namespace lq
