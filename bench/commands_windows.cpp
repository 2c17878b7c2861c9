// Commands at scale under Wine: the time from a key (real input, as the end-to-end tests give
// it) to the task grid repainted after it, each command at 1,000 and at 100,000 tasks, median of
// 9, and the ratio. A command after which the grid does not repaint (a letter typed into the
// open editor) counts until the program has handled the input (its input fence). Prints
// figures; asserts nothing.
//   lq_bench_commands --exe=PATH\Lindqvale.exe [--runs=9] [--sizes=1000,100000]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "driver.h"
#include "mainwindow/automation.h"
#include "res/resource.h"
#include "taskgen.h"

using namespace lq::e2e;
using namespace std::chrono_literals;
namespace automation = lq::automation;

namespace {

int gRuns = 9;

long long Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

double Ms(long long ticks) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return 1000.0 * static_cast<double>(ticks) / static_cast<double>(f.QuadPart);
}

// The program over one list, in front.
class Run {
 public:
  explicit Run(const std::string& file) : session_(Write(scratch_, file)) {}
  ~Run() { session_.CloseAndWait(); }
  Program& P() { return session_.program; }

  // Times `act` from its start until the grid repainted after it, or, when it does not repaint
  // within a second of the input being handled, until then.
  double Time(const std::function<void()>& act) {
    const long long before = P().Query(automation::kLastPaint);
    const long long start = Now();
    act();
    const long long handled = Now();
    long long painted = 0;
    WaitUntil([&] { return (painted = P().Query(automation::kLastPaint)) != before; }, 1s);
    return Ms((painted != before ? painted : handled) - start);
  }

  // Ctrl held until the program has seen it (Wine may drop a held modifier), then the key timed.
  double CtrlKey(WORD key, const std::function<void()>& after = {}) {
    for (int attempt = 0; attempt < 5; ++attempt) {
      Key(VK_CONTROL, true);
      Settle();
      if (P().Query(automation::kInputFence, automation::kFenceModifiers) & 1) break;
    }
    return Time([&] {
      Key(key, true);
      Key(key, false);
      Key(VK_CONTROL, false);
      Settle();
      if (after) after();
    });
  }

  // The keys to the list: an open editor closes (Enter), as the list's shortcuts want.
  void ToList() {
    for (int i = 0; i < 3 && !(P().Query(automation::kEditors) & automation::kListFocused); ++i) Press(VK_RETURN);
  }

  // The dialog of that caption, opened by Ctrl+key (given again when Wine lost the Ctrl).
  HWND OpenDialog(WORD key, const wchar_t* caption) {
    ToList();
    for (int attempt = 0; attempt < 3; ++attempt) {
      CtrlKey(key);
      HWND dialog = nullptr;
      if (WaitUntil([&] { return (dialog = VisibleDialog(P(), caption)) != nullptr; }, 3s)) {
        Settle();
        return dialog;
      }
    }
    std::fprintf(stderr, "no dialog for Ctrl+%c\n", static_cast<char>(key));
    return nullptr;
  }

  // Searches down from the first task for a word and gives the time from Enter in the dialog.
  double Search(const char* word) {
    ToList();
    Press(VK_HOME);
    if (!OpenDialog('F', L"検索")) return 0;
    Type(Wide(Sj(word)));
    return Time([&] {
      Press(VK_RETURN);
      WaitUntil([&] { return !VisibleDialog(P(), L"検索"); });
    });
  }

  POINT GridCentre() {
    const RECT rc = P().GridScreenRect();
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  }

 private:
  static const Scratch& Write(const Scratch& s, const std::string& file) {
    s.Write(L"Lindqvale.csv", file);
    return s;
  }
  Scratch scratch_;
  Session session_;
};

using Samples = std::map<std::string, std::vector<double>>;

void Add(Samples& s, const char* name, double ms) {
  if (ms > 0) s[name].push_back(ms);
}

// Every command but the bulk ones, in one run of the program.
void MeasureEditing(int n, Samples& s) {
  Run r(lq::bench::CommandsTaskFile(n, false, Sj));
  for (int i = 0; i < gRuns; ++i) {
    Add(s, "Ctrl+A (a new task)", r.CtrlKey('A'));
    Add(s, "a letter into it", r.Time([] { Type(L"x"); }));
    Add(s, "Enter (close, sort)", r.Time([] { Press(VK_RETURN); }));
    Add(s, "Ctrl+E (done)", r.CtrlKey('E'));
  }
  for (int i = 0; i < gRuns; ++i) Add(s, "Down", r.Time([] { Press(VK_DOWN); }));
  for (int i = 0; i < gRuns; ++i) Add(s, "Page Down", r.Time([] { Press(VK_NEXT); }));
  const POINT centre = r.GridCentre();
  MoveMouse(centre);
  for (int i = 0; i < gRuns; ++i) Add(s, "wheel (one notch)", r.Time([&] { Wheel(centre, 1); }));
  for (int i = 0; i < gRuns; ++i) {
    // The question is asked; the time runs from its answer to the list repainted.
    Key(VK_CONTROL, true);
    Settle();
    Press('D');
    Key(VK_CONTROL, false);
    const auto box = r.P().WaitForMessageBox();
    if (!box) continue;
    Add(s, "Ctrl+D, answered", r.Time([&] {
          Program::Answer(*box, IDYES);
          WaitUntil([&] { return !IsWindow(box->hwnd); });
          Settle();
        }));
  }
  for (int i = 0; i < gRuns; ++i) {
    const double ms = r.Search(lq::bench::kLastWord);
    if (r.P().Query(automation::kCurrentRow) != r.P().Query(automation::kRowCount) - 1) {
      std::fprintf(stderr, "the search did not reach the last task\n");
    }
    Add(s, "search for the last task", ms);
  }
}

// Move date: the open tasks of the day that holds 1,000 of them go to another day, and from
// there again.
void MeasureMoveDate(int n, Samples& s) {
  Run r(lq::bench::CommandsTaskFile(n, true, Sj));
  r.Search(lq::bench::kMiddleWord);
  r.ToList();  // the editor the search opened closes
  // A try whose picker did not step (Wine selects a field only now and then) moved nothing and
  // is not counted.
  for (int i = 0, counted = 0; i < 3 * gRuns && counted < gRuns; ++i) {
    const HWND dialog = r.OpenDialog('G', L"移動元の全予定を移動先へ移動します");
    if (!dialog) continue;
    // The destination picker has the focus: a field is selected, and stepped one on.
    Press(VK_RIGHT);
    Press(VK_DOWN);
    const std::string before = r.P().Cell(0, static_cast<int>(r.P().Query(automation::kCurrentRow)));
    const double ms = r.Time([&] {
      Press(VK_RETURN);
      WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
      Settle();
    });
    if (r.P().Cell(0, static_cast<int>(r.P().Query(automation::kCurrentRow))) != before) {
      Add(s, "move date (1,000 tasks)", ms);
      ++counted;
    }
    r.ToList();
  }
}

// Bulk delete of every task up to the middle day, half the list, a fresh program each time.
void MeasureBulkDelete(int n, Samples& s) {
  const std::string file = lq::bench::CommandsTaskFile(n, false, Sj);
  for (int i = 0; i < gRuns; ++i) {
    Run r(file);
    r.Search(lq::bench::kMiddleWord);
    r.ToList();
    const HWND dialog = r.OpenDialog('H', L"指定日以前の予定を削除します");
    if (!dialog) continue;
    const HWND doneOnly = GetDlgItem(dialog, IDC_PASTDELETE_CHKDONEONLY);
    if (SendMessageW(doneOnly, BM_GETCHECK, 0, 0) == BST_CHECKED) SendMessageW(doneOnly, BM_CLICK, 0, 0);
    const LRESULT rows = r.P().Query(automation::kRowCount);
    std::optional<MessageBoxInfo> box;
    Add(s, "bulk delete (half)", r.Time([&] {
          Press(VK_RETURN);
          box = r.P().WaitForMessageBox(60s);
        }));
    if (box) Program::Answer(*box, IDOK);
    if (r.P().Query(automation::kRowCount) * 3 > rows * 2) std::fprintf(stderr, "the bulk delete kept too many\n");
  }
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  std::vector<int> sizes = {1000, 100000};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--exe=", 0) == 0) gProgram = arg.substr(6);
    if (arg.rfind("--runs=", 0) == 0) gRuns = std::max(1, std::stoi(arg.substr(7)));
    if (arg.rfind("--sizes=", 0) == 0) {
      sizes.clear();
      for (std::size_t at = 8; at < arg.size(); at = arg.find(',', at) + 1) {
        sizes.push_back(std::stoi(arg.substr(at)));
        if (arg.find(',', at) == std::string::npos) break;
      }
    }
  }
  if (gProgram.empty()) {
    std::fprintf(stderr, "usage: lq_bench_commands --exe=PATH\\Lindqvale.exe [--runs=9] [--sizes=1000,100000]\n");
    return 2;
  }
  std::vector<Samples> bySize;
  for (const int n : sizes) {
    Samples s;
    MeasureEditing(n, s);
    MeasureMoveDate(n, s);
    MeasureBulkDelete(n, s);
    bySize.push_back(std::move(s));
  }
  std::printf("From the key to the list repainted (median of %d, ms), and the growth from the first size to the last\n",
              gRuns);
  std::printf("%-28s", "command");
  for (const int n : sizes) std::printf(" %10d", n);
  std::printf(" %8s\n", "growth");
  for (const auto& [name, first] : bySize.front()) {
    std::printf("%-28s", name.c_str());
    for (const Samples& s : bySize) {
      const auto it = s.find(name);
      std::printf(" %10.1f", it == s.end() ? 0.0 : Median(it->second));
    }
    const auto last = bySize.back().find(name);
    const double a = Median(first);
    const double b = last == bySize.back().end() ? 0.0 : Median(last->second);
    std::printf(" %7.2fx\n", a > 0 ? b / a : 0.0);
  }
  return 0;
}
