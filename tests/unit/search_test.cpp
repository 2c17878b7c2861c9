#include <gtest/gtest.h>

#include "fakes.h"
#include "settings/findhistory.h"
#include "sjis.h"
#include "store/search.h"
#include "store/text.h"

namespace lq {
namespace {

using testing::Sj;
using testing::Utf8;

TEST(Search, MatchesStartOnlyAtACharacter) {
  struct Case {
    const char* text;
    const char* word;
    bool found;
  };
  const Case cases[] = {
      {"ポイント", "|", false},   // ポ is 83 7C
      {"表示", "\\", false},      // 表 is 95 5C
      {"ソa", "\\a", false},      // ソ is 83 5C: the match would begin at its second byte
      {"ポx", "|x", false},
      {"ポ|x", "|x", true},       // the real "|" after it counts
      {"a|b", "|", true},
      {"ABC", "abc", false},      // letter case as written
      {"ａｂｃ", "abc", false},   // full-width letters are other characters
      {"xabc", "abc", true},
      {"会議の準備", "準備", true},
      {"", "a", false},
      {"ab", "abc", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ContainsAtCharacter(Sj(c.text), Sj(c.word)), c.found) << c.text << " / " << c.word;
  }
}

TEST(Search, ASearchTextIsItsFirstLine) {
  EXPECT_EQ(SearchTextOf("abc\r\ndef"), "abc");
  EXPECT_EQ(SearchTextOf("abc\ndef\rghi"), "abc");
  EXPECT_EQ(SearchTextOf("\r\nabc"), "");
  EXPECT_EQ(SearchTextOf("abc"), "abc");
}

class SearchListTest : public ::testing::Test {
 protected:
  SearchListTest() : list(clock, collation) {}
  // Rows 1.. with these texts, all due on one day; only the text column may match.
  void Fill(std::initializer_list<const char*> texts, int visible) {
    TaskTable& t = list.Table();
    t.SetRowCount(static_cast<int>(texts.size()) + 1);
    int r = 1;
    for (const char* text : texts) {
      t.SetCell(colDueDate, r, Sj("2024/03/15(金)"));
      t.SetCell(colDaysLeft, r, "0");
      t.SetCell(colText, r, Sj(text));
      t.SetCell(colUpdated, r, "20240315000000000");
      t.SetCell(colAttachment, r, "c:\\needle.txt");
      ++r;
    }
    list.SetVisibleRowCount(visible);
  }
  void At(int current, int top) {
    list.SetTopRow(top);
    list.SetCurrentRow(current);
    ASSERT_EQ(list.TopRow(), top);
  }

  testing::FakeClock clock;
  ByteCollation collation;
  TaskList list;
};

TEST_F(SearchListTest, NeitherTheCurrentRowNorAWrapAroundIsSearched) {
  Fill({"needle", "hay", "needle"}, 10);
  At(3, 1);
  EXPECT_FALSE(SearchTasks(list, "needle", SearchDirection::Down));
  EXPECT_EQ(list.CurrentRow(), 3);
  At(1, 1);
  EXPECT_FALSE(SearchTasks(list, "needle", SearchDirection::Up));
  // Other columns are not searched: the due date and the attachment hold these.
  EXPECT_FALSE(SearchTasks(list, "2024", SearchDirection::Down));
  EXPECT_FALSE(SearchTasks(list, "c:", SearchDirection::Down));
  EXPECT_EQ(list.CurrentRow(), 1);
}

TEST_F(SearchListTest, TwinTasksAreFoundOneAfterTheOther) {
  Fill({"start", "twin", "twin", "end"}, 10);
  At(1, 1);
  ASSERT_TRUE(SearchTasks(list, "twin", SearchDirection::Down));
  EXPECT_EQ(list.CurrentRow(), 2);
  ASSERT_TRUE(SearchTasks(list, "twin", SearchDirection::Down));
  EXPECT_EQ(list.CurrentRow(), 3);
  ASSERT_TRUE(SearchTasks(list, "twin", SearchDirection::Up));
  EXPECT_EQ(list.CurrentRow(), 2);
}

TEST_F(SearchListTest, TheFoundTaskStandsWhereTheCurrentOneStood) {
  struct Case {
    int current, top;
    SearchDirection direction;
    const char* word;
    int foundRow, newTop;
  };
  // Twelve rows, four visible; "a" at 2, "b" at 10, "c" at 12.
  const Case cases[] = {
      {6, 5, SearchDirection::Down, "b", 10, 9},  // one line below the top, as before
      {8, 5, SearchDirection::Up, "a", 2, 1},     // the top row is never above row 1
      {6, 5, SearchDirection::Down, "c", 12, 9},  // nor further down than a whole page allows
  };
  for (const Case& c : cases) {
    Fill({"x", "a", "x", "x", "x", "x", "x", "x", "x", "b", "x", "c"}, 4);
    At(c.current, c.top);
    ASSERT_TRUE(SearchTasks(list, c.word, c.direction)) << c.word;
    EXPECT_EQ(list.CurrentRow(), c.foundRow) << c.word;
    EXPECT_EQ(list.TopRow(), c.newTop) << c.word;
  }
  // A list that fits the window keeps its top row.
  Fill({"x", "x", "a"}, 4);
  At(1, 1);
  ASSERT_TRUE(SearchTasks(list, "a", SearchDirection::Down));
  EXPECT_EQ(list.TopRow(), 1);
}

TEST(SearchHistory, NewTextsGoFirstAndTheSixthPushesTheOldestOut) {
  testing::FakeProfile profile;
  profile.values[{"Find", "0"}] = "b";
  profile.values[{"Find", "1"}] = "";  // a hand edit left a gap
  profile.values[{"Find", "2"}] = "a";
  SearchHistory h;
  h.Load(profile);
  EXPECT_EQ(h.Items(), (std::vector<std::string>{"b", "a"}));

  // Already there: nothing moves, nothing to write.
  EXPECT_FALSE(h.Add("a"));
  EXPECT_EQ(h.Items(), (std::vector<std::string>{"b", "a"}));
  EXPECT_FALSE(h.Add(""));

  ASSERT_TRUE(h.Add("c"));
  ASSERT_TRUE(h.Write(profile));
  EXPECT_EQ(profile.values.at({"Find", "0"}), "c");
  EXPECT_EQ(profile.values.at({"Find", "1"}), "b");
  EXPECT_EQ(profile.values.at({"Find", "2"}), "a");
  EXPECT_EQ(profile.values.at({"Find", "3"}), "");  // unused positions are written empty
  EXPECT_EQ(profile.values.at({"Find", "4"}), "");

  for (const char* t : {"d", "e", "f"}) h.Add(t);
  EXPECT_EQ(h.Items(), (std::vector<std::string>{"f", "e", "d", "c", "b"}));
  h.Load(profile);  // what the file holds, not what was added since
  EXPECT_EQ(h.Items(), (std::vector<std::string>{"c", "b", "a"}));
}

TEST(SearchHistory, EachTextIsOneLineAndReadsBackAsWritten) {
  testing::FakeProfile profile;
  SearchHistory h;
  ASSERT_TRUE(h.Add("first\r\n[Settings]\r\nDoneDown=0"));
  ASSERT_TRUE(h.Write(profile));
  EXPECT_EQ(profile.values.at({"Find", "0"}), "first");
  EXPECT_EQ(profile.values.count({"Settings", "DoneDown"}), 0u);

  // The profile functions drop surrounding blanks and quotes when they read.
  EXPECT_EQ(ProfileValueText(" padded "), "\" padded \"");
  EXPECT_EQ(ProfileValueText("\"quoted\""), "\"\"quoted\"\"");
  EXPECT_EQ(ProfileValueText("'a"), "\"'a\"");
  EXPECT_EQ(ProfileValueText("in \"the\" middle"), "in \"the\" middle");
  EXPECT_EQ(ProfileValueText(Sj("ポ表")), Sj("ポ表"));
  EXPECT_EQ(ProfileValueText(""), "");

  profile.unwritable.insert({"Find", "2"});
  EXPECT_FALSE(h.Write(profile));
}

}  // namespace
}  // namespace lq
