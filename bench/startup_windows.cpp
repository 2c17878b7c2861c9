// Start-up benchmark: from process creation to the first painted task grid, with 1,000 to
// 200,000 tasks and with a task of 1 MB text on the first row, beside two floors started the same
// way, a bare Win32 window and a themed one with an edit control and a button (and, when given,
// an earlier Lindqvale.exe), the programs taking turns within each run; and the peak working set
// of each. Prints figures; asserts nothing.
//   lq_bench_startup <Lindqvale.exe> <minimal_window.exe> <themed_window.exe> [idle-seconds]
//                    [baseline Lindqvale.exe]
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

Sample MedianOf(std::vector<Sample> samples) {
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
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: lq_bench_startup Lindqvale.exe minimal_window.exe themed_window.exe [idle-seconds] "
                 "[baseline.exe]\n");
    return 2;
  }
  const int idleSeconds = argc > 4 ? _wtoi(argv[4]) : 0;
  const fs::path program = argv[1];
  const fs::path minimal = argv[2];
  const fs::path themed = argv[3];
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const fs::path root = fs::path(temp) / L"lindqvale-startup";
  fs::remove_all(root);

  const fs::path minimalDir = root / L"minimal";
  fs::create_directories(minimalDir);
  fs::copy_file(minimal, minimalDir / L"minimal_window.exe");
  RunOnce(minimalDir / L"minimal_window.exe", minimalDir);  // warm the file cache
  const fs::path themedDir = root / L"themed";
  fs::create_directories(themedDir);
  fs::copy_file(themed, themedDir / L"themed_window.exe");
  RunOnce(themedDir / L"themed_window.exe", themedDir);
  const fs::path baseline = argc > 5 ? fs::path(argv[5]) : fs::path();

  struct Case {
    const wchar_t* name;
    int tasks;
    bool longFirst;  // a task of 1 MB text sorted first, so the editor opens on it
  };
  const Case cases[] = {{L"1000", 1000, false},     {L"10000", 10000, false},   {L"100000", 100000, false},
                        {L"200000", 200000, false}, {L"1000-1mb", 1000, true}};
  wchar_t runs[16] = {};
  const int kRuns = GetEnvironmentVariableW(L"LQ_BENCH_RUNS", runs, 16) && _wtoi(runs) > 0 ? _wtoi(runs) : 9;
  std::printf("Start-up to the first painted frame (median of %d runs, the programs taking turns), peak working set\n"
              "(largest); ratios to the bare window (min), the themed window (thm)%s measured in the same run\n",
              kRuns, baseline.empty() ? "" : " and the baseline");
  std::printf("%-26s %9s %8s %8s %9s %8s %9s %9s %9s %9s\n", "case", "ms", "/min", "/thm", "base ms", "/base",
              "min ms", "thm ms", "peak MB", "base MB");
  // LQ_BENCH_CASES="1000 1000-1mb" runs only those cases.
  wchar_t only[256] = {};
  GetEnvironmentVariableW(L"LQ_BENCH_CASES", only, 256);
  const std::wstring chosen = L" " + std::wstring(only) + L" ";
  for (const Case& c : cases) {
    if (only[0] && chosen.find(L" " + std::wstring(c.name) + L" ") == std::wstring::npos) continue;
    const fs::path dir = root / c.name;
    fs::create_directories(dir);
    fs::copy_file(program, dir / L"Lindqvale.exe");
    auto lines = lq::bench::GenerateTaskLines(c.tasks, 42u + static_cast<unsigned>(c.tasks), lq::testing::Sj);
    if (c.longFirst) {
      std::string text;
      while (text.size() < 1048576) text += lq::testing::Sj("長い行の予定 long line ");
      lines.push_back(lq::testing::Sj("2023/12/31(日)") + ",20231201120000000," + std::string("\x81\x40") + ",|||," + text);
    }
    WriteFile(dir / L"Lindqvale.csv", lq::bench::JoinTaskFile(lines));
    const fs::path baseDir = root / (std::wstring(c.name) + L"-base");
    if (!baseline.empty()) {
      fs::create_directories(baseDir);
      fs::copy_file(baseline, baseDir / L"Lindqvale.exe");
      fs::copy_file(dir / L"Lindqvale.csv", baseDir / L"Lindqvale.csv");
    }
    RunOnce(dir / L"Lindqvale.exe", dir);
    std::vector<Sample> ours, theirs, plain, floor;
    for (int i = 0; i < kRuns; ++i) {
      ours.push_back(RunOnce(dir / L"Lindqvale.exe", dir));
      if (!baseline.empty()) theirs.push_back(RunOnce(baseDir / L"Lindqvale.exe", baseDir));
      plain.push_back(RunOnce(minimalDir / L"minimal_window.exe", minimalDir));
      floor.push_back(RunOnce(themedDir / L"themed_window.exe", themedDir));
    }
    const Sample s = MedianOf(ours);
    const Sample b = theirs.empty() ? Sample{} : MedianOf(theirs);
    const Sample m = MedianOf(plain);
    const Sample t = MedianOf(floor);
    char name[40];
    std::snprintf(name, sizeof name, "%d tasks%s", c.tasks, c.longFirst ? " + 1 MB first row" : "");
    std::printf("%-26s %9.1f %7.2fx %7.2fx %9.1f %7.2fx %9.1f %9.1f %9.1f %9.1f\n", name, s.ms, s.ms / m.ms,
                s.ms / t.ms, b.ms, b.ms > 0 ? s.ms / b.ms : 0.0, m.ms, t.ms, s.peakMb, b.peakMb);
    std::fflush(stdout);
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
