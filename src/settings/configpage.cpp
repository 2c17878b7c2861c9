#include "settings/configpage.h"

#include <utility>

#include "geometry/clock.h"
#include "settings/textforms.h"

namespace lq {

namespace {

constexpr std::array<std::string_view, 44> kHotKeyKeys{
    "A",  "B",  "C",  "D",  "E",  "F",  "G",  "H",  "I",   "J",     "K",    "L",    "M",   "N",   "O",
    "P",  "Q",  "R",  "S",  "T",  "U",  "V",  "W",  "X",   "Y",     "Z",    "F1",   "F2",  "F3",  "F4",
    "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12", "Up", "Down", "Right", "Left", "Ins", "BkSp",
};

HideMode HideModeOf(bool hideWhenOnMouse, bool hideWhenOnEdge) {
  if (!hideWhenOnMouse) return HideMode::KeepShowing;
  return hideWhenOnEdge ? HideMode::InsideFrame : HideMode::OnTouch;
}

bool IsDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }

}  // namespace

std::span<const std::string_view> HotKeyKeys() { return kHotKeyKeys; }

ConfigPage PageOf(const Settings& s, std::string alarmWav, bool alarmLoop) {
  ConfigPage c;
  c.EditMode = keys::EditMode.range.Clamp(s.EditModePercent);
  c.ViewMode = keys::ViewMode.range.Clamp(s.ViewModePercent);
  c.EditNoTransparent = s.EditNoTransparent;
  c.ViewNoTransparent = s.ViewNoTransparent;
  c.TopMost = s.TopMost;
  c.hideMode = HideModeOf(s.HideWhenOnMouse, s.HideWhenOnEdge);

  c.Classes = s.Classes;
  for (ClassStyle& style : c.Classes) style.FontSize = kFontSizeRange.Clamp(style.FontSize);

  c.RowHeight = keys::RowHeight.range.Clamp(s.RowHeight);
  c.DoneDown = s.DoneDown;
  c.HintEnabled = s.HintEnabled;
  c.HintStart = keys::HintStart.range.Clamp(s.HintStart);
  c.HintTerm = keys::HintTerm.range.Clamp(s.HintTerm);
  c.HintFullPath = s.HintFullPath;
  c.DateFormat = keys::DateFormat.range.Clamp(s.DateFormat);
  c.LblCalendar = keys::LblCalendar.range.Clamp(s.LblCalendar);
  c.ShowDateRow = s.ShowDateRow;
  c.ShowCountRow = s.ShowCountRow;

  c.DateCursorTurn = s.DateCursorTurn;
  c.SaveOnLostFocus = s.SaveOnLostFocus;
  c.FinishedDayChange = s.FinishedDayChange;
  c.IMEName = s.IMEName;
  c.IMEOnOff = s.IMEOnOff;

  c.HotKeyEnabled = s.HotKeyEnabled;
  c.ModifyToActivate = s.ModifyToActivate;
  c.ToActivate = s.ToActivate;
  c.ModifyToVisible = s.ModifyToVisible;
  c.ToVisible = s.ToVisible;
  c.AlarmWav = std::move(alarmWav);
  c.AlarmLoop = alarmLoop;
  c.SyncEnabled = s.SyncEnabled;
  return c;
}

ConfigPage ReadConfigPage(const Profile& profile, SystemColorFn systemColor, std::string_view exeFolder) {
  return PageOf(LoadSettings(profile, systemColor), ReadText(profile, keys::AlarmWav, DefaultAlarmSound(exeFolder)),
                ReadBoolean(profile, keys::AlarmLoop));
}

const SettingKey* WriteConfigPage(Profile& profile, const ConfigPage& c) {
  const SettingKey* failed = nullptr;
  const auto integer = [&](const SettingKey& key, std::int32_t value) {
    if (!failed && !WriteInteger(profile, key, value)) failed = &key;
  };
  const auto boolean = [&](const SettingKey& key, bool value) {
    if (!failed && !WriteBoolean(profile, key, value)) failed = &key;
  };
  const auto color = [&](const SettingKey& key, ColorValue value) {
    if (!failed && !WriteColor(profile, key, value)) failed = &key;
  };
  const auto text = [&](const SettingKey& key, std::string_view value) {
    if (!failed && !WriteText(profile, key, value)) failed = &key;
  };

  integer(keys::EditMode, c.EditMode);
  integer(keys::ViewMode, c.ViewMode);
  boolean(keys::EditNoTransparent, c.EditNoTransparent);
  boolean(keys::ViewNoTransparent, c.ViewNoTransparent);
  if (c.hideMode != HideMode::None) {
    boolean(keys::HideWhenOnMouse, c.hideMode != HideMode::KeepShowing);
    boolean(keys::HideWhenOnEdge, c.hideMode == HideMode::InsideFrame);
  }
  boolean(keys::TopMost, c.TopMost);
  for (std::size_t i = 0; i < c.Classes.size(); ++i) text(keys::Classes[i].name, c.Classes[i].FontName);
  for (std::size_t i = 0; i < c.Classes.size(); ++i) integer(keys::Classes[i].size, c.Classes[i].FontSize);
  for (std::size_t i = 0; i < c.Classes.size(); ++i) color(keys::Classes[i].textColor, c.Classes[i].TextColor);
  for (std::size_t i = 0; i < c.Classes.size(); ++i) color(keys::Classes[i].backColor, c.Classes[i].BackColor);
  integer(keys::RowHeight, c.RowHeight);
  boolean(keys::DoneDown, c.DoneDown);
  boolean(keys::HintEnabled, c.HintEnabled);
  integer(keys::HintStart, c.HintStart);
  integer(keys::HintTerm, c.HintTerm);
  boolean(keys::HintFullPath, c.HintFullPath);
  integer(keys::DateFormat, c.DateFormat);
  boolean(keys::ShowDateRow, c.ShowDateRow);
  boolean(keys::ShowCountRow, c.ShowCountRow);
  integer(keys::LblCalendar, c.LblCalendar);
  boolean(keys::DateCursorTurn, c.DateCursorTurn);
  boolean(keys::SaveOnLostFocus, c.SaveOnLostFocus);
  boolean(keys::FinishedDayChange, c.FinishedDayChange);
  text(keys::IMEName, c.IMEName);
  boolean(keys::IMEOnOff, c.IMEOnOff);
  boolean(keys::HotKeyEnabled, c.HotKeyEnabled);
  text(keys::ModifyToActivate, c.ModifyToActivate);
  text(keys::ToActivate, c.ToActivate);
  text(keys::ModifyToVisible, c.ModifyToVisible);
  text(keys::ToVisible, c.ToVisible);
  text(keys::AlarmWav, c.AlarmWav);
  boolean(keys::AlarmLoop, c.AlarmLoop);
  boolean(keys::SyncEnabled, c.SyncEnabled);
  return failed;
}

bool SameHotKeys(const ConfigPage& c) {
  return c.HotKeyEnabled && c.ModifyToActivate == c.ModifyToVisible && c.ToActivate == c.ToVisible;
}

UrgencyClass SelectedPreviewPanel(std::span<const bool, kUrgencyClassCount> checked) {
  for (const UrgencyClass c : {UrgencyClass::Expiration, UrgencyClass::Deadline, UrgencyClass::Preview1,
                               UrgencyClass::Preview2, UrgencyClass::Preview3, UrgencyClass::Done}) {
    if (checked[static_cast<std::size_t>(c)]) return c;
  }
  return UrgencyClass::Title;
}

std::optional<int> FontPanelTopFor(int panelTop) {
  if (panelTop > 170) return kFontPanelUpper;
  if (panelTop < 140) return kFontPanelLower;
  return std::nullopt;
}

std::int32_t FontSizeOfText(std::string_view text) {
  return kFontSizeRange.Clamp(ParseDecimalText(text).value_or(9));
}

std::int32_t NumberFieldValue(std::wstring_view text, IntRange range) {
  if (text.empty()) return range.min;
  std::int64_t value = 0;
  for (const wchar_t ch : text) {
    if (!IsDigit(ch)) return range.min;
    // Past the maximum the rest of the digits cannot bring it back.
    if (value <= range.max) value = value * 10 + (ch - L'0');
  }
  return range.Clamp(static_cast<std::int32_t>(value > range.max ? range.max : value));
}

bool NumberFieldAccepts(wchar_t ch) { return IsDigit(ch) || ch < L' '; }

std::wstring NumberFieldPaste(std::wstring_view text) {
  std::wstring digits;
  for (const wchar_t ch : text) {
    if (IsDigit(ch)) digits += ch;
  }
  return digits;
}

std::array<std::string, 3> DateFormatSamples(const DateTime& now) {
  return {FormatClock("yyyy\"/\"mm\"/\"dd(aaa)", now), FormatClock("mm\"/\"dd(aaa)", now),
          FormatClock("mm\"/\"dd", now)};
}

}  // namespace lq
