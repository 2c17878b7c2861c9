#include "settings/keys.h"

namespace lq {

namespace {

constexpr auto kAll = [] {
  using namespace keys;
  std::array<const SettingKey*, 70> all{};
  std::size_t n = 0;
  for (const SettingKey* k : {&EditMode, &ViewMode, &EditNoTransparent, &ViewNoTransparent, &HideWhenOnMouse,
                              &HideWhenOnEdge, &TopMost, &RowHeight, &DateFormat, &ShowDateRow, &ShowCountRow,
                              &LblCalendar, &FontName, &FontSize}) {
    all[n++] = k;
  }
  for (const ClassKeys& c : Classes) {
    for (const SettingKey* k : {&c.name, &c.size, &c.textColor, &c.backColor}) all[n++] = k;
  }
  for (const SettingKey* k : {&DoneDown, &DateCursorTurn, &SaveOnLostFocus, &FinishedDayChange, &IMEName,
                              &IMEOnOff, &HintEnabled, &HintStart, &HintTerm, &HintFullPath, &HotKeyEnabled,
                              &ModifyToActivate, &ToActivate, &ModifyToVisible, &ToVisible, &AlarmWav,
                              &AlarmLoop, &SyncEnabled, &LastSync, &WinX, &WinY, &WinWidth, &WinHeight}) {
    all[n++] = k;
  }
  for (const SettingKey& k : Find) all[n++] = &k;
  // A key added above without growing the array, or the other way round, stops the build.
  if (n != all.size()) throw "AllSettingKeys: count mismatch";
  return all;
}();

}  // namespace

std::span<const SettingKey* const> AllSettingKeys() { return kAll; }

}  // namespace lq
