// TarnwillowAlarm.exe: Lindqvale starts it through the shell at an alarm's minute with two
// quoted arguments, the minute "hh:nn" and the task text after the time ("/late:N" after them
// when it rings late, and several such alarms in one call when many ring late together). It shows the alarm,
// rings the sound chosen in Lindqvale.ini beside it, and ends when the user dismisses it. A
// snooze keeps it running, out of sight, until it rings again.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <filesystem>
#include <string>
#include <vector>

#include "alarm/alarmsound.h"
#include "alarm/alarmwindow.h"
#include "platform/handles.h"
#include "platform/module.h"
#include "platform/profile.h"
#include "store/alarmcall.h"
#include "store/snooze.h"

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the command line is UTF-16");

// The settings file is the main program's, which lies in the same folder.
constexpr const wchar_t* kSettingsName = L"Lindqvale.ini";
// Several alarms of one minute start together: one at a time looks for a free place and shows
// its window, so the next one sees it.
constexpr const wchar_t* kPlacementMutex = L"TarnwillowAlarm.Placement";
constexpr DWORD kPlacementWaitMilliseconds = 3000;

// The arguments after the program's name, split by the usual rules of CommandLineToArgvW.
std::vector<std::u16string> CommandArguments() {
  std::vector<std::u16string> args;
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!argv) return args;
  for (int i = 1; i < count; ++i) {
    const std::wstring_view arg(argv[i]);
    args.emplace_back(arg.begin(), arg.end());
  }
  ::LocalFree(argv);
  return args;
}

class PlacementLock {
 public:
  PlacementLock() : mutex_(::CreateMutexW(nullptr, FALSE, kPlacementMutex)) {
    if (mutex_) {
      const DWORD wait = ::WaitForSingleObject(mutex_.Get(), kPlacementWaitMilliseconds);
      owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
  }
  ~PlacementLock() {
    if (owned_) ::ReleaseMutex(mutex_.Get());
  }
  PlacementLock(const PlacementLock&) = delete;
  PlacementLock& operator=(const PlacementLock&) = delete;

 private:
  lq::win::KernelHandle mutex_;
  bool owned_ = false;
};

std::wstring Wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }

std::u16string EnvironmentValue(const wchar_t* name) {
  std::wstring value(64, L'\0');
  DWORD n = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  if (n >= value.size()) {
    value.resize(n);
    n = ::GetEnvironmentVariableW(name, value.data(), n);
  }
  value.resize(n < value.size() ? n : 0);
  return std::u16string(value.begin(), value.end());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);

  const std::vector<std::u16string> args = CommandArguments();
  lq::AlarmDisplay display = lq::InterpretAlarmArguments(args);
  const std::filesystem::path folder = lq::win::ExecutablePath().parent_path();
  const lq::win::IniProfile settings(folder / kSettingsName);
  const lq::alarm::SoundChoice sound = lq::alarm::ReadSoundChoice(settings, folder);

  // A test run may shorten the snooze minute; a normal start never does.
  const std::int64_t snoozeMinute =
      lq::SnoozeMinuteMilliseconds(EnvironmentValue(L"LQ_AUTOMATION"), EnvironmentValue(L"LQ_TEST_MINUTE_MS"));
  lq::alarm::AlarmWindow window(display, snoozeMinute);
  if (!window.Create()) {
    // Without a window of our own the alarm still gets through, in a message box.
    ::MessageBeep(MB_ICONEXCLAMATION);
    const std::wstring note = display.note.empty() ? L"" : Wide(display.note) + L"\r\n";
    ::MessageBoxW(nullptr, (Wide(display.time) + L"\r\n" + note + Wide(display.text)).c_str(),
                  Wide(display.caption).c_str(), MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST | MB_SETFOREGROUND);
    return 1;
  }
  {
    PlacementLock lock;
    window.ShowAndAttract();
  }
  window.Ring(sound);

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Enter and Escape reach the window as IDOK and IDCANCEL, Tab moves the focus.
    if (window.Handle() && ::IsDialogMessageW(window.Handle(), &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
