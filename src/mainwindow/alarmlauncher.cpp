#include "mainwindow/alarmlauncher.h"

#include <shellapi.h>

#include <utility>

#include "platform/codepage.h"

namespace lq::win {

void AlarmLauncher::Check(const TaskTable& table, std::string_view minute, const AlarmPass& pass) {
  const AlarmPlan plan = PlanAlarmCheck(table, minute, pass, rows_, due_);
  if (!plan.missed.empty()) {
    // Said after the tick, so that the timer goes on while the message is read.
    if (!missed_.empty()) missed_ += L"\r\n\r\n";
    missed_ += FromCp932(MissedAlarmsMessage(table, plan.missed));
    ::PostMessageW(window_, kShowMissedAlarms, 0, 0);
  }
  for (const std::vector<AlarmCall>& group : plan.starts) Start(table, group);
  ++checks_;
}

void AlarmLauncher::Start(const TaskTable& table, std::span<const AlarmCall> alarms) {
  // The list may have changed while an earlier error was on the screen: ring only what still
  // rings.
  std::vector<AlarmCall> still;
  for (const AlarmCall& a : alarms) {
    if (StillRings(table, a)) still.push_back(a);
  }
  if (still.empty()) return;
  ++starts_;
  const std::string parameters = AlarmParameters(still);
  const auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(
      window_, L"open", FromCp932(kAlarmProgram).c_str(), FromCp932(parameters).c_str(), L"", SW_SHOWNORMAL));
  if (result > 32) return;
  const std::string message = AlarmErrorMessage(still, static_cast<int>(result));
  if (message.empty()) return;  // codes without an explanation are ignored
  tell_(BoxKind::Warning, FromCp932(message));
}

void AlarmLauncher::ShowMissed() {
  if (missed_.empty()) return;
  tell_(BoxKind::Information, std::exchange(missed_, std::wstring()));
}

}  // namespace lq::win
