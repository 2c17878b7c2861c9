#pragma once
// Every section and key of the settings file with its text form and default, in one place.
// Readers and writers take these entries, never literal names.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "store/tasktable.h"

namespace lq {

enum class TextForm {
  Integer,  // signed decimal, or hexadecimal after "0x"; unparsable gives the default
  Boolean,  // an integer, non-zero true; written "1" or "0"
  Color,    // an integer holding a colour value; written as signed decimal
  String,   // as is, at most 2,047 bytes
  Decimal,  // the window position: plain decimal, unparsable gives the key's fallback
};

// Where a default comes from when it is not the fixed text of the entry.
enum class DefaultFrom {
  Text,             // defaultText
  FontName,         // the value read from [Font] Name
  FontSize,         // the value read from [Font] Size
  TitleBackground,  // MixColors of the active caption colours, worked out when read
  ExecutableFolder, // the executable's folder followed by defaultText
};

struct IntRange {
  std::int32_t min;
  std::int32_t max;
  // A choice among min..max (the items of a radio group): any other number is read as the first
  // item, not the nearest one.
  bool choice = false;
  constexpr std::int32_t Clamp(std::int32_t v) const {
    if (choice && (v < min || v > max)) return min;
    return v < min ? min : (v > max ? max : v);
  }
};
inline constexpr IntRange kAnyInteger{INT32_MIN, INT32_MAX};

struct SettingKey {
  std::string_view section;
  std::string_view name;
  TextForm form;
  std::string_view defaultText;
  DefaultFrom defaultFrom = DefaultFrom::Text;
  std::int32_t fallback = 0;  // Decimal only: the value of a present but unparsable text
  // Integer only: what the settings dialog can write. A hand-edited number outside is brought
  // to the nearest end, so that no file makes the window invisible or its rows one pixel high.
  IntRange range = kAnyInteger;
};

constexpr SettingKey Ranged(SettingKey key, IntRange range) {
  key.range = range;
  return key;
}

namespace sections {
inline constexpr std::string_view Transparent = "Transparent";
inline constexpr std::string_view View = "View";
inline constexpr std::string_view Font = "Font";
inline constexpr std::string_view Settings = "Settings";
inline constexpr std::string_view Hint = "Hint";
inline constexpr std::string_view HotKey = "HotKey";
inline constexpr std::string_view Alarm = "Alarm";
inline constexpr std::string_view Sync = "Sync";
inline constexpr std::string_view WinPosition = "WinPosition";
inline constexpr std::string_view Find = "Find";
}  // namespace sections

inline constexpr std::string_view kDialogFontName =
    "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ Ｐゴシック

// The input-method name that means "none chosen".
inline constexpr std::string_view kNoImeName = "(\x8E\x77\x92\xE8\x82\xB5\x82\xC8\x82\xA2)";  // (指定しない)

namespace keys {

using enum TextForm;

// Transparency percents 0..90 and the no-transparency-while-moving flags.
inline constexpr IntRange kPercentRange{0, 90};
inline constexpr SettingKey EditMode = Ranged({sections::Transparent, "EditMode", Integer, "0"}, kPercentRange);
inline constexpr SettingKey ViewMode = Ranged({sections::Transparent, "ViewMode", Integer, "25"}, kPercentRange);
inline constexpr SettingKey EditNoTransparent{sections::Transparent, "EditNoTransparent", Boolean, "0"};
inline constexpr SettingKey ViewNoTransparent{sections::Transparent, "ViewNoTransparent", Boolean, "0"};

inline constexpr SettingKey HideWhenOnMouse{sections::View, "HideWhenOnMouse", Boolean, "0"};
inline constexpr SettingKey HideWhenOnEdge{sections::View, "HideWhenOnEdge", Boolean, "1"};
inline constexpr SettingKey TopMost{sections::View, "TopMost", Boolean, "1"};
inline constexpr SettingKey RowHeight = Ranged({sections::View, "RowHeight", Integer, "16"}, {12, 48});
// DateFormat and LblCalendar: the index of a choice of three.
inline constexpr SettingKey DateFormat = Ranged({sections::View, "DateFormat", Integer, "0"}, {0, 2, true});
inline constexpr SettingKey ShowDateRow{sections::View, "ShowDateRow", Boolean, "1"};
inline constexpr SettingKey ShowCountRow{sections::View, "ShowCountRow", Boolean, "1"};
inline constexpr SettingKey LblCalendar = Ranged({sections::View, "LblCalendar", Integer, "2"}, {0, 2, true});

// The settings dialog's own font; never written, so a hand edit changes every class at once.
inline constexpr SettingKey FontName{sections::Font, "Name", String, kDialogFontName};
inline constexpr SettingKey FontSize{sections::Font, "Size", Integer, "9"};

// The four keys of one urgency class.
struct ClassKeys {
  SettingKey name;
  SettingKey size;
  SettingKey textColor;
  SettingKey backColor;
};

constexpr ClassKeys MakeClassKeys(std::string_view name, std::string_view size, std::string_view fg,
                                  std::string_view fgDefault, std::string_view bg,
                                  std::string_view bgDefault) {
  return ClassKeys{
      {sections::Font, name, String, "", DefaultFrom::FontName},
      {sections::Font, size, Integer, "", DefaultFrom::FontSize},
      {sections::Font, fg, Color, fgDefault},
      {sections::Font, bg, Color, bgDefault,
       bgDefault.empty() ? DefaultFrom::TitleBackground : DefaultFrom::Text},
  };
}

// Indexed by UrgencyClass. Colours as the decimal texts the writers produce: -2147483639 the
// caption-text colour, -2147483640 the window-text colour; the others are RGB values.
inline constexpr std::array<ClassKeys, kUrgencyClassCount> Classes{
    MakeClassKeys("PreviewTitleName", "PreviewTitleSize", "PreviewTitleFGColor", "-2147483639",
                  "PreviewTitleBGColor", ""),
    MakeClassKeys("PreviewExpirationName", "PreviewExpirationSize", "PreviewExpirationFGColor", "16777215",
                  "PreviewExpirationBGColor", "17663"),  // white on orange-red
    MakeClassKeys("PreviewDeadlineName", "PreviewDeadlineSize", "PreviewDeadlineFGColor", "-2147483640",
                  "PreviewDeadlineBGColor", "6732799"),  // light orange
    MakeClassKeys("Preview1Name", "Preview1Size", "Preview1FGColor", "-2147483640", "Preview1BGColor",
                  "6732799"),  // light orange
    MakeClassKeys("Preview2Name", "Preview2Size", "Preview2FGColor", "-2147483640", "Preview2BGColor",
                  "11206655"),  // light yellow
    MakeClassKeys("Preview3Name", "Preview3Size", "Preview3FGColor", "-2147483640", "Preview3BGColor",
                  "16772332"),  // pale blue
    MakeClassKeys("PreviewDoneName", "PreviewDoneSize", "PreviewDoneFGColor", "8947848", "PreviewDoneBGColor",
                  "16772332"),  // grey on pale blue
};

constexpr const ClassKeys& ClassKeysOf(UrgencyClass c) { return Classes[static_cast<std::size_t>(c)]; }

inline constexpr SettingKey DoneDown{sections::Settings, "DoneDown", Boolean, "1"};
inline constexpr SettingKey DateCursorTurn{sections::Settings, "DateCursorTurn", Boolean, "1"};
inline constexpr SettingKey SaveOnLostFocus{sections::Settings, "SaveOnLostFocus", Boolean, "0"};
inline constexpr SettingKey FinishedDayChange{sections::Settings, "FinishedDayChange", Boolean, "1"};
inline constexpr SettingKey IMEName{sections::Settings, "IMEName", String, kNoImeName};
inline constexpr SettingKey IMEOnOff{sections::Settings, "IMEOnOff", Boolean, "1"};

// Milliseconds, 100..30000 in steps of 100 as the dialog writes them; the steps do not matter
// to a timer.
inline constexpr IntRange kHintRange{100, 30000};
inline constexpr SettingKey HintEnabled{sections::Hint, "Enabled", Boolean, "1"};
inline constexpr SettingKey HintStart = Ranged({sections::Hint, "Start", Integer, "800"}, kHintRange);
inline constexpr SettingKey HintTerm = Ranged({sections::Hint, "Term", Integer, "3000"}, kHintRange);
inline constexpr SettingKey HintFullPath{sections::Hint, "FullPath", Boolean, "1"};

inline constexpr SettingKey HotKeyEnabled{sections::HotKey, "Enabled", Boolean, "0"};
inline constexpr SettingKey ModifyToActivate{sections::HotKey, "ModifyToActivate", String, "Ctrl+Alt"};
inline constexpr SettingKey ToActivate{sections::HotKey, "ToActivate", String, "Up"};
inline constexpr SettingKey ModifyToVisible{sections::HotKey, "ModifyToVisible", String, "Ctrl+Alt"};
inline constexpr SettingKey ToVisible{sections::HotKey, "ToVisible", String, "Down"};

inline constexpr SettingKey AlarmWav{sections::Alarm, "Wav", String, "Tarnwillow.wav",
                                     DefaultFrom::ExecutableFolder};
inline constexpr SettingKey AlarmLoop{sections::Alarm, "Loop", Boolean, "0"};

inline constexpr SettingKey SyncEnabled{sections::Sync, "Enabled", Boolean, "0"};
// "yyyymmddhhnnsszzz" of the last synchronisation; all zeros means never.
inline constexpr SettingKey LastSync{sections::Sync, "LastSync", String, "00000000000000000"};

// Read as text with the default text, then as decimal; -1 for x or y centres the window.
inline constexpr SettingKey WinX{sections::WinPosition, "x", Decimal, "-1", DefaultFrom::Text, 0};
inline constexpr SettingKey WinY{sections::WinPosition, "y", Decimal, "-1", DefaultFrom::Text, 0};
inline constexpr SettingKey WinWidth{sections::WinPosition, "Width", Decimal, "360", DefaultFrom::Text, 465};
inline constexpr SettingKey WinHeight{sections::WinPosition, "Height", Decimal, "215", DefaultFrom::Text, 408};

// The search history, newest first; an unused position is empty.
inline constexpr std::array<SettingKey, 5> Find{{
    {sections::Find, "0", String, ""},
    {sections::Find, "1", String, ""},
    {sections::Find, "2", String, ""},
    {sections::Find, "3", String, ""},
    {sections::Find, "4", String, ""},
}};

}  // namespace keys

// Every entry above, section by section.
std::span<const SettingKey* const> AllSettingKeys();

}  // namespace lq
