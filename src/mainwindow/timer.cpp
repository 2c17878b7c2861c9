// The 100 ms main timer: the clock, the change of day, the alarms once a minute, and whether
// the window shows (the user's hide command and hover hiding). The rules are portable
// (geometry/tick.h, geometry/hover.h, store/alarm.h); this file gathers the inputs and applies
// the outcome. A tick in which nothing changed allocates nothing and repaints nothing.
#include "app/application.h"
#include "mainwindow/mainwindow.h"

#include <shellapi.h>

#include <algorithm>

#include "platform/codepage.h"
#include "platform/msgbox.h"
#include "store/alarm.h"

namespace lq::win {
namespace {

bool Down(int vk) { return (::GetAsyncKeyState(vk) & 0x8000) != 0; }

std::wstring Wide(std::string_view cp932) { return FromCp932(cp932); }

}  // namespace

void TfrmToDo::tmrHideWhenOnMouseTimer() {
  if (InTimer) return;  // a message box inside a tick keeps the timer running
  const ScopedFlag inTimer(InTimer);

  TickInput in;
  in.now = app_.clock.Now();
  in.editMode = editMode_;
  in.lblCalendar = settings_.LblCalendar;
  in.clockFormat = clockFormat_;
  in.secondsShown = viewImage_.SecondsShown();
  const TickOutcome out = TickBookkeeping(in, timer_, list_.Table().Cell(colText, 0));

  if (out.headerChanged) gridToDo->InvalidateCell(colText, 0);
  if (out.labelsChanged) {
    viewImage_.SetLabelTexts(Wide(timer_.lblYMDHM.View()), Wide(timer_.lblSecond.View()));
  }
  if (out.dayChanged) {
    // Every days-left value and colour follows the new date.
    list_.SortTasks(list_.CurrentRow() - list_.TopRow(), true);
    gridToDo->Refresh();
    if (!editMode_) RefreshViewImage();
  }
  if (out.checkAlarms) AlarmCheck(out.minute.View());

  if (UserHidden) {
    ApplyVisibility(false);
  } else {
    HoverInput h;
    h.UserHidden = UserHidden;
    h.HoverHidden = HoverHidden;
    h.editMode = editMode_;
    h.settingsShowing = app_.frmConfig.Visible();
    h.syncShowing = app_.frmSync.Visible();
    POINT p{};
    if (::GetCursorPos(&p)) h.cursor = Point{p.x, p.y};
    h.leftDown = Down(VK_LBUTTON);
    h.rightDown = Down(VK_RBUTTON);
    h.shiftDown = Down(VK_SHIFT);
    RECT rc{};
    ::GetWindowRect(Handle(), &rc);
    h.window = Rect{rc.left, rc.top, rc.right, rc.bottom};
    h.HideWhenOnMouse = settings_.HideWhenOnMouse;
    h.HideWhenOnEdge = settings_.HideWhenOnEdge;
    h.edgeMargin = Scale(kHoverEdgeMargin);
    const HoverDecision d = DecideHover(h);
    HoverHidden = d.HoverHidden;
    ApplyVisibility(d.visible);
  }
}

void TfrmToDo::ApplyVisibility(bool visible) {
  if ((::IsWindowVisible(Handle()) != FALSE) == visible) return;
  ::ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

void TfrmToDo::AlarmCheck(std::string_view minute) {
  AlarmRowsToRing(list_.Table(), minute, alarmRows_);
  const std::vector<int> rows = alarmRows_;  // a message box below may let the list change
  const std::string minuteText(minute);
  for (const int row : rows) {
    // The list may have changed while an earlier error was on the screen: ring only a row
    // that still rings.
    std::vector<int> still;
    AlarmRowsToRing(list_.Table(), minuteText, still);
    if (std::find(still.begin(), still.end(), row) == still.end()) continue;
    const std::string text = list_.Table().Cell(colText, row);
    const std::string parameters = AlarmParameters(minuteText, AlarmTaskText(text));
    const auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(Handle(), L"open", Wide(kAlarmProgram).c_str(),
                                                                  Wide(parameters).c_str(), L"", SW_SHOWNORMAL));
    if (result > 32) continue;
    const std::string message = AlarmErrorMessage(minuteText, AlarmTaskText(text), static_cast<int>(result));
    if (message.empty()) continue;  // codes without an explanation are ignored
    ::SetForegroundWindow(Handle());
    ::MessageBeep(MB_OK);
    ShowMessage(BoxKind::Warning, Wide(message));
  }
}

void TfrmToDo::popitemAlarmClick() {
  if (list_.ToggleAlarm() == TaskList::AlarmToggle::NoTime) {
    ShowMessage(BoxKind::Information, L"時刻として有効な文字列が見つかりません。\r\n(全角文字は不可)");
    return;
  }
  gridToDo->Refresh();
}

}  // namespace lq::win
