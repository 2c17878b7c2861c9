// Attachments as a user meets them: files and shortcuts dropped on a task, the question before
// one replaces another, the URL dialog, clearing, opening a program, the menus of the mark and
// the hint that shows the path.
#include <gtest/gtest.h>

#include <algorithm>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "driver.h"
#include "mainwindow/automation.h"
#include "res/resource.h"
#include "tests/support/shortcut.h"

namespace lq::e2e {
namespace {

using namespace automation;
using namespace std::chrono_literals;
using lq::testing::MakeShortcut;
using Drop = App;
using Url = App;
using Choose = App;
using Clear = App;
using Open = App;
using Menus = App;
using Hint = App;

constexpr int kAttachment = 4;  // the attachment column
constexpr const wchar_t* kUrlCaption = L"URLの入力";

std::string Cp932(const std::wstring& w) {
  const int n = WideCharToMultiByte(932, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(932, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// A visible top-level window of the program's dialog class, picked by a test on it.
HWND FindDialog(const Program& p, const std::function<bool(HWND)>& which) {
  for (const HWND h : VisibleWindows(p, L"#32770")) {
    if (which(h)) return h;
  }
  return nullptr;
}

HWND DialogNow(const Program& p, const wchar_t* caption) {
  return FindDialog(p, [caption](HWND h) { return TextOf(h) == caption; });
}

HWND HintNow(const Program& p) {
  return FindDialog(p, [](HWND h) { return GetDlgItem(h, IDC_HINT_LBLHINT) != nullptr; });
}

// A message box of a given caption ("確認", "情報", "警告"): its text, once it shows.
std::wstring WaitForBox(const Program& p, const wchar_t* caption, HWND* box = nullptr) {
  HWND found = nullptr;
  // Found once its text and buttons are there.
  const auto ready = [&] {
    found = DialogNow(p, caption);
    return found && (GetDlgItem(found, IDOK) || GetDlgItem(found, IDYES));
  };
  if (!WaitUntil(ready, 10s)) return L"(no box " + std::wstring(caption) + L")";
  if (box) *box = found;
  return TextOf(GetDlgItem(found, 0xFFFF));
}

void AnswerBox(const Program& p, const wchar_t* caption, int button) {
  HWND box = nullptr;
  WaitForBox(p, caption, &box);
  ASSERT_NE(box, nullptr);
  PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(box); }));
}

bool ListFocused(const Session& w) {
  return WaitUntil([&] { return (w.Editors() & kListFocused) != 0; });
}

void Touch(const std::filesystem::path& p) { std::ofstream(p) << "x"; }

// Ctrl+key, then the program's answer to it.
bool Shortcut(WORD key, const std::function<bool()>& done) {
  Chord({VK_CONTROL, key});
  return WaitUntil(done);
}

// The attachment mark of a task row, where a click opens it and the hint shows.
POINT MarkOf(const Program& p, int row) {
  const int rowHeight = static_cast<int>(p.Query(kMetrics));
  return p.CellInside(2, row, rowHeight / 2, rowHeight / 2);
}

// Files beside the program: a folder named with ポ and 表 (whose second bytes are "|" and
// "\"), a file in it, and shortcuts to both.
struct DropFixture {
  explicit DropFixture(const Scratch& s)
      : folder(s.Folder() / L"ポ表 資料"), file(folder / L"表の見積もり.txt"), second(folder / L"two.txt"),
        toFile(s.Folder() / L"見積もり.lnk"), toFolder(s.Folder() / L"資料.lnk") {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::filesystem::create_directories(folder);
    Touch(file);
    Touch(second);
    EXPECT_TRUE(MakeShortcut(toFile.wstring(), file.wstring()));
    EXPECT_TRUE(MakeShortcut(toFolder.wstring(), folder.wstring()));
  }
  std::filesystem::path folder, file, second, toFile, toFolder;
};

TEST_F(Drop, AFileOrAShortcutBecomesTheAttachmentOfTheTaskUnderIt) {
  const DropFixture f(s);
  Tasks({TaskLine(1, false, "a"), TaskLine(2, false, "b"), TaskLine(3, false, "c"), TaskLine(4, false, "d")});
  Session& w = Start();
  const std::string file = Cp932(f.file.wstring());

  // Of several files the first; the task under the point becomes the current one.
  DropFiles(w.program, w.program.CellCentre(2, 2), {f.file.wstring(), f.second.wstring()});
  ASSERT_TRUE(WaitUntil([&] { return w.program.Cell(kAttachment, 2) == file; })) << w.program.Cell(kAttachment, 2);
  EXPECT_EQ(w.Current(), 2);
  EXPECT_FALSE(w.program.HasMessageBox());
  EXPECT_TRUE(ListFocused(w));

  // A shortcut gives the file it leads to, by its long name.
  DropFiles(w.program, w.program.CellCentre(0, 3), {f.toFile.wstring()});
  ASSERT_TRUE(WaitUntil([&] { return w.program.Cell(kAttachment, 3) == file; })) << w.program.Cell(kAttachment, 3);

  // The header, the outside of the window: nothing. Then a path longer than the old limit of
  // 260 characters, whole (the drops are handled in order, so the earlier ones are done).
  RECT window = w.program.WindowRect();
  DropFiles(w.program, w.program.CellCentre(2, 0), {f.second.wstring()});
  DropFiles(w.program, POINT{window.right + 30, window.top + 30}, {f.second.wstring()});
  const std::wstring longPath = L"C:\\" + std::wstring(150, L'x') + L"\\" + std::wstring(150, L'y') + L".txt";
  DropFiles(w.program, w.program.CellCentre(2, 1), {longPath});
  ASSERT_TRUE(WaitUntil([&] { return w.program.Cell(kAttachment, 1) == Cp932(longPath); }));
  for (int row = 1; row <= 4; ++row) EXPECT_NE(w.program.Cell(kAttachment, row), Cp932(f.second.wstring()));

  // A name code page 932 cannot hold is refused with a message naming it, never kept as "?".
  const std::wstring foreign = L"C:\\caf\u00E9\\r\u00E9sum\u00E9.txt";
  DropFiles(w.program, w.program.CellCentre(2, 4), {foreign});
  const std::wstring refusal = WaitForBox(w.program, L"警告");
  EXPECT_NE(refusal.find(foreign), std::wstring::npos) << ::testing::PrintToString(refusal);
  AnswerBox(w.program, L"警告", IDOK);
  EXPECT_EQ(w.program.Cell(kAttachment, 4), "");
  Close();

  // Saved as it was dropped: ポ keeps its second byte, which is that of "|".
  const std::string saved = s.Read(L"Lindqvale.csv").value_or("");
  const std::size_t first = saved.find(",|" + file + "|");
  ASSERT_NE(first, std::string::npos) << saved;
  EXPECT_NE(saved.find(",|" + file + "|", first + 1), std::string::npos) << saved;
}

TEST_F(Drop, AnAttachmentIsReplacedOnlyAfterYesAndAShortcutToAFolderGivesNone) {
  const DropFixture f(s);
  Tasks({TaskLine(1, false, "a", "C:\\old.txt")});
  Session& w = Start();
  const POINT row1 = w.program.CellCentre(2, 1);
  const std::wstring question =
      L"添付ファイル“C:\\old.txt”を\r\n“" + f.file.wstring() + L"”にて上書きします。\r\nよろしいですか？";

  DropFiles(w.program, row1, {f.file.wstring()});
  EXPECT_EQ(WaitForBox(w.program, L"確認"), question);
  // Another drop while the question is open is not taken: it would ask over it.
  DropFiles(w.program, row1, {f.second.wstring()});
  Settle();  // the drop is posted before the fence's key, so it has been handled
  int questions = 0;
  FindDialog(w.program, [&](HWND h) { questions += TextOf(h) == L"確認"; return false; });
  EXPECT_EQ(questions, 1);
  AnswerBox(w.program, L"確認", IDNO);
  EXPECT_EQ(w.program.Cell(kAttachment, 1), "C:\\old.txt");
  EXPECT_TRUE(ListFocused(w));

  DropFiles(w.program, row1, {f.file.wstring()});
  EXPECT_EQ(WaitForBox(w.program, L"確認"), question);
  AnswerBox(w.program, L"確認", IDYES);
  EXPECT_EQ(w.program.Cell(kAttachment, 1), Cp932(f.file.wstring()));

  // A folder is no file: the new name is empty, and yes clears the attachment.
  DropFiles(w.program, row1, {f.toFolder.wstring()});
  EXPECT_EQ(WaitForBox(w.program, L"確認"),
            L"添付ファイル“" + f.file.wstring() + L"”を\r\n“”にて上書きします。\r\nよろしいですか？");
  AnswerBox(w.program, L"確認", IDYES);
  EXPECT_EQ(w.program.Cell(kAttachment, 1), "");
}

// A drop from the X server, as a Linux file manager gives it: Wine turns it into WM_DROPFILES.
// Needs the helper that tools/test starts (LQ_XDND_DIR), so only under Wine.
TEST_F(Drop, AnX11DropOfAShortcutAttachesItsFile) {
  const char* dir = std::getenv("LQ_XDND_DIR");
  using UnixName = char*(CDECL*)(LPCWSTR);
  const auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!dir || !*dir || !unixName) GTEST_SKIP() << "no X11 drop helper here";
  const auto Unix = [&](const std::wstring& path) {
    char* name = unixName(path.c_str());
    std::string out = name ? name : "";
    if (name) HeapFree(GetProcessHeap(), 0, name);
    return out;
  };
  const std::wstring requests = L"Z:" + std::wstring(dir, dir + std::strlen(dir));
  std::filesystem::remove(requests + L"/done");

  const DropFixture f(s);
  Tasks({TaskLine(1, false, "a"), TaskLine(2, false, "b")});
  Session& w = Start();
  const POINT at = w.program.CellCentre(2, 2);
  {
    std::ofstream request(std::filesystem::path(requests) / L"request.tmp", std::ios::binary);
    request << at.x << ' ' << at.y << '\n' << Unix(f.toFile.wstring()) << '\n';
  }
  std::filesystem::rename(std::filesystem::path(requests) / L"request.tmp", std::filesystem::path(requests) / L"request");
  ASSERT_TRUE(WaitUntil([&] { return w.program.Cell(kAttachment, 2) == Cp932(f.file.wstring()); }, 10s))
      << "helper said: " << s.Read(std::filesystem::path(requests) / L"done").value_or("nothing");
  EXPECT_EQ(w.program.Cell(kAttachment, 1), "");
}

TEST_F(Url, TheDialogRefusesAnUpperCasePrefixAndKeepsAFileUntilAnAddressIsGiven) {
  Tasks({TaskLine(1, false, "memo", "C:\\memo.txt")});
  Session& w = Start();
  HWND dialog = nullptr;
  const auto open = [&] {
    ASSERT_TRUE(Shortcut('U', [&] { return (dialog = DialogNow(w.program, kUrlCaption)) != nullptr; }));
  };

  // A file attachment starts the box at "http://"; cancelling keeps the file.
  open();
  const HWND edit = GetDlgItem(dialog, IDC_URLINPUT_EDTURL);
  EXPECT_EQ(TextOf(edit), L"http://");
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
  EXPECT_EQ(w.program.Cell(kAttachment, 1), "C:\\memo.txt");
  EXPECT_TRUE(ListFocused(w));

  // The letter case of the prefix counts; the box keeps what was typed.
  open();
  Type(L"HTTP://x");
  Press(VK_RETURN);
  EXPECT_EQ(WaitForBox(w.program, L"情報"), L"“http://”または“https://”で始まるURLを入力してください。");
  AnswerBox(w.program, L"情報", IDOK);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }));
  EXPECT_EQ(TextOf(edit), L"HTTP://x");
  EXPECT_EQ(w.program.Cell(kAttachment, 1), "C:\\memo.txt");

  // 貼り付け replaces the selection (the whole text, selected when the box shows again).
  SetClipboardText(L"https://example.jp/a?q=1|2");
  PostMessageW(GetDlgItem(dialog, IDC_URLINPUT_BTNPASTE), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return TextOf(edit) == L"https://example.jp/a?q=1|2"; })) << TextOf(edit).c_str();
  RECT rc{};
  GetWindowRect(dialog, &rc);
  Snapshot(rc, L"url-dialog");
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  // "|" would end the task file's field: it is kept as "%7C", which means the same.
  ASSERT_TRUE(WaitUntil([&] { return w.program.Cell(kAttachment, 1) == "https://example.jp/a?q=1%7C2"; }))
      << w.program.Cell(kAttachment, 1);
  EXPECT_TRUE(ListFocused(w));
}

// 選択 opens the file dialog at the attached file; a chosen file, named with ポ and 表,
// becomes the attachment.
TEST_F(Choose, TheOpenDialogStartsAtTheAttachedFileAndTakesTheChosenOne) {
  const DropFixture f(s);
  Tasks({TaskLine(1, false, "a", Cp932(f.second.wstring()))});
  Session& w = Start();
  HWND dialog = nullptr;
  ASSERT_TRUE(Shortcut('P', [&] {
    return (dialog = FindDialog(w.program, [](HWND h) { return GetDlgItem(h, 0x47C) != nullptr; })) != nullptr;
  }));
  const HWND name = GetDlgItem(dialog, 0x47C);  // the file name box
  EXPECT_NE(TextOf(name).find(L"two.txt"), std::wstring::npos) << ::testing::PrintToString(TextOf(name));
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(f.file.wstring().c_str()));
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return w.program.Cell(kAttachment, 1) == Cp932(f.file.wstring()); }))
      << w.program.Cell(kAttachment, 1);
  EXPECT_TRUE(ListFocused(w));
}

TEST_F(Clear, TheAttachmentGoesOnlyAfterYes) {
  Tasks({TaskLine(1, false, "web", "https://example.jp/"), TaskLine(2, false, "file", "C:\\memo.txt")});
  Session& w = Start();
  const struct {
    int row;
    std::wstring question;
  } cases[] = {
      {1, L"“https://example.jp/”を解除します。\r\nよろしいですか？"},
      {2, L"“C:\\memo.txt”の添付を解除します。\r\nよろしいですか？"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    Click(w.program.CellCentre(2, c.row), true);  // selects the task and prepares the menu's keys
    Press(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return w.Current() == c.row; }));
    const std::string before = w.program.Cell(kAttachment, c.row);
    for (const int answer : {IDNO, IDYES}) {
      ASSERT_TRUE(Shortcut('Q', [&] { return DialogNow(w.program, L"確認") != nullptr; }));
      EXPECT_EQ(WaitForBox(w.program, L"確認"), c.question);
      AnswerBox(w.program, L"確認", answer);
      EXPECT_EQ(w.program.Cell(kAttachment, c.row), answer == IDYES ? "" : before);
      EXPECT_TRUE(ListFocused(w));
    }
  }
  Close();
  EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or("").find("example.jp"), std::string::npos);
}

// A program or a script runs only after the user said so, once.
TEST_F(Open, AClickOnTheMarkOfABatchFileAsksBeforeRunningIt) {
  const std::filesystem::path script = s.Folder() / L"run.bat";
  const std::filesystem::path ran = s.Folder() / L"ran.txt";
  std::ofstream(script) << "@echo x>>\"" << ran.string() << "\"\r\n";
  Tasks({TaskLine(1, false, "run", Cp932(script.wstring()))});
  Session& w = Start();
  const std::wstring question = L"“" + script.wstring() + L"”はプログラムとして実行されます。\r\n実行してもよろしいですか？";

  Click(MarkOf(w.program, 1));
  EXPECT_EQ(WaitForBox(w.program, L"確認"), question);
  AnswerBox(w.program, L"確認", IDNO);
  EXPECT_FALSE(std::filesystem::exists(ran));
  EXPECT_EQ(w.Editors() & kTextEditorShown, 0) << "a click on the mark opens no editor";

  Click(MarkOf(w.program, 1));
  EXPECT_EQ(WaitForBox(w.program, L"確認"), question);
  AnswerBox(w.program, L"確認", IDYES);
  const auto lines = [&] {
    std::ifstream in(ran);
    std::string line;
    int n = 0;
    while (std::getline(in, line)) ++n;
    return n;
  };
  ASSERT_TRUE(WaitUntil([&] { return lines() > 0; }, 15s)) << "the batch file did not run";
  EXPECT_EQ(DialogNow(w.program, L"確認"), nullptr);
  Close();
  EXPECT_EQ(lines(), 1);
}

// A URL scheme whose handler is a given program, while the test runs. Wine looks classes up
// only under HKLM; Windows also takes the user's own.
class UrlScheme {
 public:
  UrlScheme(std::wstring scheme, const std::wstring& handler) : key_(L"Software\\Classes\\" + std::move(scheme)) {
    const std::wstring command = L"\"" + handler + L"\" \"%1\"";
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      RegSetKeyValueW(root, key_.c_str(), L"URL Protocol", REG_SZ, L"", sizeof(wchar_t));
      RegSetKeyValueW(root, (key_ + L"\\shell\\open\\command").c_str(), nullptr, REG_SZ, command.c_str(),
                      static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
  }
  ~UrlScheme() {
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) RegDeleteTreeW(root, key_.c_str());
  }

 private:
  std::wstring key_;
};

// A web address that, taken for a path from the program's folder, climbs to the root and
// leads down to a program.
std::wstring ClimbingAddress(const std::wstring& folder) {
  std::wstring below = std::filesystem::path(folder).relative_path().wstring();
  std::replace(below.begin(), below.end(), L'\\', L'/');
  std::wstring address = L"http://x/";
  for (int i = 0; i < 12; ++i) address += L"../";
  return address + below + L"/marker.exe";
}

// Hand-edited attachments that would start a program, whatever their form: each asks first,
// whether opened with 開く or a click on its mark, and No runs nothing. A web address asks
// nothing and runs no file, also when typed into the URL dialog. Every case has a marker
// program of its own, so the file one leaves tells which case ran it.
TEST_F(Open, AnAttachmentThatWouldStartAProgramAsksFirstWhateverItsForm) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int markers = 0;
  const auto marker = [&](const wchar_t* name = L"marker.exe") {
    const auto folder = s.Folder() / (L"c" + std::to_wstring(markers++));
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(FakeAlarm(), folder / name);  // a harmless program that leaves a mark
    return folder.wstring();
  };
  const auto ran = [&](int n) { return std::filesystem::exists(s.Folder() / (L"c" + std::to_wstring(n)) / L"alarm-args.txt"); };
  const auto fileUrl = [](std::wstring path) {
    std::replace(path.begin(), path.end(), L'\\', L'/');
    return L"file:///" + path;
  };

  // Every case's own marker, in the order of the cases.
  const std::wstring c[] = {marker(), marker(), marker(),           marker(),           marker(), marker(),
                            marker(), marker(L"report.txt"), marker(L"report.txt"), marker(), marker()};
  SetEnvironmentVariableW(L"LQ_E2E_MARKER", (c[5] + L"\\marker.exe").c_str());  // the program inherits it
  ASSERT_TRUE(MakeShortcut(c[6] + L"\\to marker.lnk", c[6] + L"\\marker"));
  ASSERT_TRUE(MakeShortcut(c[8] + L"\\to report.lnk", c[8] + L"\\report.txt"));
  const UrlScheme scheme(L"lqproto", c[9] + L"\\marker.exe");
  const std::wstring asking[] = {
      c[0] + L"\\marker",  // the shell adds ".exe"
      L"\\\\?\\" + c[1] + L"\\marker",
      L"\\\\.\\" + c[2] + L"\\marker",
      fileUrl(c[3]) + L"/marker",
      fileUrl(c[4]) + L"/marker%2Eexe",
      L"%LQ_E2E_MARKER%",
      c[6] + L"\\to marker.lnk",
      c[7] + L"\\report.txt",
      c[8] + L"\\to report.lnk",
      L"lqproto:hello",
  };
  const std::wstring web = ClimbingAddress(c[10]);
  const std::wstring nul = marker() + L"\\marker.exe" + L'\0' + L".txt";
  const std::wstring typed = ClimbingAddress(marker());
  const int webRow = 11, nulRow = 12, typedRow = 13;

  std::string file = FileOf({kHeader32, TaskLine(webRow - 1, false, "web", Cp932(web)),
                             TaskLine(nulRow - 1, false, "nul", Cp932(nul)), TaskLine(typedRow - 1, false, "typed")});
  for (int i = 0; i < 10; ++i) file += TaskLine(i, false, "case " + std::to_string(i), Cp932(asking[i])) + "\r\n";
  s.Write(L"Lindqvale.csv", file);
  Settings("[WinPosition]\r\nx=20\r\ny=20\r\nWidth=400\r\nHeight=560\r\n");
  Session& w = Start();

  // A NUL would cut the path the shell gets: that attachment is left out at the load, and said so.
  EXPECT_NE(WaitForBox(w.program, L"警告").find(L"制御文字"), std::wstring::npos);
  AnswerBox(w.program, L"警告", IDOK);
  EXPECT_EQ(w.program.Cell(kAttachment, nulRow), "");
  EXPECT_EQ(w.program.Cell(2, nulRow), "nul");

  const auto select = [&](int row) {
    Click(w.program.CellCentre(2, row), true);
    Press(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return w.Current() == row; }));
  };
  const auto open = [&](int row, bool byMark) {
    if (byMark) {
      Click(MarkOf(w.program, row));
    } else {
      select(row);
      Chord({VK_CONTROL, 'O'});
    }
  };
  // A web address, also one typed into the URL dialog, opens in the browser, never as a file.
  select(typedRow);
  ASSERT_TRUE(Shortcut('U', [&] { return DialogNow(w.program, kUrlCaption) != nullptr; }));
  Type(typed);
  Press(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return w.program.Cell(kAttachment, typedRow) == Cp932(typed); }));
  ASSERT_TRUE(ListFocused(w));
  for (const int row : {typedRow, webRow}) {
    open(row, true);
    Settle();
    EXPECT_FALSE(w.program.HasMessageBox());
  }

  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(::testing::PrintToString(asking[i]));
    ASSERT_EQ(w.program.Cell(kAttachment, i + 1), Cp932(asking[i]));
    open(i + 1, i % 2 == 1);
    const std::wstring question =
        i == 9 ? L"“" + asking[i] + L"”を開くと、そのURLを受け持つプログラムが起動します。\r\n開いてもよろしいですか？"
               : L"“" + asking[i] + L"”はプログラムとして実行されます。\r\n実行してもよろしいですか？";
    EXPECT_EQ(WaitForBox(w.program, L"確認"), question);
    AnswerBox(w.program, L"確認", IDNO);
  }

  // Yes runs it: the markers work, and no other case ran its own.
  open(1, false);
  AnswerBox(w.program, L"確認", IDYES);
  EXPECT_TRUE(WaitUntil([&] { return ran(0); }, 15s));
  Close();
  SetEnvironmentVariableW(L"LQ_E2E_MARKER", nullptr);
  for (int n = 1; n < markers; ++n) EXPECT_FALSE(ran(n)) << "case " << n << " ran its program";
  EXPECT_NE(s.Read(L"Lindqvale.csv.bak").value_or("").find(Cp932(nul)), std::string::npos);
}

// The menu of a right-click on the mark is the attachment menu (five items); on the text the
// list's menu (ten, and two lines). Another process cannot read a menu's items under Wine, so
// the heights tell them apart.
TEST_F(Menus, TheMarkHasTheAttachmentMenu) {
  Tasks({TaskLine(1, false, "file", "C:\\memo.txt"), TaskLine(2, false, "web", "https://example.jp/")});
  Session& w = Start();
  const auto menuHeight = [&] {
    if (!WaitUntil([&] { return MenusNow(w.program).size() == 1; })) return 0L;
    RECT rc{};
    GetWindowRect(MenusNow(w.program).front(), &rc);
    return rc.bottom - rc.top;
  };
  const auto closed = [&] { return WaitUntil([&] { return MenusNow(w.program).empty(); }); };
  const struct {
    int row;
    const wchar_t* name;
  } cases[] = {{1, L"file"}, {2, L"web"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    Click(MarkOf(w.program, c.row), true);
    const long attach = menuHeight();
    ASSERT_GT(attach, 0);
    Snapshot(WindowAndMenus(w.program), (std::wstring(L"attach-menu-") + c.name).c_str());
    Press(VK_ESCAPE);
    ASSERT_TRUE(closed());

    // The list's menu, its attachment submenu opened with the keys.
    Click(w.program.CellCentre(2, c.row), true);
    const long grid = menuHeight();
    EXPECT_GT(grid, attach * 3 / 2);
    for (int i = 0; i < 4; ++i) Press(VK_DOWN);
    Press(VK_RIGHT);
    EXPECT_TRUE(WaitUntil([&] { return MenusNow(w.program).size() == 2; })) << "the submenu did not open";
    Snapshot(WindowAndMenus(w.program), (std::wstring(L"grid-menu-") + c.name).c_str());
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
    ASSERT_TRUE(closed());
  }
}

TEST_F(Hint, ThePathShowsOnlyAfterTheDelayAndNeverForAHiddenList) {
  Settings("[Hint]\r\nStart=700\r\nTerm=30000\r\nFullPath=0\r\n");
  Tasks({TaskLine(1, false, "見積もり", Sj("C:\\ポ\\表.xls")), TaskLine(2, false, "b")});
  Session& w = Start();
  const auto state = [&] { return w.program.Query(kHintState); };
  POINT mark = MarkOf(w.program, 1);

  // Resting on the mark: the hint waits for its delay, then shows the file's name above the
  // cursor, without taking the keys from the list.
  MoveMouse(POINT{mark.x, mark.y + 40});
  const auto start = std::chrono::steady_clock::now();
  MoveMouse(mark);
  ASSERT_TRUE(WaitUntil([&] { return state() != 0; }));
  EXPECT_EQ(HintNow(w.program), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return state() == 2; }));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 650ms);
  const HWND hint = HintNow(w.program);
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(TextOf(GetDlgItem(hint, IDC_HINT_LBLHINT)), L"表.xls");  // 表 ends in the byte of a separator
  RECT rc{};
  GetWindowRect(hint, &rc);
  EXPECT_LE(rc.bottom, mark.y);
  EXPECT_LT(rc.left, mark.x);
  EXPECT_GT(rc.right, mark.x);
  EXPECT_EQ(GetForegroundWindow(), w.window);
  RECT shot = w.program.WindowRect();
  shot.top -= 40;
  Snapshot(shot, L"hint");

  // A move of one pixel starts the delay again for the new point; off the mark it all stops.
  MoveMouse(POINT{mark.x + 1, mark.y});
  ASSERT_TRUE(WaitUntil([&] { return state() == 1; }));
  EXPECT_FALSE(IsWindowVisible(hint));
  MoveMouse(w.program.CellCentre(2, 2));
  ASSERT_TRUE(WaitUntil([&] { return state() == 0; }));

  // Hidden while it waits (as the tray's 隠す hides the list), the list gets no hint.
  MoveMouse(POINT{mark.x + 2, mark.y});
  ASSERT_TRUE(WaitUntil([&] { return state() == 1; }));
  ShowWindow(w.window, SW_HIDE);
  ASSERT_TRUE(WaitUntil([&] { return state() == 0; }));
  EXPECT_FALSE(IsWindowVisible(hint));
}

}  // namespace
}  // namespace lq::e2e
