#pragma once
// The settings load of the main window as a value: every key it reads, with the few numbers
// that would break the layout brought into a safe range. The window applies the
// result (fonts, transparency, hot keys, menus); nothing here touches the window.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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
  // One field per key of the table in keys.h that the load holds, named as its entry: the
  // transparency percents EditMode and ViewMode, RowHeight in pixels, HintStart and HintTerm in
  // milliseconds, [HotKey]'s four texts as read, [Font] Name and Size as the classes' defaults.
#define LQ_LOADED_FIELD(field, section, name, form, defaultText, held, ...) \
  LQ_IF_LOADED(held, ValueOf<TextForm::form> field{};)
  LQ_SETTINGS(LQ_LOADED_FIELD, LQ_NO_GROUP)
#undef LQ_LOADED_FIELD

  // Worked out from them.
  std::uint8_t EditAlpha = 255;
  std::uint8_t ViewAlpha = 255;
  std::string ActivateShortcut;  // modifier + "+" + key for the registration: "Ctrl+Alt+Up" by default
  std::string VisibleShortcut;   // "Ctrl+Alt+Down" by default
  // False when IMEName is "(指定しない)": the input-method name is cleared rather than set.
  bool ImeNameChosen() const;

  // [Font]: the classes indexed by UrgencyClass; every size in kFontSizeRange.
  std::array<ClassStyle, kUrgencyClassCount> Classes;
  const ClassStyle& Class(UrgencyClass c) const { return Classes[static_cast<std::size_t>(c)]; }
};

// (100 - percent) * 255 div 100, worked out without overflow and kept to a byte, so a
// hand-edited percent outside 0..100 never wraps round to an unexpected transparency.
std::uint8_t AlphaFromPercent(std::int32_t percent);

// Reads every key the main window's settings load reads; a missing file gives every default.
// `systemColor` resolves the caption colours for the default title background.
Settings LoadSettings(const Profile& profile, SystemColorFn systemColor);

// The seven classes' fonts and colours, each name and size defaulting to [Font] Name and Size.
std::array<ClassStyle, kUrgencyClassCount> LoadClasses(const Profile& profile, SystemColorFn systemColor,
                                                       std::string_view fontName, std::int32_t fontSize);

}  // namespace lq
