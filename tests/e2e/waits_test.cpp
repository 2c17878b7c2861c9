// A command that waits for the user (a question, the file dialog, a drop's question) while the
// tray's 同期 or 設定 changes the list: it acts on the task it was started on, wherever that went,
// or says that the task is gone; the question comes back above the list with the keyboard; and
// while it waits, the tray and the hot keys bring it forward instead of opening anything.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "commands/commandtable.h"
#include "driver.h"
#include "mainwindow/automation.h"
#include "res/resource.h"
#include "store/datetext.h"
#include "tests/support/fake_outlook.h"

namespace lq::e2e {
namespace {

using namespace automation;
using Waits = App;
using namespace std::chrono_literals;
using testing::OutlookRegistered;
using testing::OutlookRegistration;
using testing::StandInEnded;
using testing::StandInRegistration;

constexpr int kAttachment = 4;
const std::wstring kGone = L"予定が変更または削除されたので処理を中止します。";

// Each task's text and attachment, in list order.
std::vector<std::string> Rows(const Session& r) {
  std::vector<std::string> out;
  const int rows = static_cast<int>(r.program.Query(kRowCount));
  for (int row = 1; row < rows; ++row) out.push_back(r.program.Cell(2, row) + " " + r.program.Cell(kAttachment, row));
  return out;
}

// An item of the stand-in's folder, due `days` from today.
std::string Item(int days, const std::string& modified, const std::string& subject) {
  return FormatStamp(DateTime{AddDays(Today(), days)}) + "\t" + modified + "\t0\t0\t" + subject + "\r\n";
}

// A, B and C due today, tomorrow and the day after, each with an attachment. The Outlook folder
// holds A and B as they are here (a run leaves their stamps alone), C too unless it is to be
// deleted here by the run, and a new item due yesterday, which moves every task one row down.
// Then the command waits for its answer while 同期 runs; the question comes back above the list
// holding the keys, and Enter answers it.
TEST_F(Waits, ACommandAnsweredAfterSyncActsOnItsOwnTaskOrSaysItIsGone) {
  if (OutlookRegistration() == OutlookRegistered::Other) GTEST_SKIP() << "Outlook is installed";
  const std::string stamp = "20240101101010100";  // the tasks' stamp (TaskLine)
  struct Case {
    const char* what;
    bool cInOutlook;
    int row;   // of the task, before the run: A 1, B 2, C 3
    WORD key;  // Ctrl+D, Ctrl+Q, or 0: a file dropped on it
    std::wstring question;
    std::vector<std::string> rows;  // "text attachment", after the answer
  } cases[] = {
      {"delete C", true, 3, 'D', L"“C”を削除します。", {"new ", "A C:\\a.txt", "B C:\\b.txt"}},
      {"clear B", true, 2, 'Q', L"“C:\\b.txt”の添付を解除します。", {"new ", "A C:\\a.txt", "B ", "C C:\\c.txt"}},
      {"drop on C", true, 3, 0, L"にて上書きします。", {"new ", "A C:\\a.txt", "B C:\\b.txt", "C C:\\new.txt"}},
      {"delete C, which the run deletes", false, 3, 'D', L"“C”を削除します。", {"new ", "A C:\\a.txt", "B C:\\b.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    NextCase();
    Settings("[Sync]\r\nEnabled=1\r\nLastSync=20240301000000000\r\n");
    Tasks({TaskLine(0, false, "A", "C:\\a.txt"), TaskLine(1, false, "B", "C:\\b.txt"),
           TaskLine(2, false, "C", "C:\\c.txt")});
    SYSTEMTIME st{};
    GetLocalTime(&st);
    const std::string now = FormatStamp(DateTime{Date{st.wYear, st.wMonth, st.wDay}, st.wHour, st.wMinute, st.wSecond});
    const std::filesystem::path folder = s.Folder() / L"folder.txt";
    std::ofstream(folder, std::ios::binary) << Item(0, stamp, "A") + Item(1, stamp, "B") +
                                                   (c.cInOutlook ? Item(2, stamp, "C") : "") + Item(-1, now, "new");
    StandInRegistration registration;
    ASSERT_TRUE(registration.Add(FakeOutlook().wstring(), folder));

    Session& r = Start();
    if (c.key) {
      Click(r.program.CellCentre(2, c.row));
      Chord({VK_CONTROL, c.key});
    } else {
      DropFiles(r.program, r.program.CellCentre(2, c.row), {L"C:\\new.txt"});
    }
    const auto question = r.program.WaitForMessageBox();
    ASSERT_TRUE(question.has_value());
    EXPECT_NE(question->text.find(c.question), std::wstring::npos) << ::testing::PrintToString(question->text);

    const HWND sync = OpenFromTray(r, Command::Sync, L"同期");
    ASSERT_NE(sync, nullptr);
    Foreground(sync);
    Press(VK_RETURN);  // " 同 期"
    if (c.cInOutlook) {
      // A run that deletes nothing here ends with its counts in the dialog.
      const HWND counts = GetDlgItem(sync, IDC_SYNC_LBLCOUNTS);
      ASSERT_TRUE(WaitUntil([&] { return !TextOf(counts).empty(); }, 60s));
    } else {
      // Tasks deleted here: a box names the backup.
      HWND done = nullptr;
      ASSERT_TRUE(WaitUntil([&] { return (done = VisibleDialog(r.program, L"情報", sync)) != nullptr; }, 60s));
      PostMessageW(GetDlgItem(done, IDOK), BM_CLICK, 0, 0);
      ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(done); }));
    }
    ASSERT_TRUE(StandInEnded());
    Foreground(sync);
    Press(VK_ESCAPE);  // 閉じる
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(sync) && IsWindowVisible(r.window); }));

    // The question is in front again, and the keys reach it: Enter is its はい.
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == question->hwnd; }));
    Press(VK_RETURN);
    if (IsWindowVisible(question->hwnd)) Program::Answer(*question, IDYES);  // so the rest is still seen
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(question->hwnd); }));
    if (!c.cInOutlook) {
      const auto gone = r.program.WaitForMessageBox();
      ASSERT_TRUE(gone.has_value());
      EXPECT_EQ(gone->caption, L"情報");
      EXPECT_EQ(gone->text, kGone);
      Program::Answer(*gone, IDOK);
      ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(gone->hwnd); }));
    }
    std::vector<std::string> expected;
    for (const std::string& row : c.rows) expected.push_back(Sj(row));
    EXPECT_TRUE(WaitUntil([&] { return Rows(r) == expected; })) << ::testing::PrintToString(Rows(r));
    Close();
  }
}

// The file dialog open on C while 設定 is opened and cancelled (the settings read again, the
// first task made current): it comes back above the list, and the file chosen goes to C.
TEST_F(Waits, TheFileDialogAnsweredAfterTheSettingsGoesToItsOwnTask) {
  const std::filesystem::path file = s.Folder() / L"資料.txt";
  std::ofstream(file) << "x";
  Tasks({TaskLine(0, false, "A", "C:\\a.txt"), TaskLine(1, false, "B"), TaskLine(2, false, "C")});
  Session& r = Start();
  Click(r.program.CellCentre(2, 3));
  Chord({VK_CONTROL, 'P'});
  HWND files = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (const HWND h : VisibleWindows(r.program, L"#32770")) {
      if (GetDlgItem(h, 0x47C)) files = h;  // the file name box
    }
    return files != nullptr;
  }));

  const HWND config = OpenFromTray(r, Command::Config, L"設定");
  ASSERT_NE(config, nullptr);
  PostMessageW(GetDlgItem(config, IDCANCEL), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(config) && IsWindowVisible(r.window); }));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == files; }));
  EXPECT_EQ(r.Current(), 1);

  SendMessageW(GetDlgItem(files, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.wstring().c_str()));
  PostMessageW(GetDlgItem(files, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return r.program.Cell(kAttachment, 3) != ""; }));
  EXPECT_EQ(Wide(r.program.Cell(kAttachment, 3)), file.wstring());
  EXPECT_EQ(r.program.Cell(kAttachment, 1), "C:\\a.txt");
  EXPECT_EQ(r.Current(), 3);
}

// While a question or the file dialog waits, the tray icon's clicks and the hot keys only bring
// it forward: no menu, no hiding, no second command.
TEST_F(Waits, WhileTheListWaitsTheTrayAndTheHotKeysBringTheWaitForward) {
  const struct {
    const char* what;
    WORD key;
  } cases[] = {{"the delete question", 'D'}, {"the file dialog", 'P'}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    NextCase();
    Settings("[HotKey]\r\nEnabled=1\r\n");
    Tasks({TaskLine(0, false, "A")});
    Session& r = Start();
    Chord({VK_CONTROL, c.key});
    HWND wait = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
      const auto dialogs = VisibleWindows(r.program, L"#32770");
      return !dialogs.empty() && GetForegroundWindow() == (wait = dialogs.front());
    }));

    const std::function<void()> summons[] = {
        [&] { TrayMouse(r.window, WM_RBUTTONUP); },
        [&] { TrayMouse(r.window, WM_LBUTTONDOWN); },
        [&] { Chord({VK_CONTROL, VK_MENU, VK_DOWN}); },  // show/hide
    };
    for (const auto& summon : summons) {
      Foreground(ForeignWindow());
      ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == ForeignWindow(); }));
      summon();
      EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == wait; }));
      EXPECT_TRUE(VisibleWindows(r.program, L"#32768").empty());  // no menu
      EXPECT_TRUE(IsWindowVisible(r.window));
      EXPECT_EQ(VisibleWindows(r.program, L"#32770").size(), 1u);
    }
    for (const HWND menu : VisibleWindows(r.program, L"#32768")) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(GetDlgItem(wait, c.key == 'D' ? IDNO : IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(wait); }));
    EXPECT_EQ(r.program.Cell(2, 1), "A");
    Close();
  }
}

}  // namespace
}  // namespace lq::e2e
