#include <gtest/gtest.h>

#include <cmath>

#include "fakes.h"
#include "sjis.h"
#include "store/taskfile.h"
#include "store/text.h"
#include "sync/automationdate.h"
#include "sync/sync.h"

namespace lq {
namespace {

using testing::Sj;
using testing::Utf8;

const DateTime kOld{Date{2024, 3, 1}};   // before the last run
const DateTime kNew{Date{2024, 3, 10}};  // after it
const std::string kLastSync = "20240305000000000";

std::u16string U16(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

struct MemItem {
  int day = 20;  // of March 2024
  std::string subject;
  bool complete = false;
  DateTime modified = kOld;
  int importance = 0;
};

// A task folder in memory. Each save stamps the item one second later than the last; the
// chosen call fails the chosen time it is made.
class MemFolder final : public TaskFolder {
 public:
  std::vector<MemItem> items;
  std::string failCall;
  int failAt = 1;

  void Touch(const std::string& call) {
    if (call == failCall && ++made_ == failAt) throw FolderError(u"failed: " + U16(call));
  }
  DateTime NextSaveTime() { return DateTime{Date{2024, 3, 15}, 10, 0, ++saves_, 0}; }

  int Count() override {
    Touch("Count");
    return static_cast<int>(items.size());
  }
  std::unique_ptr<FolderItem> Item(int index) override;
  std::unique_ptr<FolderItem> CreateItem() override;

 private:
  int made_ = 0;
  int saves_ = 0;
};

class MemItemRef final : public FolderItem {
 public:
  MemItemRef(MemFolder& folder, int index) : folder_(folder), index_(index) {}
  DateTime DueDate() override { return DateTime{Date{2024, 3, It("DueDate").day}}; }
  std::string Subject() override { return It("Subject").subject; }
  int Status() override { return It("Status").complete ? kStatusComplete : kStatusNotComplete; }
  DateTime LastModificationTime() override { return It("LastModificationTime").modified; }
  void SetDueDate(Date date) override { It("SetDueDate").day = date.day; }
  void SetSubject(std::string_view subject) override { It("SetSubject").subject = subject; }
  void SetStatus(int status) override { It("SetStatus").complete = status == kStatusComplete; }
  void SetImportance(int importance) override { It("SetImportance").importance = importance; }
  void Save() override {
    It("Save").modified = folder_.NextSaveTime();
    if (index_ < 0) {
      folder_.items.push_back(fresh_);
      index_ = static_cast<int>(folder_.items.size()) - 1;
    }
  }
  void Delete() override {
    It("Delete");
    folder_.items.erase(folder_.items.begin() + index_);
  }

 private:
  MemItem& It(const std::string& call) {
    folder_.Touch(call);
    return index_ < 0 ? fresh_ : folder_.items.at(static_cast<std::size_t>(index_));
  }
  MemFolder& folder_;
  int index_;  // -1 for an item not saved yet
  MemItem fresh_;
};

std::unique_ptr<FolderItem> MemFolder::Item(int index) {
  Touch("Item");
  if (index < 1 || index > static_cast<int>(items.size())) throw FolderError(u"bad index");
  return std::make_unique<MemItemRef>(*this, index - 1);
}

std::unique_ptr<FolderItem> MemFolder::CreateItem() {
  Touch("CreateItem");
  return std::make_unique<MemItemRef>(*this, -1);
}

struct SeedRow {
  int day = 20;
  std::string text;
  bool done = false;
  DateTime stamp = kOld;
  std::string attachment;
};

// "old", "new", or "s3" for the folder's third save.
std::string Label(std::string_view stamp) {
  if (stamp == FormatStamp(kOld)) return "old";
  if (stamp == FormatStamp(kNew)) return "new";
  if (stamp.starts_with("2024031510")) return "s" + std::to_string(std::stoi(std::string(stamp.substr(12, 2))));
  return std::string(stamp);
}

class SyncTest : public ::testing::Test {
 protected:
  SyncTest() : list(clock, collation) {
    list.SetVisibleRowCount(10);
    list.UpdateTaskCounts();
    profile.values[{"Sync", "LastSync"}] = kLastSync;
  }

  void Seed(const std::vector<SeedRow>& rows, const std::vector<MemItem>& items) {
    TaskTable& t = list.Table();
    for (const SeedRow& seed : rows) {
      int r = t.IsTask(1) ? t.RowCount() : 1;
      if (r == t.RowCount()) t.AppendRow();
      const std::string due = FormatDueDate(Date{2024, 3, seed.day});
      t.SetRow(r, TaskRow{due, seed.done ? std::string(kDoneMark) : *DaysLeft(due, list.Today()), seed.text,
                         FormatStamp(seed.stamp), seed.attachment, ""});
      ++(seed.done ? list.DoneCount : list.NotDoneCount);
    }
    folder.items = items;
  }

  SyncResult Run() {
    return RunSync(list, profile, [this] { return std::make_unique<Borrowed>(folder); }, hooks);
  }

  // "03/20 text 済 s1 +attachment", in list order.
  std::vector<std::string> Rows() const {
    std::vector<std::string> out;
    const TaskTable& t = list.Table();
    for (int r = 1; r < t.RowCount() && t.IsTask(r); ++r) {
      std::string s = std::string(t.Cell(colDueDate, r).substr(5, 5)) + " " + Utf8(t.Cell(colText, r));
      if (t.IsDone(r)) s += " " + Utf8(kDoneMark);
      s += " " + Label(t.Cell(colUpdated, r));
      if (!t.Cell(colAttachment, r).empty()) s += " +" + std::string(t.Cell(colAttachment, r));
      out.push_back(s);
    }
    return out;
  }
  // "03/20 subject done s1", in folder order.
  std::vector<std::string> Items() const {
    std::vector<std::string> out;
    for (const MemItem& i : folder.items) {
      out.push_back((i.day < 10 ? "03/0" : "03/") + std::to_string(i.day) + " " + i.subject +
                    (i.complete ? " done " : " ") + Label(FormatStamp(i.modified)));
    }
    return out;
  }
  std::string LastSync() { return profile.ReadString("Sync", "LastSync", "?"); }

  // The run owns what the opener gives; this hands it the test's folder.
  struct Borrowed final : TaskFolder {
    explicit Borrowed(MemFolder& f) : f(f) {}
    int Count() override { return f.Count(); }
    std::unique_ptr<FolderItem> Item(int i) override { return f.Item(i); }
    std::unique_ptr<FolderItem> CreateItem() override { return f.CreateItem(); }
    MemFolder& f;
  };

  testing::FakeClock clock{DateTime{Date{2024, 3, 15}, 12, 0, 0, 0}};
  ByteCollation collation;
  TaskList list;
  testing::FakeProfile profile;
  MemFolder folder;
  SyncHooks hooks;
};

struct PairCase {
  const char* name;
  std::vector<SeedRow> rows;
  std::vector<MemItem> items;
  std::vector<std::string> wantRows;
  std::vector<std::string> wantItems;
  std::string lastSync = kLastSync;
};

TEST_F(SyncTest, PairsAndCopiesAndDeletesAsEachSideChanged) {
  const std::vector<PairCase> cases = {
      {"same date, text and state: the task takes the item's time",
       {{20, "a", false, kOld}}, {{20, "a", false, kNew}}, {"03/20 a new"}, {"03/20 a new"}},
      {"completed in the folder later",
       {{20, "a", false, kOld}}, {{20, "a", true, kNew}}, {"03/20 a 済 new"}, {"03/20 a done new"}},
      {"done here later: the item is completed and saved",
       {{20, "a", true, kNew}}, {{20, "a", false, kOld}}, {"03/20 a 済 s1"}, {"03/20 a done s1"}},
      {"a tie goes to the folder",
       {{20, "a", true, kNew}}, {{20, "a", false, kNew}}, {"03/20 a new"}, {"03/20 a new"}},
      {"new in the folder: the empty list takes it in its first row",
       {}, {{20, "a", true, kNew}}, {"03/20 a 済 new"}, {"03/20 a done new"}},
      {"deleted here since the last run", {}, {{20, "a", false, kOld}}, {}, {}},
      {"new here", {{20, "a", true, kNew}}, {}, {"03/20 a 済 s1"}, {"03/20 a done s1"}},
      {"deleted in the folder since the last run", {{20, "a", false, kOld}}, {}, {}, {}},
      {"no date in common",
       {{21, "a", false, kNew}, {22, "b", false, kOld}}, {{20, "a", false, kNew}, {23, "c", false, kOld}},
       {"03/20 a new", "03/21 a s1"}, {"03/20 a new", "03/21 a s1"}},
      {"first run: everything is copied, nothing deleted",
       {{20, "a", false, kOld}}, {{21, "b", false, kOld}}, {"03/20 a s1", "03/21 b old"},
       {"03/21 b old", "03/20 a s1"}, "00000000000000000"},
      {"an unreadable LastSync counts as a first run",
       {{20, "a", false, kOld}}, {{21, "b", false, kOld}}, {"03/20 a s1", "03/21 b old"},
       {"03/21 b old", "03/20 a s1"}, "2024-03-05"},
      // Tasks both sides still hold.
      {"moved here: the item takes the new date",
       {{25, "a", false, kOld}}, {{20, "a", false, kOld}}, {"03/25 a s1"}, {"03/25 a s1"}},
      {"moved here, which reopened it: the item follows",
       {{25, "a", false, kOld}}, {{20, "a", true, kOld}}, {"03/25 a s1"}, {"03/25 a s1"}},
      {"moved in the folder: the task keeps its attachment",
       {{20, "a", false, kOld, "x.txt"}}, {{25, "a", false, kNew}}, {"03/25 a new +x.txt"}, {"03/25 a new"}},
      {"blanks around the subject, a line break in it",
       {{20, "a", false, kOld, "x"}, {20, "b  c", false, kOld, "y"}},
       {{20, "  a ", false, kNew}, {20, "b\r\nc", false, kNew}}, {"03/20 a new +x", "03/20 b  c new +y"}, {"03/20   a  new", "03/20 b\r\nc new"}},
      {"twins pair one to one, each with the item of its own state",
       {{20, "a", false, kOld, "x"}, {20, "a", true, kOld, "y"}}, {{20, "a", false, kNew}, {20, "a", true, kNew}},
       {"03/20 a new +x", "03/20 a 済 new +y"}, {"03/20 a new", "03/20 a done new"}},
      {"one twin deleted in the folder",
       {{20, "a", false, kOld}, {20, "a", false, kOld}}, {{20, "a", false, kNew}}, {"03/20 a new"}, {"03/20 a new"}},
  };
  for (const PairCase& c : cases) {
    SCOPED_TRACE(c.name);
    list.Clear();
    profile.values[{"Sync", "LastSync"}] = c.lastSync;
    folder = MemFolder{};
    Seed(c.rows, c.items);
    const SyncResult result = Run();
    ASSERT_TRUE(result.completed) << Utf8(std::string(result.error.begin(), result.error.end()));
    EXPECT_EQ(Rows(), c.wantRows);
    EXPECT_EQ(Items(), c.wantItems);
    EXPECT_EQ(LastSync(), "20240315120000000");
  }
}

TEST_F(SyncTest, NewItemsAreNormalImportanceWithTheTrimmedTextAndHandEditsBreakNoPair) {
  Seed({{20, "  new here  ", false, kNew}, {21, "b", false, kOld}, {22, "no stamp", false, kOld}},
       {{21, "b", false, kOld}});
  list.Table().SetCell(colDueDate, 2, Sj("2024/03/21(月)"));  // a hand-edited weekday; the day is a Thursday
  list.Table().SetCell(colUpdated, 3, "");  // counts as changed here, not as deleted in the folder
  const SyncResult result = Run();
  ASSERT_TRUE(result.completed);
  ASSERT_EQ(folder.items.size(), 3u);
  EXPECT_EQ(folder.items[1].subject, "new here");
  EXPECT_EQ(folder.items[1].importance, kImportanceNormal);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"03/20 new here s1", "03/21 b old", "03/22 no stamp s2"}));
}

TEST_F(SyncTest, DeletionLoopClosesGapsAndLeavesOneEmptyRow) {
  Seed({{20, "a", false, kOld}, {21, "b", false, kOld}, {22, "c", false, kNew}, {23, "d", true, kOld},
        {24, "e", false, kOld}},
       {});
  Run();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"03/22 c s1"}));
  EXPECT_EQ(list.Table().RowCount(), 2);

  list.Clear();
  Seed({{20, "a", false, kOld}, {21, "b", true, kOld}}, {});
  list.SetCurrentRow(2);
  const SyncResult result = Run();
  EXPECT_EQ(result.list.deleted, 2);
  EXPECT_EQ(list.Table().RowCount(), 2);
  EXPECT_EQ(list.Table().Row(1), TaskRow{});
  EXPECT_EQ(list.Table().Cell(colDueDate, 0), "0/0");
  EXPECT_EQ(list.CurrentRow(), 1);
}

TEST_F(SyncTest, ReportsStagesAndProgressAndSortsForDisplayWithCounts) {
  std::vector<std::string> events;
  hooks.showMessage = [&](std::u16string_view text) { events.push_back(text == kSyncReadingText    ? "reading"
                                                                         : text == kSyncUpdatingText ? "updating"
                                                                         : text == kSyncFinishedText ? "finished"
                                                                                                     : "?"); };
  hooks.setMaximum = [&](int max) { events.push_back("max " + std::to_string(max)); };
  hooks.setPosition = [&](int pos) { events.push_back(std::to_string(pos)); };
  Seed({{20, "a", false, kNew}, {21, "b", false, kNew}},
       {{20, "a", false, kNew}, {19, "c", true, kNew}, {23, "d", false, kNew}});
  list.SetAttachment(1, "https://x.jp/", StepKind::AttachUrl);
  list.Undo();  // a step to redo
  const SyncResult result = Run();
  EXPECT_FALSE(list.RedoLabel());  // the run changed the list: nothing from before it undoes
  // Three rows with the header and three items; the two items that came in raise the maximum.
  EXPECT_EQ(events, (std::vector<std::string>{"reading", "max 5", "1", "2", "3", "updating", "max 7", "4", "5", "6",
                                              "7", "7", "finished"}));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"03/20 a new", "03/21 b s1", "03/23 d new", "03/19 c 済 new"}));
  EXPECT_EQ(list.Table().Cell(colDueDate, 0), "3/4");
  EXPECT_EQ(SyncReport(result),
            u"Outlookとの同期を終了しました。\r\n\r\n予定表: 追加 2件、変更 0件、削除 0件\r\n"
            u"Outlook: 追加 1件、変更 0件、削除 0件\r\n\r\n"
            u"Outlook側の変更は元に戻せないため、同期までの変更も元に戻せなくなりました。");
}

TEST_F(SyncTest, KeepsTheListBeforeTheRunBeforeDeletingFromIt) {
  std::vector<TaskTable> kept;
  hooks.keepListBefore = [&](const TaskTable& before) -> std::optional<std::filesystem::path> {
    kept.push_back(before);
    return std::filesystem::path("/data/Lindqvale.csv.bak");
  };
  Seed({{22, "gone there", false, kOld}, {20, "a", false, kOld}}, {{20, "a", true, kNew}});
  const TaskTable before = list.Table();
  SyncResult result = Run();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].Row(1), before.Row(1));
  EXPECT_EQ(kept[0].Row(2), before.Row(2));
  EXPECT_EQ(SyncReport(result),
            u"Outlookとの同期を終了しました。\r\n\r\n予定表: 追加 0件、変更 1件、削除 1件\r\n"
            u"Outlook: 追加 0件、変更 0件、削除 0件\r\n\r\n同期前の予定表を「/data/Lindqvale.csv.bak」に残しました。\r\n\r\n"
            u"Outlook側の変更は元に戻せないため、同期までの変更も元に戻せなくなりました。");

  // Nothing to delete: nothing kept. The backup fails: nothing is deleted, the run stops.
  kept.clear();
  Run();
  EXPECT_TRUE(kept.empty());
  Seed({{21, "gone there", false, kOld}}, {});
  clock.Set(DateTime{Date{2024, 3, 15}, 13, 0, 0, 0});
  hooks.keepListBefore = [](const TaskTable&) { return std::optional<std::filesystem::path>(); };
  result = Run();
  EXPECT_FALSE(result.completed);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"03/20 a 済 new", "03/21 gone there old"}));
  EXPECT_EQ(LastSync(), "20240315120000000");  // of the first run
}

TEST_F(SyncTest, AFailingCallStopsTheRunWhereItIsAndLeavesLastSync) {
  struct FailCase {
    const char* call;
    int at;
    std::string done;  // what the run had changed: list, then folder, as added/changed/deleted
  };
  const std::vector<FailCase> cases = {
      {"open", 1, "0 0 0 / 0 0 0"},       {"Count", 1, "0 0 0 / 0 0 0"},      {"Save", 1, "0 0 0 / 0 0 0"},
      {"Subject", 3, "0 0 0 / 0 1 0"},    {"Delete", 1, "1 0 0 / 0 1 0"},     {"CreateItem", 1, "1 0 0 / 0 1 1"},
      {"Save", 2, "1 0 0 / 0 1 1"},
  };
  for (const FailCase& c : cases) {
    SCOPED_TRACE(std::string(c.call) + " #" + std::to_string(c.at));
    list.Clear();
    folder = MemFolder{};
    Seed({{20, "done here", true, kNew}, {21, "new here", false, kNew}, {22, "gone there", false, kOld}},
         {{20, "done here", false, kOld}, {19, "new there", false, kNew}, {24, "gone here", false, kOld}});
    folder.failCall = c.call;
    folder.failAt = c.at;
    const SyncResult result = RunSync(
        list, profile,
        [&]() -> std::unique_ptr<TaskFolder> {
          if (c.call == std::string("open")) throw FolderError(u"failed: open");
          return std::make_unique<Borrowed>(folder);
        },
        hooks);
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(result.error, u"failed: " + U16(c.call));
    const auto n = [](const SyncCounts& s) {
      return std::to_string(s.added) + " " + std::to_string(s.changed) + " " + std::to_string(s.deleted);
    };
    EXPECT_EQ(n(result.list) + " / " + n(result.folder), c.done);
    EXPECT_EQ(LastSync(), kLastSync);
    EXPECT_EQ(list.Table().IsTask(3), true);  // "gone there" is never deleted before the end
    // Not re-sorted: a row that came in stays last; the counters follow the table.
    if (result.list.added > 0) {
      EXPECT_EQ(list.Table().Cell(colText, list.Table().RowCount() - 1), "new there");
    }
    EXPECT_EQ(list.Table().Cell(colDueDate, 0),
              std::to_string(list.Table().TaskCount() - 1) + "/" + std::to_string(list.Table().TaskCount()));
  }
}

TEST(TaskFileCopy, KeepsTheListBesideTheFileAfterAnOriginalStillWaiting) {
  testing::MemFileStore store;
  testing::FakeProfile profile;
  testing::FakeClock clock;
  ByteCollation collation;
  TaskList list(clock, collation);
  TaskFile file("/data/Lindqvale.csv", store);
  store.files["/data/Lindqvale.csv"] = std::string(kHeader32) + "\r\nnot a task\r\n";
  file.LoadTaskFile(list, profile, clock.Now());
  TaskTable table;
  table.SetRow(1, TaskRow{FormatDueDate(Date{2024, 3, 20}), "5", "a", "20240301000000000", "", ""});

  const auto copy = file.KeepCopy(table);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->string(), "/data/Lindqvale.csv.2.bak");
  EXPECT_EQ(store.files["/data/Lindqvale.csv.bak"], store.files["/data/Lindqvale.csv"]);
  EXPECT_EQ(store.files["/data/Lindqvale.csv.2.bak"], FormatTaskFile(table));

  store.unwritable.insert("/data/Lindqvale.csv.3.bak");
  EXPECT_FALSE(file.KeepCopy(table));
}

TEST(AutomationDate, ConvertsBothWaysToTheMillisecond) {
  struct Case {
    double value;
    DateTime time;
  };
  const std::vector<Case> cases = {
      {0.0, {{1899, 12, 30}, 0, 0, 0, 0}},
      {45366.5, {{2024, 3, 15}, 12, 0, 0, 0}},
      {45366.0 + 37230.123 / 86400.0, {{2024, 3, 15}, 10, 20, 30, 123}},
      {-1.25, {{1899, 12, 29}, 6, 0, 0, 0}},
      {2958465.0, {{9999, 12, 31}, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(FromAutomationDate(c.value), c.time);
    EXPECT_NEAR(ToAutomationDate(c.time), c.value, 1e-9);
  }
  EXPECT_EQ(FromAutomationDate(45366.0 + 86399.9999 / 86400.0), (DateTime{{2024, 3, 16}}));  // rounds to midnight
  EXPECT_EQ(FromAutomationDate(2958466.0), std::nullopt);
  EXPECT_EQ(FromAutomationDate(std::nan("")), std::nullopt);
}

}  // namespace
}  // namespace lq
