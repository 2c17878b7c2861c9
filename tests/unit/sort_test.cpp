#include <gtest/gtest.h>

#include "fakes.h"
#include "sjis.h"
#include <algorithm>
#include <map>
#include <numeric>
#include <random>

#include "store/keyorder.h"
#include "store/taskfile.h"
#include "store/text.h"
#include "store/tasklist.h"

namespace lq {
namespace {

using testing::Sj;

class SortTest : public ::testing::Test {
 protected:
  SortTest() : list(clock, collation) {
    list.SetVisibleRowCount(5);
    list.Hooks.hideEditors = [this] { ++hidden; };
    list.Hooks.openTextEditor = [this] { ++opened; };
  }

  // Appends a task; stamp tells otherwise equal rows apart.
  void Add(const std::string& date, const std::string& text, bool done = false, const std::string& stamp = "") {
    TaskTable& t = list.Table();
    int r = t.IsTask(1) ? t.RowCount() : 1;
    if (r == t.RowCount()) t.AppendRow();
    t.SetCell(colDueDate, r, Sj(date));
    t.SetCell(colText, r, Sj(text));
    t.SetCell(colDaysLeft, r, done ? std::string(kDoneMark) : *DaysLeft(Sj(date), clock.Now().date));
    t.SetCell(colUpdated, r, stamp);
    (done ? list.DoneCount : list.NotDoneCount)++;
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (int r = 1; r < list.Table().RowCount(); ++r) out.push_back(testing::Utf8(list.Table().Cell(colText, r)));
    return out;
  }
  std::vector<std::string> Stamps() const {
    std::vector<std::string> out;
    for (int r = 1; r < list.Table().RowCount(); ++r) out.emplace_back(list.Table().Cell(colUpdated, r));
    return out;
  }

  testing::FakeClock clock{DateTime{Date{2024, 3, 15}, 10, 0, 0, 0}};
  ByteCollation collation;
  TaskList list;
  int hidden = 0;
  int opened = 0;
};

TEST_F(SortTest, OrdersByDateThenTextAndRecomputesDaysLeft) {
  Add("2024/03/16(土)", "b");
  Add("2024/03/14(木)", "z");
  Add("2024/03/16(土)", "a");
  Add("2024/03/15(金)", "  padded  ");
  list.SortRows(0);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"z", "padded", "a", "b"}));
  EXPECT_EQ(list.Table().Cell(colDaysLeft, 1), "-1");
  EXPECT_EQ(list.Table().Cell(colDaysLeft, 2), "0");
  EXPECT_EQ(list.Table().Cell(colDaysLeft, 4), "1");
}

TEST_F(SortTest, OnePassReversesEqualKeysAndTwoPassesKeepTheirOrder) {
  // Keys equal under the collation: letter case and surrounding blanks do not count.
  Add("2024/03/16(土)", "Milk", false, "1");
  Add("2024/03/16(土)", "milk ", false, "2");
  Add("2024/03/16(土)", " MILK", false, "3");
  list.SortRows(0);
  EXPECT_EQ(Stamps(), (std::vector<std::string>{"3", "2", "1"}));
  list.SortRows(0);  // in key order already, and still turned around
  EXPECT_EQ(Stamps(), (std::vector<std::string>{"1", "2", "3"}));
  list.SortRows(0);
  list.SortTasks(0, false);
  EXPECT_EQ(Stamps(), (std::vector<std::string>{"3", "2", "1"}));
  list.SortTasks(0, false);
  EXPECT_EQ(Stamps(), (std::vector<std::string>{"3", "2", "1"}));
}

TEST_F(SortTest, DoneDownMovesDoneTasksLastInKeyOrder) {
  Add("2024/03/20(水)", "open late");
  Add("2024/03/10(日)", "done early", true);
  Add("2024/03/12(火)", "open early");
  Add("2024/03/11(月)", "done later", true);
  list.DoneDown = true;
  list.SortTasks(0, false);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"open early", "open late", "done early", "done later"}));
  EXPECT_EQ(list.Table().Cell(colDaysLeft, 3), std::string(kDoneMark));
  list.DoneDown = false;
  list.SortTasks(0, false);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"done early", "done later", "open early", "open late"}));
}

TEST_F(SortTest, ReselectsTheCurrentTaskAtTheSameScreenLine) {
  for (int i = 0; i < 20; ++i) Add("2024/03/20(水)", std::string(1, static_cast<char>('a' + i)));
  list.SortTasks(0, false);
  list.SetTopRow(5);
  list.SetCurrentRow(7);  // "g", two lines below the top
  list.Table().SetCell(colDueDate, 7, Sj("2024/03/01(金)"));  // as the date picker writes it
  list.Table().SetCell(colDaysLeft, 7, "-14");
  list.SortTasks(list.CurrentRow() - list.TopRow(), true);
  EXPECT_EQ(list.CurrentRow(), 1);
  EXPECT_EQ(list.Table().Cell(colText, 1), "g");
  EXPECT_EQ(list.TopRow(), 1);  // max(1, 1 - 2)
  EXPECT_EQ(hidden, 2);
  EXPECT_EQ(opened, 1);

  list.SetTopRow(3);
  list.SetCurrentRow(4);
  list.Table().SetCell(colDueDate, 4, Sj("2024/03/25(月)"));  // moves to the end
  list.Table().SetCell(colDaysLeft, 4, "10");
  list.SortTasks(1, false);
  EXPECT_EQ(list.CurrentRow(), 20);
  EXPECT_EQ(list.TopRow(), 16);  // 19 would leave the page half empty; the grid stops at 16
}

TEST_F(SortTest, TakesTheLastOfIdenticalRowsAndKeepsTheIndexWhenNoneMatches) {
  Add("2024/03/20(水)", "same");
  Add("2024/03/20(水)", "same");
  Add("2024/03/21(木)", "other");
  list.SetCurrentRow(1);
  list.SortTasks(0, false);
  EXPECT_EQ(list.CurrentRow(), 2);

  list.SetCurrentRow(3);
  list.Table().SetCell(colText, 3, "other ");  // the sort trims it, so it no longer matches
  list.Table().SetCell(colDueDate, 3, Sj("2024/03/01(金)"));
  list.SortTasks(0, false);
  EXPECT_EQ(list.CurrentRow(), 3);
  EXPECT_EQ(list.Table().Cell(colText, 1), "other");
}

TEST_F(SortTest, EmptyListStaysOneEmptyRowAndCountsZero) {
  list.UpdateTaskCounts();
  EXPECT_EQ(list.Table().Cell(colDueDate, 0), "0/0");
  list.SortTasks(0, true);
  EXPECT_EQ(list.Table().RowCount(), 2);
  EXPECT_EQ(list.CurrentRow(), 1);
  EXPECT_FALSE(list.Table().IsTask(1));
  EXPECT_EQ(opened, 1);
}

TEST_F(SortTest, ANewEmptyTaskSortsFirstAmongItsDate) {
  Add("2024/03/16(土)", "a");
  Add("2024/03/16(土)", "");
  Add("2024/03/15(金)", "b");
  list.SortTasks(0, false);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"b", "", "a"}));
  list.UpdateTaskCounts();
  EXPECT_EQ(list.Table().Cell(colDueDate, 0), "3/3");
}

TEST_F(SortTest, TheDateChangeTurnsTodayIntoOverdue) {
  Add("2024/03/16(土)", "tomorrow");
  Add("2024/03/15(金)", "today");
  list.SortTasks(0, false);
  EXPECT_EQ(list.Table().Cell(colDaysLeft, 1), "0");
  EXPECT_EQ(list.Table().Cell(colDaysLeft, 2), "1");
  clock.SetDate({2024, 3, 16});
  list.SortTasks(0, false);
  EXPECT_EQ(list.Table().Cell(colDaysLeft, 1), "-1");
  EXPECT_EQ(list.Table().Cell(colDaysLeft, 2), "0");
}

// Counts the keys a sort has to prepare.
class CountingCollation final : public Collation {
 public:
  std::string SortKey(std::string_view text) const override {
    ++made;
    return inner.SortKey(text);
  }
  mutable int made = 0;
  ByteCollation inner;
};

TEST(SortKeys, ASortAfterAnEditPreparesOnlyTheChangedKey) {
  testing::FakeClock clock;
  CountingCollation collation;
  TaskList list(clock, collation);
  TaskTable& t = list.Table();
  t.SetRowCount(6);
  for (int r = 1; r <= 5; ++r) {
    t.SetCell(colDueDate, r, Sj("2024/03/20(水)"));
    t.SetCell(colDaysLeft, r, "5");
    t.SetCell(colText, r, std::string(1, static_cast<char>('a' + r)));
  }
  list.SortTasks(0, false);
  EXPECT_EQ(collation.made, 5);
  list.SortTasks(0, false);
  EXPECT_EQ(collation.made, 5);
  t.SetCell(colText, 2, "zz");  // the edited task moves to the end
  list.SortTasks(0, false);
  EXPECT_EQ(collation.made, 6);
  EXPECT_EQ(t.Cell(colText, 5), "zz");
  list.Clear();
  list.SortTasks(0, false);
  EXPECT_EQ(collation.made, 6);
}

// Key sets that take the sort past its 16-byte pieces: long shared beginnings, keys that are
// the beginning of others, zero bytes, high bytes, exact duplicates, more items than a small run.
TEST(KeyOrderTest, MatchesAPlainStableSortOfTheWholeKeys) {
  std::mt19937 rng(7);
  const auto generated = [&](int count, std::size_t shared, int alphabet) {
    std::vector<std::string> keys;
    const std::string head(shared, 'k');
    for (int i = 0; i < count; ++i) {
      std::string k = head;
      const int tail = static_cast<int>(rng() % 40);
      for (int j = 0; j < tail; ++j) k += static_cast<char>(rng() % static_cast<unsigned>(alphabet));
      keys.push_back(k);
    }
    return keys;
  };
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"b", "a", "a", "c"},
      {std::string("ab\0", 3), "ab", std::string(16, 'x'), std::string(17, 'x'), std::string(16, 'x')},
      generated(500, 0, 3),
      generated(500, 15, 2),
      generated(500, 16, 2),
      generated(500, 33, 2),
      generated(200, 64, 1),
      generated(500, 20, 256),  // bytes above 0x7F compare as unsigned
  };
  ByteCollation collation;
  for (std::size_t c = 0; c < cases.size(); ++c) {
    for (const bool reversed : {false, true}) {
      KeyOrder order(collation);
      for (const std::string& k : cases[c]) order.AddKey(k);
      std::vector<std::uint32_t> expected(cases[c].size());
      for (std::uint32_t i = 0; i < expected.size(); ++i) expected[i] = i;
      if (reversed) std::reverse(expected.begin(), expected.end());
      std::stable_sort(expected.begin(), expected.end(),
                       [&](std::uint32_t x, std::uint32_t y) { return cases[c][x] < cases[c][y]; });
      std::vector<bool> tied;
      EXPECT_EQ(order.Sorted(reversed, &tied), expected) << "case " << c << (reversed ? " reversed" : "");
      for (std::size_t i = 1; i < expected.size(); ++i) {
        EXPECT_EQ(tied[i], cases[c][expected[i]] == cases[c][expected[i - 1]]) << "case " << c << " at " << i;
      }
    }
  }
}

// A sorted list changed a little at a time, as the commands change it (a text, a date, a done
// mark, a new task, a copy of one; now and then many rows at once, a new day, the other place
// for done tasks), and sorted after each change: every time the order a stable sort of the
// whole list by key gives, done tasks last with DoneDown, every open task's days left those
// of the day, and the last row identical to the current one selected (or the index kept).
TEST(SortAfterEditsTest, EverySortGivesTheStableOrderOfTheWholeList) {
  std::mt19937 rng(5);
  const std::vector<std::string> texts = {"a", "b", "b", "c", Sj("会議"), " d", "zz", ""};
  const std::vector<std::string> dates = {Sj("2024/03/14(木)"), Sj("2024/03/15(金)"), Sj("2024/03/20(水)")};
  ByteCollation collation;
  testing::FakeClock clock{DateTime{Date{2024, 3, 15}, 10, 0, 0, 0}};
  for (const bool doneDown : {false, true}) {
    TaskList list(clock, collation);
    list.DoneDown = doneDown;
    TaskTable& t = list.Table();
    int stamp = 0;
    const auto fill = [&](int r) {
      t.SetCell(colDueDate, r, dates[rng() % dates.size()]);
      t.SetCell(colText, r, texts[rng() % texts.size()]);
      t.SetCell(colDaysLeft, r, rng() % 4 == 0 ? std::string(kDoneMark) : "0");
      t.SetCell(colUpdated, r, std::to_string(stamp++));
    };
    t.SetRowCount(201);
    for (int r = 1; r < t.RowCount(); ++r) fill(r);
    for (int round = 0; round < 200; ++round) {
      const int changes = round % 50 == 0 ? 100 : 1 + static_cast<int>(rng() % 3);
      for (int i = 0; i < changes; ++i) {
        const int r = 1 + static_cast<int>(rng() % static_cast<unsigned>(t.RowCount() - 1));
        switch (rng() % 7) {
          case 0: t.SetCell(colText, r, texts[rng() % texts.size()]); break;
          case 1: t.SetCell(colDueDate, r, dates[rng() % dates.size()]); break;
          case 2: t.SetCell(colDaysLeft, r, t.IsDone(r) ? "0" : std::string(kDoneMark)); break;
          case 3: {  // a whole day's tasks to another day, as a move date does
            const std::string from = std::string(t.Cell(colDueDate, r));
            const std::string& to = dates[rng() % dates.size()];
            for (int m = 1; m < t.RowCount(); ++m) {
              if (t.Cell(colDueDate, m) == from) t.SetCell(colDueDate, m, to);
            }
            break;
          }
          case 4: {
            const TaskRow copy = t.RowCopy(r);
            t.AppendRow();
            t.SetRow(t.RowCount() - 1, copy);
            break;
          }
          case 5:
            if (rng() % 8 == 0) clock.SetDate(AddDays(clock.Now().date, 1));
            if (rng() % 8 == 0) list.DoneDown = !list.DoneDown;
            break;
          default: t.AppendRow(); fill(t.RowCount() - 1);
        }
      }
      const int current = 1 + static_cast<int>(rng() % static_cast<unsigned>(t.RowCount() - 1));
      list.SetCurrentRow(current);
      const TaskRow wasCurrent = t.RowCopy(current);
      std::vector<TaskRow> before;
      std::vector<std::string> keys;
      for (int r = 1; r < t.RowCount(); ++r) {
        before.push_back(t.RowCopy(r));
        keys.push_back(collation.SortKey(before.back()[colDueDate] + "," + std::string(TrimBlanks(before.back()[colText]))));
      }
      std::vector<std::size_t> expected(before.size());
      std::iota(expected.begin(), expected.end(), 0);
      std::stable_sort(expected.begin(), expected.end(), [&](std::size_t x, std::size_t y) { return keys[x] < keys[y]; });
      if (list.DoneDown) {
        std::stable_partition(expected.begin(), expected.end(),
                              [&](std::size_t i) { return before[i][colDaysLeft] != kDoneMark; });
      }
      list.SortTasks(0, false);
      for (std::size_t k = 0; k < expected.size(); ++k) {
        ASSERT_EQ(t.Cell(colUpdated, static_cast<int>(k) + 1), before[expected[k]][colUpdated])
            << "DoneDown " << doneDown << ", round " << round << ", row " << k + 1;
      }
      for (int r = 1; r < t.RowCount(); ++r) {
        if (!t.IsDone(r)) ASSERT_EQ(t.Cell(colDaysLeft, r), DaysLeft(t.Cell(colDueDate, r), clock.Now().date)) << r;
      }
      int selected = current;
      for (int r = 1; r < t.RowCount(); ++r) {
        if (t.RowCopy(r) == wasCurrent) selected = r;
      }
      ASSERT_EQ(list.CurrentRow(), selected) << "DoneDown " << doneDown << ", round " << round;
    }
  }
}

// A generated file (ties in date and text told apart by stamp and mark, kana and letter case
// mixed, done tasks, blanks around texts) read and sorted as at start-up, against the order
// written out plainly: by date and trimmed text, ties by the whole line with later lines first,
// then with DoneDown the done tasks after the open ones (the loader is told DoneDown too).
TEST(LoadOrderTest, LoadAndFirstSortGiveTheReferenceOrder) {
  std::mt19937 rng(11);
  const std::vector<std::string> words = {Sj("かな"), Sj("カナ"), "Abc", "abc", "ABC", Sj("会議"),
                                          Sj("会議 ") + std::string(40, 'x'), Sj("ポ表"), " abc", ""};
  const std::vector<std::string> dates = {Sj("2024/03/14(木)"), Sj("2024/03/15(金)"), Sj("2024/03/20(水)")};
  std::vector<std::string> lines;
  for (int i = 0; i < 600; ++i) {
    const bool done = rng() % 3 == 0;
    std::string line = dates[rng() % dates.size()] + ",2024010112000000" + std::to_string(rng() % 3) + "," +
                       (done ? std::string(kDoneMark) : std::string(kFullWidthSpace)) + ",||" +
                       (rng() % 5 == 0 ? "A" : "") + "|," + words[rng() % words.size()];
    if (rng() % 2) line += words[rng() % words.size()];
    lines.push_back(line);
  }
  std::string file(kHeader32);
  for (const std::string& l : lines) file += "\r\n" + l;

  ByteCollation collation;
  testing::FakeClock clock{DateTime{Date{2024, 3, 15}, 10, 0, 0, 0}};
  const auto text = [](const std::string& l) { return std::string(TrimBlanks(std::string_view(l).substr(l.find("|,") + 2))); };
  std::vector<std::size_t> expected(lines.size());
  for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = expected.size() - 1 - i;
  std::stable_sort(expected.begin(), expected.end(), [&](std::size_t x, std::size_t y) {
    const std::string kx = collation.SortKey(lines[x].substr(0, 14) + "," + text(lines[x]));
    const std::string ky = collation.SortKey(lines[y].substr(0, 14) + "," + text(lines[y]));
    if (kx != ky) return kx < ky;
    return collation.SortKey(lines[x]) < collation.SortKey(lines[y]);
  });
  // The keys a load makes: the header's, one for each distinct date and text, and a whole-line
  // key for each line whose key equals another's (letter case aside).
  std::map<std::string, int> plains;
  std::map<std::string, int> linesPerKey;
  for (const std::string& l : lines) {
    const std::string plain = l.substr(0, 14) + "," + text(l);
    ++plains[plain];
    ++linesPerKey[collation.SortKey(plain)];
  }
  int keysNeeded = 1 + static_cast<int>(plains.size());
  for (const auto& [key, count] : linesPerKey) keysNeeded += count > 1 ? count : 0;
  std::vector<std::size_t> doneLast = expected;
  std::stable_partition(doneLast.begin(), doneLast.end(),
                        [&](std::size_t i) { return lines[i].substr(33, 2) != kDoneMark; });

  for (const bool doneDown : {false, true}) {
    SCOPED_TRACE(::testing::Message() << "DoneDown " << doneDown);
    CountingCollation counting;
    ParsedTaskFile parsed = ParseTaskFile(file, counting, clock.Now().date, "", doneDown);
    ASSERT_EQ(parsed.skippedLines, 0);
    EXPECT_EQ(counting.made, keysNeeded);
    TaskList list(clock, collation);
    list.DoneDown = doneDown;
    list.Table() = std::move(parsed.table);
    list.AdoptSortKeys(std::move(parsed.sortKeys));
    list.SortTasks(0, false);
    ASSERT_EQ(list.Table().RowCount(), static_cast<int>(lines.size()) + 1);
    for (std::size_t k = 0; k < expected.size(); ++k) {
      const std::string& l = lines[(doneDown ? doneLast : expected)[k]];
      const TaskRow row = list.Table().RowCopy(static_cast<int>(k) + 1);
      ASSERT_EQ(row[colDueDate] + row[colUpdated] + row[colText] + row[colFlags] + row[colDaysLeft],
                l.substr(0, 14) + l.substr(15, 17) + text(l) + (l.find("|A|") != std::string::npos ? "A" : "") +
                    (l.substr(33, 2) == kDoneMark ? std::string(kDoneMark) : *DaysLeft(l.substr(0, 14), clock.Now().date)))
          << "row " << k + 1;
    }
  }
}

}  // namespace
}  // namespace lq
