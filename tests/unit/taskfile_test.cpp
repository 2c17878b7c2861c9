#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "fakes.h"
#include "sjis.h"
#include "store/taskfile.h"
#include "store/tempfiles.h"
#include "store/text.h"

namespace lq {
namespace {

using testing::Sj;

const std::string kPath = "/data/Lindqvale.csv";
const std::string kBackup = "/data/Lindqvale.csv.bak";

std::string Lines(std::initializer_list<std::string> lines, std::string_view end = "\r\n") {
  std::string s;
  for (const auto& l : lines) s.append(l).append(end);
  return s;
}

// A format 3.2 line.
std::string Line32(const std::string& date, const std::string& stamp, bool done, const std::string& att,
                   const std::string& flags, const std::string& text) {
  return Sj(date) + "," + stamp + "," + (done ? Sj("済") : Sj("　")) + ",|" + att + "|" + flags + "|," + Sj(text);
}

class TaskFileTest : public ::testing::Test {
 protected:
  // The load's order by date and text, the done tasks where the keys put them.
  TaskFileTest() : list(clock, collation), file(kPath, store) { list.DoneDown = false; }

  TaskFileLoadReport Load(const std::string& bytes) {
    store.files[kPath] = bytes;
    return file.LoadTaskFile(list, profile, start);
  }
  std::string Save() {
    EXPECT_TRUE(file.SaveTaskFile(list.Table()));
    return store.files[kPath];
  }
  std::string Cell(int col, int row) const { return std::string(list.Table().Cell(col, row)); }

  DateTime start{Date{2024, 3, 15}, 8, 1, 2, 3};
  testing::FakeClock clock{start};
  ByteCollation collation;
  testing::FakeProfile profile;
  testing::MemFileStore store;
  TaskList list;
  TaskFile file;
};

TEST_F(TaskFileTest, Format32LoadsEveryFieldAndSavesByteForByte) {
  const std::string bytes = Lines({
      std::string(kHeader32),
      Line32("2024/03/15(金)", "20240301101010100", false, "", "", "牛乳"),
      Line32("2024/03/16(土)", "20240301101010200", true, "C:\\memo.txt", "A", "07:00 起床, a|b|,c"),
      Line32("2024/03/20(水)", "20240301101010300", false, "https://example.com/?q=1", "-", "url"),
  });
  const auto report = Load(bytes);
  EXPECT_EQ(report.status, ReadStatus::Ok);
  EXPECT_EQ(report.layout, TaskFileLayout::Format32);
  EXPECT_EQ(report.skippedLines, 0);
  EXPECT_FALSE(report.backupPath);
  ASSERT_EQ(list.Table().RowCount(), 4);
  EXPECT_EQ(Cell(colDaysLeft, 1), "0");
  EXPECT_EQ(Cell(colText, 1), Sj("牛乳"));
  EXPECT_EQ(Cell(colDaysLeft, 2), Sj("済"));
  EXPECT_EQ(Cell(colAttachment, 2), "C:\\memo.txt");
  EXPECT_EQ(Cell(colFlags, 2), "A");
  EXPECT_EQ(Cell(colText, 2), Sj("07:00 起床, a|b|,c"));
  EXPECT_EQ(Cell(colUpdated, 2), "20240301101010200");
  EXPECT_EQ(Cell(colDaysLeft, 3), "5");
  EXPECT_EQ(Cell(colDueDate, 0), "2/3");
  EXPECT_EQ(Save(), bytes);
  EXPECT_TRUE(profile.values.empty());
}

TEST_F(TaskFileTest, OlderLayoutsAreReadAndWrittenBackAsFormat32) {
  // Format 2.1 has no flags field; 1.1 no attachment either; the headerless layout no stamp.
  Load(Lines({std::string(kHeader21), Sj("2024/03/15(金),20240301101010100,　,|C:\\memo.txt|,text")}));
  EXPECT_EQ(Cell(colAttachment, 1), "C:\\memo.txt");
  EXPECT_EQ(Cell(colFlags, 1), "");
  EXPECT_EQ(Cell(colText, 1), "text");
  EXPECT_EQ(Save(), Lines({std::string(kHeader32), Line32("2024/03/15(金)", "20240301101010100", false,
                                                          "C:\\memo.txt", "", "text")}));

  list.Clear();
  Load(Lines({std::string(kHeader11), Sj("2024/03/15(金),20240301101010100,済,old|text,x")}));
  EXPECT_EQ(Cell(colText, 1), "old|text,x");
  EXPECT_EQ(Cell(colDaysLeft, 1), Sj("済"));
  const std::string saved = Save();
  const std::string line = saved.substr(kHeader32.size() + 2);
  EXPECT_EQ(line.substr(36, 4), "|||,");  // bytes 37 to 40
  EXPECT_EQ(line.substr(40), "old|text,x\r\n");

  list.Clear();
  const auto report = Load(Lines({Sj("2024/03/16(土),済,headerless"), Sj("2024/03/14(木),　,second")}));
  EXPECT_EQ(report.layout, TaskFileLayout::Headerless);
  EXPECT_EQ(Cell(colText, 1), "second");
  EXPECT_EQ(Cell(colDaysLeft, 1), "-1");
  EXPECT_EQ(Cell(colUpdated, 1), "20240315080102003");
  EXPECT_EQ(Cell(colUpdated, 2), "20240315080102003");
  EXPECT_EQ((profile.values[{"Sync", "LastSync"}]), "00000000000000000");
}

TEST_F(TaskFileTest, LineOrderLineEndsAndHeaderBlanksDoNotMatter) {
  std::vector<std::string> lines;
  for (int i = 0; i < 40; ++i) {
    lines.push_back(Line32("2024/03/" + std::to_string(10 + i % 15) + "(金)", "2024030110101" + std::to_string(1000 + i),
                           i % 3 == 0, "", "", "task " + std::to_string(i)));
  }
  std::string sorted = "  " + std::string(kHeader32) + " \t\r\n";
  for (const auto& l : lines) sorted += l + "\r\n";
  Load(sorted);
  const TaskTable reference = list.Table();
  EXPECT_EQ(list.Table().RowCount(), 41);

  std::mt19937 rng(7);
  for (const char* end : {"\n", "\r", "\r\n"}) {
    std::shuffle(lines.begin(), lines.end(), rng);
    std::string shuffled;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i == 17) shuffled += std::string(kHeader32) + end;
      shuffled += lines[i] + end;
    }
    list.Clear();
    const auto report = Load(shuffled);
    EXPECT_EQ(report.layout, TaskFileLayout::Format32);
    for (int r = 1; r < reference.RowCount(); ++r) ASSERT_EQ(list.Table().Row(r), reference.Row(r)) << r;
  }
}

TEST_F(TaskFileTest, TasksEqualByDateAndTextFollowTheOrderOfTheirWholeLines) {
  // After the first sort the list is by date and text; tasks equal there keep the order of
  // their whole lines (here decided by the stamp), however the file had them.
  const std::string a = Line32("2024/03/15(金)", "20240301101010300", false, "", "", "Milk");
  const std::string b = Line32("2024/03/15(金)", "20240301101010100", false, "", "", "milk ");
  const std::string c = Line32("2024/03/15(金)", "20240301101010200", false, "", "", " MILK");
  for (const auto& order : {std::vector<std::string>{a, b, c}, std::vector<std::string>{c, b, a}}) {
    list.Clear();
    std::string bytes = std::string(kHeader32) + "\r\n";
    for (const auto& l : order) bytes += l + "\r\n";
    Load(bytes);
    list.SortTasks(0, false);
    EXPECT_EQ(Cell(colUpdated, 1), "20240301101010100");
    EXPECT_EQ(Cell(colUpdated, 2), "20240301101010200");
    EXPECT_EQ(Cell(colUpdated, 3), "20240301101010300");
  }
}

TEST_F(TaskFileTest, SavingTrimsTextAndAttachmentAndKeepsOtherMarksOpen) {
  Load(Lines({std::string(kHeader32), Sj("2024/03/15(金),20240301101010100,  ,| C:\\a.txt |A|,  spaced  ")}));
  EXPECT_EQ(Cell(colDaysLeft, 1), "0");  // two ASCII blanks are no done mark
  EXPECT_EQ(Cell(colText, 1), "  spaced  ");
  EXPECT_EQ(Save(), Lines({std::string(kHeader32),
                           Line32("2024/03/15(金)", "20240301101010100", false, "C:\\a.txt", "A", "spaced")}));
  list.Clear();
  EXPECT_EQ(Save(), Lines({std::string(kHeader32)}));
}

TEST_F(TaskFileTest, UnreadableLinesAreSkippedCountedAndKeptInABackup) {
  const std::string good = Line32("2024/03/15(金)", "20240301101010100", false, "", "", "keep me");
  const std::string original = Lines({
      "",                        // blank lines are dropped without a word
      "   ",
      "! a note typed by hand",  // sorts before the header, which must still be found
      std::string(kHeader32),
      good,
      Sj("2024/03/15(金),2024030110"),              // shorter than its layout
      Sj("2024/03/15(金),20240301101010100,　,|no bars at all"),
  });
  const auto report = Load(original);
  EXPECT_EQ(report.layout, TaskFileLayout::Format32);
  EXPECT_EQ(report.blankLines, 2);
  EXPECT_EQ(report.skippedLines, 3);
  ASSERT_TRUE(report.backupPath);
  EXPECT_EQ(report.backupPath->string(), kBackup);
  EXPECT_EQ(list.Table().TaskCount(), 1);
  EXPECT_EQ(Cell(colText, 1), "keep me");

  // The first save keeps the original beside the file; later saves leave that copy alone.
  const std::string saved = Save();
  EXPECT_EQ(store.files[kBackup], original);
  EXPECT_EQ(saved, Lines({std::string(kHeader32), good}));
  store.files[kBackup] = "untouched";
  Save();
  EXPECT_EQ(store.files[kBackup], "untouched");
}

// A file of some kilobytes is kept by the table, its cells pieces of it: edits written in
// place reach neither the original kept for the backup nor any other task.
TEST_F(TaskFileTest, AKeptFileGivesItsOriginalToTheBackupWhateverTheEdits) {
  std::string original = std::string(kHeader32) + "\r\n";
  std::string expected = original;
  for (int i = 0; i < 100; ++i) {
    const std::string n = std::to_string(100 + i);
    const std::string line = Line32("2024/03/16(土)", "20240301101010" + n, i % 3 == 0, "C:\\a" + n + ".txt",
                                    i % 2 ? "A" : "", "task " + n);
    original += line + "\r\n";
    if (i == 0) {
      expected += Line32("2024/03/16(土)", "20991231235959999", true, "", "", "x") + "\r\n";
    } else if (i == 1) {
      expected += Line32("2024/03/16(土)", "20240301101010" + n, false, "C:\\a" + n + ".txt", "A", std::string(300, 'y')) + "\r\n";
    } else {
      expected += line + "\r\n";
    }
  }
  original += "a line that holds no task\r\n";
  ASSERT_GT(original.size(), 4096u);
  const auto report = Load(original);
  ASSERT_EQ(report.skippedLines, 1);
  ASSERT_TRUE(report.backupPath);
  ASSERT_EQ(Cell(colText, 1), "task 100");
  list.Table().SetCell(colText, 1, "x");                      // shorter: written in place
  list.Table().SetCell(colAttachment, 1, "");
  list.Table().SetCell(colUpdated, 1, "20991231235959999");   // as long: in place
  list.Table().SetCell(colText, 2, std::string(300, 'y'));    // longer: elsewhere
  EXPECT_EQ(Save(), expected);
  EXPECT_EQ(store.files[kBackup], original);
}

// Part of the list, though its date does not exist: a done task needs no date arithmetic.
// A line with a stamp is a task, open or done, whatever its date; an open task whose date names
// no day shows it as it stands, due in 0 days (what the list gave it when it was made).
TEST_F(TaskFileTest, ATaskWhoseDateDoesNotExistIsKeptOpenOrDone) {
  const std::string badDone = Sj("2026/02/30(火),20240101000000003,済,|||,bad date done");
  const std::string badOpen = Line32("2027/02/30(火)", "20240101000000004", false, "", "", "bad date open");
  const std::string open = Line32("2024/03/20(水)", "20240101000000002", false, "", "", "open");
  const std::string done = Line32("2024/03/10(日)", "20240101000000001", true, "", "", "done");
  const auto report = Load(Lines({std::string(kHeader32), badDone, badOpen, open, done}));
  EXPECT_EQ(report.skippedLines, 0);
  EXPECT_FALSE(report.backupPath);
  EXPECT_EQ(list.NotDoneCount, 2);
  EXPECT_EQ(list.DoneCount, 2);
  EXPECT_EQ(Cell(colDueDate, 0), "2/4");
  ASSERT_EQ(list.Table().TaskCount(), 4);
  list.DoneDown = true;
  list.SortTasks(0, false);
  EXPECT_EQ(Cell(colText, 1), "open");  // done tasks last, in date order
  EXPECT_EQ(Cell(colText, 2), "bad date open");
  EXPECT_EQ(Cell(colDueDate, 2), Sj("2027/02/30(火)"));
  EXPECT_EQ(Cell(colDaysLeft, 2), "0");
  EXPECT_EQ(Cell(colText, 3), "done");
  EXPECT_EQ(Cell(colText, 4), "bad date done");
  EXPECT_EQ(Cell(colDaysLeft, 4), Sj("済"));
  EXPECT_EQ(Save(), Lines({std::string(kHeader32), open, badOpen, done, badDone}));

  // Without a stamp only a real date tells a task line from a note.
  list.Clear();
  EXPECT_EQ(Load(Lines({Sj("2027/02/30(火),　,headerless open"), Sj("2027/02/30(火),済,headerless done")})).skippedLines,
            1);
  EXPECT_EQ(Cell(colText, 1), "headerless done");
}

// ポ ends in the bar byte (0x83 0x7C), 表 in the backslash byte (0x95 0x5C): only a bar that
// begins a character separates the attachment, the flags and the text.
TEST_F(TaskFileTest, BarBytesInsideDoubleByteCharactersSeparateNothing) {
  struct Case {
    const char* attachment;
    const char* flags;
    const char* text;
  } cases[] = {
      {"C:\\ポ,x", "", "plain attach"},
      {"C:\\レポート\\a.txt", "A", "07:00 会議"},
      {"－榎掛弓芸鋼旨竹倒", "A－", "ポ|,ポ"},
      {"https://example.com/表", "ポ", "表\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.attachment);
    list.Clear();
    const std::string bytes =
        Lines({std::string(kHeader32), Line32("2024/03/15(金)", "20240301101010100", false, Sj(c.attachment),
                                              Sj(c.flags), c.text)});
    const auto report = Load(bytes);
    EXPECT_EQ(report.skippedLines, 0);
    EXPECT_EQ(Cell(colAttachment, 1), Sj(c.attachment));
    EXPECT_EQ(Cell(colFlags, 1), Sj(c.flags));
    EXPECT_EQ(Cell(colText, 1), Sj(c.text));
    EXPECT_EQ(Save(), bytes);
  }
}

// A format 3.2 file whose header went missing, hides behind a UTF-8 byte-order mark or has a
// stray header beside it keeps every field of every task. Whatever the loader reads otherwise
// than the header says is reported, and the original is kept at the first save; an old
// headerless file is converted as always, without a word.
TEST_F(TaskFileTest, DamagedHeadersLoseNothingAndAreReported) {
  const std::string h32(kHeader32);
  const std::string h11(kHeader11);
  const std::string done = Line32("2024/03/14(木)", "20240301101010100", true, "C:\\a.txt", "A", "done task");
  const std::string open = Line32("2024/03/16(土)", "20240301101010200", false, "", "-", "open task");
  const std::string l11 = Sj("2024/03/16(土),20240301101010200,　,old text");
  const std::string headerless = Sj("2024/03/17(日),済,headerless");
  const std::string asWritten = Lines({h32, done, open});
  struct Case {
    const char* name;
    std::string bytes;
    std::string saved;  // when the file holds the two tasks above
    int recognised, extraHeaders, misfits;
    bool lastSyncReset;
    const char* said;  // in the message, UTF-8
  } cases[] = {
      {"no header", Lines({open, done}), asWritten, 2, 0, 0, false, "見出しの行がありませんでした"},
      {"byte-order mark before the header", "\xEF\xBB\xBF" + asWritten, asWritten, 0, 0, 0, false, "BOM"},
      {"byte-order mark, no header", "\xEF\xBB\xBF" + Lines({done, open}), asWritten, 2, 0, 0, false, "BOM"},
      {"stray format 1.1 header", Lines({h11, h32, done, open}), asWritten, 0, 1, 0, false, "見出しの行が2行"},
      {"a format 1.1 line, no header", Lines({done, l11}), "", 2, 0, 0, false, "見出しの行がありませんでした"},
      {"a headerless line among them", Lines({done, headerless}), "", 1, 0, 0, true, "1行は更新日時のある"},
      {"a 3.2 line under the 1.1 header", Lines({h11, done, l11}), "", 0, 0, 1, false, "1行は見出しとは別の形式"},
      {"an old headerless file", Lines({headerless}), "", 0, 0, 0, true, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    list.Clear();
    profile.values.clear();
    const auto report = Load(c.bytes);
    EXPECT_EQ(report.recognisedLines, c.recognised);
    EXPECT_EQ(report.extraHeaders, c.extraHeaders);
    EXPECT_EQ(report.misfitLines, c.misfits);
    EXPECT_EQ(report.skippedLines, 0);
    EXPECT_EQ(profile.values.count({"Sync", "LastSync"}), c.lastSyncReset ? 1u : 0u);
    if (!c.saved.empty()) {
      ASSERT_EQ(list.Table().TaskCount(), 2);
      EXPECT_EQ(Cell(colDaysLeft, 1), Sj("済"));
      EXPECT_EQ(Cell(colUpdated, 1), "20240301101010100");
      EXPECT_EQ(Cell(colAttachment, 1), "C:\\a.txt");
      EXPECT_EQ(Cell(colFlags, 1), "A");
      EXPECT_EQ(Cell(colText, 1), "done task");
      EXPECT_EQ(Cell(colDaysLeft, 2), "1");
    }
    const std::string message = LoadReportMessage(report, kPath);
    if (!c.said) {
      EXPECT_EQ(message, "");
      EXPECT_FALSE(report.backupPath);
      continue;
    }
    EXPECT_NE(message.find(c.said), std::string::npos) << message;
    ASSERT_TRUE(report.backupPath);
    EXPECT_NE(message.find(report.backupPath->string()), std::string::npos) << message;
    const std::string saved = Save();
    if (!c.saved.empty()) {
      EXPECT_EQ(saved, c.saved);
    }
    EXPECT_EQ(store.files[report.backupPath->string()], c.bytes);
  }
}

// A folder where the task file belongs can be neither read nor written over: the user hears
// that, not the promise of a backup, and no save gets through until the folder is gone.
TEST_F(TaskFileTest, AFolderInThePlaceOfTheFileIsReportedAsSuchAndNeverWrittenOver) {
  store.folders.insert(kPath);
  const auto report = file.LoadTaskFile(list, profile, start);
  EXPECT_EQ(report.status, ReadStatus::Folder);
  EXPECT_FALSE(report.backupPath);
  const std::string message = LoadReportMessage(report, kPath);
  EXPECT_NE(message.find("フォルダー"), std::string::npos) << message;
  EXPECT_EQ(message.find(".bak"), std::string::npos) << message;
  list.Table().SetCell(colDueDate, 1, Sj("2024/03/15(金)"));
  list.Table().SetCell(colDaysLeft, 1, "0");
  EXPECT_FALSE(file.SaveTaskFile(list.Table()));
  store.folders.clear();
  EXPECT_TRUE(file.SaveTaskFile(list.Table()));
  EXPECT_EQ(store.files.count(kBackup), 0u);
}

// The attachment field ends at its first "|" and the line at a line break: an attachment that
// holds either (no command accepts one, but a cell can) is written so that its line stays
// whole and the flags and the text after it keep their places.
TEST_F(TaskFileTest, AnAttachmentNeverBreaksItsLine) {
  struct Case {
    std::string attachment, written;
  } cases[] = {
      {"https://example.com/?a|b", "https://example.com/?a%7Cb"},
      {"C:\\two\r\nlines.txt", "C:\\two  lines.txt"},
      {"C:\\ends in a lead byte\x81", "C:\\ends in a lead byte"},
      {"C:\\lead byte\x81\nbefore a line break", "C:\\lead byte before a line break"},
      {Sj("C:\\レポート\\表.txt"), Sj("C:\\レポート\\表.txt")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.attachment);
    list.Clear();
    TaskTable& t = list.Table();
    t.SetCell(colDueDate, 1, Sj("2024/03/15(金)"));
    t.SetCell(colDaysLeft, 1, "0");
    t.SetCell(colUpdated, 1, "20240301101010100");
    t.SetCell(colAttachment, 1, c.attachment);
    t.SetCell(colFlags, 1, "A");
    t.SetCell(colText, 1, "07:00 text");
    EXPECT_EQ(AttachmentFitsTaskFile(c.attachment), c.attachment == c.written);
    const std::string saved = Save();
    EXPECT_EQ(SplitLines(saved).size(), 2u);
    list.Clear();
    Load(saved);
    EXPECT_EQ(Cell(colAttachment, 1), c.written);
    EXPECT_EQ(Cell(colFlags, 1), "A");
    EXPECT_EQ(Cell(colText, 1), "07:00 text");
  }
}

// The shell takes a path only up to its first NUL, so "marker.exe\0.txt" would look like a
// text file and run a program. An attachment with any control character is left out; its task
// stays, and the original keeps it in the backup.
TEST_F(TaskFileTest, AnAttachmentHoldingAControlCharacterIsLeftOutAndTheTaskKept) {
  const std::string kept = Line32("2024/03/15(金)", "20240301101010100", false, "C:\\memo.txt", "A", "kept");
  const std::string refused[] = {std::string("C:\\marker.exe\0.txt", 18), "C:\\tab\tin.txt",
                                 "https://example.jp/\x1B", "C:\\del\x7F.txt"};
  std::vector<std::string> lines{std::string(kHeader32), kept};
  for (int i = 0; i < 4; ++i) {
    lines.push_back(Line32("2024/03/2" + std::to_string(i) + "(水)", "2024030110101020" + std::to_string(i), i == 1,
                           refused[i], "A", "task " + std::to_string(i)));
  }
  std::string original;
  for (const auto& l : lines) original += l + "\r\n";
  const auto report = Load(original);
  EXPECT_EQ(report.skippedLines, 0);
  EXPECT_EQ(report.refusedAttachments, 4);
  ASSERT_EQ(list.Table().TaskCount(), 5);
  EXPECT_EQ(Cell(colAttachment, 1), "C:\\memo.txt");
  for (int row = 2; row <= 5; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(Cell(colAttachment, row), "");
    EXPECT_EQ(Cell(colText, row), "task " + std::to_string(row - 2));
    EXPECT_EQ(Cell(colFlags, row), "A");
  }
  EXPECT_EQ(Cell(colDaysLeft, 3), Sj("済"));
  const std::string message = LoadReportMessage(report, kPath);
  EXPECT_NE(message.find("制御文字"), std::string::npos) << message;
  ASSERT_TRUE(report.backupPath);
  EXPECT_NE(message.find(report.backupPath->string()), std::string::npos) << message;
  const std::string saved = Save();
  EXPECT_EQ(store.files[kBackup], original);
  EXPECT_EQ(saved.find("marker.exe"), std::string::npos) << saved;
  EXPECT_FALSE(AttachmentFitsTaskFile(refused[0]));
  EXPECT_FALSE(AttachmentFitsTaskFile(refused[1]));
}

TEST_F(TaskFileTest, AnExistingBackupIsNeverOverwritten) {
  store.files[kBackup] = "older backup";
  const std::string original = Lines({std::string(kHeader32), "junk line that is no task at all, none"});
  const auto report = Load(original);
  ASSERT_TRUE(report.backupPath);
  EXPECT_EQ(report.backupPath->string(), "/data/Lindqvale.csv.2.bak");
  Save();
  EXPECT_EQ(store.files[kBackup], "older backup");
  EXPECT_EQ(store.files["/data/Lindqvale.csv.2.bak"], original);
}

TEST_F(TaskFileTest, AFailedBackupLeavesTheOriginalInPlace) {
  const std::string original = Lines({std::string(kHeader32), "junk line that is no task at all, none"});
  Load(original);
  store.unwritable.insert(kBackup);
  EXPECT_FALSE(file.SaveTaskFile(list.Table()));
  EXPECT_EQ(store.files[kPath], original);
  store.unwritable.clear();
  EXPECT_TRUE(file.SaveTaskFile(list.Table()));
  EXPECT_EQ(store.files[kBackup], original);
}

TEST_F(TaskFileTest, AFileThatCannotBeReadIsNeverReplacedByAnEmptyList) {
  store.files[kPath] = "precious";
  store.unreadable.insert(kPath);
  const auto report = file.LoadTaskFile(list, profile, start);
  EXPECT_EQ(report.status, ReadStatus::Failed);
  EXPECT_EQ(Cell(colDueDate, 0), "0/0");
  EXPECT_FALSE(file.SaveTaskFile(list.Table()));
  EXPECT_EQ(store.files[kPath], "precious");

  // Once the user has tasks, and the file can be read again, its bytes are kept first.
  list.Table().SetCell(colDueDate, 1, Sj("2024/03/15(金)"));
  list.Table().SetCell(colDaysLeft, 1, "0");
  EXPECT_FALSE(file.SaveTaskFile(list.Table()));
  EXPECT_EQ(store.files[kPath], "precious");
  store.unreadable.clear();
  EXPECT_TRUE(file.SaveTaskFile(list.Table()));
  EXPECT_EQ(store.files[kBackup], "precious");
  EXPECT_NE(store.files[kPath], "precious");
}

TEST_F(TaskFileTest, MissingFileGivesAnEmptyListAndAFailedWriteReportsFalse) {
  const auto report = file.LoadTaskFile(list, profile, start);
  EXPECT_EQ(report.status, ReadStatus::NotFound);
  EXPECT_EQ(list.Table().RowCount(), 2);
  store.unwritable.insert(kPath);
  EXPECT_FALSE(file.SaveTaskFile(list.Table()));
  EXPECT_EQ(store.files.count(kPath), 0u);
}

TEST_F(TaskFileTest, HeaderlessLoadStillWorksWhenTheSettingsCannotBeWritten) {
  profile.failWrites = true;
  const auto report = Load(Lines({Sj("2024/03/16(土),　,text")}));
  EXPECT_TRUE(report.lastSyncWriteFailed);
  EXPECT_EQ(list.Table().TaskCount(), 1);
}

TEST_F(TaskFileTest, HostileBytesNeitherCrashNorSpillIntoOtherTasks) {
  const std::string huge(10 * 1024 * 1024, 'x');
  const std::string nul("a\0b", 3);
  const std::string badSjis = "\x82\xFF\xFD\x81";
  const std::string bytes = Lines({
      std::string(kHeader32),
      Line32("2024/03/15(金)", "20240301101010100", false, "", "", "") + huge,
      Line32("2024/03/16(土)", "20240301101010200", false, "", "", "") + nul,
      Line32("2024/03/17(日)", "20240301101010300", false, badSjis, "", "") + badSjis,
      Line32("2024/03/18(月)", "20240301101010400", false, "", "", "last"),
  });
  Load(bytes);
  ASSERT_EQ(list.Table().TaskCount(), 4);
  EXPECT_EQ(Cell(colText, 1).size(), huge.size());
  EXPECT_EQ(Cell(colText, 2), nul);
  EXPECT_EQ(Cell(colText, 3), badSjis);
  // The lead byte that ends the attachment takes the bar after it as its second byte ("\x81|"
  // is －); the next bar ends the field, and a comma follows it, as in format 2.1.
  EXPECT_EQ(Cell(colAttachment, 3), badSjis + "|");
  EXPECT_EQ(Cell(colFlags, 3), "");
  EXPECT_EQ(Cell(colText, 4), "last");
  std::string expected = bytes;
  expected.replace(expected.find(badSjis + "||,"), badSjis.size() + 3, badSjis + "|||,");
  EXPECT_EQ(Save(), expected);
}

TEST_F(TaskFileTest, LineBreaksInsideACellDoNotSplitTheTask) {
  list.Table().SetCell(colDueDate, 1, Sj("2024/03/15(金)"));
  list.Table().SetCell(colDaysLeft, 1, "0");
  list.Table().SetCell(colUpdated, 1, "20240301101010100");
  list.Table().SetCell(colText, 1, "two\r\nlines");
  const std::string saved = Save();
  EXPECT_EQ(SplitLines(saved).size(), 2u);
  list.Clear();
  Load(saved);
  EXPECT_EQ(Cell(colText, 1), "two  lines");
}

TEST(TemporaryFiles, EachSaveHasANameOfItsOwnAndLeftoversAreKnownByTheirNames) {
  const std::filesystem::path target = "/data/Lindqvale.csv";
  EXPECT_EQ(TemporaryPathFor(target, 0x3f2a).string(), "/data/Lindqvale.csv.~3f2a.tmp");
  EXPECT_NE(TemporaryPathFor(target, 1), TemporaryPathFor(target, 2));
  const std::pair<const char*, bool> names[] = {
      {"Lindqvale.csv.~3f2a.tmp", true},
      {"Lindqvale.csv.~ffffffffffffffff.tmp", true},
      {"Lindqvale.csv.tmp", true},  // the one name older versions used
      {"Lindqvale.csv", false},
      {"Lindqvale.csv.bak", false},
      {"Lindqvale.csv.2.bak", false},
      {"Lindqvale.csv.~.tmp", false},
      {"Lindqvale.csv.~notes.tmp", false},
      {"Lindqvale.csv.~1ffffffffffffffff.tmp", false},
      {"Lindqvale.csv.~3f2a.tmp.old", false},
      {"Other.csv.~3f2a.tmp", false},
  };
  for (const auto& [name, leftover] : names) EXPECT_EQ(IsLeftoverTemporaryOf(target, name), leftover) << name;
  EXPECT_TRUE(IsLeftoverTemporaryOf(target, TemporaryPathFor(target, 0xffffffffffffffffu).filename()));
}

TEST(SplitLines, AcceptsEveryLineEndAndAddsNoLineAtTheEnd) {
  EXPECT_EQ(SplitLines(""), std::vector<std::string_view>{});
  EXPECT_EQ(SplitLines("a"), std::vector<std::string_view>{"a"});
  EXPECT_EQ(SplitLines("a\r\n"), std::vector<std::string_view>{"a"});
  EXPECT_EQ(SplitLines("a\rb\nc\r\nd"), (std::vector<std::string_view>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("\n\r\n"), (std::vector<std::string_view>{"", ""}));
  EXPECT_EQ(SplitLines("a\n\rb"), (std::vector<std::string_view>{"a", "", "b"}));
}

}  // namespace
}  // namespace lq
