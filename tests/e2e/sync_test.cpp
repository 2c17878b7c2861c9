// The exchange with Outlook's task folder from the tray item "同期", against the stand-in
// automation server of tests/windows registered for the test: the first run, a second run with
// changes on both sides, a kill after a run, a large list, and no Outlook at all.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "commands/commandtable.h"
#include "driver.h"
#include "mainwindow/automation.h"
#include "platform/outlook.h"
#include "res/resource.h"
#include "store/datetext.h"
#include "sync/sync.h"
#include "tests/support/fake_outlook.h"

namespace lq::e2e {
namespace {

using namespace automation;
using Sync = App;
using namespace std::chrono_literals;
using testing::OutlookRegistered;
using testing::OutlookRegistration;
using testing::StandInEnded;
using testing::StandInRegistration;

constexpr auto kRunTime = 60s;  // the stand-in starts in about a second; a loaded machine is slower

std::wstring Wide16(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

// The message box over the dialog, once its text is there.
std::optional<MessageBoxInfo> WaitForBox(const Session& r, HWND dialog) {
  MessageBoxInfo box;
  if (!WaitUntil(
          [&] {
            box.hwnd = VisibleDialog(r.program, nullptr, dialog);
            return box.hwnd && !TextOf(GetDlgItem(box.hwnd, 0xFFFF)).empty() && GetDlgItem(box.hwnd, IDOK);
          },
          kRunTime)) {
    return std::nullopt;
  }
  box.caption = TextOf(box.hwnd);
  box.text = TextOf(GetDlgItem(box.hwnd, 0xFFFF));
  return box;
}

HWND OpenSync(const Session& r) { return OpenFromTray(r, Command::Sync, L"同期"); }

// Real keys reach the foreground window. Asked again while it is not: under X11 a window that
// was hidden just before may hand the activation to the desktop late.
bool Front(HWND window) {
  return WaitUntil([&] {
    if (GetForegroundWindow() == window) return true;
    Foreground(window);
    return false;
  });
}

// The dialog as each showing must find it: the idle text, an empty bar, the button ready and
// holding the keyboard once the dialog is active.
void ExpectIdle(HWND d) {
  EXPECT_EQ(TextOf(GetDlgItem(d, IDC_SYNC_LBLMSG)), Wide16(kSyncIdleText));
  EXPECT_EQ(SendMessageW(GetDlgItem(d, IDC_SYNC_PROGRESS), PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(SendMessageW(GetDlgItem(d, IDC_SYNC_PROGRESS), PBM_GETRANGE, FALSE, 0), 0);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, IDC_SYNC_BTNSYNC)));
  ASSERT_TRUE(Front(d));
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(d) == GetDlgItem(d, IDC_SYNC_BTNSYNC); }));
}

// Presses " 同 期" from the keyboard and waits for the message at the end of the run.
std::optional<MessageBoxInfo> RunFromKeyboard(const Session& r, HWND d) {
  if (!Front(d)) return std::nullopt;
  Press(VK_RETURN);
  return WaitForBox(r, d);
}

// A box the dialog owns, shown yet or not (a modal box shows once its queue is idle).
bool HasBox(HWND dialog) {
  struct Find {
    HWND owner;
    bool found;
  } f{dialog, false};
  EnumThreadWindows(
      GetWindowThreadProcessId(dialog, nullptr),
      [](HWND h, LPARAM l) -> BOOL {
        auto* f = reinterpret_cast<Find*>(l);
        wchar_t cls[16] = {};
        GetClassNameW(h, cls, 16);
        if (GetWindow(h, GW_OWNER) == f->owner && lstrcmpW(cls, L"#32770") == 0) f->found = true;
        return !f->found;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// The same for a run that ends without a box: its counts in the dialog, once it is over.
std::optional<std::wstring> RunWithoutBox(HWND d) {
  if (!Front(d)) return std::nullopt;
  Press(VK_RETURN);
  const HWND counts = GetDlgItem(d, IDC_SYNC_LBLCOUNTS);
  if (!WaitUntil([&] { return !TextOf(counts).empty(); }, kRunTime)) return std::nullopt;
  // A box would be made right after the counts, before the dialog's thread answers again.
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(d, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored) || HasBox(d)) return std::nullopt;
  return TextOf(counts);
}

void Kill(const Session& r) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, r.program.ProcessId());
  ASSERT_NE(process, nullptr);
  TerminateProcess(process, 9);
  WaitForSingleObject(process, 10000);
  CloseHandle(process);
}

// Escape closes the dialog; the list comes back with the keyboard in its text editor.
void CloseWithEscape(const Session& r, HWND d) {
  ASSERT_TRUE(Front(d));
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(d) && IsWindowVisible(r.window); }));
  EXPECT_TRUE(WaitUntil([&] { return (r.Editors() & kTextEditorFocused) != 0; }));
}

DateTime Now() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return DateTime{Date{st.wYear, st.wMonth, st.wDay}, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

// The stand-in's folder file: items as "<days from today> <status> <importance> <subject>".
class Folder {
 public:
  explicit Folder(const Scratch& s) : path_(s.Folder() / L"folder.txt") {}
  const std::filesystem::path& Path() const { return path_; }

  // An item due `days` from today, last changed at `modified` (a stamp); the subject in UTF-8.
  static std::string Line(int days, const std::string& modified, int status, int importance, const std::string& subject) {
    return FormatStamp(DateTime{AddDays(Today(), days)}) + "\t" + modified + "\t" + std::to_string(status) + "\t" +
           std::to_string(importance) + "\t" + subject + "\r\n";
  }
  void Write(const std::string& lines) const { std::ofstream(path_, std::ios::binary) << lines; }
  std::vector<std::string> Items() const {
    std::vector<std::string> out;
    std::ifstream in(path_, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
      std::vector<std::string> f;
      std::stringstream fields(line.substr(0, line.find('\r')));
      for (std::string part; std::getline(fields, part, '\t');) f.push_back(part);
      int days = 0;
      while (days < 400 && FormatStamp(DateTime{AddDays(Today(), days)}).substr(0, 8) != f.at(0).substr(0, 8)) ++days;
      out.push_back(std::to_string(days) + " " + f.at(2) + " " + f.at(3) + " " + f.at(4));
    }
    return out;
  }

 private:
  std::filesystem::path path_;
};

// The list as "<days left> <text>" per task, "済" for done ones, texts in UTF-8.
std::vector<std::string> Rows(const Session& r) {
  std::vector<std::string> out;
  const int rows = static_cast<int>(r.program.Query(kRowCount));
  for (int row = 1; row < rows; ++row) out.push_back(r.program.Cell(1, row) + " " + r.program.Cell(2, row));
  return out;
}

int RowOf(const Session& r, const std::string& utf8) {
  const int rows = static_cast<int>(r.program.Query(kRowCount));
  for (int row = 1; row < rows; ++row) {
    if (r.program.Cell(2, row) == Sj(utf8)) return row;
  }
  return 0;
}

const std::string kOld = "20240301090000000";  // long before any run of the test

TEST_F(Sync, FromTheTrayItemBothWaysThenWithChangesOnEachSide) {
  if (OutlookRegistration() == OutlookRegistered::Other) GTEST_SKIP() << "Outlook is installed; the stand-in would replace it";
  // A task marked done keeps its date, so that it pairs with its item.
  Settings("[Sync]\r\nEnabled=1\r\n[Settings]\r\nFinishedDayChange=0\r\n");
  Tasks({TaskLine(1, false, "掃除"), TaskLine(2, false, "買い物"), TaskLine(5, true, "会議の準備")});
  Folder folder(s);
  folder.Write(Folder::Line(3, kOld, 0, 0, "報告書") + Folder::Line(4, kOld, 2, 0, "歯医者"));
  StandInRegistration registration;
  ASSERT_TRUE(registration.Add(FakeOutlook().wstring(), folder.Path()));

  Session& r = Start();
  HWND d = OpenSync(r);
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(IsWindowVisible(r.window));  // hidden while the dialog is open
  ExpectIdle(d);

  // The first run: every item a task here, every task an item there, nothing deleted; the
  // counts stay in the dialog, without a box to click away.
  const auto firstCounts = RunWithoutBox(d);
  ASSERT_TRUE(firstCounts.has_value()) << "no counts, or a box";
  EXPECT_EQ(*firstCounts, L"予定表: 追加 2件、変更 0件、削除 0件\r\nOutlook: 追加 3件、変更 0件、削除 0件\r\n"
                          L"Outlook側の変更は元に戻せないため、同期までの変更も元に戻せなくなりました。");
  EXPECT_EQ(TextOf(GetDlgItem(d, IDC_SYNC_LBLMSG)), Wide16(kSyncFinishedText));
  const HWND progress = GetDlgItem(d, IDC_SYNC_PROGRESS);
  EXPECT_GT(SendMessageW(progress, PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), SendMessageW(progress, PBM_GETRANGE, FALSE, 0));
  // One run per showing; the keys now belong to 閉じる.
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_SYNC_BTNSYNC)));
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(d) == GetDlgItem(d, IDCANCEL); }));
  CloseWithEscape(r, d);

  EXPECT_EQ(Rows(r), (std::vector<std::string>{"1 " + Sj("掃除"), "2 " + Sj("買い物"), "3 " + Sj("報告書"),
                                               Sj("済 歯医者"), Sj("済 会議の準備")}));
  EXPECT_EQ(r.program.Cell(0, 0), "3/5");
  ASSERT_TRUE(StandInEnded());
  EXPECT_EQ(folder.Items(), (std::vector<std::string>{"3 0 0 報告書", "4 2 0 歯医者", "1 0 1 掃除", "2 0 1 買い物",
                                                      "5 2 1 会議の準備"}));
  const std::string firstSync = IniValue(s, "Sync", "LastSync").value_or("");
  ASSERT_EQ(firstSync.size(), 17u);

  // Here: 追加 added, 買い物 done, 会議の準備 deleted.
  ASSERT_TRUE(Front(r.window));
  Click(r.program.CellCentre(2, RowOf(r, "掃除")));
  Chord({VK_CONTROL, 'A'});
  Type(L"追加");
  Press(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return RowOf(r, "追加") != 0; }));
  Click(r.program.CellCentre(2, RowOf(r, "買い物")));
  Chord({VK_CONTROL, 'E'});
  ASSERT_TRUE(WaitUntil([&] { return r.program.Cell(0, 0) == "3/6"; }));
  Click(r.program.CellCentre(2, RowOf(r, "会議の準備")));
  Chord({VK_CONTROL, 'D'});
  auto question = r.program.WaitForMessageBox();
  ASSERT_TRUE(question.has_value());
  Program::Answer(*question, IDYES);
  ASSERT_TRUE(WaitUntil([&] { return RowOf(r, "会議の準備") == 0; }));
  // In Outlook: 報告書 completed, 掃除 deleted, 新しい仕事 added; the rest untouched since.
  const std::string now = FormatStamp(Now());
  folder.Write(Folder::Line(3, now, 2, 0, "報告書") + Folder::Line(4, kOld, 2, 0, "歯医者") +
               Folder::Line(2, kOld, 0, 1, "買い物") + Folder::Line(5, kOld, 2, 1, "会議の準備") +
               Folder::Line(6, now, 0, 0, "新しい仕事"));

  d = OpenSync(r);
  ASSERT_NE(d, nullptr);
  ExpectIdle(d);  // ready again for the new showing
  EXPECT_EQ(TextOf(GetDlgItem(d, IDC_SYNC_LBLCOUNTS)), L"");
  // Tasks deleted here: a box names the copy of the list as it was.
  auto box = RunFromKeyboard(r, d);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"情報");
  const std::wstring counts = Wide16(kSyncFinishedText) +
                              L"\r\n\r\n予定表: 追加 1件、変更 1件、削除 1件\r\nOutlook: 追加 1件、変更 1件、削除 1件"
                              L"\r\n\r\n同期前の予定表を「";
  ASSERT_EQ(box->text.substr(0, counts.size()), counts);
  // The list as it was before the run, 掃除 and all, kept where the message says.
  const std::filesystem::path backup = box->text.substr(counts.size(), box->text.rfind(L"」") - counts.size());
  EXPECT_TRUE(std::filesystem::equivalent(backup.parent_path(), s.Folder())) << backup;
  EXPECT_NE(s.Read(backup.filename()).value_or("").find(Sj("掃除")), std::string::npos) << backup;
  Program::Answer(*box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !VisibleDialog(r.program, nullptr, d); }));
  CloseWithEscape(r, d);

  EXPECT_EQ(Rows(r), (std::vector<std::string>{"1 " + Sj("追加"), "6 " + Sj("新しい仕事"), Sj("済 買い物"),
                                               Sj("済 報告書"), Sj("済 歯医者")}));
  EXPECT_EQ(r.program.Cell(0, 0), "2/5");
  ASSERT_TRUE(StandInEnded());
  EXPECT_EQ(folder.Items(), (std::vector<std::string>{"3 2 0 報告書", "4 2 0 歯医者", "2 2 1 買い物",
                                                      "6 0 0 新しい仕事", "1 0 1 追加"}));
  EXPECT_GT(IniValue(s, "Sync", "LastSync").value_or(""), firstSync);

  Close();
  const std::string saved = s.Read(L"Lindqvale.csv").value_or("");
  for (const char* kept : {"追加", "新しい仕事", "買い物", "報告書", "歯医者"}) {
    EXPECT_NE(saved.find(Sj(kept)), std::string::npos) << kept;
  }
  EXPECT_EQ(saved.find(Sj("掃除")), std::string::npos);
  EXPECT_EQ(saved.find(Sj("会議の準備")), std::string::npos);
}

TEST_F(Sync, AKillRightAfterARunKeepsWhatItTookInAndTheNextRunDeletesNothing) {
  if (OutlookRegistration() == OutlookRegistered::Other) GTEST_SKIP() << "Outlook is installed; the stand-in would replace it";
  Settings("[Sync]\r\nEnabled=1\r\n");
  Tasks({TaskLine(1, false, "掃除")});
  Folder folder(s);
  std::string items;
  for (int i = 0; i < 30; ++i) items += Folder::Line(i % 10, kOld, 0, 0, "仕事" + std::to_string(i));
  folder.Write(items);
  StandInRegistration registration;
  ASSERT_TRUE(registration.Add(FakeOutlook().wstring(), folder.Path()));

  {
    Session& r = Start();
    const HWND d = OpenSync(r);
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(RunWithoutBox(d).has_value());
    ASSERT_TRUE(StandInEnded());
    Kill(r);  // before any save of the usual rules
  }
  // The run wrote LastSync only once what it took in was on disk.
  const std::string saved = s.Read(L"Lindqvale.csv").value_or("");
  for (int i = 0; i < 30; ++i) EXPECT_NE(saved.find(Sj("仕事" + std::to_string(i))), std::string::npos) << i;
  ASSERT_TRUE(IniValue(s, "Sync", "LastSync").has_value());

  Session& r = Start();
  const HWND d = OpenSync(r);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(RunWithoutBox(d).value_or(L"a box"), L"変更はありませんでした。");
  ASSERT_TRUE(StandInEnded());
  EXPECT_EQ(folder.Items().size(), 31u);
  CloseWithEscape(r, d);
}

TEST_F(Sync, TheDialogAnswersWhileALargeListIsDeleted) {
  if (OutlookRegistration() == OutlookRegistered::Other) GTEST_SKIP() << "Outlook is installed; the stand-in would replace it";
  constexpr int kTasks = 20000;
  // Every task was there at the last run and is gone from Outlook since.
  Settings("[Sync]\r\nEnabled=1\r\nLastSync=20240601000000000\r\n");
  std::string tasks = kHeader32 + "\r\n";
  for (int i = 0; i < kTasks; ++i) tasks += TaskLine(i % 60 - 30, i % 7 == 0, "予定" + std::to_string(i)) + "\r\n";
  s.Write(L"Lindqvale.csv", tasks);
  Folder folder(s);
  folder.Write("");
  StandInRegistration registration;
  ASSERT_TRUE(registration.Add(FakeOutlook().wstring(), folder.Path()));

  Session& r = Start();
  const HWND d = OpenSync(r);
  ASSERT_NE(d, nullptr);
  ASSERT_TRUE(Front(d));
  Press(VK_RETURN);
  // Until the box at the end, the dialog answers every message; five seconds without an answer
  // make a window one that "does not respond".
  int answered = 0;
  bool hung = false;
  WaitUntil(
      [&] {
        DWORD_PTR ignored = 0;
        if (SendMessageTimeoutW(d, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored) == 0) hung = true;
        ++answered;
        return hung || VisibleDialog(r.program, nullptr, d) != nullptr;
      },
      kRunTime);
  EXPECT_FALSE(hung) << "after " << answered << " answers";
  const auto box = WaitForBox(r, d);
  ASSERT_TRUE(box.has_value());
  const std::wstring counts = L"予定表: 追加 0件、変更 0件、削除 " + std::to_wstring(kTasks) + L"件";
  EXPECT_NE(box->text.find(counts), std::wstring::npos) << box->text;
  EXPECT_NE(box->text.find(L"同期前の予定表を「"), std::wstring::npos) << box->text;
  Program::Answer(*box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !VisibleDialog(r.program, nullptr, d); }));
  ASSERT_TRUE(Front(d));
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(d) && IsWindowVisible(r.window); }));
  EXPECT_EQ(r.program.Query(kRowCount), 2);
}

TEST_F(Sync, WithoutOutlookTheErrorBoxSaysSoAndLastSyncStays) {
  if (OutlookRegistration() != OutlookRegistered::None) GTEST_SKIP() << "an Outlook.Application is registered";
  const std::string lastSync = "20240101000000000";
  Settings("[Sync]\r\nEnabled=1\r\nLastSync=" + lastSync + "\r\n");
  Tasks({TaskLine(1, false, "掃除")});
  Session& r = Start();
  HWND d = OpenSync(r);
  ASSERT_NE(d, nullptr);
  const auto box = RunFromKeyboard(r, d);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"エラー");
  const std::wstring plain = Wide16(win::kOutlookMissingText) + L"\r\n\r\n";
  EXPECT_EQ(box->text.substr(0, plain.size()), plain);
  EXPECT_GT(box->text.size(), plain.size());  // followed by the error's own text
  Program::Answer(*box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !VisibleDialog(r.program, nullptr, d); }));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_SYNC_BTNSYNC)));
  EXPECT_EQ(IniValue(s, "Sync", "LastSync").value_or(""), lastSync);

  // The close box gives the keyboard back to the list too; then a new showing finds the button
  // ready again.
  PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(d) && IsWindowVisible(r.window); }));
  EXPECT_TRUE(WaitUntil([&] { return (r.Editors() & kTextEditorFocused) != 0 && GetForegroundWindow() == r.window; }));
  d = OpenSync(r);
  ASSERT_NE(d, nullptr);
  ExpectIdle(d);
  CloseWithEscape(r, d);
  EXPECT_EQ(Rows(r), (std::vector<std::string>{"1 " + Sj("掃除")}));
  Close();
  EXPECT_EQ(IniValue(s, "Sync", "LastSync").value_or(""), lastSync);
}

}  // namespace
}  // namespace lq::e2e
