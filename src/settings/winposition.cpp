#include "settings/winposition.h"

#include <string>

#include "settings/keys.h"
#include "settings/textforms.h"

namespace lq {

namespace {

std::int32_t ReadPositionKey(const Profile& profile, const SettingKey& key) {
  const std::string text = profile.ReadString(key.section, key.name, key.defaultText);
  return ParseDecimalText(CutValue(text)).value_or(key.fallback);
}

std::int32_t ReadSizeKey(const Profile& profile, const SettingKey& key, int dpi) {
  std::string text = profile.ReadString(key.section, key.name, "");
  bool missing = false;
  if (text.empty()) {
    // Read again to tell a missing key, which takes the default, from an empty value.
    text = profile.ReadString(key.section, key.name, key.defaultText);
    missing = !text.empty();
  }
  const auto value = ParseDecimalText(CutValue(text));
  if (!missing && value) return *value;
  return ScaleToDpi(value.value_or(key.fallback), dpi);
}

}  // namespace

WindowPosition ReadWinPosition(const Profile& profile, int dpi) {
  WindowPosition p;
  p.x = ReadPositionKey(profile, keys::WinX);
  p.y = ReadPositionKey(profile, keys::WinY);
  p.width = ReadSizeKey(profile, keys::WinWidth, dpi);
  p.height = ReadSizeKey(profile, keys::WinHeight, dpi);
  return p;
}

bool WriteWinPosition(Profile& profile, const WindowPosition& position) {
  Profile::Edit edit(profile);
  return WriteInteger(profile, keys::WinX, position.x) && WriteInteger(profile, keys::WinY, position.y) &&
         WriteInteger(profile, keys::WinWidth, position.width) &&
         WriteInteger(profile, keys::WinHeight, position.height) && edit.Commit();
}

}  // namespace lq
