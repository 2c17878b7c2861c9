#include "app/application.h"

#include <commctrl.h>

#include "mainwindow/mainwindow.h"
#include "platform/dialog.h"
#include "platform/outlook.h"
#include "settings/textforms.h"

namespace lq::win {
namespace {

constexpr const wchar_t* kApplicationClass = L"TLqApplication";
constexpr const wchar_t* kApplicationTitle = L"Lindqvale";

std::filesystem::path WithExtension(std::filesystem::path p, const wchar_t* ext) {
  p.replace_extension(ext);
  return p;
}

HWND CreateApplicationWindow() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = kApplicationClass;
  ::RegisterClassExW(&wc);
  return ::CreateWindowExW(0, kApplicationClass, kApplicationTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

Application::Application(std::filesystem::path exePath)
    : exePath_(std::move(exePath)),
      profile(WithExtension(exePath_, L".ini")),
      list(clock, collation),
      taskFile(WithExtension(exePath_, L".csv"), fileStore),
      frmConfig(TfrmConfig::Environment{profile, profile.Path(), clock, exePath_, kApplicationTitle,
                                        [this] { return EnsureCom(); }}),
      frmSync(TfrmSync::Environment{list, profile, profile.Path(),
                                    [this](const TaskTable& before) { return taskFile.KeepCopy(before); },
                                    [this](const TaskTable& table) { return taskFile.SaveTaskFile(table); },
                                    &OpenOutlookTaskFolder}) {}

WindowPosition Application::LoadForStart(int dpi, const DateTime& now) {
  const WindowPosition stored = ReadWinPosition(profile, dpi);
  list.Clear();
  list.DoneDown = ReadBoolean(profile, keys::DoneDown);
  loadReport = taskFile.LoadTaskFile(list, profile, now);
  list.UpdateTaskCounts();
  return stored;
}

bool Application::SaveForExit(const WindowPosition& window,
                              const std::function<void(const std::filesystem::path&)>& failed) {
  bool ok = taskFile.SaveTaskFile(list.Table());
  if (!ok) failed(TaskFilePath());
  if (!WriteWinPosition(profile, window)) {
    failed(SettingsFilePath());
    ok = false;
  }
  return ok;
}

int Application::Run() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);

  window_ = CreateApplicationWindow();
  int code = 0;
  {
    TfrmToDo main(*this);
    {
      // The window position, the task file's keys and the settings: one reading of the file.
      const IniProfile::Batch oneReading(profile);
      if (!main.Create()) return 1;
      main.Show();
    }

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (main.PreTranslateMessage(msg)) continue;
      if (Dialog::RouteDialogMessage(&msg)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    code = static_cast<int>(msg.wParam);
  }
  ::DestroyWindow(window_);
  window_ = nullptr;
  return code;
}

}  // namespace lq::win
