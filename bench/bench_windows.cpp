// The task store on Windows with the real collation: where the time of a load goes.
// Prints, for 1,000 / 10,000 / 100,000 generated tasks, the median of five runs of each step.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/collation.h"
#include "platform/filestore.h"
#include "sjis.h"
#include "store/keyorder.h"
#include "store/taskfile.h"
#include "taskgen.h"

namespace {

using lq::bench::FixedClock;
using lq::bench::NullProfile;

double MedianMs(const std::function<void()>& step) {
  std::vector<double> t;
  for (int i = 0; i < 5; ++i) {
    const auto start = std::chrono::steady_clock::now();
    step();
    t.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(t.begin(), t.end());
  return t[2];
}

}  // namespace

int main() {
  wchar_t tempDir[MAX_PATH];
  GetTempPathW(MAX_PATH, tempDir);
  const std::filesystem::path dir = std::filesystem::path(tempDir) / L"lindqvale-bench";
  std::filesystem::create_directories(dir);

  const lq::win::LocaleCollation collation;
  lq::win::WinFileStore store;
  FixedClock clock;
  NullProfile profile;

  std::printf("Task store under the real collation (user locale %lu, ANSI code page %u); median of 5 runs, ms\n",
              static_cast<unsigned long>(GetUserDefaultLCID()), GetACP());
  std::printf("Keys are prepared once per task (date and text) and kept for the next sort; whole-line keys,\n"
              "shown for comparison, are made only for tasks equal in date and text.\n");
  std::printf("%8s %10s %10s %10s %10s %12s %12s %10s %10s\n", "tasks", "cp932->16", "line keys", "task keys",
              "key sort", "load+sort", "SortTasks", "save", "key share");
  for (const int n : {1000, 10000, 100000}) {
    const auto lines = lq::bench::GenerateTaskLines(n, 42u + static_cast<unsigned>(n), lq::testing::Sj);
    const auto path = dir / (L"tasks-" + std::to_wstring(n) + L".csv");
    store.ReplaceAll(path, lq::bench::JoinTaskFile(lines));

    const double convert = MedianMs([&] {
      std::size_t total = 0;
      for (const auto& l : lines) total += lq::win::FromCp932(l).size();
      if (total == 0) std::puts("");
    });
    const double makeKeys = MedianMs([&] {
      lq::KeyOrder keys(collation);
      for (const auto& l : lines) keys.Add(l);
    });
    std::vector<std::string> taskTexts;
    for (const auto& l : lines) taskTexts.push_back(l.substr(0, 14) + "," + l.substr(l.find("|,", 37) + 2));
    const double taskKeys = MedianMs([&] {
      lq::KeyOrder keys(collation);
      for (const auto& t : taskTexts) keys.Add(t);
    });
    lq::KeyOrder prepared(collation);
    for (const auto& l : lines) prepared.Add(l);
    const double sortKeys = MedianMs([&] { prepared.Sorted(true); });
    const double loadSort = MedianMs([&] {
      lq::TaskList list(clock, collation);
      lq::TaskFile file(path, store);
      file.LoadTaskFile(list, profile, clock.Now());
      list.SortTasks(0, false);
    });
    lq::TaskList list(clock, collation);
    lq::TaskFile file(path, store);
    file.LoadTaskFile(list, profile, clock.Now());
    list.SetVisibleRowCount(12);
    list.SetCurrentRow(n / 2);
    const double sortTasks = MedianMs([&] { list.SortTasks(list.CurrentRow() - list.TopRow(), false); });
    lq::TaskFile target(dir / (L"saved-" + std::to_wstring(n) + L".csv"), store);
    const double save = MedianMs([&] { target.SaveTaskFile(list.Table()); });
    // A load prepares the task keys; the first sort reuses them.
    std::printf("%8d %10.1f %10.1f %10.1f %10.1f %12.1f %12.1f %10.1f %9.0f%%\n", n, convert, makeKeys, taskKeys,
                sortKeys, loadSort, sortTasks, save, 100.0 * taskKeys / loadSort);
  }
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return 0;
}
