#include "settings/configpage.h"

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

// A page reads each key as the load does; a file beside the program has the program's folder
// in its default.
template <TextForm F>
ValueOf<F> ReadShown(const Profile& profile, const SettingKey& key, std::string_view exeFolder) {
  if constexpr (F == TextForm::String) {
    if (key.defaultFrom == DefaultFrom::ExecutableFolder) {
      return ReadText(profile, key, DefaultBesideProgram(key, exeFolder));
    }
  }
  return ReadValue<F>(profile, key);
}

// Writes keys one after another until one cannot be written, and keeps that one.
class KeyWriter {
 public:
  explicit KeyWriter(Profile& profile) : profile_(profile) {}
  template <TextForm F>
  void Write(const SettingKey& key, const ValueOf<F>& value) {
    if (!failed_ && !WriteValue<F>(profile_, key, value)) failed_ = &key;
  }
  const SettingKey* Failed() const { return failed_; }

 private:
  Profile& profile_;
  const SettingKey* failed_ = nullptr;
};

}  // namespace

std::span<const std::string_view> HotKeyKeys() { return kHotKeyKeys; }

ConfigPage ReadConfigPage(const Profile& profile, SystemColorFn systemColor, std::string_view exeFolder) {
  ConfigPage c;
#define LQ_READ(field, section, name, form, defaultText, held, ...) \
  LQ_IF_SHOWN(held, c.field = ReadShown<TextForm::form>(profile, keys::field, exeFolder);)
  LQ_SETTINGS(LQ_READ, LQ_NO_GROUP)
#undef LQ_READ

  c.hideMode = HideModeOf(ReadBoolean(profile, keys::HideWhenOnMouse), ReadBoolean(profile, keys::HideWhenOnEdge));
  c.Classes =
      LoadClasses(profile, systemColor, ReadText(profile, keys::FontName), ReadInteger(profile, keys::FontSize));
  return c;
}

const SettingKey* WriteConfigPage(Profile& profile, const ConfigPage& c) {
  KeyWriter w(profile);
  const auto group = [&](SettingsGroup g) {
    switch (g) {
      case SettingsGroup::HideMode:
        if (c.hideMode == HideMode::None) break;
        w.Write<TextForm::Boolean>(keys::HideWhenOnMouse, c.hideMode != HideMode::KeepShowing);
        w.Write<TextForm::Boolean>(keys::HideWhenOnEdge, c.hideMode == HideMode::InsideFrame);
        break;
      case SettingsGroup::Classes:
        for (std::size_t i = 0; i < c.Classes.size(); ++i) {
          w.Write<TextForm::String>(keys::Classes[i].name, c.Classes[i].FontName);
        }
        for (std::size_t i = 0; i < c.Classes.size(); ++i) {
          w.Write<TextForm::Integer>(keys::Classes[i].size, c.Classes[i].FontSize);
        }
        for (std::size_t i = 0; i < c.Classes.size(); ++i) {
          w.Write<TextForm::Color>(keys::Classes[i].textColor, c.Classes[i].TextColor);
        }
        for (std::size_t i = 0; i < c.Classes.size(); ++i) {
          w.Write<TextForm::Color>(keys::Classes[i].backColor, c.Classes[i].BackColor);
        }
        break;
    }
  };
#define LQ_WRITE(field, section, name, form, defaultText, held, ...) \
  LQ_IF_SHOWN(held, w.Write<TextForm::form>(keys::field, c.field);)
#define LQ_WRITE_GROUP(g) group(SettingsGroup::g);
  LQ_SETTINGS(LQ_WRITE, LQ_WRITE_GROUP)
#undef LQ_WRITE
#undef LQ_WRITE_GROUP
  return w.Failed();
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
