#include "settings/textforms.h"

#include <limits>

#include "store/text.h"

namespace lq {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A fixed default text always parses (the table is checked by a test); 0 keeps a broken one
// from reaching the program as garbage.
std::int32_t DefaultValueOf(const SettingKey& key) { return ParseIntegerText(key.defaultText).value_or(0); }

std::optional<std::int32_t> ReadParsed(const Profile& profile, const SettingKey& key,
                                       std::string_view defaultText) {
  return ParseIntegerText(CutValue(profile.ReadString(key.section, key.name, defaultText)));
}

}  // namespace

std::optional<std::int32_t> ParseDecimalText(std::string_view text) {
  bool negative = false;
  std::size_t i = 0;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    i = 1;
  }
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseIntegerText(std::string_view text) {
  if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::uint64_t value = 0;
    for (const char c : text.substr(2)) {
      const int d = HexDigit(c);
      if (d < 0) return std::nullopt;
      value = value * 16 + static_cast<unsigned>(d);
      if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    // All 32 bits are the value, so the top bit makes it negative, as a colour value needs.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }
  return ParseDecimalText(text);
}

std::string FormatInteger(std::int32_t value) { return std::to_string(value); }

std::string FormatBoolean(bool value) { return value ? "1" : "0"; }

std::string FormatColor(ColorValue value) { return FormatInteger(static_cast<std::int32_t>(value)); }

std::string_view CutValue(std::string_view value) {
  if (value.size() < kMaxValueBytes) return value;
  // A value that reached the limit may have been cut already, so a lead byte at its end is
  // half a character.
  std::size_t end = 0;
  while (end < value.size()) {
    const std::size_t width = IsLeadByte(static_cast<unsigned char>(value[end])) ? 2 : 1;
    if (end + width > kMaxValueBytes || end + width > value.size()) break;
    end += width;
  }
  return value.substr(0, end);
}

std::int32_t ReadInteger(const Profile& profile, const SettingKey& key) {
  return key.range.Clamp(ReadParsed(profile, key, key.defaultText).value_or(DefaultValueOf(key)));
}

std::int32_t ReadInteger(const Profile& profile, const SettingKey& key, std::int32_t defaultValue) {
  return key.range.Clamp(ReadParsed(profile, key, FormatInteger(defaultValue)).value_or(defaultValue));
}

bool ReadBoolean(const Profile& profile, const SettingKey& key) { return ReadInteger(profile, key) != 0; }

ColorValue ReadColor(const Profile& profile, const SettingKey& key) {
  return static_cast<ColorValue>(ReadInteger(profile, key));
}

ColorValue ReadColor(const Profile& profile, const SettingKey& key, ColorValue defaultValue) {
  return static_cast<ColorValue>(ReadInteger(profile, key, static_cast<std::int32_t>(defaultValue)));
}

std::string ReadText(const Profile& profile, const SettingKey& key) {
  return ReadText(profile, key, key.defaultText);
}

std::string ReadText(const Profile& profile, const SettingKey& key, std::string_view defaultValue) {
  return std::string(CutValue(profile.ReadString(key.section, key.name, CutValue(defaultValue))));
}

bool WriteInteger(Profile& profile, const SettingKey& key, std::int32_t value) {
  return profile.WriteString(key.section, key.name, FormatInteger(value));
}

bool WriteBoolean(Profile& profile, const SettingKey& key, bool value) {
  return profile.WriteString(key.section, key.name, FormatBoolean(value));
}

bool WriteColor(Profile& profile, const SettingKey& key, ColorValue value) {
  return profile.WriteString(key.section, key.name, FormatColor(value));
}

bool WriteText(Profile& profile, const SettingKey& key, std::string_view value) {
  return profile.WriteString(key.section, key.name, OneLineValue(value));
}

std::string OneLineValue(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (const char c : value) {
    if (c != '\r' && c != '\n') out += c;  // never the second byte of a double-byte character
  }
  return out;
}

std::string WriteFailureMessage(const std::filesystem::path& settingsPath) {
  const std::u8string path = settingsPath.u8string();
  return std::string(path.begin(), path.end()) + " に書き込めません";
}

std::string DefaultBesideProgram(const SettingKey& key, std::string_view folder) {
  return std::string(folder) + std::string(key.defaultText);
}

std::string DefaultAlarmSound(std::string_view folder) { return DefaultBesideProgram(keys::AlarmWav, folder); }

}  // namespace lq
