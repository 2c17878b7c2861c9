#include "settings/settings.h"

#include "settings/keys.h"
#include "settings/textforms.h"

namespace lq {

bool Settings::ImeNameChosen() const { return IMEName != kNoImeName; }

std::uint8_t AlphaFromPercent(std::int32_t percent) {
  const std::int64_t alpha = (100 - std::int64_t{percent}) * 255 / 100;
  return static_cast<std::uint8_t>(alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha));
}

Settings LoadSettings(const Profile& profile, SystemColorFn systemColor) {
  Settings s;

  s.EditModePercent = ReadInteger(profile, keys::EditMode);
  s.ViewModePercent = ReadInteger(profile, keys::ViewMode);
  s.EditAlpha = AlphaFromPercent(s.EditModePercent);
  s.ViewAlpha = AlphaFromPercent(s.ViewModePercent);
  s.EditNoTransparent = ReadBoolean(profile, keys::EditNoTransparent);
  s.ViewNoTransparent = ReadBoolean(profile, keys::ViewNoTransparent);

  // Each with its own default, so a file without them gives "never hide" yet HideWhenOnEdge true.
  s.HideWhenOnMouse = ReadBoolean(profile, keys::HideWhenOnMouse);
  s.HideWhenOnEdge = ReadBoolean(profile, keys::HideWhenOnEdge);
  s.TopMost = ReadBoolean(profile, keys::TopMost);

  s.FontName = ReadText(profile, keys::FontName);
  s.FontSize = ReadInteger(profile, keys::FontSize);
  for (std::size_t i = 0; i < s.Classes.size(); ++i) {
    s.Classes[i].FontName = ReadText(profile, keys::Classes[i].name, s.FontName);
  }
  for (std::size_t i = 0; i < s.Classes.size(); ++i) {
    s.Classes[i].FontSize = kFontSizeRange.Clamp(ReadInteger(profile, keys::Classes[i].size, s.FontSize));
  }
  s.FontSize = kFontSizeRange.Clamp(s.FontSize);
  for (std::size_t i = 0; i < s.Classes.size(); ++i) {
    s.Classes[i].TextColor = ReadColor(profile, keys::Classes[i].textColor);
  }
  for (std::size_t i = 0; i < s.Classes.size(); ++i) {
    const SettingKey& key = keys::Classes[i].backColor;
    s.Classes[i].BackColor =
        key.defaultFrom == DefaultFrom::TitleBackground
            ? ReadColor(profile, key,
                        MixColors(SystemColor(kColorActiveCaption), SystemColor(kColorGradientActiveCaption),
                                  systemColor))
            : ReadColor(profile, key);
  }

  s.DoneDown = ReadBoolean(profile, keys::DoneDown);
  s.RowHeight = ReadInteger(profile, keys::RowHeight);

  s.HintEnabled = ReadBoolean(profile, keys::HintEnabled);
  s.HintStart = ReadInteger(profile, keys::HintStart);
  s.HintTerm = ReadInteger(profile, keys::HintTerm);
  s.HintFullPath = ReadBoolean(profile, keys::HintFullPath);

  s.DateFormat = ReadInteger(profile, keys::DateFormat);
  s.ShowDateRow = ReadBoolean(profile, keys::ShowDateRow);
  s.ShowCountRow = ReadBoolean(profile, keys::ShowCountRow);
  s.LblCalendar = ReadInteger(profile, keys::LblCalendar);

  s.DateCursorTurn = ReadBoolean(profile, keys::DateCursorTurn);
  s.SaveOnLostFocus = ReadBoolean(profile, keys::SaveOnLostFocus);
  s.FinishedDayChange = ReadBoolean(profile, keys::FinishedDayChange);
  s.IMEName = ReadText(profile, keys::IMEName);
  s.IMEOnOff = ReadBoolean(profile, keys::IMEOnOff);

  s.HotKeyEnabled = ReadBoolean(profile, keys::HotKeyEnabled);
  s.ModifyToActivate = ReadText(profile, keys::ModifyToActivate);
  s.ToActivate = ReadText(profile, keys::ToActivate);
  s.ModifyToVisible = ReadText(profile, keys::ModifyToVisible);
  s.ToVisible = ReadText(profile, keys::ToVisible);
  s.ActivateShortcut = s.ModifyToActivate + "+" + s.ToActivate;
  s.VisibleShortcut = s.ModifyToVisible + "+" + s.ToVisible;

  s.SyncEnabled = ReadBoolean(profile, keys::SyncEnabled);
  return s;
}

}  // namespace lq
