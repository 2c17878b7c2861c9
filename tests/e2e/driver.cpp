#include "driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "mainwindow/automation.h"
#include "store/datetext.h"
#include "tests/support/fake_outlook.h"

namespace lq::e2e {

std::filesystem::path gProgram;
std::filesystem::path gAlarmProgram;

namespace {

// The program whose input fence the input functions wait for (Session sets it).
HWND gFenceWindow = nullptr;

// Receives the cell texts the program sends back.
class Receiver {
 public:
  Receiver() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Receiver::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LqE2eReceiver";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowW(L"LqE2eReceiver", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                          nullptr);
  }
  HWND Handle() const { return hwnd_; }
  static std::string& Last() {
    static std::string last;
    return last;
  }
  // Replies so far.
  static int& Count() {
    static int count = 0;
    return count;
  }

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_COPYDATA) {
      const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
      if (cds->dwData == automation::kCellData) {
        Last().assign(static_cast<const char*>(cds->lpData), cds->cbData);
        ++Count();
        return TRUE;
      }
    }
    return DefWindowProcW(h, m, w, l);
  }
  HWND hwnd_;
};

Receiver& TheReceiver() {
  static Receiver r;
  return r;
}

struct FindBox {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindBoxProc(HWND hwnd, LPARAM lParam) {
  auto* f = reinterpret_cast<FindBox*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != f->pid || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  if (lstrcmpW(cls, L"#32770") == 0) {
    f->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

struct FindMain {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindMainProc(HWND hwnd, LPARAM lParam) {
  auto* f = reinterpret_cast<FindMain*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  if (pid == f->pid && lstrcmpW(cls, L"TfrmToDo") == 0) {
    f->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::wstring TextOf(HWND hwnd) {
  wchar_t buf[4096] = {};
  SendMessageW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf));
  return buf;
}

std::vector<HWND> VisibleWindows(const Program& p, const wchar_t* cls) {
  struct Search {
    DWORD pid;
    const wchar_t* cls;
    std::vector<HWND> found;
  } s{p.ProcessId(), cls, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        wchar_t name[32] = {};
        GetClassNameW(hwnd, name, 32);
        if (pid == s->pid && IsWindowVisible(hwnd) && lstrcmpW(name, s->cls) == 0) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::vector<HWND> MenusNow(const Program& p) {
  std::vector<HWND> menus = VisibleWindows(p, L"#32768");
  std::reverse(menus.begin(), menus.end());
  return menus;
}

RECT WindowAndMenus(const Program& p) {
  RECT all = p.WindowRect();
  for (const HWND m : MenusNow(p)) {
    RECT rc{};
    GetWindowRect(m, &rc);
    UnionRect(&all, &all, &rc);
  }
  return all;
}

HWND VisibleDialog(const Program& p, const wchar_t* caption, HWND except) {
  for (const HWND h : VisibleWindows(p, L"#32770")) {
    if (h != except && (!caption || TextOf(h) == caption)) return h;
  }
  return nullptr;
}

namespace {

std::filesystem::path TempFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return temp;
}

}  // namespace

Scratch::Scratch() : Scratch(TempFolder()) {}

Scratch::Scratch(const std::filesystem::path& base) : base_(base) { Make(); }

Scratch::~Scratch() { Remove(); }

void Scratch::Renew(const std::optional<std::filesystem::path>& base) {
  Remove();
  if (base) base_ = *base;
  Make();
}

void Scratch::Make() {
  static int counter = 0;
  folder_ = base_ / (L"lq-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++));
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
  std::filesystem::create_directories(folder_);
  std::filesystem::copy_file(gProgram, Exe(), std::filesystem::copy_options::overwrite_existing);
}

void Scratch::Remove() {
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder_, ec)) {
    SetFileAttributesW(e.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  std::filesystem::remove_all(folder_, ec);
}

void Scratch::Write(const std::filesystem::path& name, const std::string& bytes) const {
  const auto path = folder_ / name;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD wrote = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(h);
}

std::optional<std::string> Scratch::Read(const std::filesystem::path& name) const {
  const auto path = folder_ / name;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
  CloseHandle(h);
  return bytes;
}

ChildProcess::~ChildProcess() {
  if (pi_.hProcess) {
    if (Running()) TerminateProcess(pi_.hProcess, 99);
    WaitForSingleObject(pi_.hProcess, 5000);
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
  }
  if (job_) CloseHandle(job_);
}

bool ChildProcess::Start(const std::filesystem::path& exe, const std::filesystem::path& folder,
                         const std::wstring& arguments, bool hold, bool automation) {
  // The child inherits the driver's environment.
  SetEnvironmentVariableW(automation::kEnvironmentVariable, automation ? L"1" : nullptr);
  job_ = CreateJobObjectW(nullptr, nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);

  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                           OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = si.hStdOutput = si.hStdError = nul;
  std::wstring cmd = L"\"" + exe.wstring() + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  const BOOL ok = CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                                 folder.c_str(), &si, &pi_);
  CloseHandle(nul);
  if (!ok) return false;
  AssignProcessToJobObject(job_, pi_.hProcess);
  if (!hold) Resume();
  return true;
}

bool ChildProcess::Running() const {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
  if (!WaitUntil([&] { return !Running(); }, timeout)) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

HWND ChildProcess::WaitForWindowOfClass(const wchar_t* className, std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        while ((found = FindWindowExW(nullptr, found, className, nullptr)) != nullptr) {
          DWORD pid = 0;
          GetWindowThreadProcessId(found, &pid);
          if (pid == pi_.dwProcessId && IsWindowVisible(found)) return true;
        }
        return !Running();
      },
      timeout);
  return found;
}

Program::Program(const Scratch& scratch, bool automation) : scratch_(scratch), automation_(automation) {}

bool Program::Start() { return process_.Start(scratch_.Exe(), scratch_.Folder(), L"", false, automation_); }

HWND Program::WaitForWindow(std::chrono::milliseconds timeout) {
  WaitUntil(
      [&] {
        FindMain f{process_.ProcessId(), nullptr};
        EnumWindows(&FindMainProc, reinterpret_cast<LPARAM>(&f));
        DWORD_PTR ready = 0;
        if (f.found && SendMessageTimeoutW(f.found, automation::kReady, 0, 0, SMTO_ABORTIFHUNG, 2000, &ready) &&
            ready == 1) {
          window_ = f.found;
        }
        return window_ || !Running();
      },
      timeout);
  return window_;
}

void Program::Close() { PostMessageW(window_, WM_CLOSE, 0, 0); }

void Program::Kill() {
  TerminateProcess(process_.ProcessHandle(), 9);
  WaitForSingleObject(process_.ProcessHandle(), 10000);
}

bool Program::HasMessageBox() const {
  FindBox f{process_.ProcessId(), nullptr};
  EnumWindows(&FindBoxProc, reinterpret_cast<LPARAM>(&f));
  return f.found != nullptr;
}

std::optional<MessageBoxInfo> Program::WaitForMessageBox(std::chrono::milliseconds timeout) {
  FindBox f{process_.ProcessId(), nullptr};
  // Found once its text and a button are there.
  if (!WaitUntil(
          [&] {
            f.found = nullptr;
            EnumWindows(&FindBoxProc, reinterpret_cast<LPARAM>(&f));
            return f.found && GetDlgItem(f.found, 0xFFFF) &&
                   (GetDlgItem(f.found, IDOK) || GetDlgItem(f.found, IDYES) || GetDlgItem(f.found, IDCANCEL));
          },
          timeout)) {
    return std::nullopt;
  }
  return MessageBoxInfo{f.found, TextOf(f.found), TextOf(GetDlgItem(f.found, 0xFFFF))};
}

void Program::Answer(const MessageBoxInfo& box, int buttonId) {
  if (const HWND button = GetDlgItem(box.hwnd, buttonId)) {
    PostMessageW(button, BM_CLICK, 0, 0);
  }
}

bool Program::AnswerAndWait(const MessageBoxInfo& box, int buttonId) const {
  Answer(box, buttonId);
  return WaitUntil([&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); }) && Handled();
}

namespace {

bool HandledBy(HWND window) {
  const int before = Receiver::Count();
  return window &&
         PostMessageW(window, automation::kGetCell, 0, reinterpret_cast<LPARAM>(TheReceiver().Handle())) &&
         WaitUntil([&] { return Receiver::Count() > before; }, std::chrono::seconds(10));
}

}  // namespace

bool Program::Handled() const { return HandledBy(window_); }
bool Handled() { return HandledBy(gFenceWindow); }

LRESULT Program::Query(UINT msg, WPARAM wParam, LPARAM lParam) const {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window_, msg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<LRESULT>(result);
}

std::string Program::Cell(int col, int row) const {
  Receiver::Last().clear();
  Query(automation::kGetCell, MAKEWPARAM(col, row), reinterpret_cast<LPARAM>(TheReceiver().Handle()));
  return Receiver::Last();
}

RECT Program::GridScreenRect() const {
  RECT rc;
  rc.left = static_cast<LONG>(Query(automation::kGridRect, 0));
  rc.top = static_cast<LONG>(Query(automation::kGridRect, 1));
  rc.right = static_cast<LONG>(Query(automation::kGridRect, 2));
  rc.bottom = static_cast<LONG>(Query(automation::kGridRect, 3));
  return rc;
}

POINT Program::CellCentre(int col, int row) const {
  const RECT grid = GridScreenRect();
  const int rowHeight = static_cast<int>(Query(automation::kMetrics));
  int left = 0;
  for (int c = 0; c < col; ++c) {
    const int w = static_cast<int>(static_cast<short>(Query(automation::kMetrics, c, 1)));
    if (w >= 0) left += w + 1;
  }
  const int width = static_cast<int>(Query(automation::kMetrics, col, 1));
  const int line = row == 0 ? 0 : row - static_cast<int>(Query(automation::kTopRow)) + 1;
  return POINT{grid.left + left + width / 2, grid.top + line * (rowHeight + 1) + rowHeight / 2};
}

POINT Program::CellInside(int col, int row, int dx, int dy) const {
  const POINT centre = CellCentre(col, row);
  const int rowHeight = static_cast<int>(Query(automation::kMetrics));
  const int width = static_cast<int>(Query(automation::kMetrics, col, 1));
  return POINT{centre.x - width / 2 + dx, centre.y - rowHeight / 2 + dy};
}

RECT Program::WindowRect() const {
  RECT rc{};
  GetWindowRect(window_, &rc);
  return rc;
}

namespace {

void SendOne(INPUT in) {
  SendInput(1, &in, sizeof in);
  Pump(std::chrono::milliseconds(15));
}

INPUT MouseInput(POINT screen, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const int h = GetSystemMetrics(SM_CYSCREEN);
  in.mi.dx = static_cast<LONG>((screen.x * 65535 + w / 2) / (w - 1));
  in.mi.dy = static_cast<LONG>((screen.y * 65535 + h / 2) / (h - 1));
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return in;
}

}  // namespace

void Foreground(HWND window) {
  // Asked again while another window is in front: under X11 the activation of a window shown or
  // brought forward just before may arrive after the request.
  WaitUntil(
      [&] {
        if (GetForegroundWindow() == window) return true;
        SetForegroundWindow(window);
        return false;
      },
      std::chrono::seconds(5));
  Settle();
}

// With LQ_E2E_SHOTS set to a folder, the screen around a rectangle goes there as a bitmap.
void Snapshot(RECT rc, const wchar_t* name) {
  const wchar_t* folder = _wgetenv(L"LQ_E2E_SHOTS");
  if (!folder || !*folder) return;
  const int w = rc.right - rc.left;
  const int h = rc.bottom - rc.top;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  BitBlt(dc, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + stride * static_cast<DWORD>(h);
  const std::wstring path = std::wstring(folder) + L"\\" + name + L".bmp";
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD wrote = 0;
  WriteFile(file, &fh, sizeof fh, &wrote, nullptr);
  WriteFile(file, &bi.bmiHeader, sizeof bi.bmiHeader, &wrote, nullptr);
  WriteFile(file, bits, stride * static_cast<DWORD>(h), &wrote, nullptr);
  CloseHandle(file);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

bool SendDropFiles(const Program& p, POINT screen, const std::vector<std::wstring>& paths) {
  const automation::DropFilesRequest request{screen.x, screen.y};
  std::vector<unsigned char> data(sizeof request);
  std::memcpy(data.data(), &request, sizeof request);
  for (const std::wstring& path : paths) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(path.c_str());
    data.insert(data.end(), bytes, bytes + (path.size() + 1) * sizeof(wchar_t));
  }
  data.insert(data.end(), sizeof(wchar_t), 0);
  COPYDATASTRUCT cds{automation::kDropFilesData, static_cast<DWORD>(data.size()), data.data()};
  DWORD_PTR taken = 0;
  SendMessageTimeoutW(p.Window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, 5000, &taken);
  return taken == TRUE;
}

void SetFenceWindow(HWND window) { gFenceWindow = window; }

namespace {

// Asks the program in front for its fence: the count, or the modifiers at the last fence. False
// with another program in front, or none to ask.
bool AskFence(WPARAM what, DWORD_PTR* value) {
  const HWND target = gFenceWindow;
  DWORD targetProcess = 0;
  DWORD frontProcess = 0;
  if (target && IsWindow(target)) GetWindowThreadProcessId(target, &targetProcess);
  if (const HWND front = GetForegroundWindow()) GetWindowThreadProcessId(front, &frontProcess);
  if (targetProcess == 0 || frontProcess != targetProcess) return false;
  return SendMessageTimeoutW(target, automation::kInputFence, what, 0, SMTO_ABORTIFHUNG, 5000, value) != 0;
}

// The modifier bits the fence reports for a key, 0 for any other key.
DWORD_PTR ModifierBit(WORD vk) {
  switch (vk) {
    case VK_CONTROL: return 1;
    case VK_SHIFT: return 2;
    case VK_MENU: return 4;
    default: return 0;
  }
}

}  // namespace

void Settle() {
  // The program's input fence: when it has taken the fence key, every input sent before it has
  // been handled. Another program in front, or no program to ask: give it a moment instead.
  DWORD_PTR before = 0;
  if (!AskFence(0, &before)) {
    Pump(std::chrono::milliseconds(100));
    return;
  }
  INPUT in[2]{};
  for (INPUT& i : in) {
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = automation::kFenceKey;
  }
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof in[0]);
  WaitUntil([&] {
    DWORD_PTR now = 0;
    return AskFence(0, &now) && now > before;
  }, std::chrono::seconds(10));
}

void Key(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendOne(in);
}

void Press(WORD vk) {
  Key(vk, true);
  Key(vk, false);
  Settle();
}

void Chord(std::initializer_list<WORD> keys) {
  // The modifiers first, until the program has seen them held (Wine may drop a held modifier
  // when a window takes the X focus), then the key.
  const std::vector<WORD> all(keys);
  DWORD_PTR wanted = 0;
  for (std::size_t i = 0; i + 1 < all.size(); ++i) wanted |= ModifierBit(all[i]);
  for (int attempt = 0; attempt < 5; ++attempt) {
    for (std::size_t i = 0; i + 1 < all.size(); ++i) Key(all[i], true);
    Settle();
    DWORD_PTR held = 0;
    if (wanted == 0 || !AskFence(automation::kFenceModifiers, &held) || (held & wanted) == wanted) break;
  }
  if (!all.empty()) {
    Key(all.back(), true);
    Key(all.back(), false);
  }
  for (auto it = all.rbegin() + (all.empty() ? 0 : 1); it != all.rend(); ++it) Key(*it, false);
  Settle();
}

void Type(const std::wstring& text) {
  for (const wchar_t ch : text) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = ch;
    in.ki.dwFlags = KEYEVENTF_UNICODE;
    SendOne(in);
    in.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendOne(in);
  }
  Settle();
}

void MoveMouse(POINT screen) {
  SendOne(MouseInput(screen, MOUSEEVENTF_MOVE));
  // Under Wine the move reaches the server's cursor a little later: a program asking for the
  // cursor at once (a menu opened at it) would still find it where it was.
  WaitUntil([&] {
    POINT at{};
    return GetCursorPos(&at) && at.x == screen.x && at.y == screen.y;
  }, std::chrono::seconds(1));
}

void Click(POINT screen, bool right) {
  MoveMouse(screen);
  SendOne(MouseInput(screen, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN));
  SendOne(MouseInput(screen, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP));
  Settle();
}

// A descendant of the class with the window text; without a text, the widest one.
RECT ChildRect(HWND parent, const wchar_t* className, const wchar_t* name) {
  struct Find {
    const wchar_t* cls;
    const wchar_t* name;
    RECT found{};
  } find{className, name};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM data) -> BOOL {
        auto* f = reinterpret_cast<Find*>(data);
        wchar_t cls[64]{};
        wchar_t text[64]{};
        GetClassNameW(child, cls, 64);
        SendMessageW(child, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
        if (lstrcmpiW(cls, f->cls) != 0 || (f->name && lstrcmpW(text, f->name) != 0)) return TRUE;
        RECT rc{};
        GetWindowRect(child, &rc);
        if (rc.right - rc.left > f->found.right - f->found.left) f->found = rc;
        return f->name ? FALSE : TRUE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

void MiddleClick(POINT screen) {
  MoveMouse(screen);
  SendOne(MouseInput(screen, MOUSEEVENTF_MIDDLEDOWN));
  SendOne(MouseInput(screen, MOUSEEVENTF_MIDDLEUP));
  Settle();
}

void DoubleClick(POINT screen) {
  MoveMouse(screen);
  for (int i = 0; i < 2; ++i) {
    SendOne(MouseInput(screen, MOUSEEVENTF_LEFTDOWN));
    SendOne(MouseInput(screen, MOUSEEVENTF_LEFTUP));
  }
  Settle();
}

void Drag(POINT from, POINT to) {
  MoveMouse(from);
  SendOne(MouseInput(from, MOUSEEVENTF_LEFTDOWN));
  Settle();  // the press taken before the first move
  for (int i = 1; i <= 10; ++i) {
    MoveMouse(POINT{from.x + (to.x - from.x) * i / 10, from.y + (to.y - from.y) * i / 10});
  }
  SendOne(MouseInput(to, MOUSEEVENTF_LEFTUP));
  Settle();
}

void Wheel(POINT screen, int notchesDown) {
  MoveMouse(screen);
  for (int i = 0; i < std::abs(notchesDown); ++i) {
    INPUT in = MouseInput(screen, MOUSEEVENTF_WHEEL);
    in.mi.mouseData = static_cast<DWORD>(notchesDown > 0 ? -WHEEL_DELTA : WHEEL_DELTA);
    SendOne(in);
  }
  Settle();
}

void SetClipboardText(const std::wstring& text) {
  // The clipboard needs an owner window to take data.
  static const HWND owner = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                                          nullptr);
  WaitUntil([&] { return OpenClipboard(owner) != FALSE; }, std::chrono::seconds(1));
  EmptyClipboard();
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

std::wstring ClipboardText() {
  std::wstring text;
  WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, std::chrono::seconds(1));
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

COLORREF ScreenPixel(POINT p) {
  const HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
}

COLORREF PixelWhenDrawn(POINT p, COLORREF expected) {
  WaitUntil([&] { return ScreenPixel(p) == expected; });
  return ScreenPixel(p);
}

void Pump(std::chrono::milliseconds duration) {
  TheReceiver();
  const auto until = std::chrono::steady_clock::now() + duration;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (std::chrono::steady_clock::now() < until);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto until = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= until) return false;
    Pump(std::chrono::milliseconds(25));
  }
  return true;
}

std::string DueDate(int daysFromToday) {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return FormatDueDate(AddDays(Date{st.wYear, st.wMonth, st.wDay}, daysFromToday));
}

std::string TaskLine(int days, bool done, const std::string& text, const std::string& attachment,
                     const std::string& flags) {
  return DueDate(days) + ",20240101101010100," + (done ? Sj("済") : Sj("　")) + ",|" + attachment + "|" + flags +
         "|," + Sj(text);
}

std::optional<std::string> IniValue(const std::string& ini, const std::string& section, const std::string& key) {
  std::string current;
  std::size_t pos = 0;
  while (pos < ini.size()) {
    std::size_t end = ini.find('\n', pos);
    if (end == std::string::npos) end = ini.size();
    std::string line = ini.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pos = end + 1;
    if (!line.empty() && line.front() == '[') {
      current = line.substr(1, line.find(']') - 1);
    } else if (current == section && line.rfind(key + "=", 0) == 0) {
      return line.substr(key.size() + 1);
    }
  }
  return std::nullopt;
}

std::optional<std::string> IniValue(const Scratch& s, const std::string& section, const std::string& key) {
  return IniValue(s.Read(L"Lindqvale.ini").value_or(""), section, key);
}

std::string FileOf(std::initializer_list<std::string> lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

HWND ForeignWindow() {
  static HWND w = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LqE2eForeign";
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"LqE2eForeign", L"other", WS_POPUP | WS_VISIBLE, 0, 700, 100, 80, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }();
  return w;
}

Session::Session(const Scratch& s, bool foreground, bool automation) : program(s, automation) {
  EXPECT_TRUE(program.Start());
  window = program.WaitForWindow();
  EXPECT_NE(window, nullptr) << "the main window did not come up";
  SetFenceWindow(window);
  if (foreground) {
    Foreground(window);
  } else if (window) {
    // What is checked must last beyond the first frame: what the first showing posted is done.
    EXPECT_TRUE(program.Handled());
  }
}

void App::TearDown() {
  if (session && session->program.Running() && !HasFatalFailure()) session->CloseAndWait();
}

Session& App::Start(bool foreground, bool automation) {
  session.reset();
  return session.emplace(s, foreground, automation);
}

void App::Close() {
  ASSERT_TRUE(session.has_value());
  session->CloseAndWait();
}

void App::NextCase() {
  if (session && session->program.Running()) session->CloseAndWait();
  session.reset();
  s.Renew();
}

void App::Tasks(const std::vector<std::string>& lines) const {
  std::string file = kHeader32 + "\r\n";
  for (const auto& l : lines) file += l + "\r\n";
  s.Write(L"Lindqvale.csv", file);
}

void Session::CloseAndWait() {
  program.Close();
  ASSERT_TRUE(program.WaitForExit().has_value()) << "the program did not end after the close";
}

bool Session::ToViewMode() const {
  Foreground(ForeignWindow());
  return WaitUntil([&] { return program.Query(automation::kEditMode) == 0; });
}

LRESULT Session::Editors() const { return program.Query(automation::kEditors); }
int Session::Current() const { return static_cast<int>(program.Query(automation::kCurrentRow)); }

void Session::SetClockTo(int hour, int minute, int second, int ms) const {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  const long long now = ((st.wHour * 60LL + st.wMinute) * 60 + st.wSecond) * 1000 + st.wMilliseconds;
  const long long target = ((hour * 60LL + minute) * 60 + second) * 1000 + ms;
  program.Query(automation::kSetClockOffset, 0, static_cast<LPARAM>(target - now));
}

std::string Sj(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int wn = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(wn), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), wn);
  const int n = WideCharToMultiByte(932, 0, w.data(), wn, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(932, 0, w.data(), wn, out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Wide(std::string_view cp932) {
  if (cp932.empty()) return {};
  const int n = MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), w.data(), n);
  return w;
}

void DropFiles(const Program& p, POINT screen, const std::vector<std::wstring>& paths) {
  EXPECT_TRUE(SendDropFiles(p, screen, paths));
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

Date Today() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return Date{st.wYear, st.wMonth, st.wDay};
}

void TrayMouse(HWND window, UINT mouse) { PostMessageW(window, WM_USER + 100, 1, mouse); }

void ChooseFromTray(HWND window, Command c) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(MenuItemId(MenuKind::Tray, c), 0), 0);
}

HWND OpenFromTray(const Session& r, Command c, const wchar_t* caption) {
  ChooseFromTray(r.window, c);
  HWND dialog = nullptr;
  WaitUntil([&] { return (dialog = VisibleDialog(r.program, caption)) != nullptr; }, std::chrono::seconds(10));
  return dialog;
}

std::filesystem::path FakeAlarm() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path() / L"lq_fake_alarm.exe";
}

std::filesystem::path FakeOutlook() {
  return std::filesystem::absolute(gProgram).parent_path().parent_path().parent_path() / L"tests" / L"windows" /
         kFakeOutlookExe;
}

}  // namespace lq::e2e
