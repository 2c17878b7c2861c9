#include "sync/sync.h"

#include <algorithm>
#include <deque>
#include <map>
#include <utility>
#include <vector>

#include "settings/keys.h"
#include "settings/textforms.h"
#include "store/taskfile.h"
#include "store/text.h"

namespace lq {
namespace {

constexpr std::u16string_view kBadDueDateText = u"期限の日付を読み取れない予定があるので、同期を中止しました。";
constexpr std::u16string_view kBackupFailedText =
    u"同期前の予定表をバックアップファイルに保存できなかったので、同期を中止しました。"
    u"この予定表からは予定を削除していません。";
constexpr std::u16string_view kUnexpectedText = u"同期中に予期しないエラーが発生しました。";

enum RowState : int { kNotHandled = 0, kPaired = 1, kDeleteHere = 2 };

bool IsStamp(std::string_view s) {
  if (s.size() != 17) return false;
  for (const char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// A subject as the task list keeps a text: one line, without surrounding blanks.
std::string ListText(std::string_view subject) {
  std::string text(TrimBlanks(subject));
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';  // never a trail byte in code page 932
  }
  return std::string(TrimBlanks(text));
}

// Dates pair by the day they name; a hand-edited weekday does not count.
std::string DateKey(std::string_view dueDate) {
  const auto d = ParseDateText(dueDate);
  return d ? FormatDueDate(*d) : std::string(dueDate);
}

struct SeenItem {
  int index = 0;
  std::string dueDate;  // as a due-date cell
  std::string text;
  bool complete = false;
  std::string stamp;
};

// Rows waiting for a partner, by what they pair on, each queue in row order.
template <typename Key>
using RowQueues = std::map<Key, std::deque<int>>;
using TwoTexts = std::pair<std::string, std::string>;

class SyncRun {
 public:
  SyncRun(TaskList& list, Profile& profile, const SyncHooks& hooks)
      : list_(list), table_(list.Table()), profile_(profile), hooks_(hooks) {}

  void Execute(const FolderOpener& openFolder);
  void Finish(bool completed);
  SyncResult& Result() { return result_; }

 private:
  void Show(std::u16string_view text) const {
    if (hooks_.showMessage) hooks_.showMessage(text);
  }
  void SetMaximum(int max) const {
    if (hooks_.setMaximum) hooks_.setMaximum(max);
  }
  void SetPosition(int pos) const {
    if (hooks_.setPosition) hooks_.setPosition(pos);
  }

  // The task was here at the last run: its stamp is older than that run. A row without a
  // readable stamp counts as changed here, so it is never deleted for it.
  bool OlderThanLastSync(std::string_view stamp) const { return IsStamp(stamp) && stamp < lastSync_; }
  Date DueDateOf(int row) const;
  std::string DaysLeftOf(int row) const;
  int& State(int row) {
    if (rowState_.size() <= static_cast<std::size_t>(row)) rowState_.resize(static_cast<std::size_t>(row) + 1, kNotHandled);
    return rowState_[static_cast<std::size_t>(row)];
  }
  // The first row of the key's queue without a partner yet, or 0; with `done`, the first in
  // that done state if there is one, so that of two twins neither takes the other's state.
  template <typename Key>
  int TakeRow(RowQueues<Key>& queues, const Key& key, std::optional<bool> done = std::nullopt) const;

  SeenItem Read(FolderItem& item, int index) const;
  void Pair(FolderItem& item, SeenItem& seen, int row);
  void SettleUnpaired(std::vector<SeenItem>& unpaired, int lastPairable, std::vector<bool>& itemDeleted);
  void AddRow(const SeenItem& seen);
  void ExportRows(int itemCount);
  void DeleteRows();

  TaskList& list_;
  TaskTable& table_;
  Profile& profile_;
  const SyncHooks& hooks_;
  SyncResult result_;
  std::string lastSync_;
  TaskTable before_;
  std::unique_ptr<TaskFolder> folder_;
  std::vector<int> rowState_;
  int maximum_ = 0;
};

Date SyncRun::DueDateOf(int row) const {
  const auto d = ParseDateText(table_.Cell(colDueDate, row));
  if (!d) throw FolderError(std::u16string(kBadDueDateText));
  return *d;
}

std::string SyncRun::DaysLeftOf(int row) const {
  auto days = DaysLeft(table_.Cell(colDueDate, row), list_.Today());
  if (!days) throw FolderError(std::u16string(kBadDueDateText));
  return std::move(*days);
}

template <typename Key>
int SyncRun::TakeRow(RowQueues<Key>& queues, const Key& key, std::optional<bool> done) const {
  const auto it = queues.find(key);
  if (it == queues.end()) return 0;
  std::deque<int>& queue = it->second;
  std::size_t first = queue.size();
  for (std::size_t k = 0; k < queue.size(); ++k) {
    const auto row = static_cast<std::size_t>(queue[k]);
    if (row >= rowState_.size() || rowState_[row] != kNotHandled) continue;
    if (!done || table_.IsDone(queue[k]) == *done) {
      first = k;
      break;
    }
    if (first == queue.size()) first = k;
  }
  if (first == queue.size()) return 0;
  const int row = queue[first];
  queue.erase(queue.begin() + static_cast<std::ptrdiff_t>(first));
  return row;
}

SeenItem SyncRun::Read(FolderItem& item, int index) const {
  SeenItem seen;
  seen.index = index;
  seen.dueDate = FormatDueDate(item.DueDate().date);
  seen.text = ListText(item.Subject());
  seen.complete = item.Status() == kStatusComplete;
  seen.stamp = FormatStamp(item.LastModificationTime());
  return seen;
}

void SyncRun::Pair(FolderItem& item, SeenItem& seen, int row) {
  const bool done = table_.IsDone(row);
  if (seen.complete != done) {
    if (seen.stamp >= table_.Cell(colUpdated, row)) {  // ties go to the folder
      table_.SetCell(colDaysLeft, row, seen.complete ? std::string(kDoneMark) : DaysLeftOf(row));
      ++result_.list.changed;
    } else {
      item.SetStatus(done ? kStatusComplete : kStatusNotComplete);
      item.Save();
      seen.stamp = FormatStamp(item.LastModificationTime());
      ++result_.folder.changed;
    }
  }
  table_.SetCell(colUpdated, row, seen.stamp);
  State(row) = kPaired;
}

// Items without a partner of the same date and text. Before one counts as new or as deleted
// here, it may still be a task whose date alone changed on one side: moving a task keeps its
// stamp, which is then still the time of the item it was paired with; an item moved in the
// folder looks new, and its task here looks deleted there.
void SyncRun::SettleUnpaired(std::vector<SeenItem>& unpaired, int lastPairable, std::vector<bool>& itemDeleted) {
  RowQueues<TwoTexts> byStamp;  // text and stamp
  RowQueues<std::string> oldByText;
  for (int r = 1; r <= lastPairable; ++r) {
    if (!table_.IsTask(r) || State(r) != kNotHandled) continue;
    const std::string stamp(table_.Cell(colUpdated, r));
    if (!OlderThanLastSync(stamp)) continue;
    const std::string text(TrimBlanks(table_.Cell(colText, r)));
    byStamp[{text, stamp}].push_back(r);
    oldByText[text].push_back(r);
  }

  std::vector<SeenItem> rest;
  for (SeenItem& seen : unpaired) {
    const int row = OlderThanLastSync(seen.stamp) ? TakeRow(byStamp, TwoTexts{seen.text, seen.stamp}) : 0;
    if (row == 0) {
      rest.push_back(std::move(seen));
      continue;
    }
    // Moved here: the date and done state of the task go to the item.
    const std::unique_ptr<FolderItem> item = folder_->Item(seen.index);
    item->SetDueDate(DueDateOf(row));
    item->SetStatus(table_.IsDone(row) ? kStatusComplete : kStatusNotComplete);
    item->Save();
    table_.SetCell(colUpdated, row, FormatStamp(item->LastModificationTime()));
    State(row) = kPaired;
    ++result_.folder.changed;
  }

  for (const SeenItem& seen : rest) {
    if (OlderThanLastSync(seen.stamp)) {
      itemDeleted[static_cast<std::size_t>(seen.index)] = true;
      continue;
    }
    const int row = TakeRow(oldByText, seen.text);
    if (row == 0) {
      AddRow(seen);
      continue;
    }
    // Moved in the folder: the task keeps its attachment and alarm and takes the new date.
    table_.SetCell(colDueDate, row, seen.dueDate);
    table_.SetCell(colDaysLeft, row, seen.complete ? std::string(kDoneMark) : DaysLeftOf(row));
    table_.SetCell(colUpdated, row, seen.stamp);
    State(row) = kPaired;
    ++result_.list.changed;
  }
}

void SyncRun::AddRow(const SeenItem& seen) {
  int row = 1;
  if (table_.IsTask(1)) {
    table_.AppendRow();
    row = table_.RowCount() - 1;
  }
  TaskRow r;
  r[colDueDate] = seen.dueDate;
  r[colText] = seen.text;
  r[colUpdated] = seen.stamp;
  table_.SetRow(row, r);
  table_.SetCell(colDaysLeft, row, seen.complete ? std::string(kDoneMark) : DaysLeftOf(row));
  State(row) = kPaired;
  ++result_.list.added;
}

void SyncRun::ExportRows(int itemCount) {
  const int lastRow = table_.RowCount() - 1;
  if (itemCount + lastRow > maximum_) {  // rows came in from the folder
    maximum_ = itemCount + lastRow;
    SetMaximum(maximum_);
  }
  for (int r = 1; r <= lastRow; ++r) {
    SetPosition(itemCount + r);
    if (!table_.IsTask(r) || State(r) != kNotHandled) continue;
    if (OlderThanLastSync(table_.Cell(colUpdated, r))) {
      State(r) = kDeleteHere;  // its item was deleted in the folder
      continue;
    }
    const Date due = DueDateOf(r);
    const std::unique_ptr<FolderItem> item = folder_->CreateItem();
    item->SetDueDate(due);
    item->SetStatus(table_.IsDone(r) ? kStatusComplete : kStatusNotComplete);
    item->SetSubject(TrimBlanks(table_.Cell(colText, r)));
    item->SetImportance(kImportanceNormal);
    item->Save();
    table_.SetCell(colUpdated, r, FormatStamp(item->LastModificationTime()));
    State(r) = kPaired;
    ++result_.folder.added;
  }
}

void SyncRun::DeleteRows() {
  bool any = false;
  for (int r = 1; r < table_.RowCount(); ++r) any = any || (table_.IsTask(r) && State(r) == kDeleteHere);
  if (!any) return;
  if (hooks_.keepListBefore) {
    result_.backup = hooks_.keepListBefore(before_);
    if (!result_.backup) throw FolderError(std::u16string(kBackupFailedText));
  }
  int r = 1;
  while (r < table_.RowCount() && table_.IsTask(1)) {
    if (State(r) == kDeleteHere) {
      table_.RemoveRow(r);  // the states move up with their rows
      rowState_.erase(rowState_.begin() + r);
      ++result_.list.deleted;
    } else {
      ++r;
    }
  }
}

void SyncRun::Execute(const FolderOpener& openFolder) {
  Show(kSyncReadingText);
  lastSync_ = ReadText(profile_, keys::LastSync);
  if (!IsStamp(lastSync_)) lastSync_ = std::string(kNeverSynced);  // nothing is deleted for an unreadable one
  before_ = table_;
  list_.SortRows(0);

  folder_ = openFolder();
  const int firstCount = std::max(0, folder_->Count());
  maximum_ = table_.RowCount() + firstCount - 1;
  SetMaximum(maximum_);
  rowState_.assign(static_cast<std::size_t>(table_.RowCount()), kNotHandled);
  const int lastPairable = table_.RowCount() - 1;  // rows added below are not paired

  // Items into the list. Rows of equal date and text pair one to one, in row order.
  RowQueues<TwoTexts> byKey;  // date and text
  for (int r = 1; r <= lastPairable; ++r) {
    if (!table_.IsTask(r)) continue;
    byKey[{DateKey(table_.Cell(colDueDate, r)), std::string(TrimBlanks(table_.Cell(colText, r)))}].push_back(r);
  }
  const int count = std::max(0, folder_->Count());
  std::vector<bool> itemDeleted(static_cast<std::size_t>(count) + 1, false);
  std::vector<SeenItem> unpaired;
  for (int i = 1; i <= count; ++i) {
    SetPosition(i);
    const std::unique_ptr<FolderItem> item = folder_->Item(i);
    SeenItem seen = Read(*item, i);
    const int row = TakeRow(byKey, TwoTexts{seen.dueDate, seen.text}, seen.complete);
    if (row != 0) {
      Pair(*item, seen, row);
    } else {
      unpaired.push_back(std::move(seen));
    }
  }
  SettleUnpaired(unpaired, lastPairable, itemDeleted);

  // Deletions in the folder, from the end so that the remaining indexes stay valid.
  for (int i = std::min(folder_->Count(), count); i >= 1; --i) {
    if (!itemDeleted[static_cast<std::size_t>(i)]) continue;
    folder_->Item(i)->Delete();
    ++result_.folder.deleted;
  }

  Show(kSyncUpdatingText);
  ExportRows(firstCount);
  DeleteRows();
  folder_.reset();

  list_.SortRows(2);
  list_.SortRows(list_.DoneDown ? 1 : 0);
}

void SyncRun::Finish(bool completed) {
  folder_.reset();
  list_.NotDoneCount = 0;
  list_.DoneCount = 0;
  for (int r = 1; r < table_.RowCount(); ++r) {
    if (table_.IsTask(r)) ++(table_.IsDone(r) ? list_.DoneCount : list_.NotDoneCount);
  }
  list_.UpdateTaskCounts();
  list_.SetCurrentRow(list_.CurrentRow());  // rows may have gone
  list_.SetTopRow(list_.TopRow());
  if (!completed) return;
  SetPosition(maximum_);
  result_.lastSyncWriteFailed = !WriteText(profile_, keys::LastSync, FormatStamp(list_.GetClock().Now()));
  result_.completed = true;
  Show(kSyncFinishedText);
}

std::u16string Number(int n) {
  const std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

std::u16string CountsText(const SyncCounts& c) {
  return u"追加 " + Number(c.added) + u"件、変更 " + Number(c.changed) + u"件、削除 " + Number(c.deleted) + u"件";
}

}  // namespace

SyncResult RunSync(TaskList& list, Profile& profile, const FolderOpener& openFolder, const SyncHooks& hooks) {
  SyncRun run(list, profile, hooks);
  bool completed = false;
  try {
    run.Execute(openFolder);
    completed = true;
  } catch (const FolderError& e) {
    run.Result().error = e.Text();
  } catch (const std::exception&) {
    run.Result().error = kUnexpectedText;
  }
  run.Finish(completed);
  // The folder's side of the run cannot be undone, so no step from before it may be either.
  if (run.Result().list.Any()) list.ClearHistory();
  return std::move(run.Result());
}

std::u16string SyncReport(const SyncResult& result) {
  std::u16string text(result.completed ? kSyncFinishedText : std::u16string_view(result.error));
  if (!result.list.Any() && !result.folder.Any()) {
    if (result.completed) text += u"\r\n\r\n変更はありませんでした。";
    return text;
  }
  text += result.completed ? u"\r\n\r\n" : u"\r\n\r\n中止するまでに、次の変更をしました。\r\n";
  text += u"予定表: " + CountsText(result.list) + u"\r\n";
  text += u"Outlook: " + CountsText(result.folder);
  if (result.backup) text += u"\r\n\r\n同期前の予定表を「" + result.backup->u16string() + u"」に残しました。";
  if (result.list.Any()) text += u"\r\n\r\nOutlook側の変更は元に戻せないため、同期までの変更も元に戻せなくなりました。";
  return text;
}

}  // namespace lq
