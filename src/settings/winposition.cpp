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

}  // namespace

WindowPosition ReadWinPosition(const Profile& profile) {
  WindowPosition p;
  p.x = ReadPositionKey(profile, keys::WinX);
  p.y = ReadPositionKey(profile, keys::WinY);
  p.width = ReadPositionKey(profile, keys::WinWidth);
  p.height = ReadPositionKey(profile, keys::WinHeight);
  return p;
}

bool WriteWinPosition(Profile& profile, const WindowPosition& position) {
  return WriteInteger(profile, keys::WinX, position.x) && WriteInteger(profile, keys::WinY, position.y) &&
         WriteInteger(profile, keys::WinWidth, position.width) &&
         WriteInteger(profile, keys::WinHeight, position.height);
}

}  // namespace lq
