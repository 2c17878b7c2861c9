#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <random>

#include "platform/collation.h"
#include "sjis.h"
#include "store/stdfilestore.h"
#include "store/taskfile.h"

namespace lq::win {
namespace {

using testing::Sj;

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

std::vector<std::string> Samples() {
  return {Sj("あ"),          Sj("い"),          Sj("ア"),          Sj("う"),          Sj("漢字"),
          Sj("会議"),        Sj("牛乳"),        "abc",             "ABC",             "Abd",
          "abd",             "1",               "10",              "9",               "",
          " ",               "-x",              "x-",              Sj("ａｂｃ"),      Sj("済"),
          Sj("2024/03/15(金),会議"), Sj("2024/03/15(金),"), Sj("2024/03/15(金),ABC"),
          Sj("2024/03/15(金),abc"),  Sj("2024/03/16(土),a"), "00000000000000,TARNWILLOW03.2.00",
          // Longer than a key made on the stack, and just either side of that limit.
          std::string(600, 'a'),     std::string(600, 'A') + "b", std::string(511, 'x') + Sj("あ"),
          std::string(512, 'x') + Sj("い")};
}

TEST(Collation, SortKeysOrderExactlyAsTheLocaleComparison) {
  const LocaleCollation c;
  const auto samples = Samples();
  for (const auto& a : samples) {
    for (const auto& b : samples) {
      ASSERT_EQ(Sign(c.SortKey(a).compare(c.SortKey(b))), c.Compare(a, b))
          << testing::Utf8(a) << " vs " << testing::Utf8(b);
    }
  }
}

TEST(Collation, IgnoresLetterCaseOnly) {
  const LocaleCollation c;
  EXPECT_EQ(c.Compare("abc", "ABC"), 0);
  EXPECT_EQ(c.Compare(Sj("2024/03/15(金),Milk"), Sj("2024/03/15(金),mILK")), 0);
  EXPECT_NE(c.Compare("abc", "abd"), 0);
  EXPECT_NE(c.Compare(Sj("あ"), Sj("い")), 0);
}

TEST(Collation, OrdersJapaneseTextTheWayTheLocaleDoes) {
  const LocaleCollation c;
  // Digits, then Latin letters, then kana in gojūon order, then kanji.
  const std::vector<std::string> expected{"1", "abc", Sj("あさ"), Sj("いぬ"), Sj("うみ"), Sj("漢字")};
  std::vector<std::string> shuffled = expected;
  std::mt19937 rng(3);
  std::shuffle(shuffled.begin(), shuffled.end(), rng);
  std::sort(shuffled.begin(), shuffled.end(),
            [&](const std::string& a, const std::string& b) { return c.SortKey(a) < c.SortKey(b); });
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(testing::Utf8(shuffled[i]), testing::Utf8(expected[i])) << i;
  }
  // The header line sorts before every dated line, and a date sorts before a later date.
  EXPECT_LT(c.Compare("00000000000000,TARNWILLOW03.2.00", Sj("2024/03/15(金),")), 0);
  EXPECT_LT(c.Compare(Sj("2024/03/15(金),う"), Sj("2024/03/16(土),あ")), 0);
}

class NowClock final : public Clock {
 public:
  DateTime Now() const override { return DateTime{Date{2024, 3, 15}, 12, 0, 0, 0}; }
};

TEST(Collation, TheTaskListSortsJapaneseTasksByTheLocale) {
  const LocaleCollation c;
  NowClock clock;
  TaskList list(clock, c);
  const char* texts[] = {"うみ", "Apple", "あさ", "apple", "漢字", "いぬ"};
  TaskTable& t = list.Table();
  t.SetRowCount(7);
  for (int i = 0; i < 6; ++i) {
    t.SetCell(colDueDate, i + 1, Sj("2024/03/15(金)"));
    t.SetCell(colDaysLeft, i + 1, "0");
    t.SetCell(colText, i + 1, Sj(texts[i]));
  }
  list.SortTasks(0, false);
  const char* expected[] = {"Apple", "apple", "あさ", "いぬ", "うみ", "漢字"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(testing::Utf8(t.Cell(colText, i + 1)), expected[i]) << i;
}

}  // namespace
}  // namespace lq::win
