// One tick of the 100 ms main timer, its portable work only, over 10,000 tasks: the idle tick
// (same second, same minute, same day) in edit and in view mode, the once-a-minute tick with
// the alarm scan, and the tick after a jump of the clock, which reads the whole list. Every
// operator new in this program is counted, so the figures show how many allocations one tick
// makes; the idle tick must make none.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "fakes.h"
#include "geometry/hover.h"
#include "geometry/tick.h"
#include "sjis.h"
#include "store/alarm.h"
#include "store/taskfile.h"
#include "store/tasklist.h"
#include "taskgen.h"

// Operator new calls so far: count_alloc.cpp replaces operator new, in a file of its own so
// that the compiler never sees its malloc beside the library's frees.
long AllocationCount();

namespace {

const lq::DateTime kStart{lq::Date{2024, 6, 1}, 14, 5, 0, 0};

using lq::bench::NullProfile;

// What the main window keeps for the timer, and the work of one tick it would hand to the
// portable code: the bookkeeping, the alarm scan when the minute is new, the hover decision.
struct TimerHost {
  lq::bench::FixedClock clock{kStart};
  lq::ByteCollation collation;
  lq::TaskList list{clock, collation};
  lq::TimerState timer;
  std::vector<int> ringRows;
  std::vector<lq::DueAlarm> dueAlarms;
  bool HoverHidden = false;
  bool editMode = true;
  std::string clockFormat{lq::kClockFull};
  long rung = 0;

  explicit TimerHost(int tasks) {
    lq::testing::MemFileStore store;
    const auto lines = lq::bench::GenerateTaskLines(tasks, 42u, lq::testing::Sj);
    store.files["tasks.csv"] = lq::bench::JoinTaskFile(lines);
    NullProfile profile;
    lq::TaskFile("tasks.csv", store).LoadTaskFile(list, profile, kStart);
    list.SortTasks(0, false);
    // One armed task of today rings at 14:05; its text ends in a backslash.
    for (int r = 1; r < list.Table().RowCount(); ++r) {
      if (list.Table().Cell(lq::colDaysLeft, r) == "0") {
        list.Table().SetCell(lq::colText, r, "14:05 " + lq::testing::Sj("会議室") + "\\");
        list.Table().SetCell(lq::colFlags, r, "A");
        break;
      }
    }
    timer.LastDate = kStart.date;
  }

  void Tick(const lq::DateTime& now) {
    std::string header(list.Table().Cell(lq::colText, 0));
    const lq::TickOutcome out =
        lq::TickBookkeeping(lq::TickInput{now, editMode, 2, clockFormat, true}, timer, header);
    if (out.headerChanged) list.Table().SetCell(lq::colText, 0, header);
    if (out.dayChanged) list.SortTasks(list.CurrentRow() - list.TopRow(), false);
    if (out.checkAlarms && !out.alarms.Jumped()) {
      if (lq::WhenAlarmRings(out.alarms, out.alarms.now) == lq::AlarmDue::OnTime) {
        lq::AlarmRowsToRing(list.Table(), out.minute.View(), ringRows);
        for (const int row : ringRows) {
          const std::string b = lq::AlarmTaskText(list.Table().Cell(lq::colText, row));
          benchmark::DoNotOptimize(lq::AlarmParameters(out.minute.View(), b));
          ++rung;
        }
      }
    } else if (out.checkAlarms) {
      // The clock jumped: the whole list is read for the minutes in between.
      lq::AlarmsOfPass(list.Table(), out.alarms, dueAlarms);
      for (const lq::DueAlarm& a : dueAlarms) {
        const std::string b = lq::AlarmTaskText(list.Table().Cell(lq::colText, a.row));
        benchmark::DoNotOptimize(lq::AlarmParameters(out.minute.View(), b));
        ++rung;
      }
    }
    lq::HoverInput hover;
    hover.editMode = editMode;
    hover.HoverHidden = HoverHidden;
    hover.cursor = lq::Point{2000, 2000};
    hover.window = lq::Rect{100, 100, 460, 315};
    hover.HideWhenOnMouse = true;
    hover.HideWhenOnEdge = true;
    const lq::HoverDecision d = lq::DecideHover(hover);
    HoverHidden = d.HoverHidden;
    benchmark::DoNotOptimize(d.visible);
  }
};

void Report(benchmark::State& state, long allocations, long ticks) {
  state.counters["allocs/tick"] = static_cast<double>(allocations) / static_cast<double>(ticks);
}

void BM_IdleTick(benchmark::State& state) {
  TimerHost host(static_cast<int>(state.range(0)));
  host.editMode = state.range(1) != 0;
  host.Tick(kStart);  // the first tick writes the clock and examines the minute
  lq::DateTime now = kStart;
  long ticks = 0;
  const long before = AllocationCount();
  for (auto _ : state) {
    now.millisecond = (now.millisecond + 100) % 1000;  // the same second throughout
    host.Tick(now);
    ++ticks;
  }
  Report(state, AllocationCount() - before, ticks);
}

void BM_MinuteTick(benchmark::State& state) {
  TimerHost host(static_cast<int>(state.range(0)));
  host.editMode = false;
  host.Tick(kStart);
  host.rung = 0;
  lq::DateTime now = kStart;
  long ticks = 0;
  const long before = AllocationCount();
  for (auto _ : state) {
    // Every tick a new minute (14:05 and 14:06 in turn), so every tick scans for alarms and
    // rewrites the clock labels. Each is the first check of a run, since going back to 14:05
    // would otherwise find it examined and ring nothing.
    now.minute = now.minute == 5 ? 6 : 5;
    host.timer.lastAlarmCheck.reset();
    host.timer.examinedAlarms = lq::ExaminedMinutes();
    host.Tick(now);
    ++ticks;
  }
  Report(state, AllocationCount() - before, ticks);
  state.counters["rung/tick"] = static_cast<double>(host.rung) / static_cast<double>(ticks);
}

// The first tick after the machine slept an hour: the minute jumped from 13:05 to 14:05, and
// the whole list is read for the alarms in between (one of them rings at 14:05). Each
// iteration is a fresh run's first tick at 13:05 and then that one.
void BM_TickAfterAGap(benchmark::State& state) {
  TimerHost host(static_cast<int>(state.range(0)));
  host.editMode = false;
  lq::DateTime before = kStart;
  before.hour = 13;
  long ticks = 0;
  const long allocationsBefore = AllocationCount();
  for (auto _ : state) {
    host.timer.lastAlarmCheck.reset();
    host.timer.examinedAlarms = lq::ExaminedMinutes();
    host.Tick(before);
    host.Tick(kStart);
    ++ticks;
  }
  Report(state, AllocationCount() - allocationsBefore, ticks);
}

// Arguments: tasks, edit mode (1) or view mode (0).
BENCHMARK(BM_IdleTick)->Args({10000, 1})->Args({10000, 0});
BENCHMARK(BM_MinuteTick)->Arg(10000);
BENCHMARK(BM_TickAfterAGap)->Arg(10000);

}  // namespace

BENCHMARK_MAIN();
