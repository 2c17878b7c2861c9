#include "settings/settings.h"

#include "settings/keys.h"
#include "settings/textforms.h"

namespace lq {

bool Settings::ImeNameChosen() const { return IMEName != kNoImeName; }

std::uint8_t AlphaFromPercent(std::int32_t percent) {
  const std::int64_t alpha = (100 - std::int64_t{percent}) * 255 / 100;
  return static_cast<std::uint8_t>(alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha));
}

std::array<ClassStyle, kUrgencyClassCount> LoadClasses(const Profile& profile, SystemColorFn systemColor,
                                                       std::string_view fontName, std::int32_t fontSize) {
  std::array<ClassStyle, kUrgencyClassCount> classes;
  for (std::size_t i = 0; i < classes.size(); ++i) {
    const keys::ClassKeys& k = keys::Classes[i];
    ClassStyle& c = classes[i];
    c.FontName = ReadText(profile, k.name, fontName);
    c.FontSize = kFontSizeRange.Clamp(ReadInteger(profile, k.size, fontSize));
    c.TextColor = ReadColor(profile, k.textColor);
    c.BackColor = k.backColor.defaultFrom == DefaultFrom::TitleBackground
                      ? ReadColor(profile, k.backColor,
                                  MixColors(SystemColor(kColorActiveCaption),
                                            SystemColor(kColorGradientActiveCaption), systemColor))
                      : ReadColor(profile, k.backColor);
  }
  return classes;
}

Settings LoadSettings(const Profile& profile, SystemColorFn systemColor) {
  Settings s;
#define LQ_LOAD(field, section, name, form, defaultText, held, ...) \
  LQ_IF_LOADED(held, s.field = ReadValue<TextForm::form>(profile, keys::field);)
  LQ_SETTINGS(LQ_LOAD, LQ_NO_GROUP)
#undef LQ_LOAD

  s.EditAlpha = AlphaFromPercent(s.EditMode);
  s.ViewAlpha = AlphaFromPercent(s.ViewMode);
  s.Classes = LoadClasses(profile, systemColor, s.FontName, s.FontSize);
  s.ActivateShortcut = s.ModifyToActivate + "+" + s.ToActivate;
  s.VisibleShortcut = s.ModifyToVisible + "+" + s.ToVisible;
  return s;
}

}  // namespace lq
