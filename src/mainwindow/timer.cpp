// The 100 ms main timer: the clock, the change of day, the alarms once a minute, and whether
// the window shows (the user's hide command and hover hiding). The rules are portable
// (geometry/tick.h, geometry/hover.h, store/alarm.h); this file gathers the inputs and applies
// the outcome. A tick in which nothing changed allocates nothing and repaints nothing. When the
// clock jumped (sleep, a time change, a long modal loop) the alarms in between ring late.
#include "app/application.h"
#include "mainwindow/mainwindow.h"

#include <shellapi.h>

#include <algorithm>
#include <span>
#include <utility>

#include "platform/codepage.h"
#include "platform/msgbox.h"
#include "store/alarm.h"
#include "store/text.h"

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
  std::string header(list_.Table().Cell(colText, 0));
  const TickOutcome out = TickBookkeeping(in, timer_, header);

  if (out.headerChanged) {
    list_.Table().SetCell(colText, 0, header);
    gridToDo->InvalidateCell(colText, 0);
  }
  if (out.labelsChanged) {
    viewImage_.SetLabelTexts(Wide(timer_.lblYMDHM.View()), Wide(timer_.lblSecond.View()));
  }
  if (out.dayChanged) {
    // Every days-left value and colour follows the new date.
    list_.SortTasks(list_.CurrentRow() - list_.TopRow(), true);
    gridToDo->Refresh();
    if (!editMode_) RefreshViewImage();
  }
  if (out.checkAlarms) AlarmCheck(out.minute.View(), out.alarms);

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
  if (!visible && tooltips_) ::SendMessageW(tooltips_, TTM_POP, 0, 0);  // no hint over where it was
  ::ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

void TfrmToDo::AlarmCheck(std::string_view minute, const AlarmPass& pass) {
  if (!pass.Jumped()) {
    // The usual next minute, unless the clock went back to one examined before.
    if (WhenAlarmRings(pass, pass.now) == AlarmDue::OnTime) {
      AlarmRowsToRing(list_.Table(), minute, alarmRows_);
      std::vector<AlarmCall> calls;
      for (const int row : alarmRows_) {
        calls.push_back(AlarmCall{row, std::string(minute), AlarmTaskText(list_.Table().Cell(colText, row)), 0});
      }
      for (const AlarmCall& call : calls) StartAlarmProgram(std::span<const AlarmCall>(&call, 1));
    }
    ++alarmChecks_;
    return;
  }

  // The clock jumped: what fell in between rings late, or is listed when it cannot.
  AlarmsOfPass(list_.Table(), pass, dueAlarms_);
  std::vector<AlarmCall> onTime;
  std::vector<AlarmCall> late;
  std::vector<DueAlarm> missed;
  for (const DueAlarm& a : dueAlarms_) {
    const std::string_view text = list_.Table().Cell(colText, a.row);
    AlarmCall call{a.row, std::string(TakeChars(text, 5)), AlarmTaskText(text), pass.now - a.minute};
    if (a.due == AlarmDue::OnTime) onTime.push_back(std::move(call));
    if (a.due == AlarmDue::Late) late.push_back(std::move(call));
    if (a.due == AlarmDue::Missed) missed.push_back(a);
  }
  if (!missed.empty()) {
    // Said after the tick, so that the timer goes on while the message is read.
    if (!missedAlarms_.empty()) missedAlarms_ += L"\r\n\r\n";
    missedAlarms_ += Wide(MissedAlarmsMessage(list_.Table(), missed));
    ::PostMessageW(Handle(), kShowMissedAlarms, 0, 0);
  }
  for (const AlarmCall& call : onTime) StartAlarmProgram(std::span<const AlarmCall>(&call, 1));
  for (const std::vector<AlarmCall>& group : GroupLateAlarms(std::move(late))) StartAlarmProgram(group);
  ++alarmChecks_;
}

void TfrmToDo::StartAlarmProgram(std::span<const AlarmCall> alarms) {
  // The list may have changed while an earlier error was on the screen: ring only what still
  // rings.
  std::vector<AlarmCall> still;
  for (const AlarmCall& a : alarms) {
    if (StillRings(list_.Table(), a)) still.push_back(a);
  }
  if (still.empty()) return;
  ++alarmStarts_;
  const std::string parameters = AlarmParameters(still);
  const auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(Handle(), L"open", Wide(kAlarmProgram).c_str(),
                                                                Wide(parameters).c_str(), L"", SW_SHOWNORMAL));
  if (result > 32) return;
  const std::string message = AlarmErrorMessage(still, static_cast<int>(result));
  if (message.empty()) return;  // codes without an explanation are ignored
  ::SetForegroundWindow(Handle());
  ::MessageBeep(MB_OK);
  ShowMessage(BoxKind::Warning, Wide(message));
}

void TfrmToDo::ShowMissedAlarms() {
  if (missedAlarms_.empty()) return;
  const std::wstring text = std::exchange(missedAlarms_, std::wstring());
  ::SetForegroundWindow(Handle());
  ::MessageBeep(MB_OK);
  ShowMessage(BoxKind::Information, text);
}

void TfrmToDo::popitemAlarmClick() {
  if (list_.ToggleAlarm() == TaskList::AlarmToggle::NoTime) {
    ShowMessage(BoxKind::Information, L"時刻として有効な文字列が見つかりません。\r\n(全角文字は不可)");
    return;
  }
  gridToDo->Refresh();
}

}  // namespace lq::win
