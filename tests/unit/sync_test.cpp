#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "fakes.h"
#include "sjis.h"
#include "store/taskfile.h"
#include "store/text.h"
#include "sync/automationdate.h"
#include "sync/sync.h"
#include "sync_model.h"

namespace lq {
namespace {

using testing::Sj;
using testing::Utf16;
using testing::Utf8;

const DateTime kOld{Date{2024, 3, 1}};   // before the last run
const DateTime kNew{Date{2024, 3, 10}};  // after it
const DateTime kNewer{Date{2024, 3, 11}};
const std::string kLastSync = "20240305000000000";

std::u16string U16(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }
std::u16string Decode(std::string_view cp932) { return testing::Utf16(cp932); }

struct MemItem {
  int day = 20;  // of March 2024; 0 for an item without a due date
  std::string subject;
  bool complete = false;
  DateTime modified = kOld;
  int importance = 0;
  std::u16string original;  // the subject as the folder holds it, when `subject` lost characters
  std::string id;           // given by the folder when empty
};

// A task folder in memory. Each save stamps the item one second later than the last; the
// chosen call fails the chosen time it is made, and `during` may change the folder at any call
// (before it is answered).
class MemFolder final : public TaskFolder {
 public:
  std::vector<MemItem> items;
  std::string failCall;
  int failAt = 1;
  std::function<void(const std::string& call)> during;

  void Touch(const std::string& call) {
    if (during) during(call);
    if (call == failCall && ++made_ == failAt) throw FolderError(u"failed: " + U16(call));
  }
  DateTime NextSaveTime() { return DateTime{Date{2024, 3, 15}, 10, 0, ++saves_, 0}; }
  std::string NewId() { return "id" + std::to_string(++ids_); }
  MemItem& At(std::size_t i) {
    MemItem& item = items.at(i);
    if (item.id.empty()) item.id = NewId();
    return item;
  }

  int Count() override {
    Touch("Count");
    return static_cast<int>(items.size());
  }
  std::unique_ptr<FolderItem> Item(int index) override;
  std::unique_ptr<FolderItem> CreateItem() override;

 private:
  int made_ = 0;
  int saves_ = 0;
  int ids_ = 0;
};

// An item of the folder as the automation objects give it: bound to the item it was taken
// for, wherever that moves, and failing once it is gone.
class MemItemRef final : public FolderItem {
 public:
  MemItemRef(MemFolder& folder, std::string id) : folder_(folder), id_(std::move(id)) {}
  std::optional<Date> DueDate() override {
    const int day = It("DueDate").day;
    return day == 0 ? std::nullopt : std::optional<Date>(Date{2024, 3, day});
  }
  FolderSubject Subject() override {
    const MemItem& i = It("Subject");
    return FolderSubject{i.subject, i.original};
  }
  int Status() override { return It("Status").complete ? kStatusComplete : kStatusNotComplete; }
  DateTime LastModificationTime() override { return It("LastModificationTime").modified; }
  std::string Identity() override { return It("Identity").id; }
  void SetDueDate(Date date) override { It("SetDueDate").day = date.day; }
  void SetSubject(const FolderSubject& subject) override {
    MemItem& i = It("SetSubject");
    i.subject = subject.text;
    i.original = subject.original;
  }
  void SetStatus(int status) override { It("SetStatus").complete = status == kStatusComplete; }
  void SetImportance(int importance) override { It("SetImportance").importance = importance; }
  void Save() override {
    It("Save").modified = folder_.NextSaveTime();
    if (id_.empty()) {
      fresh_.id = id_ = folder_.NewId();
      folder_.items.push_back(fresh_);
    }
  }
  void Delete() override {
    It("Delete");
    std::erase_if(folder_.items, [&](const MemItem& i) { return i.id == id_; });
  }

 private:
  MemItem& It(const std::string& call) {
    folder_.Touch(call);
    if (id_.empty()) return fresh_;
    for (MemItem& i : folder_.items) {
      if (i.id == id_) return i;
    }
    throw FolderError(u"the item is gone");
  }
  MemFolder& folder_;
  std::string id_;  // empty for an item not saved yet
  MemItem fresh_;
};

std::unique_ptr<FolderItem> MemFolder::Item(int index) {
  Touch("Item");
  if (index < 1 || index > static_cast<int>(items.size())) throw FolderError(u"bad index");
  return std::make_unique<MemItemRef>(*this, At(static_cast<std::size_t>(index - 1)).id);
}

std::unique_ptr<FolderItem> MemFolder::CreateItem() {
  Touch("CreateItem");
  return std::make_unique<MemItemRef>(*this, std::string());
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
      out.push_back((i.day == 0 ? "none" : i.day < 10 ? "03/0" : "03/") + (i.day == 0 ? "" : std::to_string(i.day)) + " " + i.subject +
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
       {{21, "a", false, kNewer}, {22, "b", false, kOld}}, {{20, "a", false, kNew}, {23, "c", false, kOld}},
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
  // Three rows with the header and three items; the looks at the folder after reading it and
  // at the end (when it holds four items) and the two items that came in raise the maximum.
  EXPECT_EQ(events, (std::vector<std::string>{"reading", "max 5", "1", "2", "3", "max 6", "4", "5", "6", "updating",
                                              "max 10", "7", "8", "9", "10", "max 14", "11", "12", "13", "14", "14",
                                              "finished"}));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"03/20 a new", "03/21 b s1", "03/23 d new", "03/19 c 済 new"}));
  EXPECT_EQ(list.Table().Cell(colDueDate, 0), "3/4");
  EXPECT_EQ(SyncReport(result, Decode),
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
  EXPECT_EQ(SyncReport(result, Decode),
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
      {"Subject", 3, "0 0 0 / 0 0 0"},    {"Delete", 1, "1 0 0 / 0 1 0"},     {"CreateItem", 1, "1 0 0 / 0 1 1"},
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

TEST_F(SyncTest, ALastSyncThatNoRunCanHaveWrittenCountsAsNeverSynchronised) {
  struct Case {
    std::string lastSync;
    bool never;
    bool future;
  };
  const std::vector<Case> cases = {
      {"20240305000000000", false, false},  {"20240315120000000", false, false},  // the clock's own time
      {"20240315120000001", true, true},    {"20240316000000000", true, true},
      {"99999999999999999", true, true},    {"00000000000000000", true, false},
      {"", true, false},                    {"2024-03-05", true, false},
      {"2024030500000000", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lastSync);
    list.Clear();
    folder = MemFolder{};
    profile.values[{"Sync", "LastSync"}] = c.lastSync;
    Seed({{22, "gone there", false, kOld}}, {{24, "gone here", false, kOld}});
    const SyncResult result = Run();
    ASSERT_TRUE(result.completed);
    const std::vector<std::string> kept{"03/22 gone there s1", "03/24 gone here old"};
    EXPECT_EQ(Rows(), c.never ? kept : std::vector<std::string>());
    EXPECT_EQ(result.futureLastSync, c.future ? c.lastSync : "");
    EXPECT_EQ(LastSync(), "20240315120000000");
  }
  EXPECT_EQ(SyncReport(Run(), Decode), u"Outlookとの同期を終了しました。\r\n\r\n変更はありませんでした。");
  profile.values[{"Sync", "LastSync"}] = "20240316093000000";
  EXPECT_EQ(SyncReport(Run(), Decode),
            u"Outlookとの同期を終了しました。\r\n\r\n変更はありませんでした。\r\n\r\n"
            u"前回の同期の時刻（2024/03/16 09:30）が今より後になっているので、初めての同期として扱い、"
            u"どちらからも予定を削除しませんでした。");
}

TEST_F(SyncTest, AFolderChangedDuringTheRunLosesNothingAndTheNextRunSettlesIt) {
  struct Case {
    const char* name;
    std::string call;  // the change comes before the n-th call of this
    int at;
    std::function<void(MemFolder&)> change;
    std::vector<std::string> rows, items;            // after the run
    std::vector<std::string> settledRows, settledItems;  // after a run with the folder left alone
  };
  const auto addFront = [](MemFolder& f) { f.items.insert(f.items.begin(), MemItem{19, "X", false, kNew}); };
  const std::vector<Case> cases = {
      {"an item added at the front while the items are read", "Item", 2, addFront,
       {"03/20 A old", "03/22 C old", "03/23 N new"}, {"03/19 X new", "03/20 A old", "03/21 B old", "03/22 C old"},
       {"03/19 X new", "03/20 A old", "03/22 C old", "03/23 N s1"}, {"03/19 X new", "03/20 A old", "03/22 C old", "03/23 N s1"}},
      {"an item added at the front before the deletions", "Item", 7, addFront,  // read, looked at again
       {"03/20 A old", "03/22 C old", "03/23 N s1"}, {"03/19 X new", "03/20 A old", "03/21 B old", "03/22 C old", "03/23 N s1"},
       {"03/19 X new", "03/20 A old", "03/22 C old", "03/23 N s1"}, {"03/19 X new", "03/20 A old", "03/22 C old", "03/23 N s1"}},
      {"an item renamed after it was read", "CreateItem", 1,
       [](MemFolder& f) {
         for (MemItem& i : f.items) {
           if (i.subject == "C") i = MemItem{22, "C2", false, f.NextSaveTime(), 0, {}, i.id};
         }
       },
       {"03/20 A old", "03/22 C old", "03/23 N s2"}, {"03/20 A old", "03/22 C2 s1", "03/23 N s2"},
       {"03/20 A old", "03/22 C2 s1", "03/23 N s2"}, {"03/20 A old", "03/22 C2 s1", "03/23 N s2"}},
      {"an item deleted while the items are read", "Item", 2, [](MemFolder& f) { f.items.pop_back(); },
       {"03/20 A old", "03/22 C old", "03/23 N new"}, {"03/20 A old", "03/21 B old"},
       {"03/20 A old", "03/23 N s1"}, {"03/20 A old", "03/23 N s1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    list.Clear();
    folder = MemFolder{};
    profile.values[{"Sync", "LastSync"}] = kLastSync;
    // B was deleted here, N is new here.
    Seed({{20, "A", false, kOld}, {22, "C", false, kOld}, {23, "N", false, kNew}},
         {{20, "A", false, kOld}, {21, "B", false, kOld}, {22, "C", false, kOld}});
    int calls = 0;
    folder.during = [&](const std::string& call) {
      if (call == c.call && ++calls == c.at) c.change(folder);
    };
    const SyncResult result = Run();
    folder.during = nullptr;
    ASSERT_TRUE(result.completed) << Utf8(std::string(result.error.begin(), result.error.end()));
    EXPECT_TRUE(result.folderChanged);
    EXPECT_EQ(Rows(), c.rows);
    EXPECT_EQ(Items(), c.items);
    EXPECT_EQ(LastSync(), kLastSync);  // the next run looks again

    ASSERT_TRUE(Run().completed);
    EXPECT_EQ(Rows(), c.settledRows);
    EXPECT_EQ(Items(), c.settledItems);
    EXPECT_EQ(LastSync(), "20240315120000000");
  }
}

TEST_F(SyncTest, TheListIsSavedBeforeLastSyncAndWithoutASaveLastSyncStays) {
  std::vector<std::string> saved;
  bool saves = true;
  hooks.saveList = [&](const TaskTable& t) {
    saved.push_back(std::string(t.Cell(colText, 1)) + " " + LastSync());
    return saves;
  };
  Seed({}, {{20, "new there", false, kNew}});
  SyncResult result = Run();
  EXPECT_EQ(saved, std::vector<std::string>{"new there " + kLastSync});
  EXPECT_EQ(LastSync(), "20240315120000000");
  EXPECT_FALSE(result.saveFailed);

  saves = false;
  clock.Set(DateTime{Date{2024, 3, 15}, 13, 0, 0, 0});
  result = Run();
  EXPECT_TRUE(result.completed);
  EXPECT_TRUE(result.saveFailed);
  EXPECT_EQ(LastSync(), "20240315120000000");
  EXPECT_TRUE(SyncNeedsBox(result));
  EXPECT_EQ(SyncReport(result, Decode),
            u"Outlookとの同期を終了しました。\r\n\r\n変更はありませんでした。\r\n\r\n"
            u"予定表を保存できなかったので、同期した時刻を記録しませんでした。次の同期でもう一度確かめます。");
}

TEST_F(SyncTest, SubjectsWithCharactersTheFileCannotHoldAreNamedAndNeverWrittenBackAsReplaced) {
  Seed({}, {{20, "a?", false, kNew, 0, u"a😀"}, {21, "b", false, kNew}, {22, "?x?", false, kNew, 0, u"𠮷x\u301C"}});
  SyncResult result = Run();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"03/20 a? new", "03/21 b new", "03/22 ?x? new"}));
  EXPECT_EQ(result.lostCharacters, (std::vector<std::u16string>{u"a😀", u"𠮷x\u301C"}));
  EXPECT_TRUE(SyncNeedsBox(result));
  EXPECT_EQ(SyncReport(result, Decode),
            u"Outlookとの同期を終了しました。\r\n\r\n予定表: 追加 3件、変更 0件、削除 0件\r\n"
            u"Outlook: 追加 0件、変更 0件、削除 0件\r\n\r\n"
            u"次の2件の件名には予定表に保存できない文字があったので、その文字を「?」にして取り込みました。\r\n"
            u"「a😀」\r\n「𠮷x\u301C」\r\n\r\n" + std::u16string(kUndoLostText));

  // Gone from the folder while the run cannot tell a deletion there from a task new here: the
  // items come back as they were, unless the text was changed here.
  ASSERT_TRUE(list.ChangeText(3, "?x? " + Sj("直した")));
  folder.items.clear();
  profile.values[{"Sync", "LastSync"}] = "00000000000000000";
  result = Run();
  ASSERT_EQ(folder.items.size(), 3u);
  EXPECT_EQ(folder.items[0].subject, "a?");
  EXPECT_EQ(folder.items[0].original, u"a😀");
  EXPECT_EQ(folder.items[1].original, u"");
  EXPECT_EQ(folder.items[2].subject, "?x? " + Sj("直した"));
  EXPECT_EQ(folder.items[2].original, u"");
  EXPECT_TRUE(result.lostCharacters.empty());
}

// The subject as the folder holds it is kept in the flags from position 3 on, after the alarm
// flag and the repetition, which the run never changes.
TEST_F(SyncTest, TheSubjectAsTheFolderHoldsItIsKeptFromFlagPositionThree) {
  const MemItem lost{20, "a?", false, kNew, 0, u"a😀"};
  Seed({}, {lost});
  ASSERT_TRUE(Run().completed);
  const std::string flags(list.Table().Cell(colFlags, 1));
  ASSERT_TRUE(flags.starts_with("--?")) << flags;
  const std::string mark = flags.substr(2);

  // A task copied in before the mark existed gets it when it pairs.
  for (const auto& [before, after] : std::vector<std::pair<std::string, std::string>>{
           {"", "--" + mark}, {"A", "A-" + mark}, {"AW", "AW" + mark}, {"-D", "-D" + mark},
           {"A" + Sj("ポ"), "A-" + mark}}) {  // never half of a character, whose other byte may be "|"
    SCOPED_TRACE(before);
    list.Clear();
    folder = MemFolder{};
    Seed({{20, "a?", false, kOld}}, {lost});
    list.Table().SetCell(colFlags, 1, before);
    ASSERT_TRUE(Run().completed);
    EXPECT_EQ(list.Table().Cell(colFlags, 1), after);
  }

  // Only that placement is read back.
  for (const auto& [kept, read] : std::vector<std::pair<std::string, bool>>{
           {"--" + mark, true}, {"AY" + mark, true}, {"-" + mark, false}, {"---" + mark, false}, {"A-" + mark + "0", false}}) {
    SCOPED_TRACE(kept);
    list.Clear();
    folder = MemFolder{};
    profile.values[{"Sync", "LastSync"}] = "00000000000000000";
    Seed({{20, "a?", false, kNew}}, {});
    list.Table().SetCell(colFlags, 1, kept);
    ASSERT_TRUE(Run().completed);
    ASSERT_EQ(folder.items.size(), 1u);
    EXPECT_EQ(folder.items[0].original, read ? u"a😀" : u"");
    EXPECT_EQ(list.Table().Cell(colFlags, 1), kept);
  }
}

TEST_F(SyncTest, AnItemWithoutADueDateComesInForTodayAndStaysPaired) {
  Seed({}, {{0, "no date", false, kNew}, {0, "done, no date", true, kNew}});
  ASSERT_TRUE(Run().completed);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"03/15 no date new", "03/15 done, no date 済 new"}));

  // Days later, nothing changed: nothing moves on either side.
  clock.Set(DateTime{Date{2024, 3, 18}, 9, 0, 0, 0});
  SyncResult result = Run();
  EXPECT_FALSE(result.list.Any() || result.folder.Any());
  EXPECT_EQ(Items(), (std::vector<std::string>{"none no date new", "none done, no date done new"}));

  // Done here: the item follows and keeps having no date.
  list.SetCurrentRow(1);
  ASSERT_TRUE(list.ToggleDone(false));
  clock.Set(DateTime{Date{2024, 3, 18}, 10, 0, 0, 0});
  result = Run();
  EXPECT_EQ(result.folder.changed, 1);
  EXPECT_EQ(Items(), (std::vector<std::string>{"none no date done s1", "none done, no date done new"}));
}

TEST_F(SyncTest, ADueDateTheRunCannotReadStopsItBeforeAnyChangeAndIsNamed) {
  Seed({{20, Sj("読めない日付"), true, kNew}}, {{21, "new there", false, kNew}});
  list.Table().SetCell(colDueDate, 1, "2024/13/45(x)");
  const SyncResult result = Run();
  EXPECT_FALSE(result.completed);
  EXPECT_EQ(list.Table().TaskCount(), 1);
  EXPECT_EQ(Items(), std::vector<std::string>{"03/21 new there new"});
  EXPECT_EQ(SyncReport(result, Decode),
            u"期限の日付を読み取れない予定があるので、同期を中止しました。\r\n\r\n"
            u"期限「2024/13/45(x)」、内容「読めない日付」の予定です。期限を直してから、もう一度同期してください。");
  EXPECT_EQ(LastSync(), kLastSync);
}

TEST(SyncReportTest, TheCountsOfAPlainRunStayInTheDialogAndABoxTellsTheRest) {
  SyncResult plain;
  plain.completed = true;
  plain.list.added = 2;
  plain.folder.deleted = 1;
  EXPECT_EQ(SyncCountsText(plain), u"予定表: 追加 2件、変更 0件、削除 0件\r\nOutlook: 追加 0件、変更 0件、削除 1件");
  EXPECT_EQ(SyncCountsText(SyncResult{}), u"変更はありませんでした。");

  const std::vector<std::pair<const char*, std::function<void(SyncResult&)>>> cases = {
      {"a plain run", [](SyncResult&) {}},
      {"tasks deleted here", [](SyncResult& r) { r.list.deleted = 1; }},
      {"stopped", [](SyncResult& r) { r.completed = false; }},
      {"not saved", [](SyncResult& r) { r.saveFailed = true; }},
      {"a LastSync from the future", [](SyncResult& r) { r.futureLastSync = "20990101000000000"; }},
      {"characters lost", [](SyncResult& r) { r.lostCharacters.push_back(u"😀"); }},
      {"the folder changed", [](SyncResult& r) { r.folderChanged = true; }},
  };
  for (const auto& [name, change] : cases) {
    SCOPED_TRACE(name);
    SyncResult r = plain;
    change(r);
    EXPECT_EQ(SyncNeedsBox(r), std::string(name) != "a plain run");
  }
}

// Many runs with edits on both sides, hostile folders, failures, kills and a wrong clock; the
// rules the model checks after every run are in sync_model.h.
TEST(SyncModelTest, NothingIsLostOrDuplicatedOverManyRuns) {
  for (const unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    testing::SeededChoices choices(seed);
    testing::SyncModel model(choices);
    EXPECT_EQ(model.Run(3000), "");
    EXPECT_GT(model.FinishedRuns(), 100);
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
  // Outlook's "no due date", and an empty date value read as a number.
  for (const double none : {949998.0, 0.0}) EXPECT_TRUE(IsNoDueDate(*FromAutomationDate(none))) << none;
  for (const double some : {45366.0, -1.0, 949997.0}) EXPECT_FALSE(IsNoDueDate(*FromAutomationDate(some))) << some;
}

}  // namespace
}  // namespace lq
