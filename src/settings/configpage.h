#pragma once
// The settings dialog's six pages as one value: what every control shows, read from the
// settings file with each number brought into its control's range, and written back key by
// key in the dialog's order. The dialog only moves these values in and out of its controls;
// the rules of its controls (which list item is chosen, where the font panel goes, what a
// number field keeps) are here too.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/colors.h"
#include "settings/keys.h"
#include "settings/settings.h"
#include "store/datetext.h"
#include "store/seams.h"
#include "store/tasktable.h"

namespace lq {

// The choice "閲覧モード時にマウスカーソルを重ねた際の挙動", by item index; None when no item is
// selected (then neither key is written).
enum class HideMode : int { None = -1, KeepShowing = 0, OnTouch = 1, InsideFrame = 2 };

struct ConfigPage {
  // 不可視化
  std::int32_t EditMode = 0;  // track bar positions, percent
  std::int32_t ViewMode = 0;
  bool EditNoTransparent = false;
  bool ViewNoTransparent = false;
  bool TopMost = false;
  HideMode hideMode = HideMode::None;

  // 文字: the preview panels, indexed by UrgencyClass
  std::array<ClassStyle, kUrgencyClassCount> Classes;

  // 表示
  std::int32_t RowHeight = 0;
  bool DoneDown = false;
  bool HintEnabled = false;
  std::int32_t HintStart = 0;
  std::int32_t HintTerm = 0;
  bool HintFullPath = false;
  std::int32_t DateFormat = 0;   // item index
  std::int32_t LblCalendar = 0;  // item index
  bool ShowDateRow = false;
  bool ShowCountRow = false;

  // 予定
  bool DateCursorTurn = false;
  bool SaveOnLostFocus = false;
  bool FinishedDayChange = false;
  std::string IMEName;
  bool IMEOnOff = false;

  // 動作
  bool HotKeyEnabled = false;
  std::string ModifyToActivate;
  std::string ToActivate;
  std::string ModifyToVisible;
  std::string ToVisible;
  std::string AlarmWav;
  bool AlarmLoop = false;
  bool SyncEnabled = false;  // no control shows it; it passes through
};

// The settings as the main window's load reads them, as the pages show them: numbers outside
// what a control can hold are shown at its nearest end, so OK writes that.
ConfigPage PageOf(const Settings& settings, std::string alarmWav, bool alarmLoop);

// Every key the dialog shows, from the file. `exeFolder` (code-page-932 bytes ending in a
// separator) makes the default of the alarm sound.
ConfigPage ReadConfigPage(const Profile& profile, SystemColorFn systemColor, std::string_view exeFolder);

// Writes every key the dialog shows, except [Font] Name and Size, in the dialog's order. The
// first key that could not be written stops the writing and comes back. Null when all were
// written. The caller groups the writes in a Profile::Edit, so that they reach the file
// together or not at all.
const SettingKey* WriteConfigPage(Profile& profile, const ConfigPage& page);

// Both hot keys in use and alike: OK refuses that.
bool SameHotKeys(const ConfigPage& page);

// The dialog's lists.
inline constexpr std::array<std::int32_t, 13> kFontSizes{6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24};
static_assert(kFontSizes.front() == kFontSizeRange.min && kFontSizes.back() == kFontSizeRange.max);
inline constexpr std::array<std::string_view, 4> kHotKeyModifiers{"Ctrl+Alt", "Shift+Ctrl", "Shift+Alt",
                                                                  "Shift+Ctrl+Alt"};
// "A" to "Z", "F1" to "F12", "Up", "Down", "Right", "Left", "Ins", "BkSp".
std::span<const std::string_view> HotKeyKeys();

// The item of a list to select for a text: the first item equal to it exactly (case and width
// matter), or item 0 when none is.
template <typename Items, typename Text>
std::size_t SelectComboText(const Items& items, const Text& text) {
  std::size_t i = 0;
  for (const auto& item : items) {
    if (item == text) return i;
    ++i;
  }
  return 0;
}

// The preview panel being edited: the first checked radio button in the order Expiration,
// Deadline, 1, 2, 3, Done; the Title panel when none of them is. Indexed by UrgencyClass.
UrgencyClass SelectedPreviewPanel(std::span<const bool, kUrgencyClassCount> checked);

// The fonts page in pixels: the preview panels stacked from the top, and the font panel that
// lies over them, moved away from the row being edited.
inline constexpr int kPreviewFirstTop = 44;
inline constexpr int kPreviewPitch = 32;
inline constexpr int kFontPanelHeight = 97;
inline constexpr int kFontPanelUpper = 32;   // over the first three rows
inline constexpr int kFontPanelLower = 192;  // over the last rows
constexpr int PreviewPanelTop(UrgencyClass c) { return kPreviewFirstTop + kPreviewPitch * static_cast<int>(c); }
// Where the font panel goes when the panel at `panelTop` is chosen; nothing when it stays.
std::optional<int> FontPanelTopFor(int panelTop);

// A font size chosen or typed in the size list: 9 when the text is not a number, and never a
// size a font cannot be made in.
std::int32_t FontSizeOfText(std::string_view text);

// Number fields: what a field keeps when the focus leaves it. Digits too many for any number
// give the maximum; a text that is not a number gives the minimum.
std::int32_t NumberFieldValue(std::wstring_view text, IntRange range);
// The characters a number field lets through as typed: the digits, and control characters
// (Backspace and the clipboard keys Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z).
bool NumberFieldAccepts(wchar_t ch);
// What a paste into a number field inserts: the digits of the pasted text.
std::wstring NumberFieldPaste(std::wstring_view text);

// The three items of "期限の表示方式": today in each form ("2024/03/15(金)", "03/15(金)", "03/15").
std::array<std::string, 3> DateFormatSamples(const DateTime& now);

}  // namespace lq
