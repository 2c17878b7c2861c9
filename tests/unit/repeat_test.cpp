// The next due date of a repeating task, and the character its flags keep for it.
#include <gtest/gtest.h>

#include "store/repeat.h"

namespace lq {
namespace {

Date D(int y, int m, int d) { return Date{y, m, d}; }

std::string Text(Date d) {
  return std::to_string(d.year) + "/" + std::to_string(d.month) + "/" + std::to_string(d.day);
}

TEST(Repeat, TheNextDueDateFollowsTheSeriesAndSkipsWhatIsPast) {
  const struct {
    const char* flags;
    Date due;
    Date today;
    Date next;
    char code;  // position 2 of the next task's flags
  } cases[] = {
      // Done on time or early: the next date after the due date.
      {"-D", D(2024, 5, 1), D(2024, 5, 1), D(2024, 5, 2), 'D'},
      {"AD", D(2024, 5, 9), D(2024, 5, 1), D(2024, 5, 10), 'D'},
      {"-W", D(2024, 5, 1), D(2024, 4, 29), D(2024, 5, 8), 'W'},
      // Weekdays over a weekend, from a Friday and from a Saturday.
      {"-B", D(2024, 5, 3), D(2024, 5, 3), D(2024, 5, 6), 'B'},
      {"-B", D(2024, 5, 4), D(2024, 5, 3), D(2024, 5, 6), 'B'},
      {"-B", D(2024, 5, 6), D(2024, 5, 3), D(2024, 5, 7), 'B'},
      // A year's last day.
      {"-D", D(2024, 12, 31), D(2024, 12, 31), D(2025, 1, 1), 'D'},
      {"-B", D(2024, 12, 31), D(2024, 12, 31), D(2025, 1, 1), 'B'},
      {"-W", D(2024, 12, 31), D(2024, 12, 31), D(2025, 1, 7), 'W'},
      {"-M", D(2024, 12, 31), D(2024, 12, 31), D(2025, 1, 31), 'M'},
      {"-Y", D(2024, 12, 31), D(2024, 12, 31), D(2025, 12, 31), 'Y'},
      // Month ends: the last day of a shorter month, keeping the day to go back to.
      {"-M", D(2024, 1, 31), D(2024, 1, 31), D(2024, 2, 29), '1'},
      {"-M", D(2023, 1, 31), D(2023, 1, 31), D(2023, 2, 28), '1'},
      {"-1", D(2023, 2, 28), D(2023, 2, 28), D(2023, 3, 31), 'M'},
      {"-M", D(2024, 3, 31), D(2024, 3, 31), D(2024, 4, 30), '1'},
      {"-1", D(2024, 4, 30), D(2024, 4, 30), D(2024, 5, 31), 'M'},
      {"-M", D(2023, 1, 29), D(2023, 1, 29), D(2023, 2, 28), '9'},
      {"-9", D(2023, 2, 28), D(2023, 2, 28), D(2023, 3, 29), 'M'},
      {"-M", D(2024, 1, 30), D(2024, 1, 30), D(2024, 2, 29), '0'},
      {"-0", D(2024, 2, 29), D(2024, 2, 29), D(2024, 3, 30), 'M'},
      {"-M", D(2024, 1, 29), D(2024, 1, 29), D(2024, 2, 29), 'M'},
      // A task of the 30th that stands on the 30th keeps nothing: April's 30th goes to May's.
      {"-M", D(2024, 4, 30), D(2024, 4, 30), D(2024, 5, 30), 'M'},
      // A kept day is only believed on the end of a short month (the date was set by hand).
      {"-1", D(2024, 4, 15), D(2024, 4, 15), D(2024, 5, 15), 'M'},
      // 29 February: the 28th in common years, back to the 29th in a leap year.
      {"-Y", D(2024, 2, 29), D(2024, 2, 29), D(2025, 2, 28), 'L'},
      {"-L", D(2025, 2, 28), D(2025, 2, 28), D(2026, 2, 28), 'L'},
      {"-L", D(2027, 2, 28), D(2027, 2, 28), D(2028, 2, 29), 'Y'},
      {"-Y", D(2025, 2, 28), D(2025, 2, 28), D(2026, 2, 28), 'Y'},
      // Overdue by one period: the next date is still the one after the due date (here today).
      {"-D", D(2024, 4, 30), D(2024, 5, 1), D(2024, 5, 1), 'D'},
      {"-W", D(2024, 4, 24), D(2024, 5, 1), D(2024, 5, 1), 'W'},
      {"-B", D(2024, 5, 3), D(2024, 5, 6), D(2024, 5, 6), 'B'},
      // Overdue by more: the first date of the series after today, on the series' own days.
      {"-D", D(2024, 4, 20), D(2024, 5, 1), D(2024, 5, 2), 'D'},
      {"-B", D(2024, 4, 24), D(2024, 5, 3), D(2024, 5, 6), 'B'},
      {"-W", D(2024, 4, 3), D(2024, 5, 1), D(2024, 5, 8), 'W'},
      {"-W", D(2024, 4, 2), D(2024, 5, 1), D(2024, 5, 7), 'W'},
      {"-M", D(2024, 1, 31), D(2024, 5, 1), D(2024, 5, 31), 'M'},
      {"-M", D(2024, 1, 31), D(2024, 6, 1), D(2024, 6, 30), '1'},
      {"-Y", D(2020, 2, 29), D(2024, 3, 1), D(2025, 2, 28), 'L'},
      {"-Y", D(2019, 3, 1), D(2024, 3, 1), D(2025, 3, 1), 'Y'},
  };
  for (const auto& c : cases) {
    const Repetition r = RepetitionOf(c.flags);
    const int day = SeriesDay(r, c.due);
    const auto next = NextDueDate(r.kind, c.due, day, c.today);
    SCOPED_TRACE(std::string(c.flags) + " due " + Text(c.due) + " done " + Text(c.today));
    ASSERT_TRUE(next.has_value());
    EXPECT_EQ(Text(*next), Text(c.next));
    EXPECT_EQ(RepeatCode(r.kind, *next, day), c.code);
  }
}

TEST(Repeat, OnlyTheListedCharactersRepeatAndTheCalendarsEndStopsTheSeries) {
  for (const char* flags : {"", "A", "-", "A-", "AX", "D", "-d", "-m"}) {
    EXPECT_EQ(RepetitionOf(flags).kind, Repeat::None) << flags;
  }
  // A "D" that is the second byte of a double-byte character (0x8F 0x44) is no repetition.
  EXPECT_EQ(RepetitionOf("\x8F\x44").kind, Repeat::None);
  EXPECT_EQ(RepetitionOf("AWx").kind, Repeat::Weekly);
  EXPECT_FALSE(NextDueDate(Repeat::Daily, D(9999, 12, 31), 31, D(9999, 12, 31)).has_value());
  EXPECT_FALSE(NextDueDate(Repeat::Monthly, D(9999, 12, 15), 15, D(2024, 1, 1)).has_value());
  EXPECT_FALSE(NextDueDate(Repeat::None, D(2024, 1, 1), 1, D(2024, 1, 1)).has_value());
  // A new choice keeps the alarm flag and whatever follows position 2.
  EXPECT_EQ(WithRepeat("", Repeat::Weekly), "-W");
  EXPECT_EQ(WithRepeat("A", Repeat::Monthly), "AM");
  EXPECT_EQ(WithRepeat("A1xyz", Repeat::Yearly), "AYxyz");
  EXPECT_EQ(WithRepeat("AW", Repeat::None), "A-");
}

}  // namespace
}  // namespace lq
