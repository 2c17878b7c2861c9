#pragma once
// Drives Lindqvale.exe the way a person would, from another process: a scratch folder with the
// program and its fixture files, the window, message boxes, the screen's pixels, and the
// program's query messages for what neither files nor pixels show. Runs under Wine and on
// Windows alike.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commands/commandtable.h"
#include "store/datetext.h"

namespace lq::e2e {

// Set by main() from --exe=PATH.
extern std::filesystem::path gProgram;
// Set by main() from --alarm=PATH; by default TarnwillowAlarm.exe of the same build tree.
extern std::filesystem::path gAlarmProgram;

// A fresh folder holding a copy of the program (and whatever files a test puts beside it).
class Scratch {
 public:
  Scratch();
  // In a folder of its own under `base` rather than under %TEMP%.
  explicit Scratch(const std::filesystem::path& base);
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  // Gone, and a new empty one in its place (under `base` when given).
  void Renew(const std::optional<std::filesystem::path>& base = std::nullopt);
  const std::filesystem::path& Folder() const { return folder_; }
  std::filesystem::path Exe() const { return folder_ / L"Lindqvale.exe"; }
  std::filesystem::path TaskFile() const { return folder_ / L"Lindqvale.csv"; }
  std::filesystem::path SettingsFile() const { return folder_ / L"Lindqvale.ini"; }
  void Write(const std::filesystem::path& name, const std::string& bytes) const;
  std::optional<std::string> Read(const std::filesystem::path& name) const;

 private:
  void Make();
  void Remove();
  std::filesystem::path base_;
  std::filesystem::path folder_;
};

// A program started from the driver inside a job object, so that a failing test never leaves
// it running; its standard handles go to NUL.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // `arguments` follow the quoted program path on the command line. With `hold` the program
  // stays suspended until Resume(). With `automation` it runs as a test driver starts it
  // (LQ_AUTOMATION=1), otherwise as a user starts it.
  bool Start(const std::filesystem::path& exe, const std::filesystem::path& folder, const std::wstring& arguments = L"",
             bool hold = false, bool automation = true);
  void Resume() { ResumeThread(pi_.hThread); }
  // Stops it until Resume(), as a computer asleep would.
  void Suspend() { SuspendThread(pi_.hThread); }
  bool Running() const;
  // Exit code, or nullopt when it did not end in time.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  DWORD ProcessId() const { return pi_.dwProcessId; }
  HANDLE ProcessHandle() const { return pi_.hProcess; }
  // The first visible top-level window of this process with the class name, once it shows.
  HWND WaitForWindowOfClass(const wchar_t* className, std::chrono::milliseconds timeout);

 private:
  PROCESS_INFORMATION pi_{};
  HANDLE job_ = nullptr;
};

struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::wstring caption;
  std::wstring text;
};

class Program {
 public:
  // Without `automation` the program runs as a user starts it: its test hooks stay shut.
  explicit Program(const Scratch& scratch, bool automation = true);

  bool Start();
  // The main window once the program reports its first showing done; null on timeout.
  HWND WaitForWindow(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  HWND Window() const { return window_; }
  DWORD ProcessId() const { return process_.ProcessId(); }
  bool Running() const { return process_.Running(); }
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    return process_.WaitForExit(timeout);
  }

  // The user's close path: the system close command.
  void Close();
  // Stopped at once, as by a crash or kill -9; returns once it has ended.
  void Kill();

  // A message box of this process, once one shows.
  std::optional<MessageBoxInfo> WaitForMessageBox(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  bool HasMessageBox() const;
  static void Answer(const MessageBoxInfo& box, int buttonId);
  // Answers the box and returns once the program is past the answer (Handled), the box gone.
  bool AnswerAndWait(const MessageBoxInfo& box, int buttonId) const;

  // Waits until the program has handled every message posted to it so far, those it posted
  // itself included (a cell query posted behind them answers). Needs no activation, unlike
  // the input fence.
  bool Handled() const;

  // Query messages.
  LRESULT Query(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
  std::string Cell(int col, int row) const;  // code page 932 bytes
  RECT GridScreenRect() const;
  // Screen point at the middle of a cell of a visible row, from the grid's own metrics.
  POINT CellCentre(int col, int row) const;
  // Screen point a few pixels inside a cell's top-left corner, where only its background shows.
  POINT CellInside(int col, int row, int dx = 2, int dy = 2) const;
  RECT WindowRect() const;

 private:
  const Scratch& scratch_;
  bool automation_;
  ChildProcess process_;
  HWND window_ = nullptr;
};

// Fixtures shared by the tests: task file lines relative to today, whole files, a window of the
// driver's own that takes the activation away, and a started program with its window.
inline const std::string kHeader32 = "00000000000000,TARNWILLOW03.2.00";
// A format 3.2 line due `days` from today; the text is UTF-8.
std::string TaskLine(int days, bool done, const std::string& text, const std::string& attachment = "",
                     const std::string& flags = "");
std::string FileOf(std::initializer_list<std::string> lines);  // each line ended by CR LF
// The text of a window or control of the program.
std::wstring TextOf(HWND hwnd);
// The screen rectangle of a descendant of the class with the window text; without a text, of the
// widest one.
RECT ChildRect(HWND parent, const wchar_t* className, const wchar_t* name = nullptr);
// The program's visible top-level windows of a class, the topmost first: "#32770" are its
// dialogs and message boxes, "#32768" its open menus.
std::vector<HWND> VisibleWindows(const Program& p, const wchar_t* cls);
// The program's open menus, the first opened first, and its window with them (for a picture).
std::vector<HWND> MenusNow(const Program& p);
RECT WindowAndMenus(const Program& p);
// The topmost visible dialog of the program with this caption (any when null), or null.
HWND VisibleDialog(const Program& p, const wchar_t* caption = nullptr, HWND except = nullptr);
// The value of a key in the bytes of a settings file, or in the scratch folder's
// Lindqvale.ini; nullopt when it is not there.
std::optional<std::string> IniValue(const std::string& ini, const std::string& section, const std::string& key);
std::optional<std::string> IniValue(const Scratch& s, const std::string& section, const std::string& key);
HWND ForeignWindow();
// Drops files the way the shell does, through the program's own drop message.
void DropFiles(const Program& p, POINT screen, const std::vector<std::wstring>& paths);
// The window with the keyboard focus in the thread of `window`; null when none has it.
HWND FocusOf(HWND window);
Date Today();
// What the shell sends when the user works the tray icon: the mouse message (WM_LBUTTONDOWN...).
void TrayMouse(HWND window, UINT mouse);
// What a tray menu item does: its command reaches the main window (posted, so it also arrives
// while a question or the file dialog runs its own loop).
void ChooseFromTray(HWND window, Command c);

// The stand-in alarm program built beside the driver: it writes its arguments to alarm-args.txt
// beside itself.
std::filesystem::path FakeAlarm();
// The Outlook stand-in built beside the program: build\src\app\Lindqvale.exe ->
// build\tests\windows\lq_fake_outlook.exe; whole, since COM starts it from elsewhere.
std::filesystem::path FakeOutlook();

struct Session {
  // Starts the program and waits for its window; with `foreground` the window then gets the
  // activation, as after a click. Without `automation`, as a user starts it (see Program).
  explicit Session(const Scratch& s, bool foreground = true, bool automation = true);
  // The user's close, then the end of the program.
  void CloseAndWait();
  LRESULT Editors() const;
  // The driver's own window takes the activation: true once the list is in view mode.
  bool ToViewMode() const;
  int Current() const;
  // Shifts the program's clock so that it reads today's hh:mm:ss.mmm of this machine now.
  void SetClockTo(int hour, int minute, int second, int ms) const;
  Program program;
  HWND window = nullptr;
};

// A test's scratch folder and the program started in it. A program still running when the test
// ends is closed the user's way and must end; a test stopped by a fatal failure leaves it to be
// killed.
class App : public ::testing::Test {
 protected:
  void TearDown() override;
  // The program started in the folder, its window up (see Session); a program started before
  // ends first.
  Session& Start(bool foreground = true, bool automation = true);
  // The user's close and the end of the program, before the test reads what it saved.
  void Close();
  // The next case of a table: the program closed, a new empty folder.
  void NextCase();
  // The task file: the format 3.2 header, then these lines.
  void Tasks(const std::vector<std::string>& lines) const;
  void Settings(const std::string& ini) const { s.Write(L"Lindqvale.ini", ini); }

  Scratch s;
  std::optional<Session> session;
};

// The dialog a tray menu item opens, once it shows with its caption; null when none came.
HWND OpenFromTray(const Session& r, Command c, const wchar_t* caption);

// Files dropped at a screen point through the program's drop message (kDropFilesData): true
// when the program took them.
bool SendDropFiles(const Program& p, POINT screen, const std::vector<std::wstring>& paths);

// Real input, as a person gives it; it reaches the foreground window. Each of these returns once
// the program has handled it (Settle), when the program is in front.
void Foreground(HWND window);

// With LQ_E2E_SHOTS set to a folder, the screen inside a rectangle goes there as a bitmap.
void Snapshot(RECT rc, const wchar_t* name);
// Waits until the program has handled every input sent so far (its input fence), or, with
// another program in front, gives it a moment. Session names the program.
void Settle();
// The same as Program::Handled for the program Session names: for messages the driver posts.
bool Handled();
void SetFenceWindow(HWND window);
void Key(WORD vk, bool down);
void Press(WORD vk);                     // down and up
void Chord(std::initializer_list<WORD> keys);  // e.g. {VK_CONTROL, 'A'}
void Type(const std::wstring& text);     // Unicode characters, as an input method delivers them
void MoveMouse(POINT screen);
void Click(POINT screen, bool right = false);
void MiddleClick(POINT screen);
void DoubleClick(POINT screen);
void Drag(POINT from, POINT to);
// Turns the wheel with the cursor at a point; positive notches turn it towards the user (down).
void Wheel(POINT screen, int notchesDown);

// The clipboard's text, shared with the program.
void SetClipboardText(const std::wstring& text);
std::wstring ClipboardText();

// Colour of a screen pixel.
COLORREF ScreenPixel(POINT p);
// The pixel's colour once it is `expected`, or as it is when the wait is up: for what the
// program paints in its own time.
COLORREF PixelWhenDrawn(POINT p, COLORREF expected);

// Pumps this thread's messages for a while (the cell replies arrive as WM_COPYDATA).
void Pump(std::chrono::milliseconds duration);
// Pumps until the condition holds (true) or the time is up (false): for what the program does
// on its own time, such as a timer tick, so a slow machine does not fail a test.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(5));

// Today's date on this machine as the program formats due dates ("yyyy/mm/dd(aaa)"), shifted
// by a number of days.
std::string DueDate(int daysFromToday);

std::string Sj(std::string_view utf8);
std::wstring Wide(std::string_view cp932);

}  // namespace lq::e2e
