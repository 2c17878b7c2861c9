#pragma once
// Carries out each alarm check of the main timer: store/alarm.h plans what rings and what is
// only listed; this starts the alarm program for each group and lists the skipped alarms once
// the tick is over.

#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/msgbox.h"
#include "store/alarm.h"

namespace lq::win {

class AlarmLauncher {
 public:
  // The window's message box: the window takes the foreground and beeps before it shows.
  using Tell = std::function<void(BoxKind, const std::wstring&)>;
  // Posted to the window after a check that found skipped alarms not rung.
  static constexpr UINT kShowMissedAlarms = WM_APP + 0x40;

  explicit AlarmLauncher(Tell tell) : tell_(std::move(tell)) {}

  void Attach(HWND window) { window_ = window; }
  void Check(const TaskTable& table, std::string_view minute, const AlarmPass& pass);
  // The list of the skipped alarms gathered since it last showed.
  void ShowMissed();

  // For the automation query.
  long Checks() const { return checks_; }
  long Starts() const { return starts_; }

 private:
  void Start(const TaskTable& table, std::span<const AlarmCall> alarms);

  Tell tell_;
  HWND window_ = nullptr;
  std::vector<int> rows_;  // kept, so a minute without alarms allocates nothing
  std::vector<DueAlarm> due_;
  std::wstring missed_;  // skipped alarms not rung, to be listed after the tick
  long checks_ = 0;
  long starts_ = 0;
};

}  // namespace lq::win
