#pragma once
// The text forms of the settings file: parsing, the texts the writers produce, and reading and
// writing one key of the table through the Profile seam.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "settings/colors.h"
#include "settings/keys.h"
#include "store/seams.h"

namespace lq {

// Values come back as through a 2,048-byte buffer.
inline constexpr std::size_t kMaxValueBytes = 2047;

// Optional "+" or "-", then decimal digits, within 32 bits signed. Nothing else: no blanks,
// no trailing characters.
std::optional<std::int32_t> ParseDecimalText(std::string_view text);

// The integer form: decimal as above, or, for a text of three or more characters beginning
// "0x" or "0X", hexadecimal digits whose value fits 32 bits ("0x80000008" is the system
// window-text colour, a negative number).
std::optional<std::int32_t> ParseIntegerText(std::string_view text);

std::string FormatInteger(std::int32_t value);
std::string FormatBoolean(bool value);     // "1" or "0"
std::string FormatColor(ColorValue value);  // signed decimal: system colours are negative

// The first kMaxValueBytes bytes; a double-byte character that would be cut, or that a value
// of that length ends with only its first byte, is left out whole.
std::string_view CutValue(std::string_view value);

// Readers. Without a default argument the entry's own default text is used; keys whose
// default is not fixed text (the class fonts, the title background) take the one given.
// Integers are brought into the key's range.
std::int32_t ReadInteger(const Profile& profile, const SettingKey& key);
std::int32_t ReadInteger(const Profile& profile, const SettingKey& key, std::int32_t defaultValue);
bool ReadBoolean(const Profile& profile, const SettingKey& key);
ColorValue ReadColor(const Profile& profile, const SettingKey& key);
ColorValue ReadColor(const Profile& profile, const SettingKey& key, ColorValue defaultValue);
std::string ReadText(const Profile& profile, const SettingKey& key);
std::string ReadText(const Profile& profile, const SettingKey& key, std::string_view defaultValue);

// Writers: false when the value could not be written. The caller stops the operation and
// shows WriteFailureMessage.
bool WriteInteger(Profile& profile, const SettingKey& key, std::int32_t value);
bool WriteBoolean(Profile& profile, const SettingKey& key, bool value);
bool WriteColor(Profile& profile, const SettingKey& key, ColorValue value);
bool WriteText(Profile& profile, const SettingKey& key, std::string_view value);

// One key of the table in the type its form is held in, with its own default.
template <TextForm F>
ValueOf<F> ReadValue(const Profile& profile, const SettingKey& key) {
  if constexpr (F == TextForm::Integer) return ReadInteger(profile, key);
  if constexpr (F == TextForm::Boolean) return ReadBoolean(profile, key);
  if constexpr (F == TextForm::Color) return ReadColor(profile, key);
  if constexpr (F == TextForm::String) return ReadText(profile, key);
}
template <TextForm F>
bool WriteValue(Profile& profile, const SettingKey& key, const ValueOf<F>& value) {
  if constexpr (F == TextForm::Integer) return WriteInteger(profile, key, value);
  if constexpr (F == TextForm::Boolean) return WriteBoolean(profile, key, value);
  if constexpr (F == TextForm::Color) return WriteColor(profile, key, value);
  if constexpr (F == TextForm::String) return WriteText(profile, key, value);
}

// A value as a settings file can hold it, on its one line: CR and LF are left out, since a
// line break in a value would start a line of its own (a key or a section of somebody else's
// making). Every writer writes through this.
std::string OneLineValue(std::string_view value);

// "<path> に書き込めません" as UTF-8, so a path with characters outside code page 932 is shown
// as it is; the Windows layer converts it with CP_UTF8.
std::string WriteFailureMessage(const std::filesystem::path& settingsPath);

// The default of a key that names a file beside the program: `folder` (code-page-932 bytes,
// ending in a separator) followed by the key's default text.
std::string DefaultBesideProgram(const SettingKey& key, std::string_view folder);
// That of [Alarm] Wav.
std::string DefaultAlarmSound(std::string_view folder);

}  // namespace lq
