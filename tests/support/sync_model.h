#pragma once
// A model of the exchange over many runs, for the unit suite (a seeded generator) and the fuzz
// target (the fuzzer's bytes): random edits on both sides between runs (add, delete, rename,
// move a date, mark done), saves, kills and a clock set back or ahead; runs over a folder in
// memory that may change during the run, fail or stop the program at any call. After every
// run it checks:
// - nothing was deleted on one side unless it was deleted (or renamed away) on the other since
//   the last finished run;
// - every task deleted here is in the backup the run kept;
// - after a finished run both sides hold the same tasks, no item was taken in twice, and a
//   second run without edits changes nothing;
// - no subject holding a "?" for characters the task file cannot hold reached the folder
//   without the subject it stands for.
//
// The clock can be set back or ahead at any time, except that once it is behind the last run,
// it stays behind until the next one: edits made while it is behind carry stamps older than
// that run, and if the clock then came right before a run, nothing could tell them from tasks
// that existed then.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "fakes.h"
#include "store/taskfile.h"
#include "store/tasklist.h"
#include "store/text.h"
#include "sync/sync.h"

namespace lq::testing {

// Where the model's choices come from.
class Choices {
 public:
  virtual ~Choices() = default;
  virtual unsigned Below(unsigned n) = 0;  // 0 to n - 1
  virtual bool Exhausted() const { return false; }
  bool OneIn(unsigned n) { return Below(n) == 0; }
};

class SeededChoices final : public Choices {
 public:
  explicit SeededChoices(unsigned seed) : gen_(seed) {}
  unsigned Below(unsigned n) override { return n <= 1 ? 0 : std::uniform_int_distribution<unsigned>(0, n - 1)(gen_); }

 private:
  std::mt19937 gen_;
};

class ByteChoices final : public Choices {
 public:
  ByteChoices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  unsigned Below(unsigned n) override {
    if (n <= 1) return 0;
    unsigned v = 0;
    for (unsigned range = 1; range < n && pos_ < size_; range <<= 8) v = v << 8 | data_[pos_++];
    return v % n;
  }
  bool Exhausted() const override { return pos_ >= size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

namespace model {

// The program dies where this is thrown.
struct Killed {};

inline std::int64_t Ms(const DateTime& t) {
  return DayNumber(t.date) * 86'400'000 + ((t.hour * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond;
}
inline DateTime FromMs(std::int64_t ms) {
  std::int64_t day = ms / 86'400'000, rest = ms % 86'400'000;
  if (rest < 0) {
    rest += 86'400'000;
    --day;
  }
  return DateTime{DateFromDayNumber(day), static_cast<int>(rest / 3'600'000), static_cast<int>(rest / 60'000 % 60),
                  static_cast<int>(rest / 1000 % 60), static_cast<int>(rest % 1000)};
}

struct Entry {
  std::optional<Date> due;
  std::string subject;
  std::u16string original;
  bool complete = false;
  DateTime modified;
  std::string id;
};

// The folder in memory. Every call first goes through `touch`, where the model fails it,
// stops the program or changes the folder; a save is stamped with the clock, which then moves
// on a millisecond.
class Folder final : public TaskFolder {
 public:
  Folder(FakeClock& clock, std::function<void()>& touch) : clock_(clock), touch_(touch) {}
  std::vector<Entry> items;
  std::vector<std::string> deletedByRun;  // subjects
  std::vector<std::string> createdByRun;

  void Touch() {
    if (touch_) touch_();
  }
  DateTime Stamp() {
    const DateTime t = clock_.Now();
    clock_.Set(FromMs(Ms(t) + 1));
    return t;
  }
  std::string NewId() { return "e" + std::to_string(++ids_); }
  // The item with this id; `hint` is where it was last found.
  Entry* Find(const std::string& id, std::size_t& hint) {
    if (hint < items.size() && items[hint].id == id) return &items[hint];
    for (hint = 0; hint < items.size(); ++hint) {
      if (items[hint].id == id) return &items[hint];
    }
    return nullptr;
  }

  int Count() override {
    Touch();
    return static_cast<int>(items.size());
  }
  std::unique_ptr<FolderItem> Item(int index) override;
  std::unique_ptr<FolderItem> CreateItem() override;

 private:
  FakeClock& clock_;
  std::function<void()>& touch_;
  int ids_ = 0;
};

class ItemRef final : public FolderItem {
 public:
  ItemRef(Folder& folder, std::string id, std::size_t at = 0) : folder_(folder), id_(std::move(id)), hint_(at) {}
  std::optional<Date> DueDate() override { return It().due; }
  FolderSubject Subject() override { return FolderSubject{It().subject, It().original}; }
  int Status() override { return It().complete ? kStatusComplete : kStatusNotComplete; }
  DateTime LastModificationTime() override { return It().modified; }
  std::string Identity() override {
    It();
    return id_;
  }
  void SetDueDate(Date date) override { It().due = date; }
  void SetSubject(const FolderSubject& s) override {
    It().subject = s.text;
    It().original = s.original;
  }
  void SetStatus(int status) override { It().complete = status == kStatusComplete; }
  void SetImportance(int) override { It(); }
  void Save() override {
    model::Entry& i = It();
    i.modified = folder_.Stamp();
    if (id_.empty()) {
      i.id = id_ = folder_.NewId();
      folder_.items.push_back(i);
      folder_.createdByRun.push_back(i.subject);
    }
  }
  // The item the run checked goes, also when the user changes it in the same instant (a
  // deletion here and an edit there at once: the deletion wins).
  void Delete() override {
    model::Entry* checked = folder_.Find(id_, hint_);
    const std::string subject = checked ? checked->subject : std::string();
    It();
    std::erase_if(folder_.items, [&](const model::Entry& i) { return i.id == id_; });
    folder_.deletedByRun.push_back(subject);
  }

 private:
  model::Entry& It() {
    folder_.Touch();
    if (id_.empty()) return fresh_;
    if (model::Entry* i = folder_.Find(id_, hint_)) return *i;
    throw FolderError(u"the item was deleted");
  }
  Folder& folder_;
  std::string id_;
  std::size_t hint_;
  model::Entry fresh_;
};

inline std::unique_ptr<FolderItem> Folder::Item(int index) {
  Touch();
  if (index < 1 || index > static_cast<int>(items.size())) throw FolderError(u"no such item");
  model::Entry& i = items[static_cast<std::size_t>(index - 1)];
  return std::make_unique<ItemRef>(*this, i.id, static_cast<std::size_t>(index - 1));
}

inline std::unique_ptr<FolderItem> Folder::CreateItem() {
  Touch();
  return std::make_unique<ItemRef>(*this, std::string());
}

// The run owns what the opener gives; this hands it the model's folder.
struct Borrowed final : TaskFolder {
  explicit Borrowed(Folder& f) : f(f) {}
  int Count() override { return f.Count(); }
  std::unique_ptr<FolderItem> Item(int i) override { return f.Item(i); }
  std::unique_ptr<FolderItem> CreateItem() override { return f.CreateItem(); }
  Folder& f;
};

// The settings file; a write of LastSync can fail or stop the program before or after it.
class Settings final : public Profile {
 public:
  std::map<std::string, std::string> values;
  std::function<bool(bool written)> onLastSync;  // false: the write fails

  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const override {
    const auto it = values.find(std::string(section) + "/" + std::string(key));
    return it == values.end() ? std::string(def) : it->second;
  }
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override {
    if (onLastSync && !onLastSync(false)) return false;
    values[std::string(section) + "/" + std::string(key)] = std::string(value);
    if (onLastSync) onLastSync(true);
    return true;
  }
};

}  // namespace model

class SyncModel {
 public:
  explicit SyncModel(Choices& choices) : c_(choices), folder_(clock_, touch_) { Restart(); }

  // Takes up to `steps` steps (fewer when the choices run out); the first rule broken, or empty.
  std::string Run(int steps) {
    for (int i = 0; i < steps && failure_.empty() && !c_.Exhausted(); ++i) Step();
    return failure_;
  }
  int FinishedRuns() const { return finished_; }
  int Runs() const { return runs_; }

 private:
  static constexpr const char* kPath = "/model/Lindqvale.csv";
  const Date kBase{2024, 3, 15};

  struct Event {
    bool here;  // removed from the list (else from the folder)
    std::string text;
    int duringRun = 0;  // made by the user while that run went on
  };

  // --- The program's life.

  void Restart() {
    file_ = std::make_unique<TaskFile>(kPath, store_);
    list_ = std::make_unique<TaskList>(clock_, collation_);
    list_->SetVisibleRowCount(10);
    file_->LoadTaskFile(*list_, settings_, clock_.Now());
    Tag();
  }
  // Every task gets a mark of its own in its attachment, so that the model can follow it.
  void Tag() {
    TaskTable& t = list_->Table();
    for (int r = 1; r < t.RowCount(); ++r) {
      if (t.IsTask(r) && t.Cell(colAttachment, r).empty()) t.SetCell(colAttachment, r, "#" + std::to_string(++tags_));
    }
  }
  std::string LastSync() const { return settings_.ReadString("Sync", "LastSync", std::string(kNeverSynced)); }
  // The failure names the rule and the steps that led to it.
  void Check(bool ok, const std::string& what) {
    if (ok || !failure_.empty()) return;
    failure_ = "step " + std::to_string(steps_) + ": " + what + "\n";
    for (std::size_t i = log_.size() > 40 ? log_.size() - 40 : 0; i < log_.size(); ++i) failure_ += "  " + log_[i] + "\n";
  }
  void Log(const std::string& line) { log_.push_back(std::to_string(steps_) + " " + line); }
  std::string Describe() const {
    std::string s = "list:";
    const TaskTable& t = list_->Table();
    for (int r = 1; r < t.RowCount(); ++r) {
      if (!t.IsTask(r)) continue;
      s += " " + std::string(t.Cell(colDueDate, r).substr(5, 5)) + "|" + std::string(t.Cell(colText, r)) +
           (t.IsDone(r) ? "|done" : "|") + "@" + std::string(t.Cell(colUpdated, r).substr(6, 9));
    }
    s += "; folder:";
    for (const model::Entry& i : folder_.items) {
      s += " " + (i.due ? FormatStamp(DateTime{*i.due}).substr(4, 4) : std::string("none")) + "|" + i.subject +
           (i.complete ? "|done" : "|") + "@" + FormatStamp(i.modified).substr(6, 9);
    }
    return s;
  }

  // --- Time.

  // Moves the clock, but never from behind the last run to after it between runs.
  void SetClock(std::int64_t ms) {
    const std::string last = LastSync();
    const bool behind = FormatStamp(clock_.Now()) < last;
    if (behind && FormatStamp(model::FromMs(ms)) >= last) return;
    clock_.Set(model::FromMs(ms));
  }
  void MoveClock() {
    const std::int64_t now = model::Ms(clock_.Now());
    switch (c_.Below(4)) {
      case 0: SetClock(now - 3'600'000LL * (1 + c_.Below(48))); break;  // set back
      case 1: SetClock(now + 3'600'000LL * (1 + c_.Below(48))); break;  // set ahead
      default: SetClock(now + 60'000LL * (1 + c_.Below(24 * 60))); break;
    }
  }

  // --- Edits.

  std::string NewText() {
    TaskTable& t = list_->Table();
    if (t.TaskCount() > 0 && c_.OneIn(10)) {  // a twin; typed, so without a stand-in "?"
      const std::string twin(t.Cell(colText, 1 + static_cast<int>(c_.Below(static_cast<unsigned>(t.TaskCount())))));
      if (!twin.empty() && twin.find('?') == std::string::npos) return twin;
    }
    return "t" + std::to_string(++texts_);
  }
  Date NewDate() { return AddDays(kBase, static_cast<int>(c_.Below(14)) - 3); }
  int AnyRow() { return 1 + static_cast<int>(c_.Below(static_cast<unsigned>(list_->Table().TaskCount()))); }

  void EditHere() {
    TaskList& l = *list_;
    TaskTable& t = l.Table();
    const unsigned what = t.TaskCount() == 0 ? 0 : c_.Below(5);
    if (what == 0) {
      const std::string text = NewText();
      l.SetCurrentRow(t.TaskCount() == 0 ? 1 : AnyRow());
      l.AddTask();
      const int row = l.CurrentRow();
      l.ChangeText(row, text);
      t.SetCell(colAttachment, row, "#" + std::to_string(++tags_));
      Log("here: add " + text);
      if (c_.OneIn(2)) l.ChangeDueDate(row, NewDate());
      l.SortTasks(0, false);
      return;
    }
    const int row = AnyRow();
    const std::string text(TrimBlanks(t.Cell(colText, row)));
    Log("here: " + std::string(what == 1 ? "delete " : what == 2 ? "rename " : what == 3 ? "move " : "done ") + text);
    switch (what) {
      case 1:
        l.SetCurrentRow(row);
        l.DeleteCurrentTask();
        events_.push_back({true, text, duringRun_});
        break;
      case 2:
        if (l.ChangeText(row, "t" + std::to_string(++texts_))) events_.push_back({true, text, duringRun_});
        l.SortTasks(0, false);
        break;
      case 3: l.ChangeDueDate(row, NewDate()); break;
      default:
        l.SetCurrentRow(row);
        l.ToggleDone(false);
        break;
    }
  }

  // A subject as a user types it in the folder; now and then with a character the task file
  // cannot hold.
  void NewSubject(model::Entry& item) {
    item.subject = NewText();
    item.original.clear();
    if (c_.OneIn(8)) {
      item.original = std::u16string(item.subject.begin(), item.subject.end()) + u"😀";
      item.subject += "?";
    }
  }

  void EditThere() {
    auto& items = folder_.items;
    const unsigned what = items.empty() ? 0 : c_.Below(5);
    if (what == 0) {
      model::Entry item;
      if (!c_.OneIn(10)) item.due = NewDate();
      NewSubject(item);
      item.complete = c_.OneIn(5);
      item.id = folder_.NewId();
      item.modified = folder_.Stamp();
      items.insert(items.begin() + static_cast<std::ptrdiff_t>(c_.Below(static_cast<unsigned>(items.size()) + 1)), item);
      Log(std::string(duringRun_ ? "during run, " : "") + "there: add " + item.subject);
      return;
    }
    const std::size_t at = c_.Below(static_cast<unsigned>(items.size()));
    model::Entry& item = items[at];
    Log(std::string(duringRun_ ? "during run, " : "") + "there: " +
        (what == 1 ? "delete " : what == 2 ? "rename " : what == 3 ? "move " : "done ") + item.subject);
    switch (what) {
      case 1:
        events_.push_back({false, item.subject, duringRun_});
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(at));
        return;
      case 2:
        events_.push_back({false, item.subject, duringRun_});
        NewSubject(item);
        break;
      case 3: item.due = c_.OneIn(10) ? std::nullopt : std::optional<Date>(NewDate()); break;
      default: item.complete = !item.complete; break;
    }
    item.modified = folder_.Stamp();
  }

  // --- Runs.

  struct Snapshot {
    std::map<std::string, std::string> rows;  // tag -> text
    std::vector<std::string> untagged;         // texts of rows the run took in
  };
  Snapshot Rows(const TaskTable& t) const {
    Snapshot s;
    for (int r = 1; r < t.RowCount(); ++r) {
      if (!t.IsTask(r)) continue;
      const std::string text(TrimBlanks(t.Cell(colText, r)));
      if (t.Cell(colAttachment, r).empty()) {
        s.untagged.push_back(text);
      } else {
        s.rows[std::string(t.Cell(colAttachment, r))] = text;
      }
    }
    return s;
  }
  // "date|text|done" of every task on each side, sorted; items without a due date as "none".
  std::vector<std::string> ListKeys(bool withDone) const {
    std::vector<std::string> keys;
    const TaskTable& t = list_->Table();
    for (int r = 1; r < t.RowCount(); ++r) {
      if (!t.IsTask(r)) continue;
      keys.push_back(FormatStamp(DateTime{*ParseDateText(t.Cell(colDueDate, r))}).substr(0, 8) + "|" +
                     std::string(TrimBlanks(t.Cell(colText, r))) + (withDone && t.IsDone(r) ? "|done" : "|"));
    }
    std::sort(keys.begin(), keys.end());
    return keys;
  }
  std::vector<std::string> FolderKeys(bool withDone) const {
    std::vector<std::string> keys;
    for (const model::Entry& i : folder_.items) {
      keys.push_back((i.due ? FormatStamp(DateTime{*i.due}).substr(0, 8) : std::string("none")) + "|" + i.subject +
                     (withDone && i.complete ? "|done" : "|"));
    }
    std::sort(keys.begin(), keys.end());
    return keys;
  }
  std::vector<std::string> FolderState() const {
    std::vector<std::string> out;
    for (const model::Entry& i : folder_.items) {
      out.push_back(i.id + " " + (i.due ? FormatDueDate(*i.due) : "none") + " " + i.subject + " " +
                    (i.complete ? "done " : "open ") + FormatStamp(i.modified));
    }
    return out;
  }
  std::vector<TaskRow> ListState() const {
    std::vector<TaskRow> out;
    const TaskTable& t = list_->Table();
    for (int r = 1; r < t.RowCount(); ++r) {
      if (t.IsTask(r)) out.push_back(t.RowCopy(r));
    }
    std::sort(out.begin(), out.end());  // the display sort may swap tasks of one date and text
    return out;
  }

  // Whether `count` removals of `text` on one side in one run are allowed: as many removals of
  // it on the other side since the last finished run. (A removal undone by a kill may come
  // again, so one removal there allows one here in every run.)
  bool Justified(bool removedHere, const std::string& text, int count) const {
    for (const Event& e : events_) count -= e.here != removedHere && e.text == text ? 1 : 0;
    return count <= 0;
  }

  void ExchangeRun(bool hostile) {
    ++runs_;
    enum Kind { kQuiet, kFail, kKill, kChange, kFailBackup, kKillBackup, kFailSave, kKillSave, kFailLastSync, kKillLastSync };
    const Kind kind = hostile ? static_cast<Kind>(1 + c_.Below(9)) : kQuiet;
    const bool after = c_.OneIn(2);  // for a kill at the save or at LastSync: once it is done
    const long span = 8 * static_cast<long>(folder_.items.size() + static_cast<std::size_t>(list_->Table().TaskCount())) + 8;
    const long at = 1 + static_cast<long>(c_.Below(static_cast<unsigned>(span)));
    const int changes = 1 + static_cast<int>(c_.Below(3));

    const Snapshot before = Rows(list_->Table());

    std::optional<Snapshot> kept, saved;
    bool lastSyncWritten = false;
    long calls = 0;
    bool changedDuring = false;
    folder_.deletedByRun.clear();
    folder_.createdByRun.clear();

    touch_ = [&] {
      ++calls;
      if (kind == kFail && calls == at) throw FolderError(u"failed");
      if (kind == kKill && calls == at) throw model::Killed{};
      if (kind == kChange && calls >= at && calls < at + changes) {
        changedDuring = true;
        duringRun_ = runs_;
        EditThere();
        duringRun_ = 0;
      }
    };
    SyncHooks hooks;
    hooks.keepListBefore = [&](const TaskTable& t) -> std::optional<std::filesystem::path> {
      if (kind == kFailBackup) return std::nullopt;
      if (kind == kKillBackup && !after) throw model::Killed{};
      auto path = file_->KeepCopy(t);
      kept = Rows(t);
      if (kind == kKillBackup) throw model::Killed{};
      return path;
    };
    hooks.saveList = [&](const TaskTable& t) {
      if (kind == kFailSave) return false;
      if (kind == kKillSave && !after) throw model::Killed{};
      const bool ok = file_->SaveTaskFile(t);
      saved = Rows(t);
      if (kind == kKillSave) throw model::Killed{};
      return ok;
    };
    settings_.onLastSync = [&](bool written) {
      if (kind == kFailLastSync) return false;
      lastSyncWritten = lastSyncWritten || written;
      if (kind == kKillLastSync && written == after) throw model::Killed{};
      return true;
    };

    Log("run " + std::to_string(runs_) + " kind " + std::to_string(kind) + " at " + std::to_string(at) + " after " +
        std::to_string(after) + " clock " + FormatStamp(clock_.Now()) + " LastSync " + LastSync() + "; " + Describe());
    bool killed = false;
    SyncResult result;
    try {
      result = RunSync(*list_, settings_, [&] { return std::make_unique<model::Borrowed>(folder_); }, hooks);
    } catch (const model::Killed&) {
      killed = true;
    }
    touch_ = nullptr;
    settings_.onLastSync = nullptr;
    const bool finished = lastSyncWritten;
    Log(std::string(killed ? "killed" : result.completed ? "completed" : "failed") + (finished ? " finished" : "") +
        (result.folderChanged ? " changed" : "") + " LastSync " + LastSync() + "; " + Describe());
    Check(!finished || killed || (result.completed && !result.folderChanged && !result.saveFailed),
          "LastSync written by a run that did not end well");
    Check(!finished || saved.has_value(), "LastSync written before the list was saved");

    // What the run deleted here: tasks gone from the list it left, or from the list it saved
    // before it was stopped (what a kill takes with it is not deleted by the run). A task the
    // run replaced by one of the same text on the same side (a task moved and changed on one
    // side leaves its old copy deleted and a new one made on the other) is not gone.
    std::vector<std::pair<std::string, std::string>> removedHere;
    std::map<std::string, int> addedHere;
    const std::optional<Snapshot> left = killed ? saved : std::optional<Snapshot>(Rows(list_->Table()));
    if (left) {
      for (const auto& [tag, text] : before.rows) {
        if (!left->rows.count(tag)) removedHere.emplace_back(tag, text);
      }
      for (const auto& [tag, text] : left->rows) {
        if (!before.rows.count(tag)) ++addedHere[text];
      }
      for (const std::string& text : left->untagged) ++addedHere[text];
    }
    if (killed) Restart();

    std::map<std::string, int> goneHere, goneThere;
    for (const auto& [tag, text] : removedHere) {
      Check(kept && kept->rows.count(tag), "deleted here without a backup: " + text);
      if (addedHere[text] > 0) {
        --addedHere[text];
      } else {
        ++goneHere[text];
      }
    }
    std::map<std::string, int> addedThere;
    for (const std::string& text : folder_.createdByRun) ++addedThere[text];
    for (const std::string& text : folder_.deletedByRun) {
      if (addedThere[text] > 0) {
        --addedThere[text];
      } else {
        ++goneThere[text];
      }
    }
    for (const auto& [text, n] : goneHere) {
      Check(Justified(true, text, n), "deleted here, but not deleted in the folder since the last finished run: " + text);
    }
    for (const auto& [text, n] : goneThere) {
      Check(Justified(false, text, n), "deleted in the folder, but not deleted here since the last finished run: " + text);
    }
    for (const model::Entry& i : folder_.items) {
      Check(i.subject.find('?') == std::string::npos || !i.original.empty(),
            "a subject with \"?\" for lost characters reached the folder: " + i.subject);
    }
    // What the run deleted justifies the same deletion again, after a kill brought it back.
    for (const auto& [tag, text] : removedHere) events_.push_back({true, text});
    for (const std::string& text : folder_.deletedByRun) events_.push_back({false, text});
    Tag();
    if (!finished) return;

    ++finished_;
    // Since this run, only what the user removed in the folder while it ran.
    const int run = runs_;
    std::erase_if(events_, [&](const Event& e) { return e.duringRun != run; });
    if (killed || changedDuring) return;

    Check(SameTasks(), "the two sides differ after a finished run");
    // Nothing taken in twice: an item has one time, which its copy here takes.
    std::set<std::pair<std::string, std::string>> copied;
    const TaskTable& t = list_->Table();
    for (int r = 1; r < t.RowCount(); ++r) {
      if (!t.IsTask(r) || before.rows.count(std::string(t.Cell(colAttachment, r)))) continue;
      Check(copied.insert({std::string(t.Cell(colText, r)), std::string(t.Cell(colUpdated, r))}).second,
            "an item taken in twice: " + std::string(t.Cell(colText, r)));
    }
    if (!c_.OneIn(3)) return;
    const std::vector<TaskRow> rows = ListState();
    const std::vector<std::string> items = FolderState();
    Log("again");
    const SyncResult again = RunSync(*list_, settings_, [&] { return std::make_unique<model::Borrowed>(folder_); }, SyncHooks{});
    Log("again: " + Describe());
    const auto counts = [](const SyncCounts& n) {
      return std::to_string(n.added) + "/" + std::to_string(n.changed) + "/" + std::to_string(n.deleted);
    };
    std::string differs;
    const std::vector<TaskRow> rowsAfter = ListState();
    for (std::size_t i = 0; i < rows.size() && i < rowsAfter.size(); ++i) {
      for (std::size_t col = 0; col < kColumnCount && differs.empty(); ++col) {
        if (rows[i][col] != rowsAfter[i][col]) differs = " row " + std::to_string(i + 1) + " column " + std::to_string(col) + ": " + rows[i][col] + " -> " + rowsAfter[i][col];
      }
    }
    Check(again.completed && !again.list.Any() && !again.folder.Any() && rowsAfter == rows && FolderState() == items,
          "a second run without edits changed something: " + std::string(again.completed ? "" : "stopped, ") + "list " +
              counts(again.list) + ", folder " + counts(again.folder) + differs);
    events_.clear();
  }

  // Both sides hold the same tasks, an item without a due date standing for a task of its text
  // and state on any date.
  bool SameTasks() const {
    std::multiset<std::string> list;
    for (const std::string& k : ListKeys(true)) list.insert(k);
    std::vector<std::string> undated;
    for (const std::string& k : FolderKeys(true)) {
      if (k.starts_with("none")) {
        undated.push_back(k.substr(k.find('|')));
        continue;
      }
      const auto it = list.find(k);
      if (it == list.end()) return false;
      list.erase(it);
    }
    std::vector<std::string> rest;
    for (const std::string& k : list) rest.push_back(k.substr(k.find('|')));
    std::sort(rest.begin(), rest.end());
    std::sort(undated.begin(), undated.end());
    return rest == undated;
  }

  void Step() {
    ++steps_;
    SetClock(model::Ms(clock_.Now()) + 1 + c_.Below(120'000));
    const unsigned what = c_.Below(100);
    if (what < 33) {
      EditHere();
    } else if (what < 66) {
      EditThere();
    } else if (what < 72) {
      Log("save");
      file_->SaveTaskFile(list_->Table());
    } else if (what < 76) {
      Log("kill");
      Restart();  // killed between runs: what was not saved is gone
    } else if (what < 82) {
      MoveClock();
      Log("clock " + FormatStamp(clock_.Now()));
    } else {
      ExchangeRun(c_.OneIn(2));
    }
  }

  Choices& c_;
  FakeClock clock_{DateTime{Date{2024, 3, 15}, 9, 0, 0, 0}};
  ByteCollation collation_;
  MemFileStore store_;
  model::Settings settings_;
  std::function<void()> touch_;
  model::Folder folder_;
  std::unique_ptr<TaskFile> file_;
  std::unique_ptr<TaskList> list_;
  std::vector<Event> events_;
  std::vector<std::string> log_;
  std::string failure_;
  int steps_ = 0, runs_ = 0, finished_ = 0, texts_ = 0, tags_ = 0;
  int duringRun_ = 0;
};

}  // namespace lq::testing
