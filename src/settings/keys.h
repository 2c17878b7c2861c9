#pragma once
// Every section and key of the settings file with its text form and default, in one place.
// Readers and writers take these entries, never literal names.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "settings/colors.h"
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
  std::int32_t min = INT32_MIN;
  std::int32_t max = INT32_MAX;
  // A choice among min..max (the items of a radio group): any other number is read as the first
  // item, not the nearest one.
  bool choice = false;
  constexpr std::int32_t Clamp(std::int32_t v) const {
    if (choice && (v < min || v > max)) return min;
    return v < min ? min : (v > max ? max : v);
  }
};
inline constexpr IntRange kAnyInteger{};

struct SettingKey {
  std::string_view section;
  std::string_view name;
  TextForm form;
  std::string_view defaultText;
  DefaultFrom defaultFrom = DefaultFrom::Text;
  std::int32_t fallback = 0;  // Decimal only: the value of a present but unparsable text
  IntRange range = kAnyInteger;  // Integer only
};

// A default that is not the text itself.
struct DefaultText {
  std::string_view text;
  DefaultFrom from;
};
// A file beside the program: the executable's folder followed by `name`.
constexpr DefaultText BesideProgram(std::string_view name) { return {name, DefaultFrom::ExecutableFolder}; }

constexpr SettingKey MakeKey(std::string_view section, std::string_view name, TextForm form, DefaultText def,
                             IntRange range) {
  return {section, name, form, def.text, def.from, 0, range};
}
constexpr SettingKey MakeKey(std::string_view section, std::string_view name, TextForm form,
                             std::string_view defaultText, IntRange range) {
  return MakeKey(section, name, form, DefaultText{defaultText, DefaultFrom::Text}, range);
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

// Fonts: the dialog offers 6 to 24 points and keeps a size from the file that is not in its
// list (13, say); a hand-edited size beyond them is brought to the nearer end. The window is
// at least as wide as the date columns measured in these fonts, so a huge size would push it
// off the screen, and no row (48 pixels at most) shows more than 24 points anyway.
inline constexpr IntRange kFontSizeRange{6, 24};

// The keys the main window's settings load and the settings dialog take one for one, in the
// order O K writes them (so a new settings file lists them as the dialog shows them):
//
//   KEY(field, section, "name", form, default, held by, range)
//
// `field` names the entry (keys::field) and the field that holds the value in Settings (the
// load) or ConfigPage (the dialog's pages), in the type of the form. `held by` says which of
// the two has it: Load (no control shows it), Page (the main window never reads it) or Both.
// The range, for integers, is what the dialog can write: a hand-edited number outside is
// brought to the nearest end, so that no file makes the window invisible or its rows one pixel
// high. GROUP marks where O K writes keys that are not one field each; their code is in
// configpage.cpp.
#define LQ_SETTINGS(KEY, GROUP)                                                                 \
  /* 不可視化: transparency percents, and no transparency while the window moves */              \
  KEY(EditMode, Transparent, "EditMode", Integer, "0", Both, 0, 90)                             \
  KEY(ViewMode, Transparent, "ViewMode", Integer, "25", Both, 0, 90)                            \
  KEY(EditNoTransparent, Transparent, "EditNoTransparent", Boolean, "0", Both)                  \
  KEY(ViewNoTransparent, Transparent, "ViewNoTransparent", Boolean, "0", Both)                  \
  /* Each with its own default: a file without them never hides, yet HideWhenOnEdge is true */  \
  KEY(HideWhenOnMouse, View, "HideWhenOnMouse", Boolean, "0", Load)                             \
  KEY(HideWhenOnEdge, View, "HideWhenOnEdge", Boolean, "1", Load)                               \
  GROUP(HideMode)                                                                               \
  KEY(TopMost, View, "TopMost", Boolean, "1", Both)                                             \
  /* 文字: the dialog's own font, never written, so a hand edit changes every class at once */   \
  KEY(FontName, Font, "Name", String, kDialogFontName, Load)                                    \
  KEY(FontSize, Font, "Size", Integer, "9", Load, kFontSizeRange)                               \
  GROUP(Classes)                                                                                \
  /* 表示 */                                                                                    \
  KEY(RowHeight, View, "RowHeight", Integer, "16", Both, 12, 48)                                \
  KEY(DoneDown, Settings, "DoneDown", Boolean, "1", Both)                                       \
  /* Milliseconds; the dialog steps by 100, which does not matter to a timer */                 \
  KEY(HintEnabled, Hint, "Enabled", Boolean, "1", Both)                                         \
  KEY(HintStart, Hint, "Start", Integer, "800", Both, 100, 30000)                               \
  KEY(HintTerm, Hint, "Term", Integer, "3000", Both, 100, 30000)                                \
  KEY(HintFullPath, Hint, "FullPath", Boolean, "1", Both)                                       \
  /* DateFormat and LblCalendar: the index of a choice of three */                              \
  KEY(DateFormat, View, "DateFormat", Integer, "0", Both, 0, 2, true)                         \
  KEY(ShowDateRow, View, "ShowDateRow", Boolean, "1", Both)                                     \
  KEY(ShowCountRow, View, "ShowCountRow", Boolean, "1", Both)                                   \
  KEY(LblCalendar, View, "LblCalendar", Integer, "2", Both, 0, 2, true)                         \
  /* 予定 */                                                                                    \
  KEY(DateCursorTurn, Settings, "DateCursorTurn", Boolean, "1", Both)                           \
  KEY(SaveOnLostFocus, Settings, "SaveOnLostFocus", Boolean, "0", Both)                         \
  KEY(FinishedDayChange, Settings, "FinishedDayChange", Boolean, "1", Both)                     \
  KEY(IMEName, Settings, "IMEName", String, kNoImeName, Both)                                   \
  KEY(IMEOnOff, Settings, "IMEOnOff", Boolean, "1", Both)                                       \
  /* 動作 */                                                                                    \
  KEY(HotKeyEnabled, HotKey, "Enabled", Boolean, "0", Both)                                     \
  KEY(ModifyToActivate, HotKey, "ModifyToActivate", String, "Ctrl+Alt", Both)                   \
  KEY(ToActivate, HotKey, "ToActivate", String, "Up", Both)                                     \
  KEY(ModifyToVisible, HotKey, "ModifyToVisible", String, "Ctrl+Alt", Both)                     \
  KEY(ToVisible, HotKey, "ToVisible", String, "Down", Both)                                     \
  KEY(AlarmWav, Alarm, "Wav", String, BesideProgram("Tarnwillow.wav"), Page)                    \
  KEY(AlarmLoop, Alarm, "Loop", Boolean, "0", Page)                                             \
  /* No control shows it, yet it passes through the dialog */                                   \
  KEY(SyncEnabled, Sync, "Enabled", Boolean, "0", Both)

// The GROUP rows of the table.
enum class SettingsGroup {
  HideMode,  // [View] HideWhenOnMouse and HideWhenOnEdge from the one choice that shows them
  Classes,   // [Font]: the urgency classes' fonts and colours
};

// What a table row lets through: LQ_IF_LOADED(held, code) keeps the code for a row that
// Settings holds, LQ_IF_SHOWN for one that ConfigPage holds.
#define LQ_IF_LOADED(held, ...) LQ_IF_LOADED_##held(__VA_ARGS__)
#define LQ_IF_LOADED_Both(...) __VA_ARGS__
#define LQ_IF_LOADED_Load(...) __VA_ARGS__
#define LQ_IF_LOADED_Page(...)
#define LQ_IF_SHOWN(held, ...) LQ_IF_SHOWN_##held(__VA_ARGS__)
#define LQ_IF_SHOWN_Both(...) __VA_ARGS__
#define LQ_IF_SHOWN_Load(...)
#define LQ_IF_SHOWN_Page(...) __VA_ARGS__
#define LQ_NO_GROUP(group)

// The type a value of each form is held in.
template <TextForm F>
struct FormValue;
template <>
struct FormValue<TextForm::Integer> {
  using type = std::int32_t;
};
template <>
struct FormValue<TextForm::Boolean> {
  using type = bool;
};
template <>
struct FormValue<TextForm::Color> {
  using type = ColorValue;
};
template <>
struct FormValue<TextForm::String> {
  using type = std::string;
};
template <TextForm F>
using ValueOf = typename FormValue<F>::type;

namespace keys {

using enum TextForm;

#define LQ_DECLARE_KEY(field, section, name, form, defaultText, held, ...) \
  inline constexpr SettingKey field = MakeKey(sections::section, name, form, defaultText, IntRange{__VA_ARGS__});
LQ_SETTINGS(LQ_DECLARE_KEY, LQ_NO_GROUP)
#undef LQ_DECLARE_KEY

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

// Every entry above.
std::span<const SettingKey* const> AllSettingKeys();

}  // namespace lq
