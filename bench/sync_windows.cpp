// The exchange with a large list under Wine, against the Outlook stand-in: every task was there
// at the last run and is gone from Outlook since, so the run deletes each one here (after
// keeping the list in a backup); and, for a size given as "iN", N Outlook tasks taken into an
// empty list by a first run. For 25,000 and 200,000 tasks (or the sizes given): the time from
// the press of " 同 期" to the end of the run, the longest the dialog took meanwhile to answer a
// message, and the program's peak working set. Prints figures; asserts nothing.
//   lq_bench_sync <Lindqvale.exe> <lq_fake_outlook.exe> [tasks | iITEMS ...]
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "commands/commandtable.h"
#include "fake_outlook.h"
#include "mainwindow/automation.h"
#include "res/resource.h"
#include "store/datetext.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The first visible window of the process of this class (and caption, when given) other than
// `except`.
HWND WindowOf(DWORD pid, const wchar_t* cls, const wchar_t* caption = nullptr, HWND except = nullptr) {
  struct Find {
    DWORD pid;
    const wchar_t* cls;
    const wchar_t* caption;
    HWND except;
    HWND found;
  } f{pid, cls, caption, except, nullptr};
  EnumWindows(
      [](HWND h, LPARAM l) -> BOOL {
        auto* f = reinterpret_cast<Find*>(l);
        DWORD p = 0;
        GetWindowThreadProcessId(h, &p);
        wchar_t name[64] = {};
        GetClassNameW(h, name, 64);
        if (p != f->pid || h == f->except || !IsWindowVisible(h) || lstrcmpW(name, f->cls) != 0) return TRUE;
        wchar_t text[64] = {};
        if (f->caption && (GetWindowTextW(h, text, 64), lstrcmpW(text, f->caption) != 0)) return TRUE;
        f->found = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.found;
}

template <typename F>
bool Wait(F done, std::chrono::seconds limit) {
  const auto until = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() > until) return false;
    Sleep(5);
  }
  return true;
}

void WriteTasks(const fs::path& file, int count) {
  std::string bytes = "00000000000000,TARNWILLOW03.2.00\r\n";
  bytes.reserve(static_cast<std::size_t>(count) * 64);
  for (int i = 0; i < count; ++i) {
    // Seen by the last run (2024-01-01, before its LastSync), on dates around it.
    bytes += lq::FormatDueDate(lq::AddDays(lq::Date{2024, 1, 1}, i % 365)) + ",20240101101010100," +
             (i % 7 == 0 ? "\x8D\xCF" : "\x81\x40") + ",|||,task " + std::to_string(i) + "\r\n";
  }
  std::ofstream(file, std::ios::binary) << bytes;
}

struct Figures {
  double runMs = -1;
  double longestAnswerMs = 0;
  double peakMb = 0;
};

void WriteItems(const fs::path& file, int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) {
    bytes += lq::FormatStamp(lq::DateTime{lq::AddDays(lq::Date{2024, 1, 1}, i % 365)}) + "\t20240101101010100\t" +
             (i % 7 == 0 ? "2" : "0") + "\t0\titem " + std::to_string(i) + "\r\n";
  }
  std::ofstream(file, std::ios::binary) << bytes;
}

// `items` Outlook tasks into an empty list on a first run, or else `tasks` deleted here.
Figures RunOnce(const fs::path& exe, const fs::path& standIn, int tasks, int items) {
  Figures f;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const fs::path folder = fs::path(temp) / (L"lindqvale-sync-bench-" + std::to_wstring(tasks));
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::copy_file(exe, folder / L"Lindqvale.exe");
  std::ofstream(folder / L"Lindqvale.ini", std::ios::binary)
      << (items > 0 ? "[Sync]\r\nEnabled=1\r\n" : "[Sync]\r\nEnabled=1\r\nLastSync=20240601000000000\r\n");
  WriteTasks(folder / L"Lindqvale.csv", tasks);
  WriteItems(folder / L"folder.txt", items);
  lq::testing::StandInRegistration registration;
  if (!registration.Add(standIn.wstring(), folder / L"folder.txt")) {
    std::puts("cannot register the stand-in");
    return f;
  }

  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + (folder / L"Lindqvale.exe").wstring() + L"\"";
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) return f;
  HWND main = nullptr;
  Wait(
      [&] {
        main = WindowOf(pi.dwProcessId, L"TfrmToDo");
        DWORD_PTR ready = 0;
        return main && SendMessageTimeoutW(main, lq::automation::kReady, 0, 0, SMTO_NORMAL, 1000, &ready) && ready;
      },
      std::chrono::seconds(60));
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(lq::MenuItemId(lq::MenuKind::Tray, lq::Command::Sync), 0), 0);
  HWND dialog = nullptr;
  Wait([&] { return (dialog = WindowOf(pi.dwProcessId, L"#32770", L"同期")) != nullptr; }, std::chrono::seconds(30));
  if (dialog) {
    const auto start = Clock::now();
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SYNC_BTNSYNC, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_SYNC_BTNSYNC)));
    // The end: a box (tasks deleted here), or the counts in the dialog.
    HWND box = nullptr;
    const bool ended = Wait(
        [&] {
          const auto asked = Clock::now();
          DWORD_PTR ignored = 0;
          SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &ignored);
          f.longestAnswerMs = std::max(f.longestAnswerMs, Ms(Clock::now() - asked));
          wchar_t counts[8] = {};
          SendMessageTimeoutW(GetDlgItem(dialog, IDC_SYNC_LBLCOUNTS), WM_GETTEXT, 8, reinterpret_cast<LPARAM>(counts),
                              SMTO_NORMAL, 600000, &ignored);
          box = WindowOf(pi.dwProcessId, L"#32770", nullptr, dialog);
          return box != nullptr || (items > 0 && counts[0] != 0);
        },
        std::chrono::seconds(1800));
    if (ended) f.runMs = Ms(Clock::now() - start);
    if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc)) f.peakMb = static_cast<double>(pmc.PeakWorkingSetSize) / 1048576.0;
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  lq::testing::StandInEnded();
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return f;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::puts("usage: lq_bench_sync <Lindqvale.exe> <lq_fake_outlook.exe> [tasks ...]");
    return 2;
  }
  if (lq::testing::OutlookRegistration() == lq::testing::OutlookRegistered::Other) {
    std::puts("Outlook is installed; the stand-in would replace it");
    return 2;
  }
  std::vector<std::wstring> sizes;
  for (int i = 3; i < argc; ++i) sizes.push_back(argv[i]);
  if (sizes.empty()) sizes = {L"25000", L"200000"};
  std::puts("Sync against the Outlook stand-in: tasks deleted here (kept in a backup first), or items taken in");
  std::printf("%24s %12s %20s %12s\n", "what", "run ms", "longest answer ms", "peak MB");
  for (const std::wstring& size : sizes) {
    const bool items = size.starts_with(L"i");
    const int n = _wtoi(size.c_str() + (items ? 1 : 0));
    const Figures f = RunOnce(argv[1], argv[2], items ? 0 : n, items ? n : 0);
    std::printf("%8d %15s %12.0f %20.0f %12.1f\n", n, items ? "items taken in" : "tasks deleted", f.runMs,
                f.longestAnswerMs, f.peakMb);
    std::fflush(stdout);
  }
  return 0;
}
