// Start-up benchmark: from process creation to the first painted task grid, with 1,000,
// 10,000 and 100,000 tasks, beside a minimal Win32 window program started the same way in the
// same run; and the peak working set of each. Prints figures; asserts nothing.
//   lq_bench_startup <Lindqvale.exe> <minimal_window.exe>
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "mainwindow/automation.h"
#include "sjis.h"
#include "taskgen.h"

namespace fs = std::filesystem;

namespace {

struct Sample {
  double ms = 0;
  double peakMb = 0;
};

HWND FindWindowOf(DWORD pid) {
  struct Find {
    DWORD pid;
    HWND found;
  } f{pid, nullptr};
  EnumWindows(
      [](HWND h, LPARAM l) -> BOOL {
        auto* f = reinterpret_cast<Find*>(l);
        DWORD p = 0;
        GetWindowThreadProcessId(h, &p);
        wchar_t cls[32] = {};
        GetClassNameW(h, cls, 32);
        if (p == f->pid && lstrcmpW(cls, L"TfrmToDo") == 0) {
          f->found = h;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// Starts the program in `folder`, waits for its first painted frame, reads its peak working
// set, closes it.
Sample RunOnce(const fs::path& exe, const fs::path& folder) {
  Sample s;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe.wstring() + L"\"";
  LARGE_INTEGER freq;
  LARGE_INTEGER start;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
    return s;
  }
  HWND w = nullptr;
  long long painted = 0;
  const DWORD began = GetTickCount();
  while (GetTickCount() - began < 60000) {
    if (!w) w = FindWindowOf(pi.dwProcessId);
    if (w) {
      DWORD_PTR v = 0;
      if (SendMessageTimeoutW(w, lq::automation::kFirstPaint, 0, 0, SMTO_ABORTIFHUNG, 5000, &v) && v != 0) {
        painted = static_cast<long long>(v);
        break;
      }
    }
    Sleep(1);
  }
  if (painted) s.ms = 1000.0 * static_cast<double>(painted - start.QuadPart) / static_cast<double>(freq.QuadPart);
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc)) s.peakMb = static_cast<double>(pmc.PeakWorkingSetSize) / 1048576.0;
  if (w) PostMessageW(w, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return s;
}

Sample Median(const fs::path& exe, const fs::path& folder, int runs) {
  std::vector<Sample> samples;
  for (int i = 0; i < runs; ++i) samples.push_back(RunOnce(exe, folder));
  std::sort(samples.begin(), samples.end(), [](const Sample& a, const Sample& b) { return a.ms < b.ms; });
  Sample m = samples[samples.size() / 2];
  for (const Sample& s : samples) m.peakMb = std::max(m.peakMb, s.peakMb);
  return m;
}

double CpuSeconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  const auto value = [](FILETIME f) { return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  return static_cast<double>(value(kernel) + value(user)) / 1e7;
}

// Starts the program, lets it settle into view mode (another window takes the activation),
// then measures the processor time it uses over `seconds` of doing nothing.
double IdleCpu(const fs::path& exe, const fs::path& folder, int seconds) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe.wstring() + L"\"";
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) return -1;
  HWND w = nullptr;
  for (int i = 0; i < 6000 && !w; ++i) {
    w = FindWindowOf(pi.dwProcessId);
    Sleep(10);
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"LqBenchOther";
  RegisterClassW(&wc);
  const HWND other = CreateWindowExW(0, L"LqBenchOther", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(other);
  const auto pump = [](DWORD ms) {
    const DWORD until = GetTickCount() + ms;
    MSG msg;
    while (GetTickCount() < until) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(20);
    }
  };
  pump(2000);
  const double before = CpuSeconds(pi.hProcess);
  pump(static_cast<DWORD>(seconds) * 1000);
  const double used = CpuSeconds(pi.hProcess) - before;
  DestroyWindow(other);
  if (w) PostMessageW(w, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return used;
}

void WriteFile(const fs::path& p, const std::string& bytes) {
  HANDLE h = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(h);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: lq_bench_startup Lindqvale.exe minimal_window.exe [idle-seconds]\n");
    return 2;
  }
  const int idleSeconds = argc > 3 ? _wtoi(argv[3]) : 0;
  const fs::path program = argv[1];
  const fs::path minimal = argv[2];
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const fs::path root = fs::path(temp) / L"lindqvale-startup";
  fs::remove_all(root);

  const fs::path minimalDir = root / L"minimal";
  fs::create_directories(minimalDir);
  fs::copy_file(minimal, minimalDir / L"minimal_window.exe");
  RunOnce(minimalDir / L"minimal_window.exe", minimalDir);  // warm the file cache
  const Sample base = Median(minimalDir / L"minimal_window.exe", minimalDir, 5);

  std::printf("Start-up to the first painted frame (median of 5 runs), peak working set (largest)\n");
  std::printf("%-22s %10s %8s %12s %12s\n", "program", "ms", "ratio", "peak MB", "MB above");
  std::printf("%-22s %10.1f %8s %12.1f %12s\n", "minimal window", base.ms, "1.00x", base.peakMb, "-");
  for (const int n : {1000, 10000, 100000}) {
    const fs::path dir = root / (L"tasks-" + std::to_wstring(n));
    fs::create_directories(dir);
    fs::copy_file(program, dir / L"Lindqvale.exe");
    WriteFile(dir / L"Lindqvale.csv",
              lq::bench::JoinTaskFile(lq::bench::GenerateTaskLines(n, 42u + static_cast<unsigned>(n), lq::testing::Sj)));
    RunOnce(dir / L"Lindqvale.exe", dir);
    const Sample s = Median(dir / L"Lindqvale.exe", dir, 5);
    char name[32];
    std::snprintf(name, sizeof name, "Lindqvale, %d tasks", n);
    std::printf("%-22s %10.1f %7.2fx %12.1f %12.1f\n", name, s.ms, s.ms / base.ms, s.peakMb, s.peakMb - base.peakMb);
  }
  if (idleSeconds > 0) {
    const fs::path dir = root / L"idle";
    fs::create_directories(dir);
    fs::copy_file(program, dir / L"Lindqvale.exe");
    WriteFile(dir / L"Lindqvale.csv",
              lq::bench::JoinTaskFile(lq::bench::GenerateTaskLines(10000, 7u, lq::testing::Sj)));
    const double ours = IdleCpu(dir / L"Lindqvale.exe", dir, idleSeconds);
    const double theirs = IdleCpu(minimalDir / L"minimal_window.exe", minimalDir, idleSeconds);
    std::printf("\nProcessor time over %d idle seconds in view mode (10,000 tasks, the 100 ms timer running):\n",
                idleSeconds);
    std::printf("  Lindqvale       %8.3f s (%.3f%% of one core)\n", ours, 100.0 * ours / idleSeconds);
    std::printf("  minimal window  %8.3f s (%.3f%% of one core)\n", theirs, 100.0 * theirs / idleSeconds);
  }
  fs::remove_all(root);
  return 0;
}
