#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "sjis.h"
#include "store/datetext.h"
#include "store/tasktable.h"
#include "store/text.h"

namespace lq {
namespace {

using testing::Sj;

TEST(Text, CharactersCountDoubleByteCharactersOnce) {
  const std::string s = Sj("牛乳a買う");
  EXPECT_EQ(CharCount(s), 5u);
  EXPECT_EQ(TakeChars(s, 2), Sj("牛乳"));
  EXPECT_EQ(TakeChars(s, 3), Sj("牛乳a"));
  EXPECT_EQ(TakeChars(s, 99), s);
  // A lead byte at the very end is a character of its own and is never split off.
  const std::string dangling = "ab\x82";
  EXPECT_EQ(CharCount(dangling), 3u);
  EXPECT_EQ(TakeChars(dangling, 3), dangling);
  // "ソ" (0x83 0x5C) ends in the backslash byte; it stays one character.
  EXPECT_EQ(CharCount(Sj("ソ\\")), 2u);
}

// The text editor's 100 characters: an edit may not make a text longer than that, nor longer
// than it already was; what the edit inserted is cut, what was there is never cut.
TEST(Text, TheEditorLimitStopsGrowthAndNeverCutsWhatIsThere) {
  const auto rep = [](std::size_t n, const char* c) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += c;
    return s;
  };
  struct Case {
    const char* name;
    std::string before, after;
    std::size_t caret;  // characters before the caret once the edit is made
    std::string expected;
  } cases[] = {
      {"the 100th typed character", rep(99, "a"), rep(100, "a"), 100, rep(100, "a")},
      {"the 101st typed character", rep(100, "a"), rep(100, "a") + "b", 101, rep(100, "a")},
      {"a paste at the end", rep(99, "a"), rep(99, "a") + "xyz", 102, rep(99, "a") + "x"},
      {"a paste into an empty text", "", rep(300, "p"), 300, rep(100, "p")},
      {"a paste in the middle keeps the tail", rep(49, "b") + rep(50, "e"), rep(49, "b") + "123" + rep(50, "e"),
       52, rep(49, "b") + "1" + rep(50, "e")},
      {"a key in a 150-character text", rep(150, "L"), rep(75, "L") + "k" + rep(75, "L"), 76, rep(150, "L")},
      {"Backspace in a 150-character text", rep(150, "L"), rep(149, "L"), 149, rep(149, "L")},
      {"a longer paste over a selection", rep(70, "A") + rep(10, "S") + rep(70, "Z"),
       rep(70, "A") + rep(20, "p") + rep(70, "Z"), 90, rep(70, "A") + rep(10, "p") + rep(70, "Z")},
      {"the caret tells where a paste went", rep(97, "x") + "ab", rep(97, "x") + "abab", 100, rep(97, "x") + "abb"},
      {"double-byte characters count once", Sj(rep(99, "あ")), Sj(rep(99, "あ") + "いう"), 101,
       Sj(rep(99, "あ") + "い")},
      {"ポ and 表 stay whole", Sj(rep(98, "ポ")), Sj(rep(98, "ポ") + "表表表"), 101, Sj(rep(98, "ポ") + "表表")},
  };
  for (const auto& c : cases) EXPECT_EQ(LimitTextGrowth(c.before, c.after, c.caret, 100), c.expected) << c.name;
}

TEST(Text, TrimRemovesControlAndBlankBytesButNotTheFullWidthSpace) {
  EXPECT_EQ(TrimBlanks(" \t\x01x y\r\n"), "x y");
  EXPECT_EQ(TrimBlanks(std::string_view("\0a\0", 3)), "a");
  EXPECT_EQ(TrimBlanks(Sj("　x　")), Sj("　x　"));
  EXPECT_EQ(TrimBlanks("   "), "");
  // A lead byte takes the byte after it as its second byte, a blank too; after a whole
  // character a blank is a blank.
  EXPECT_EQ(TrimBlanks("ab\x81  "), "ab\x81 ");
  EXPECT_EQ(TrimBlanks("\x81\x81 "), "\x81\x81");
  EXPECT_EQ(TrimBlanks(Sj("表 ")), Sj("表"));
}

TEST(Text, ParseInt32AcceptsOnlyWhatTheCellsHold) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"0", 0},           {"-1", -1},        {"42", 42},         {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},    {"2147483648", {}}, {"", {}},
      {"-", {}},          {"1a", {}},        {" 1", {}},         {"+1", {}},
      {"99999999999999999999", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInt32(c.text), c.value) << c.text;
  EXPECT_EQ(DaysValue(std::string(kDoneMark)), kNotANumber);
}

TEST(DateText, DueDatesCarryTheJapaneseWeekday) {
  EXPECT_EQ(FormatDueDate({2024, 3, 15}), Sj("2024/03/15(金)"));
  EXPECT_EQ(FormatDueDate({2005, 3, 21}), Sj("2005/03/21(月)"));
  EXPECT_EQ(FormatDueDate({2024, 2, 29}), Sj("2024/02/29(木)"));
  EXPECT_EQ(FormatDueDate({2026, 12, 6}), Sj("2026/12/06(日)"));
  EXPECT_EQ(FormatDueDate({2026, 12, 12}), Sj("2026/12/12(土)"));
  EXPECT_EQ(FormatDueDate({1, 1, 1}).size(), 14u);
  EXPECT_EQ(FormatStamp({{2024, 3, 5}, 7, 8, 9, 12}), "20240305070809012");
}

TEST(DateText, ParseReadsOnlyTheDigitsOfTheDate) {
  struct Case {
    std::string text;
    std::optional<Date> date;
  } cases[] = {
      {Sj("2024/03/15(金)"), Date{2024, 3, 15}},
      {"2024-03-15", Date{2024, 3, 15}},  // separators are not examined
      {"2024/02/29", Date{2024, 2, 29}},
      {"2023/02/29", {}},
      {"1900/02/29", {}},
      {"2000/02/29", Date{2000, 2, 29}},
      {"2024/13/01", {}},
      {"2024/00/10", {}},
      {"2024/04/31", {}},
      {"0000/01/01", {}},
      {"2024/1/15", {}},
      {"2024/03/1", {}},
      {"", {}},
      {"abcd/ef/gh", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDateText(c.text), c.date) << c.text;
}

TEST(DateText, DaysLeftCountsWholeDaysAcrossMonthsAndYears) {
  const Date today{2024, 12, 31};
  EXPECT_EQ(DaysLeft("2025/01/01", today), "1");
  EXPECT_EQ(DaysLeft("2024/12/30", today), "-1");
  EXPECT_EQ(DaysLeft("2024/12/31", today), "0");
  EXPECT_EQ(DaysLeft("2025/12/31", today), "365");
  EXPECT_EQ(DaysLeft("2024/02/29", today), "-306");
  EXPECT_EQ(DaysLeft("2024/02/30", today), std::nullopt);
  for (std::int64_t n = -800000; n < 3000000; n += 997) {
    const Date d = DateFromDayNumber(n);
    ASSERT_EQ(DayNumber(d), n);
    ASSERT_TRUE(d.year < 1 || d.year > 9999 || IsValidDate(d.year, d.month, d.day));
  }
}

TEST(TaskTable, UrgencyClassesFollowTheDaysLeft) {
  struct Case {
    const char* days;
    UrgencyClass cls;
  } cases[] = {
      {"-100", UrgencyClass::Expiration}, {"-1", UrgencyClass::Expiration}, {"0", UrgencyClass::Deadline},
      {"1", UrgencyClass::Preview1},      {"3", UrgencyClass::Preview1},    {"4", UrgencyClass::Preview2},
      {"7", UrgencyClass::Preview2},      {"8", UrgencyClass::Preview3},    {"2147483646", UrgencyClass::Preview3},
      {"", UrgencyClass::Done},           {"x", UrgencyClass::Done},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassOfDaysText(c.days), c.cls) << c.days;
  EXPECT_EQ(ClassOfDaysText(kDoneMark), UrgencyClass::Done);
}

TEST(TaskTable, WebAddressRuleIsCaseSensitive) {
  EXPECT_TRUE(IsWebAddress("http://example.com"));
  EXPECT_TRUE(IsWebAddress("https://example.com"));
  EXPECT_FALSE(IsWebAddress("HTTP://example.com"));
  EXPECT_FALSE(IsWebAddress("ftp://example.com"));
  EXPECT_FALSE(IsWebAddress("http:/x"));
  EXPECT_FALSE(IsWebAddress("C:\\memo.txt"));
}

TEST(TaskTable, RemovingARowShiftsTheRestAndKeepsTwoRows) {
  TaskTable t;
  t.SetRowCount(4);
  for (int r = 1; r < 4; ++r) t.SetCell(colDueDate, r, "d" + std::to_string(r));
  t.RemoveRow(1);
  ASSERT_EQ(t.RowCount(), 3);
  EXPECT_EQ(t.Cell(colDueDate, 1), "d2");
  EXPECT_EQ(t.Cell(colDueDate, 2), "d3");
  t.RemoveRow(2);
  t.RemoveRow(1);
  EXPECT_EQ(t.RowCount(), 2);
  EXPECT_FALSE(t.IsTask(1));
  EXPECT_EQ(t.TaskCount(), 0);

  // Several at once, as one by one from the last up: key tags and text sizes go with the rows.
  TaskTable many;
  many.SetRowCount(6);
  for (int r = 1; r < 6; ++r) {
    many.SetCell(colDueDate, r, "d" + std::to_string(r));
    many.SetKeyTag(r, 10u * static_cast<std::uint32_t>(r));
  }
  many.RemoveRows({false, true, false, true, true, false});
  ASSERT_EQ(many.RowCount(), 3);
  EXPECT_EQ(std::string(many.Cell(colDueDate, 1)) + std::string(many.Cell(colDueDate, 2)), "d2d5");
  EXPECT_EQ(many.KeyTag(1), 20u);
  EXPECT_EQ(many.KeyTag(2), 50u);
  EXPECT_EQ(many.LiveBytes(), 4u);
  many.RemoveRows({false, true, true});
  EXPECT_EQ(many.RowCount(), 2);
  EXPECT_FALSE(many.IsTask(1));
  EXPECT_EQ(many.KeyTag(1), TaskTable::kNoKey);
  EXPECT_EQ(many.LiveBytes(), 0u);
}

// The table against plain strings, through overwrites that grow and shrink, cells set from
// views of the same table, a 1 MB text, removals, permutations, compactions and copies.
TEST(TaskTable, CellsSurviveEveryChangeOfTheArena) {
  std::vector<TaskRow> model(6);
  TaskTable t;
  t.SetRowCount(6);
  const auto check = [&](const char* step) {
    ASSERT_EQ(t.RowCount(), static_cast<int>(model.size())) << step;
    for (int r = 0; r < t.RowCount(); ++r) {
      for (int c = 0; c < kColumnCount; ++c) ASSERT_EQ(t.Cell(c, r), model[r][c]) << step << " " << c << "," << r;
    }
    ASSERT_LE(t.LiveBytes(), t.ArenaBytes()) << step;
  };
  const auto set = [&](int c, int r, std::string_view v) {
    model[r][c] = std::string(v);  // before: `v` may view the table
    t.SetCell(c, r, v);
  };
  std::mt19937 rng(5);
  const std::string big(1 << 20, 'x');
  for (int step = 0; step < 3000; ++step) {
    const int r = static_cast<int>(rng() % model.size());
    const int c = static_cast<int>(rng() % kColumnCount);
    switch (rng() % 10) {
      case 0: case 1: case 2:  // a text of any length up to 40 bytes
        set(c, r, std::string(rng() % 41, static_cast<char>('a' + step % 26)));
        break;
      case 3: {  // from another cell, or a piece of its own
        const int r2 = static_cast<int>(rng() % model.size());
        const int c2 = static_cast<int>(rng() % kColumnCount);
        const std::string_view v = t.Cell(c2, r2);
        set(c, r, rng() % 2 ? v : v.substr(v.size() / 3));
        break;
      }
      case 4:
        if (step % 500 == 4) {
          set(c, r, big);  // a block of its own over many chunks, then overwritten
        } else {
          // Up to just over a chunk: shared blocks and blocks of their own, and a compaction
          // that lays cells across the ends of chunks.
          set(c, r, std::string(rng() % 3 ? rng() % 16385 : rng() % 70000, static_cast<char>('A' + step % 26)));
        }
        break;
      case 5:
        t.RemoveRow(r);
        if (r >= 1) {
          model.erase(model.begin() + r);
          if (model.size() < 2) model.emplace_back();
        }
        break;
      case 6: {
        std::vector<int> rows(model.size() - 1);
        for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i) + 1;
        std::shuffle(rows.begin(), rows.end(), rng);
        t.PermuteRows(rows);
        std::vector<TaskRow> moved(model);
        for (std::size_t i = 0; i < rows.size(); ++i) moved[i + 1] = model[static_cast<std::size_t>(rows[i])];
        model = moved;
        break;
      }
      case 7:
        t.AppendRow();
        model.emplace_back();
        break;
      case 8:
        t.CompactIfWasteful();
        if (step % 100 == 8) t.Compact();
        break;
      case 9:
        if (step % 50 == 9) t = TaskTable(t);
        if (step % 50 == 19) {  // a file taken as it is, and a row made of pieces of it
          std::string file(5000 + static_cast<std::size_t>(step), ' ');
          for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<char>('!' + (i + step) % 90);
          const std::string_view whole = file;
          t.AdoptText(std::move(file));
          for (int col = 0; col < kColumnCount; ++col) {
            const std::string_view piece = whole.substr(static_cast<std::size_t>(col) * 800, rng() % 800);
            model[r][col] = std::string(piece);
            t.ReferCell(col, r, piece);
          }
        }
        break;
    }
    check("random walk");
    if (::testing::Test::HasFatalFailure()) return;
  }
  t.Compact();
  check("compacted");
  EXPECT_EQ(t.ArenaBytes(), t.LiveBytes());
  t.ClearTasks();
  model.resize(2);
  model[1] = TaskRow{};
  check("cleared, header kept");
  std::size_t header = 0;
  for (int c = 0; c < kColumnCount; ++c) header += t.Cell(c, 0).size();
  EXPECT_EQ(t.LiveBytes(), header);
}

// The key tag names a row's sort key: it goes with the row and goes away when the due date
// or text changes, but not for another cell or the same text written again.
TEST(TaskTable, KeyTagsFollowTheirRowsAndDateAndText) {
  TaskTable t({TaskRow{}, TaskRow{"d1", "0", "a"}, TaskRow{"d2", "0", "b"}, TaskRow{"d3", "0", "c"}});
  for (int r = 1; r <= 3; ++r) EXPECT_EQ(t.KeyTag(r), TaskTable::kNoKey);
  for (int r = 1; r <= 3; ++r) t.SetKeyTag(r, static_cast<std::uint32_t>(10 * r));
  t.PermuteRows({3, 1, 2});
  EXPECT_EQ(t.KeyTag(1), 30u);
  EXPECT_EQ(t.KeyTag(2), 10u);
  t.SetCell(colFlags, 1, "A");
  t.SetCell(colText, 1, "c");
  t.SetCell(colDaysLeft, 1, "5");
  EXPECT_EQ(t.KeyTag(1), 30u);
  t.SetCell(colText, 1, "c ");
  EXPECT_EQ(t.KeyTag(1), TaskTable::kNoKey);
  t.SetCell(colDueDate, 2, "d9");
  EXPECT_EQ(t.KeyTag(2), TaskTable::kNoKey);
  t.RemoveRow(1);
  EXPECT_EQ(t.KeyTag(1), TaskTable::kNoKey);
  EXPECT_EQ(t.KeyTag(2), 20u);
  t.Compact();
  EXPECT_EQ(t.KeyTag(2), 20u);
  EXPECT_EQ(TaskTable(t).KeyTag(2), TaskTable::kNoKey);  // a copy is no longer the list's
}

// The sort passes over marked rows without reading them, so a mark must go with any write to
// the row, and stay with the row wherever it moves.
TEST(TaskTable, SortMarksGoWithAnyWriteAndFollowTheirRows) {
  TaskTable t({TaskRow{}, TaskRow{"d1", "0", "a"}, TaskRow{"d2", std::string(kDoneMark), "b"}, TaskRow{"d3", "0", "c"}});
  const auto markAll = [&] {
    for (int r = 1; r < t.RowCount(); ++r) t.MarkChecked(r, t.IsDone(r));
  };
  for (int col = 0; col < kColumnCount; ++col) {
    markAll();
    t.SetCell(col, 2, "x");
    EXPECT_FALSE(t.Checked(2)) << col;
    EXPECT_TRUE(t.Checked(1) && t.Checked(3)) << col;
  }
  markAll();
  t.SetRow(1, TaskRow{"d1", "0", "a"});  // the same cells written again
  EXPECT_FALSE(t.Checked(1));

  t = TaskTable({TaskRow{}, TaskRow{"d1", "0", "a"}, TaskRow{"d2", std::string(kDoneMark), "b"}, TaskRow{"d3", "0", "c"}});
  markAll();
  t.SetCheckedUnder(7);
  t.PermuteRows({2, 3, 1});
  EXPECT_TRUE(t.Checked(1) && t.CheckedDone(1));  // "b" moved up with its mark
  t.OpenRows({2});
  t.AppendRow();
  EXPECT_FALSE(t.Checked(2));
  EXPECT_FALSE(t.Checked(5));
  EXPECT_TRUE(t.Checked(3) && t.Checked(4));
  t.RemoveRows({false, false, true, false, false, false});  // the opened row
  EXPECT_TRUE(t.Checked(1) && t.CheckedDone(1));
  t.ClearRow(1);
  EXPECT_FALSE(t.Checked(1));
  t.Compact();
  EXPECT_TRUE(t.Checked(2) && t.Checked(3));
  EXPECT_EQ(t.CheckedUnder(), 7);
  const TaskTable copy(t);
  EXPECT_FALSE(copy.Checked(2));
  EXPECT_EQ(copy.CheckedUnder(), -1);
}

}  // namespace
}  // namespace lq
