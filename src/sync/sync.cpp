#include "sync/sync.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_set>
#include <utility>
#include <vector>

#include "settings/keys.h"
#include "settings/textforms.h"
#include "store/alarm.h"
#include "store/taskfile.h"
#include "store/text.h"

namespace lq {
namespace {

constexpr std::u16string_view kBadDueDateText = u"期限の日付を読み取れない予定があるので、同期を中止しました。";
constexpr std::u16string_view kBackupFailedText =
    u"同期前の予定表をバックアップファイルに保存できなかったので、同期を中止しました。"
    u"この予定表からは予定を削除していません。";
constexpr std::u16string_view kUnexpectedText = u"同期中に予期しないエラーが発生しました。";

enum RowState : std::uint8_t {
  kNotHandled = 0,
  kPaired = 1,      // paired, copied in or copied out
  kDeleteHere = 2,  // its item was deleted in the folder
  kLeft = 3,        // left as it was: the folder changed under the run
};

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

std::uint64_t Fnv1a(std::string_view bytes, std::uint64_t h = 14695981039346656037ull) {
  for (const char c : bytes) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  return h;
}

// What an item is recognised by at the end of the run: its identity and the time of its last
// change. Never 0, which marks an item the run deleted.
std::uint64_t ItemKey(std::string_view identity, std::string_view stamp) {
  return Fnv1a(stamp, Fnv1a(identity) ^ 0x9E3779B97F4A7C15ull) | 1;
}

// A task copied in from an item whose subject lost characters keeps, in its flags from
// position 3 on (after the alarm flag and the repetition, "-" when unset), "?", the hash of the
// text as it came in (8 hex digits) and the subject as the folder holds it (4 hex digits a
// UTF-16 unit). While the text is as it came in, the folder gets that subject back, never the
// "?" that stands in for what was lost.
constexpr char kHex[] = "0123456789ABCDEF";

std::string Hex(std::uint32_t value, int digits) {
  std::string s(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) s[static_cast<std::size_t>(i)] = kHex[value & 0xF];
  return s;
}

std::uint32_t TextHash(std::string_view text) { return static_cast<std::uint32_t>(Fnv1a(text) >> 16); }

std::string OriginalMark(std::string_view flags, std::string_view text, std::u16string_view original) {
  std::string mark = "?" + Hex(TextHash(text), 8);
  for (const char16_t unit : original) mark += Hex(unit, 4);
  std::string result = SetFlagText(flags, 3, mark);
  result.resize(2 + mark.size());  // whatever stood after position 2 is replaced
  return result;
}

// The subject kept by OriginalMark, when the text is still the one it was kept with.
std::u16string OriginalOf(std::string_view flags, std::string_view text) {
  constexpr std::size_t kSubject = 11;  // where the subject begins
  if (flags.size() < kSubject || flags[2] != '?' || (flags.size() - kSubject) % 4 != 0) return {};
  if (flags.substr(3, 8) != Hex(TextHash(text), 8)) return {};
  std::u16string original;
  for (std::size_t i = kSubject; i < flags.size(); i += 4) {
    std::uint32_t unit = 0;
    for (std::size_t k = i; k < i + 4; ++k) {
      const char* digit = std::char_traits<char>::find(kHex, 16, flags[k]);
      if (!digit) return {};
      unit = unit << 4 | static_cast<std::uint32_t>(digit - kHex);
    }
    original += static_cast<char16_t>(unit);
  }
  return original;
}

struct SeenItem {
  int index = 0;
  std::optional<Date> due;  // none: the item has no due date
  std::string text;         // as the list keeps it
  std::u16string original;  // when the subject lost characters
  bool complete = false;
  std::string stamp;
  std::string identity;
};

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
  void Breathe() const {
    if (hooks_.keepAnswering) hooks_.keepAnswering();
  }
  void SetPosition(int pos) {
    position_ = pos;
    if (hooks_.setPosition) hooks_.setPosition(pos);
  }

  // The task was here at the last run: its stamp is older than that run. A row without a
  // readable stamp counts as changed here, so it is never deleted for it.
  bool OlderThanLastSync(std::string_view stamp) const { return IsStamp(stamp) && stamp < lastSync_; }
  std::string_view TextOf(int row) const { return TrimBlanks(table_.Cell(colText, row)); }
  Date DueDateOf(int row) const { return *ParseDateText(table_.Cell(colDueDate, row)); }
  std::string DaysLeftOf(int row) const { return DaysLeft(table_.Cell(colDueDate, row), list_.Today()).value_or("0"); }
  bool Free(int row) const {
    return static_cast<std::size_t>(row) < rowState_.size() && rowState_[static_cast<std::size_t>(row)] == kNotHandled;
  }
  void SetState(int row, RowState state) {
    if (rowState_.size() <= static_cast<std::size_t>(row)) rowState_.resize(static_cast<std::size_t>(row) + 1, kNotHandled);
    rowState_[static_cast<std::size_t>(row)] = state;
  }

  void ReadLastSync();
  void CheckDueDates();
  void IndexRows(int lastPairable);
  enum class Match { kSameStamp, kSameState, kOtherState };
  int TakeRow(Date due, std::string_view text, bool done, std::string_view stamp, Match match,
              bool oldRowsOnly = false);
  SeenItem Read(FolderItem& item, int index) const;
  // The item at the index the run read it at, when it is still that item as read.
  std::unique_ptr<FolderItem> ItemAsRead(const SeenItem& seen);
  // `item` may be null: it is then taken again, as read, when the run has to change it.
  void Pair(FolderItem* item, SeenItem& seen, int row);
  void ReadItems(int count, std::vector<SeenItem>& unpaired);
  std::vector<SeenItem> SettleUnpaired(std::vector<SeenItem>& unpaired, int lastPairable);
  void SaveAsRead(FolderItem& item, SeenItem& seen, bool sameDate);
  void MoveItemTo(SeenItem& seen, int row);
  void AddRow(const SeenItem& seen);
  void DeleteItems(const std::vector<SeenItem>& judged);
  void ExportRows(int position);
  void DeleteRows();
  bool FolderAsExpected(int position);

  TaskList& list_;
  TaskTable& table_;
  Profile& profile_;
  const SyncHooks& hooks_;
  SyncResult result_;
  std::string lastSync_;
  std::string finishedAt_;  // the LastSync of a run that ends well
  TaskTable before_;
  std::unique_ptr<TaskFolder> folder_;
  std::vector<std::uint8_t> rowState_;
  int maximum_ = 0;
  int position_ = 0;  // the progress so far

  // Rows by due date, text and done state (then row order) as the run found them, for pairing.
  std::vector<std::int64_t> dayOf_;
  std::vector<bool> doneOf_;
  std::vector<int> byKey_;
  // The first position of byKey_ from a position on that may still be free.
  std::vector<int> nextFree_;

  // What the folder is to hold at the end: every item read or made, by ItemKey (0 once the
  // run deleted it).
  std::vector<std::uint64_t> itemKeys_;
  bool readChanged_ = false;  // the folder changed while it was read
  bool changed_ = false;      // it changed after that
};

void SyncRun::ReadLastSync() {
  lastSync_ = ReadText(profile_, keys::LastSync);
  if (!IsStamp(lastSync_)) {
    lastSync_ = std::string(kNeverSynced);  // nothing is deleted for an unreadable one
  } else if (lastSync_ > FormatStamp(list_.GetClock().Now())) {
    // No run can have written it: the clock was set back since, or ahead then. Taken as
    // "never", nothing is deleted for it, and tasks made since count as new.
    result_.futureLastSync = lastSync_;
    lastSync_ = std::string(kNeverSynced);
  }
}

void SyncRun::CheckDueDates() {
  for (int r = 1; r < table_.RowCount(); ++r) {
    if (table_.IsTask(r) && !ParseDateText(table_.Cell(colDueDate, r))) {
      result_.badDueDate = table_.RowCopy(r);
      throw FolderError(std::u16string(kBadDueDateText));
    }
  }
}

void SyncRun::IndexRows(int lastPairable) {
  dayOf_.assign(static_cast<std::size_t>(lastPairable) + 1, 0);
  doneOf_.assign(static_cast<std::size_t>(lastPairable) + 1, false);
  byKey_.clear();
  for (int r = 1; r <= lastPairable; ++r) {
    if (!table_.IsTask(r)) continue;
    dayOf_[static_cast<std::size_t>(r)] = DayNumber(DueDateOf(r));
    doneOf_[static_cast<std::size_t>(r)] = table_.IsDone(r);
    byKey_.push_back(r);
  }
  std::sort(byKey_.begin(), byKey_.end(), [&](int a, int b) {
    const auto da = dayOf_[static_cast<std::size_t>(a)];
    const auto db = dayOf_[static_cast<std::size_t>(b)];
    if (da != db) return da < db;
    if (const int c = TextOf(a).compare(TextOf(b)); c != 0) return c < 0;
    if (doneOf_[static_cast<std::size_t>(a)] != doneOf_[static_cast<std::size_t>(b)]) return !doneOf_[static_cast<std::size_t>(a)];
    return a < b;
  });
  nextFree_.resize(byKey_.size() + 1);
  for (std::size_t i = 0; i < nextFree_.size(); ++i) nextFree_[i] = static_cast<int>(i);
}

// Rows of equal date and text pair one to one, in row order. Every item first takes the row
// that holds its time (the row it was paired with, neither changed since), then each of the
// rest one of its own done state, and only when none is left one of the other; so of twins
// none takes another's partner or state.
int SyncRun::TakeRow(Date due, std::string_view text, bool done, std::string_view stamp, Match match, bool oldRowsOnly) {
  const std::int64_t day = DayNumber(due);
  const auto keyLess = [&](int row, std::pair<std::int64_t, std::string_view> key) {
    const auto d = dayOf_[static_cast<std::size_t>(row)];
    return d != key.first ? d < key.first : TextOf(row) < key.second;
  };
  const auto keyGreater = [&](std::pair<std::int64_t, std::string_view> key, int row) {
    const auto d = dayOf_[static_cast<std::size_t>(row)];
    return d != key.first ? key.first < d : key.second < TextOf(row);
  };
  const auto key = std::make_pair(day, text);
  const auto lo = std::lower_bound(byKey_.begin(), byKey_.end(), key, keyLess);
  const auto hi = std::upper_bound(lo, byKey_.end(), key, keyGreater);
  const auto mid = std::partition_point(lo, hi, [&](int row) { return !doneOf_[static_cast<std::size_t>(row)]; });
  // The first free position in [from, to); what is found taken is skipped for good.
  const auto find = [&](std::ptrdiff_t p) {
    while (nextFree_[static_cast<std::size_t>(p)] != p) {
      auto& next = nextFree_[static_cast<std::size_t>(p)];
      next = nextFree_[static_cast<std::size_t>(next)];
      p = next;
    }
    return p;
  };
  const auto firstFree = [&](std::ptrdiff_t from, std::ptrdiff_t to) -> std::ptrdiff_t {
    std::ptrdiff_t p = find(from);
    while (p < to && !Free(byKey_[static_cast<std::size_t>(p)])) {
      nextFree_[static_cast<std::size_t>(p)] = static_cast<int>(p + 1);
      p = find(p + 1);
    }
    return p < to ? p : -1;
  };
  const std::ptrdiff_t b = lo - byKey_.begin(), m = mid - byKey_.begin(), e = hi - byKey_.begin();
  if (match == Match::kSameStamp) {
    for (std::ptrdiff_t p = firstFree(b, e); p >= 0 && p < e; ++p) {
      const int row = byKey_[static_cast<std::size_t>(p)];
      if (Free(row) && table_.Cell(colUpdated, row) == stamp) return row;
    }
    return 0;
  }
  // A task that was here at the last run is deleted if it stays without a partner, one new or
  // changed here is only copied out: the first goes first.
  const bool doneRows = (match == Match::kSameState) == done;
  const std::ptrdiff_t from = doneRows ? m : b, to = doneRows ? e : m;
  const std::ptrdiff_t first = firstFree(from, to);
  if (first < 0) return 0;
  for (std::ptrdiff_t p = first; p < to; ++p) {
    const int row = byKey_[static_cast<std::size_t>(p)];
    if (Free(row) && OlderThanLastSync(table_.Cell(colUpdated, row))) return row;
  }
  return oldRowsOnly ? 0 : byKey_[static_cast<std::size_t>(first)];
}

SeenItem SyncRun::Read(FolderItem& item, int index) const {
  SeenItem seen;
  seen.index = index;
  // The time first: whatever changes the item after it was read shows as another time when the
  // run looks again.
  seen.stamp = FormatStamp(item.LastModificationTime());
  seen.due = item.DueDate();
  FolderSubject subject = item.Subject();
  seen.text = ListText(subject.text);
  seen.original = std::move(subject.original);
  seen.complete = item.Status() == kStatusComplete;
  seen.identity = item.Identity();
  return seen;
}

std::unique_ptr<FolderItem> SyncRun::ItemAsRead(const SeenItem& seen) {
  if (seen.index > folder_->Count()) return nullptr;
  std::unique_ptr<FolderItem> item = folder_->Item(seen.index);
  if (FormatStamp(item->LastModificationTime()) != seen.stamp || item->Identity() != seen.identity ||
      item->DueDate() != seen.due || ListText(item->Subject().text) != seen.text) {
    return nullptr;
  }
  return item;
}

void SyncRun::Pair(FolderItem* item, SeenItem& seen, int row) {
  const bool done = table_.IsDone(row);
  if (seen.complete != done) {
    if (seen.stamp >= table_.Cell(colUpdated, row)) {  // ties go to the folder
      table_.SetCell(colDaysLeft, row, seen.complete ? std::string(kDoneMark) : DaysLeftOf(row));
      ++result_.list.changed;
    } else {
      std::unique_ptr<FolderItem> taken;
      if (!item && (taken = ItemAsRead(seen)) == nullptr) {
        changed_ = true;
        SetState(row, kLeft);
        ++result_.rowsLeft;
        return;
      }
      if (!item) item = taken.get();
      item->SetStatus(done ? kStatusComplete : kStatusNotComplete);
      SaveAsRead(*item, seen, true);
      ++result_.folder.changed;
    }
  }
  table_.SetCell(colUpdated, row, seen.stamp);
  // A task copied in by an earlier version keeps the subject it stands for from now on.
  if (!seen.original.empty() && OriginalOf(table_.Cell(colFlags, row), TextOf(row)).empty()) {
    table_.SetCell(colFlags, row, OriginalMark(table_.Cell(colFlags, row), TextOf(row), seen.original));
  }
  SetState(row, kPaired);
}

// Items into the list, in folder order. An item seen a second time, or an index that is gone,
// means the folder changes while it is read: what was read is taken in, and the rest of the run
// leaves alone what depends on having seen every item.
void SyncRun::ReadItems(int count, std::vector<SeenItem>& unpaired) {
  itemKeys_.assign(static_cast<std::size_t>(count) + 1, 0);
  std::unordered_set<std::uint64_t> seenItems;
  seenItems.reserve(static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i) {
    SetPosition(i);
    std::unique_ptr<FolderItem> item;
    try {
      item = folder_->Item(i);
    } catch (const FolderError&) {
      if (folder_->Count() >= i) throw;
      readChanged_ = true;
      return;
    }
    SeenItem seen = Read(*item, i);
    const std::uint64_t key = ItemKey(seen.identity, seen.identity.empty() ? seen.stamp + seen.text : "");
    if (!seenItems.insert(key).second) {
      readChanged_ = true;
      return;
    }
    itemKeys_[static_cast<std::size_t>(i)] = ItemKey(seen.identity, seen.stamp);
    const int row = seen.due ? TakeRow(*seen.due, seen.text, seen.complete, seen.stamp, Match::kSameStamp) : 0;
    if (row != 0) {
      Pair(item.get(), seen, row);
    } else {
      unpaired.push_back(std::move(seen));
    }
  }
  if (folder_->Count() != count) readChanged_ = true;
}

// Items without a partner of the same date, text and time. Before one counts as new or as
// deleted here, it may still be a task whose date alone changed on one side: moving a task
// keeps its stamp, which is then still the time of the item it was paired with; an item moved
// in the folder looks new, and its task here looks deleted there. An item without a due date
// pairs by its text alone. Gives the items judged deleted here, in index order.
std::vector<SeenItem> SyncRun::SettleUnpaired(std::vector<SeenItem>& unpaired, int lastPairable) {
  // Rows still free, by text, then stamp as it is now (pairing renews it), then row order.
  struct Candidate {
    std::string_view text;
    std::array<char, 17> stamp;
    int row;
    std::string_view Stamp() const { return {stamp.data(), stamp.size()}; }
  };
  std::vector<Candidate> rows;
  for (int r = 1; r <= lastPairable; ++r) {
    if (!table_.IsTask(r) || !Free(r)) continue;
    Candidate f{TextOf(r), {}, r};
    const std::string_view stamp = table_.Cell(colUpdated, r);
    std::copy_n(stamp.begin(), std::min(stamp.size(), f.stamp.size()), f.stamp.begin());
    rows.push_back(f);
  }
  const auto less = [](const Candidate& a, const Candidate& b) {
    if (a.text != b.text) return a.text < b.text;
    return a.stamp != b.stamp ? a.stamp < b.stamp : a.row < b.row;
  };
  std::sort(rows.begin(), rows.end(), less);
  // The first free row in row order of this text (and stamp) that `fits`.
  const auto firstRow = [&](std::string_view text, std::optional<std::string_view> stamp, auto fits) {
    auto it = std::lower_bound(rows.begin(), rows.end(), text, [](const Candidate& f, std::string_view t) { return f.text < t; });
    if (stamp) {
      it = std::lower_bound(it, rows.end(), *stamp, [&](const Candidate& f, std::string_view st) {
        return f.text == text && f.Stamp() < st;
      });
    }
    int row = 0;
    for (; it != rows.end() && it->text == text && (!stamp || it->Stamp() == *stamp); ++it) {
      if (Free(it->row) && fits(it->row) && (row == 0 || it->row < row)) row = it->row;
    }
    return row;
  };
  const auto any = [](int) { return true; };
  const auto old = [&](int r) { return OlderThanLastSync(table_.Cell(colUpdated, r)); };

  // The task it was paired with, neither changed since, on another date: moved here, and the
  // item follows. An item without a due date simply keeps its task.
  for (SeenItem& seen : unpaired) {
    const int row = firstRow(seen.text, seen.stamp, any);
    if (row == 0) continue;
    if (seen.due) {
      MoveItemTo(seen, row);
    } else {
      Pair(nullptr, seen, row);
    }
    seen.index = 0;  // settled
  }
  // Done or reopened on one side: the same date and text, first in its own done state, then in
  // the other. A task that was here at the last run is deleted if it stays without a partner,
  // one new or changed here is only copied out, and the same goes for items: so old items pair
  // first, and old tasks are taken first; a new item takes a new task of its date and text only
  // after it found no old task it may have moved from.
  const auto pairByDate = [&](bool oldItems, bool oldRowsOnly) {
    for (const Match match : {Match::kSameState, Match::kOtherState}) {
      for (SeenItem& seen : unpaired) {
        if (!seen.due || seen.index == 0 || OlderThanLastSync(seen.stamp) != oldItems) continue;
        const int row = TakeRow(*seen.due, seen.text, seen.complete, seen.stamp, match, oldRowsOnly);
        if (row == 0) continue;
        Pair(nullptr, seen, row);
        seen.index = 0;
      }
    }
  };
  pairByDate(true, false);
  pairByDate(false, true);
  for (SeenItem& seen : unpaired) {
    if (!seen.due || seen.index == 0 || OlderThanLastSync(seen.stamp)) continue;
    if (const int row = firstRow(seen.text, std::nullopt, old)) {
      // Moved in the folder: the task keeps its attachment and alarm and takes the new date.
      table_.SetCell(colDueDate, row, FormatDueDate(*seen.due));
      table_.SetCell(colDaysLeft, row, seen.complete ? std::string(kDoneMark) : DaysLeftOf(row));
      table_.SetCell(colUpdated, row, seen.stamp);
      SetState(row, kPaired);
      ++result_.list.changed;
      seen.index = 0;
    }
  }
  pairByDate(false, false);

  std::vector<SeenItem> judged;
  for (SeenItem& seen : unpaired) {
    if (seen.index == 0) continue;
    if (!seen.due) {
      // Old tasks first, as above; of each kind, one of its done state first.
      const auto sameState = [&](int r) { return table_.IsDone(r) == seen.complete; };
      int row = firstRow(seen.text, std::nullopt, [&](int r) { return old(r) && sameState(r); });
      if (row == 0) row = firstRow(seen.text, std::nullopt, old);
      if (row == 0) row = firstRow(seen.text, std::nullopt, sameState);
      if (row == 0) row = firstRow(seen.text, std::nullopt, any);
      if (row != 0) {
        Pair(nullptr, seen, row);
      } else if (OlderThanLastSync(seen.stamp)) {
        judged.push_back(std::move(seen));
      } else {
        AddRow(seen);
      }
    } else if (!OlderThanLastSync(seen.stamp)) {
      AddRow(seen);
    } else if (const int row = firstRow(seen.text, std::nullopt, [&](int r) { return !old(r); })) {
      // Moved and changed here (which renewed its stamp): the item follows the task, rather than
      // being deleted for a new one.
      MoveItemTo(seen, row);
    } else {
      judged.push_back(std::move(seen));
    }
  }
  std::sort(judged.begin(), judged.end(), [](const SeenItem& a, const SeenItem& b) { return a.index < b.index; });
  return judged;
}

// Saves what the run changed in an item; its time is the item's time from then on. A change
// someone else made meanwhile would be hidden under that time: one shows in its subject (or
// due date, which `sameDate` says the run left), and the next run is to look again.
void SyncRun::SaveAsRead(FolderItem& item, SeenItem& seen, bool sameDate) {
  item.Save();
  seen.stamp = FormatStamp(item.LastModificationTime());
  itemKeys_[static_cast<std::size_t>(seen.index)] = ItemKey(seen.identity, seen.stamp);
  if (ListText(item.Subject().text) != seen.text || (sameDate && item.DueDate() != seen.due)) changed_ = true;
}

// Moved here: the date and done state of the task go to the item.
void SyncRun::MoveItemTo(SeenItem& seen, int row) {
  const std::unique_ptr<FolderItem> item = ItemAsRead(seen);
  if (!item) {
    changed_ = true;
    SetState(row, kLeft);
    ++result_.rowsLeft;
    return;
  }
  item->SetDueDate(DueDateOf(row));
  item->SetStatus(table_.IsDone(row) ? kStatusComplete : kStatusNotComplete);
  SaveAsRead(*item, seen, false);
  table_.SetCell(colUpdated, row, seen.stamp);
  SetState(row, kPaired);
  ++result_.folder.changed;
}

void SyncRun::AddRow(const SeenItem& seen) {
  int row = 1;
  if (table_.IsTask(1)) {
    table_.AppendRow();
    row = table_.RowCount() - 1;
  }
  TaskRow r;
  // Without a due date the item is taken in for today, where it is seen.
  r[colDueDate] = FormatDueDate(seen.due.value_or(list_.Today()));
  r[colText] = seen.text;
  r[colUpdated] = seen.stamp;
  if (!seen.original.empty()) {
    r[colFlags] = OriginalMark({}, seen.text, seen.original);
    result_.lostCharacters.push_back(seen.original);
  }
  table_.SetRow(row, r);
  table_.SetCell(colDaysLeft, row, seen.complete ? std::string(kDoneMark) : DaysLeftOf(row));
  SetState(row, kPaired);
  ++result_.list.added;
}

// Deletions in the folder, from the end so that the remaining indexes stay valid; each item
// only when it is still the one that was read there.
void SyncRun::DeleteItems(const std::vector<SeenItem>& judged) {
  for (auto it = judged.rbegin(); it != judged.rend(); ++it) {
    const std::unique_ptr<FolderItem> item = ItemAsRead(*it);
    if (!item) {
      changed_ = true;
      ++result_.itemsLeft;
      continue;
    }
    item->Delete();
    itemKeys_[static_cast<std::size_t>(it->index)] = 0;
    ++result_.folder.deleted;
  }
}

void SyncRun::ExportRows(int position) {
  const int lastRow = table_.RowCount() - 1;
  if (position + lastRow > maximum_) {  // rows came in from the folder
    maximum_ = position + lastRow;
    SetMaximum(maximum_);
  }
  for (int r = 1; r <= lastRow; ++r) {
    SetPosition(position + r);
    if (!table_.IsTask(r) || !Free(r)) continue;
    if (readChanged_) {  // its item may be one that was not read
      SetState(r, kLeft);
      ++result_.rowsLeft;
      continue;
    }
    if (OlderThanLastSync(table_.Cell(colUpdated, r))) {
      SetState(r, kDeleteHere);  // its item was deleted in the folder
      continue;
    }
    const std::unique_ptr<FolderItem> item = folder_->CreateItem();
    item->SetDueDate(DueDateOf(r));
    item->SetStatus(table_.IsDone(r) ? kStatusComplete : kStatusNotComplete);
    item->SetSubject(FolderSubject{std::string(TextOf(r)), OriginalOf(table_.Cell(colFlags, r), TextOf(r))});
    item->SetImportance(kImportanceNormal);
    item->Save();
    const std::string stamp = FormatStamp(item->LastModificationTime());
    itemKeys_.push_back(ItemKey(item->Identity(), stamp));
    table_.SetCell(colUpdated, r, stamp);
    SetState(r, kPaired);
    ++result_.folder.added;
  }
}

void SyncRun::DeleteRows() {
  std::vector<bool> gone(static_cast<std::size_t>(table_.RowCount()), false);
  bool any = false;
  for (int r = 1; r < table_.RowCount(); ++r) {
    if (table_.IsTask(r) && static_cast<std::size_t>(r) < rowState_.size() && rowState_[static_cast<std::size_t>(r)] == kDeleteHere) {
      gone[static_cast<std::size_t>(r)] = true;
      any = true;
      ++result_.list.deleted;
    }
  }
  if (!any) return;
  if (hooks_.keepListBefore) {
    Breathe();
    result_.backup = hooks_.keepListBefore(before_);
    Breathe();
    if (!result_.backup) {
      result_.list.deleted = 0;
      throw FolderError(std::u16string(kBackupFailedText));
    }
  }
  table_.RemoveRows(gone);
  Breathe();
}

// Whether the folder holds just what the run read and made, each item as last seen. Anything
// else was changed by someone else since it was read: after the reading, the run then cannot
// tell which items it missed, and at the end the stamps are no ground for the next run to judge
// deletions by a LastSync of now.
bool SyncRun::FolderAsExpected(int position) {
  std::vector<std::uint64_t> expected;
  for (const std::uint64_t key : itemKeys_) {
    if (key != 0) expected.push_back(key);
  }
  std::sort(expected.begin(), expected.end());
  const int count = folder_->Count();
  if (count != static_cast<int>(expected.size())) return false;
  if (position + count > maximum_) {
    maximum_ = position + count;
    SetMaximum(maximum_);
  }
  std::vector<bool> found(expected.size(), false);
  for (int i = 1; i <= count; ++i) {
    SetPosition(position + i);
    const std::unique_ptr<FolderItem> item = folder_->Item(i);
    const std::uint64_t key = ItemKey(item->Identity(), FormatStamp(item->LastModificationTime()));
    auto at = static_cast<std::size_t>(std::lower_bound(expected.begin(), expected.end(), key) - expected.begin());
    while (at < expected.size() && expected[at] == key && found[at]) ++at;
    if (at == expected.size() || expected[at] != key) return false;
    found[at] = true;
  }
  return true;
}

void SyncRun::Execute(const FolderOpener& openFolder) {
  Show(kSyncReadingText);
  ReadLastSync();
  CheckDueDates();  // before anything changes on either side
  before_ = table_;
  Breathe();
  list_.SortRows(0);
  Breathe();

  folder_ = openFolder();
  const int count = std::max(0, folder_->Count());
  maximum_ = table_.RowCount() + count - 1;
  SetMaximum(maximum_);
  rowState_.assign(static_cast<std::size_t>(table_.RowCount()), kNotHandled);
  const int lastPairable = table_.RowCount() - 1;  // rows added below are not paired
  IndexRows(lastPairable);
  Breathe();

  std::vector<SeenItem> unpaired;
  ReadItems(count, unpaired);
  // An item added and another deleted while the folder was read leave its count as it was, and
  // one item unread.
  if (!readChanged_ && count > 0 && !FolderAsExpected(position_)) readChanged_ = true;
  const int position = position_;  // where the rows' part of the bar begins
  if (readChanged_) {
    // Any item without its unchanged task may be one the run missed or saw twice: only what was
    // read whole is settled, the rest waits for the next run.
    result_.itemsLeft += static_cast<int>(unpaired.size());
  } else {
    DeleteItems(SettleUnpaired(unpaired, lastPairable));
  }

  Show(kSyncUpdatingText);
  ExportRows(position);
  DeleteRows();
  if (!readChanged_ && !changed_) {
    finishedAt_ = FormatStamp(list_.GetClock().Now());
    if (!FolderAsExpected(position_)) changed_ = true;
  }
  folder_.reset();
  result_.folderChanged = readChanged_ || changed_;

  Breathe();
  list_.SortRows(2);
  Breathe();
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
  result_.completed = true;
  if (!result_.folderChanged) {
    // LastSync describes the list on disk: a run that ends before the list is saved must not
    // leave a LastSync that makes the next run take what it copied here for deleted here.
    if (hooks_.saveList && !hooks_.saveList(table_)) {
      result_.saveFailed = true;
    } else {
      result_.lastSyncWriteFailed = !WriteText(profile_, keys::LastSync, finishedAt_);
    }
  }
  Show(kSyncFinishedText);
}

std::u16string Number(int n) {
  const std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

std::u16string Ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }

std::u16string CountsText(const SyncCounts& c) {
  return u"追加 " + Number(c.added) + u"件、変更 " + Number(c.changed) + u"件、削除 " + Number(c.deleted) + u"件";
}

// What the run left or could not do, each a paragraph of its own.
std::vector<std::u16string> Notes(const SyncResult& r) {
  std::vector<std::u16string> notes;
  if (!r.futureLastSync.empty()) {
    const std::string& s = r.futureLastSync;
    notes.push_back(u"前回の同期の時刻（" + Ascii(s.substr(0, 4)) + u"/" + Ascii(s.substr(4, 2)) + u"/" +
                    Ascii(s.substr(6, 2)) + u" " + Ascii(s.substr(8, 2)) + u":" + Ascii(s.substr(10, 2)) +
                    u"）が今より後になっているので、初めての同期として扱い、どちらからも予定を削除しませんでした。");
  }
  if (!r.lostCharacters.empty()) {
    std::u16string note = u"次の" + Number(static_cast<int>(r.lostCharacters.size())) +
                          u"件の件名には予定表に保存できない文字があったので、その文字を「?」にして取り込みました。";
    constexpr std::size_t kNamed = 10;
    for (std::size_t i = 0; i < r.lostCharacters.size() && i < kNamed; ++i) note += u"\r\n「" + r.lostCharacters[i] + u"」";
    if (r.lostCharacters.size() > kNamed) {
      note += u"\r\nほか" + Number(static_cast<int>(r.lostCharacters.size() - kNamed)) + u"件";
    }
    notes.push_back(std::move(note));
  }
  if (r.folderChanged) {
    std::u16string note = u"同期中にOutlookの仕事が変わったので、";
    if (r.itemsLeft > 0 || r.rowsLeft > 0) {
      note += u"確かめられなかった";
      if (r.itemsLeft > 0) note += u"Outlookの仕事" + Number(r.itemsLeft) + u"件";
      if (r.itemsLeft > 0 && r.rowsLeft > 0) note += u"と";
      if (r.rowsLeft > 0) note += u"予定" + Number(r.rowsLeft) + u"件";
      note += u"はそのままにしました。";
    }
    note += u"同期した時刻は記録していません。次の同期でもう一度確かめます。";
    notes.push_back(std::move(note));
  }
  if (r.saveFailed) {
    notes.push_back(u"予定表を保存できなかったので、同期した時刻を記録しませんでした。次の同期でもう一度確かめます。");
  }
  return notes;
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

std::u16string SyncCountsText(const SyncResult& result) {
  if (!result.list.Any() && !result.folder.Any()) return u"変更はありませんでした。";
  return u"予定表: " + CountsText(result.list) + u"\r\nOutlook: " + CountsText(result.folder);
}

bool SyncNeedsBox(const SyncResult& result) {
  return !result.completed || result.list.deleted > 0 || result.backup || !Notes(result).empty();
}

std::u16string SyncReport(const SyncResult& result, const TextDecoder& decode) {
  std::u16string text(result.completed ? kSyncFinishedText : std::u16string_view(result.error));
  if (!result.badDueDate[colDueDate].empty()) {
    text += u"\r\n\r\n期限「" + decode(result.badDueDate[colDueDate]) + u"」、内容「" +
            decode(TrimBlanks(result.badDueDate[colText])) + u"」の予定です。期限を直してから、もう一度同期してください。";
  }
  if (result.list.Any() || result.folder.Any()) {
    text += result.completed ? u"\r\n\r\n" : u"\r\n\r\n中止するまでに、次の変更をしました。\r\n";
    text += SyncCountsText(result);
  } else if (result.completed) {
    text += u"\r\n\r\n" + SyncCountsText(result);
  }
  for (const std::u16string& note : Notes(result)) text += u"\r\n\r\n" + note;
  if (result.backup) text += u"\r\n\r\n同期前の予定表を「" + result.backup->u16string() + u"」に残しました。";
  if (result.list.Any()) text += u"\r\n\r\n" + std::u16string(kUndoLostText);
  return text;
}

}  // namespace lq
