// Task store benchmarks: load with sorting, SortTasks and save over generated task files of
// 1,000, 10,000 and 100,000 tasks, beside GNU sort on the same lines in the same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "sjis.h"
#include "store/bulk.h"
#include "store/search.h"
#include "store/stdfilestore.h"
#include "store/taskfile.h"
#include "taskgen.h"

namespace fs = std::filesystem;

namespace {

using lq::bench::FixedClock;
using lq::bench::NullProfile;

const int kSizes[] = {1000, 10000, 100000};
fs::path gDir;

fs::path TaskFilePath(int n) { return gDir / ("tasks-" + std::to_string(n) + ".csv"); }
fs::path LinesPath(int n, const char* kind) { return gDir / ("lines-" + std::to_string(n) + "-" + kind + ".txt"); }

void WriteFile(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void PrepareFiles() {
  gDir = fs::temp_directory_path() / ("lindqvale-bench-" + std::to_string(::getpid()));
  fs::create_directories(gDir);
  for (const int n : kSizes) {
    const auto lines = lq::bench::GenerateTaskLines(n, 42u + static_cast<unsigned>(n), lq::testing::Sj);
    WriteFile(TaskFilePath(n), lq::bench::JoinTaskFile(lines));
    std::string sjis;
    std::string utf8;
    for (const auto& l : lines) {
      sjis.append(l).append("\n");
      utf8.append(lq::testing::Utf8(l)).append("\n");
    }
    WriteFile(LinesPath(n, "cp932"), sjis);
    WriteFile(LinesPath(n, "utf8"), utf8);
  }
}

// Loads and sorts the file of n tasks once per run. With `freshMemory`, as a start-up does it:
// the memory of each run is given back to the system before the next, so every load touches
// fresh pages, whatever its size. (Repeated in one process, a small load reuses the pages of
// the one before and a large one does not, which says more about the C library than the load.)
void LoadAndSort(benchmark::State& state, bool freshMemory) {
  const int n = static_cast<int>(state.range(0));
  FixedClock clock;
  lq::ByteCollation collation;
  lq::StdFileStore store;
  NullProfile profile;
  for (auto _ : state) {
    {
      lq::TaskList list(clock, collation);
      lq::TaskFile file(TaskFilePath(n), store);
      file.LoadTaskFile(list, profile, clock.Now());
      list.SortTasks(0, false);
      benchmark::DoNotOptimize(list.Table().RowCount());
      if (freshMemory) state.PauseTiming();
    }
    if (freshMemory) {
#ifdef __GLIBC__
      ::malloc_trim(0);
#endif
      state.ResumeTiming();
    }
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_LoadAndSort(benchmark::State& state) { LoadAndSort(state, false); }
void BM_LoadAndSortCold(benchmark::State& state) { LoadAndSort(state, true); }

void BM_SortTasks(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  FixedClock clock;
  lq::ByteCollation collation;
  lq::StdFileStore store;
  NullProfile profile;
  lq::TaskList list(clock, collation);
  lq::TaskFile file(TaskFilePath(n), store);
  file.LoadTaskFile(list, profile, clock.Now());
  list.SetVisibleRowCount(12);
  list.SetCurrentRow(n / 2);
  for (auto _ : state) {
    list.SortTasks(list.CurrentRow() - list.TopRow(), false);
    benchmark::DoNotOptimize(list.CurrentRow());
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_Save(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  FixedClock clock;
  lq::ByteCollation collation;
  lq::StdFileStore store;
  NullProfile profile;
  lq::TaskList list(clock, collation);
  lq::TaskFile source(TaskFilePath(n), store);
  source.LoadTaskFile(list, profile, clock.Now());
  list.SortTasks(0, false);
  lq::TaskFile target(gDir / ("saved-" + std::to_string(n) + ".csv"), store);
  for (auto _ : state) {
    if (!target.SaveTaskFile(list.Table())) state.SkipWithError("save failed");
  }
  state.SetItemsProcessed(state.iterations() * n);
}

// Undo of the two bulk commands on a list of 100,000 tasks: a bulk delete of every task, and a
// move date of the 10,000 open tasks of one day (every tenth line of the file is put on it).
// Only the undo is timed; the redo between two undos is not.
void UndoBulk(benchmark::State& state, bool moveDate) {
  FixedClock clock;
  lq::ByteCollation collation;
  lq::StdFileStore store;
  NullProfile profile;
  const lq::Date day{2025, 3, 3};
  std::vector<std::string> lines = lq::bench::GenerateTaskLines(100000, 7u, lq::testing::Sj);
  if (moveDate) {
    for (std::size_t i = 0; i < lines.size(); i += 10) {
      std::string& l = lines[i];
      const std::size_t mark = l.find(',', l.find(',') + 1) + 1;  // the days-left field
      l = lq::FormatDueDate(day) + l.substr(l.find(','), mark - l.find(',')) + std::string(lq::kFullWidthSpace) +
          l.substr(l.find(',', mark));
    }
  }
  const fs::path path = gDir / (moveDate ? "undo-move.csv" : "undo-delete.csv");
  WriteFile(path, lq::bench::JoinTaskFile(lines));
  lq::TaskList list(clock, collation);
  lq::TaskFile file(path, store);
  file.LoadTaskFile(list, profile, clock.Now());
  list.SortTasks(0, false);
  list.SetVisibleRowCount(12);
  int count = 0;
  if (moveDate) {
    for (int r = 1; r < list.Table().RowCount(); ++r) {
      if (lq::ParseDateText(list.Table().Cell(lq::colDueDate, r)) == day) {
        list.SetCurrentRow(r);
        break;
      }
    }
    count = lq::MoveOpenTasks(list, day, lq::AddDays(day, 40));
  } else {
    list.SetCurrentRow(50000);
    count = lq::DeleteUpTo(list, lq::Date{2030, 1, 1}, false);
  }
  for (auto _ : state) {
    if (list.Undo().outcome != lq::TaskList::UndoResult::Outcome::Applied) state.SkipWithError("undo refused");
    state.PauseTiming();
    list.Redo();
    state.ResumeTiming();
  }
  state.counters["tasks"] = count;
}

void BM_UndoBulkDelete(benchmark::State& state) { UndoBulk(state, false); }
void BM_UndoMoveDate(benchmark::State& state) { UndoBulk(state, true); }

// The user's commands on a loaded list, as the window calls them, each timed alone: what a
// command changes is put back (by undo) outside the time, so every run finds the same list.
enum Command { kAdd, kType, kEnter, kDone, kDelete, kDown, kPageDown, kWheel, kSearch, kMoveDate, kBulkDelete, kCommands };
const char* const kCommandNames[kCommands] = {"Ctrl+A",        "a letter",          "Enter (sort)",  "Ctrl+E",
                                              "Ctrl+D",        "Down",              "Page Down",     "wheel",
                                              "search (last)", "move date (1,000)", "bulk delete (half)"};
const int kCommandSizes[] = {1000, 10000, 100000};

fs::path CommandsFilePath(int n, bool moveDay) {
  return gDir / ("commands-" + std::to_string(n) + (moveDay ? "-move" : "") + ".csv");
}

void PrepareCommandFiles() {
  for (const int n : kCommandSizes) {
    for (const bool moveDay : {false, true}) {
      WriteFile(CommandsFilePath(n, moveDay), lq::bench::CommandsTaskFile(n, moveDay, lq::testing::Sj));
    }
  }
}

int RowHolding(const lq::TaskList& list, const char* word) {
  const std::string cp932 = lq::testing::Sj(word);
  for (int r = 1; r < list.Table().RowCount(); ++r) {
    if (list.Table().Cell(lq::colText, r) == cp932) return r;
  }
  return 1;
}

void BM_Command(benchmark::State& state) {
  const auto command = static_cast<Command>(state.range(0));
  const int n = static_cast<int>(state.range(1));
  FixedClock clock;
  lq::ByteCollation collation;
  lq::StdFileStore store;
  NullProfile profile;
  lq::TaskList list(clock, collation);
  lq::TaskFile file(CommandsFilePath(n, command == kMoveDate), store);
  file.LoadTaskFile(list, profile, clock.Now());
  list.SortTasks(0, false);
  list.SetVisibleRowCount(20);
  const int middle = RowHolding(list, lq::bench::kMiddleWord);
  const std::string letter = lq::testing::Sj("予定x");
  const auto undo = [&] { list.Undo(); };
  for (auto _ : state) {
    list.SetCurrentRow(middle);
    list.SetTopRow(std::max(1, middle - 5));
    std::function<void()> setUp;    // untimed, before
    std::function<void()> restore;  // untimed, after
    std::function<void()> act;
    switch (command) {
      case kAdd:
        act = [&] { list.AddTask(); };
        restore = undo;
        break;
      case kType:
        setUp = [&] { list.AddTask(); };
        act = [&] { list.ChangeText(list.CurrentRow(), letter); };
        restore = [&] { list.SortTasks(0, false); list.Undo(); list.Undo(); };
        break;
      case kEnter:
        setUp = [&] { list.AddTask(); list.BeginEditorStep(); list.ChangeText(list.CurrentRow(), letter); };
        act = [&] { list.SortTasks(list.CurrentRow() - list.TopRow(), false); list.EndEditorStep(); };
        restore = [&] { list.Undo(); list.Undo(); };
        break;
      case kDone:
        act = [&] { list.ToggleDone(false); };
        restore = undo;
        break;
      case kDelete:
        act = [&] { list.DeleteCurrentTask(); };
        restore = undo;
        break;
      case kDown:
        act = [&] { list.SetCurrentRow(list.CurrentRow() + 1); };
        break;
      case kPageDown:
        act = [&] { list.SetCurrentRow(list.CurrentRow() + list.VisibleRowCount()); };
        break;
      case kWheel:
        act = [&] { list.SetTopRow(list.TopRow() + 3); };
        break;
      case kSearch:
        setUp = [&] { list.SetCurrentRow(1); list.SetTopRow(1); };
        act = [&] { lq::SearchTasks(list, lq::testing::Sj(lq::bench::kLastWord), lq::SearchDirection::Down); };
        break;
      case kMoveDate:
        act = [&] { lq::MoveOpenTasks(list, lq::bench::kMoveDay, lq::AddDays(lq::bench::kMoveDay, 40)); };
        restore = undo;
        break;
      case kBulkDelete:
        act = [&] { lq::DeleteUpTo(list, lq::bench::kMiddleDay, false); };
        restore = undo;
        break;
      case kCommands:
        break;
    }
    if (setUp) setUp();
    const auto start = std::chrono::steady_clock::now();
    act();
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (restore) restore();
  }
  state.SetLabel(kCommandNames[command]);
}

void CommandArgs(benchmark::internal::Benchmark* b) {
  for (int c = 0; c < kCommands; ++c) {
    for (const int n : kCommandSizes) b->Args({c, n});
  }
}

BENCHMARK(BM_LoadAndSort)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndSortCold)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortTasks)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoBulkDelete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoMoveDate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command)->Apply(CommandArgs)->UseManualTime()->Iterations(25)->Unit(benchmark::kMicrosecond);

// Remembers each benchmark's real time per iteration, in seconds.
class Recorder : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration && r.iterations > 0) {
        seconds[r.benchmark_name()] = r.real_accumulated_time / static_cast<double>(r.iterations);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> seconds;
};

// Median wall time of a shell command over five runs.
double TimeCommand(const std::string& command) {
  std::vector<double> times;
  for (int i = 0; i < 5; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return NAN;
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[2];
}

}  // namespace

int main(int argc, char** argv) {
  PrepareFiles();
  PrepareCommandFiles();
  benchmark::Initialize(&argc, argv);
  Recorder recorder;
  benchmark::RunSpecifiedBenchmarks(&recorder);
  benchmark::Shutdown();

  std::printf("\nGNU sort on the same lines (median of 5 runs), and our figures as ratios to it:\n");
  std::printf("%8s %12s %12s %14s %12s %12s %10s %10s\n", "tasks", "load+sort", "SortTasks", "save",
              "sort C", "sort -f ja", "load/C", "load/ja");
  double load10k = 0;
  double load100k = 0;
  for (const int n : kSizes) {
    const double load = recorder.seconds["BM_LoadAndSort/" + std::to_string(n)];
    const double sortTasks = recorder.seconds["BM_SortTasks/" + std::to_string(n)];
    const double save = recorder.seconds["BM_Save/" + std::to_string(n)];
    const double gnuC = TimeCommand("LC_ALL=C sort '" + LinesPath(n, "cp932").string() + "' >/dev/null");
    const double gnuJa =
        TimeCommand("LC_ALL=ja_JP.UTF-8 sort -f '" + LinesPath(n, "utf8").string() + "' >/dev/null");
    std::printf("%8d %10.2fms %10.2fms %12.2fms %10.2fms %10.2fms %9.2fx %9.2fx\n", n, load * 1e3, sortTasks * 1e3,
                save * 1e3, gnuC * 1e3, gnuJa * 1e3, load / gnuC, load / gnuJa);
    if (n == 10000) load10k = load;
    if (n == 100000) load100k = load;
  }
  const double nlogn = 10.0 * std::log(100000.0) / std::log(10000.0);
  if (load10k > 0) {
    std::printf("\nload+sort growth 10,000 -> 100,000 tasks: %.2fx (n log n would be %.2fx; target <= that)\n",
                load100k / load10k, nlogn);
    std::printf("load+sort of 100,000 tasks: %.3f s (target <= 0.2 s)\n", load100k);
  }
  const double cold10k = recorder.seconds["BM_LoadAndSortCold/10000"];
  const double cold100k = recorder.seconds["BM_LoadAndSortCold/100000"];
  if (cold10k > 0) {
    std::printf("the same with fresh memory for every run, as at start-up: %.2fx (%.1f ms -> %.1f ms)\n",
                cold100k / cold10k, cold10k * 1e3, cold100k * 1e3);
  }
  std::printf("undo of a bulk delete of 100,000 tasks: %.3f s, of a move date of 10,000: %.3f s (target <= 0.2 s)\n",
              recorder.seconds["BM_UndoBulkDelete"], recorder.seconds["BM_UndoMoveDate"]);
  std::printf("\nThe commands on the list (each alone, microseconds), and their growth (target: 100,000 within 2x "
              "1,000):\n%-20s %10s %10s %10s %12s %12s\n", "command", "1,000", "10,000", "100,000", "10k->100k",
              "1k->100k");
  for (int c = 0; c < kCommands; ++c) {
    double us[3] = {};
    for (int i = 0; i < 3; ++i) {
      us[i] = 1e6 * recorder.seconds["BM_Command/" + std::to_string(c) + "/" + std::to_string(kCommandSizes[i]) +
                                     "/iterations:25/manual_time"];
    }
    std::printf("%-20s %10.1f %10.1f %10.1f %11.2fx %11.2fx\n", kCommandNames[c], us[0], us[1], us[2],
                us[1] > 0 ? us[2] / us[1] : 0.0, us[0] > 0 ? us[2] / us[0] : 0.0);
  }
  std::error_code ec;
  fs::remove_all(gDir, ec);
  return 0;
}
