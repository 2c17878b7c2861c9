#include <gtest/gtest.h>

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

TEST(Text, TrimRemovesControlAndBlankBytesButNotTheFullWidthSpace) {
  EXPECT_EQ(TrimBlanks(" \t\x01x y\r\n"), "x y");
  EXPECT_EQ(TrimBlanks(std::string_view("\0a\0", 3)), "a");
  EXPECT_EQ(TrimBlanks(Sj("　x　")), Sj("　x　"));
  EXPECT_EQ(TrimBlanks("   "), "");
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
  for (int r = 1; r < 4; ++r) t.Cell(colDueDate, r) = "d" + std::to_string(r);
  t.RemoveRow(1);
  ASSERT_EQ(t.RowCount(), 3);
  EXPECT_EQ(t.Cell(colDueDate, 1), "d2");
  EXPECT_EQ(t.Cell(colDueDate, 2), "d3");
  t.RemoveRow(2);
  t.RemoveRow(1);
  EXPECT_EQ(t.RowCount(), 2);
  EXPECT_FALSE(t.IsTask(1));
  EXPECT_EQ(t.TaskCount(), 0);
}

}  // namespace
}  // namespace lq
