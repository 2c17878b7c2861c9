// The 100 ms main timer: the clock, the change of day, the alarms once a minute, and whether
// the window shows (the user's hide command and hover hiding, through listvisibility.h). The
// rules are portable (geometry/tick.h, geometry/hover.h, store/alarm.h); this file gathers the
// inputs and applies the outcome (the alarms through alarmlauncher.h). A tick in which nothing
// changed allocates nothing and repaints nothing. When the clock jumped (sleep, a time change, a
// long modal loop) the alarms in between ring late.
#include "app/application.h"
#include "mainwindow/mainwindow.h"

#include "platform/codepage.h"

namespace lq::win {
namespace {

std::wstring Wide(std::string_view cp932) { return FromCp932(cp932); }

}  // namespace

void TfrmToDo::tmrHideWhenOnMouseTimer() {
  if (InTimer) return;  // a message box inside a tick keeps the timer running
  const ScopedFlag inTimer(InTimer);

  TickInput in;
  in.now = app_.clock.Now();
  in.editMode = editMode_;
  in.lblCalendar = settings_.LblCalendar;
  in.clockFormat = view_.ClockFormat();
  in.secondsShown = view_.Image().SecondsShown();
  std::string header(list_.Table().Cell(colText, 0));
  const TickOutcome out = TickBookkeeping(in, timer_, header);

  if (out.headerChanged) {
    list_.Table().SetCell(colText, 0, header);
    gridToDo->InvalidateCell(colText, 0);
  }
  if (out.labelsChanged) {
    view_.Image().SetLabelTexts(Wide(timer_.lblYMDHM.View()), Wide(timer_.lblSecond.View()));
  }
  if (out.dayChanged) {
    // Every days-left value and colour follows the new date.
    list_.SortTasks(list_.CurrentRow() - list_.TopRow(), true);
    gridToDo->Refresh();
    if (!editMode_) view_.RefreshViewImage();
  }
  if (out.checkAlarms) alarms_.Check(list_.Table(), out.minute.View(), out.alarms);

  visibility_.FollowHover();
}

void TfrmToDo::ClockMayHaveJumped() {
  // Looked at once rather than at the next tick. Not while the settings or synchronisation
  // dialog has the timer stopped.
  if (SettingsApplied() && life_ != Life::Closing && !app_.frmConfig.Visible() && !app_.frmSync.Visible()) {
    tmrHideWhenOnMouseTimer();
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
