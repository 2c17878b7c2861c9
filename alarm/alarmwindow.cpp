#include "alarm/alarmwindow.h"

#include <shellapi.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "alarm/automation.h"
#include "geometry/cascade.h"
#include "platform/clock.h"
#include "store/snooze.h"

namespace lq::alarm {
namespace {

// Layout at 96 DPI; every pixel goes through Scale.
constexpr int kClientWidth = 360;
constexpr int kMargin = 16;
constexpr int kIconSize = 32;
constexpr int kIconGap = 14;  // between the bell and the texts
constexpr int kTimeFontHeight = 36;
constexpr int kTextFontHeight = 16;
constexpr int kButtonFontHeight = 12;
constexpr int kTimeToText = 4;
constexpr int kMaxTextLines = 8;
constexpr int kMaxListLines = 16;  // several alarms: a line each, a long text may take two
constexpr int kNoteToText = 6;
constexpr int kFooterHeight = 44;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr int kButtonRightMargin = 12;
constexpr int kButtonLeftMargin = 12;
constexpr int kChoiceWidth = 80;
constexpr int kChoiceToButton = 6;
constexpr int kChoiceListHeight = 160;  // the drop-down's open list
constexpr int kCascadeStep = 24;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// Above every window and off the taskbar; the alarm is found by its place and its flashing.
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;

constexpr COLORREF kTimeColor = RGB(0x00, 0x33, 0x99);  // the blue of a task dialog's headline
constexpr COLORREF kNoteColor = RGB(0xB0, 0x30, 0x00);  // late: the red of a warning, not of an error
constexpr const wchar_t* kUiFace = L"ＭＳ Ｐゴシック";
constexpr const wchar_t* kStopCaption = L"停止";

constexpr UINT_PTR kSnoozeTimer = AlarmSound::kRepeatTimer + 1;
constexpr UINT kTrayIconId = 1;

std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

win::Font MakeFont(const std::wstring& face, int pixelHeight, int weight);

// ＭＳ Ｐゴシック where Windows has it, installed or as a substitute for another face (the font
// mapper then keeps the name); otherwise the face of the system's message font, which on every
// Windows shows Japanese through font linking.
std::wstring UiFaceName() {
  bool available = false;
  const win::Font probe = MakeFont(kUiFace, 16, FW_NORMAL);
  if (probe) {
    const win::WindowDc dc(nullptr);
    win::SelectGuard selected(dc, probe.Get());
    wchar_t face[LF_FACESIZE] = {};
    available = ::GetTextFaceW(dc, LF_FACESIZE, face) > 0 && ::lstrcmpiW(face, kUiFace) == 0;
  }
  if (available) return kUiFace;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return metrics.lfMessageFont.lfFaceName;
  }
  return kUiFace;
}

win::Font MakeFont(const std::wstring& face, int pixelHeight, int weight) {
  return win::Font(::CreateFontW(-pixelHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

struct OtherAlarms {
  HWND self;
  std::vector<Point> corners;
};

BOOL CALLBACK CollectAlarm(HWND hwnd, LPARAM lParam) {
  auto* others = reinterpret_cast<OtherAlarms*>(lParam);
  wchar_t cls[64] = {};
  if (hwnd == others->self || !::IsWindowVisible(hwnd) || !::GetClassNameW(hwnd, cls, 64) ||
      ::lstrcmpW(cls, kClassName) != 0) {
    return TRUE;
  }
  RECT rc{};
  if (::GetWindowRect(hwnd, &rc)) others->corners.push_back(Point{rc.left, rc.top});
  return TRUE;
}

HWND MakeChild(HWND parent, const wchar_t* cls, const std::wstring& text, DWORD style, int id) {
  return ::CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

bool AlarmWindow::Create() {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  bell_ = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, Scale(kIconSize),
                                          Scale(kIconSize), LR_SHARED));
  if (!RegisterClass(kClassName, 0, nullptr, ::LoadCursorW(nullptr, IDC_ARROW), bell_)) return false;
  const HWND hwnd = ::CreateWindowExW(kExStyle, kClassName, Wide(alarm_.caption).c_str(), kStyle, 0, 0,
                                      Scale(kClientWidth), Scale(200), nullptr, nullptr, instance, this);
  if (!hwnd) return false;
  smallBell_ = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));
  if (smallBell_) ::SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallBell_));
  ::SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bell_));
  CreateFonts();
  CreateControls();
  ApplyFonts();
  Layout();
  return true;
}

void AlarmWindow::CreateFonts() {
  const std::wstring face = UiFaceName();
  timeFont_ = MakeFont(face, Scale(kTimeFontHeight), FW_BOLD);
  textFont_ = MakeFont(face, Scale(kTextFontHeight), FW_NORMAL);
  buttonFont_ = MakeFont(face, Scale(kButtonFontHeight), FW_NORMAL);
}

void AlarmWindow::ApplyFonts() {
  const std::pair<HWND, HFONT> fonts[] = {
      {timeLabel_, timeFont_.Get()},      {textLabel_, textFont_.Get()},        {noteLabel_, textFont_.Get()},
      {stopButton_, buttonFont_.Get()},   {snoozeChoice_, buttonFont_.Get()},  {snoozeButton_, buttonFont_.Get()},
  };
  for (const auto& [control, font] : fonts) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void AlarmWindow::CreateControls() {
  const HWND hwnd = Handle();
  timeLabel_ = MakeChild(hwnd, L"STATIC", Wide(alarm_.time), SS_LEFT | SS_NOPREFIX, kTimeLabelId);
  // SS_EDITCONTROL breaks a long run without blanks (an address, a row of letters) as well.
  textLabel_ = MakeChild(hwnd, L"STATIC", Wide(alarm_.text), SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, kTextLabelId);
  noteLabel_ = MakeChild(hwnd, L"STATIC", Wide(note_), SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, kNoteLabelId);
  if (note_.empty()) ::ShowWindow(noteLabel_, SW_HIDE);
  // The tab order runs from 停止, which has the focus, on to the snooze choice and its button.
  stopButton_ = MakeChild(hwnd, L"BUTTON", kStopCaption, BS_DEFPUSHBUTTON | WS_TABSTOP, kStopButtonId);
  snoozeChoice_ = MakeChild(hwnd, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kSnoozeChoiceId);
  for (const SnoozeChoice& choice : kSnoozeChoices) {
    ::SendMessageW(snoozeChoice_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(choice.label).c_str()));
  }
  ::SendMessageW(snoozeChoice_, CB_SETCURSEL, 0, 0);
  snoozeButton_ = MakeChild(hwnd, L"BUTTON", Wide(kSnoozeButtonCaption), BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP,
                            kSnoozeButtonId);
}

void AlarmWindow::Layout() {
  const HWND hwnd = Handle();
  const int width = Scale(kClientWidth);
  const int textLeft = Scale(kMargin + kIconSize + kIconGap);
  const int textWidth = width - textLeft - Scale(kMargin);

  int timeHeight = Scale(kTimeFontHeight);
  int lineHeight = Scale(kTextFontHeight);
  int textHeight = lineHeight;
  int noteHeight = 0;
  const int maxLines = alarm_.alarms.size() > 1 ? kMaxListLines : kMaxTextLines;
  if (const win::WindowDc dc(hwnd); dc.Get()) {
    TEXTMETRICW tm{};
    {
      win::SelectGuard font(dc, timeFont_.Get());
      if (::GetTextMetricsW(dc, &tm)) timeHeight = tm.tmHeight;
    }
    win::SelectGuard font(dc, textFont_.Get());
    if (::GetTextMetricsW(dc, &tm)) lineHeight = tm.tmHeight;
    const std::wstring text = Wide(alarm_.text);
    RECT measure{0, 0, textWidth, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure,
                DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    textHeight = std::clamp(static_cast<int>(measure.bottom - measure.top), lineHeight, lineHeight * maxLines);
    if (!note_.empty()) {
      const std::wstring note = Wide(note_);
      RECT noteMeasure{0, 0, textWidth, 0};
      ::DrawTextW(dc, note.c_str(), static_cast<int>(note.size()), &noteMeasure,
                  DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
      noteHeight = std::clamp(static_cast<int>(noteMeasure.bottom - noteMeasure.top), lineHeight, lineHeight * 2);
    }
  }

  const int timeTop = Scale(kMargin);
  const int noteTop = timeTop + timeHeight + Scale(kTimeToText);
  const int textTop = noteTop + (noteHeight > 0 ? noteHeight + Scale(kNoteToText) : 0);
  const int iconTop = timeTop + (timeHeight - Scale(kIconSize)) / 2;
  footerTop_ = std::max(textTop + textHeight, iconTop + Scale(kIconSize)) + Scale(kMargin);
  const int height = footerTop_ + Scale(kFooterHeight);

  ::MoveWindow(timeLabel_, textLeft, timeTop, textWidth, timeHeight, FALSE);
  ::MoveWindow(noteLabel_, textLeft, noteTop, textWidth, noteHeight, FALSE);
  ::MoveWindow(textLabel_, textLeft, textTop, textWidth, textHeight, FALSE);
  const int buttonTop = footerTop_ + (Scale(kFooterHeight) - Scale(kButtonHeight)) / 2;
  ::MoveWindow(stopButton_, width - Scale(kButtonRightMargin + kButtonWidth), buttonTop, Scale(kButtonWidth),
               Scale(kButtonHeight), FALSE);
  // The drop-down's closed height follows its font: centred on the buttons' line.
  ::MoveWindow(snoozeChoice_, Scale(kButtonLeftMargin), buttonTop, Scale(kChoiceWidth), Scale(kChoiceListHeight),
               FALSE);
  RECT closed{};
  ::GetWindowRect(snoozeChoice_, &closed);
  const int choiceTop = buttonTop + (Scale(kButtonHeight) - (closed.bottom - closed.top)) / 2;
  ::MoveWindow(snoozeChoice_, Scale(kButtonLeftMargin), choiceTop, Scale(kChoiceWidth), Scale(kChoiceListHeight),
               FALSE);
  ::MoveWindow(snoozeButton_, Scale(kButtonLeftMargin + kChoiceWidth + kChoiceToButton), buttonTop,
               Scale(kButtonWidth), Scale(kButtonHeight), FALSE);

  RECT frame{0, 0, width, height};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  ::SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AlarmWindow::Place() {
  const HWND hwnd = Handle();
  POINT cursor{};
  ::GetCursorPos(&cursor);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  if (::GetMonitorInfoW(::MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY), &monitor)) work = monitor.rcWork;

  OtherAlarms others{hwnd, {}};
  ::EnumWindows(&CollectAlarm, reinterpret_cast<LPARAM>(&others));
  RECT rc{};
  ::GetWindowRect(hwnd, &rc);
  const Point at = PlaceAlarmWindow(Rect{work.left, work.top, work.right, work.bottom}, rc.right - rc.left,
                                    rc.bottom - rc.top, Scale(kCascadeStep), others.corners);
  ::SetWindowPos(hwnd, HWND_TOPMOST, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void AlarmWindow::ShowAndAttract() {
  const HWND hwnd = Handle();
  Place();
  ::ShowWindow(hwnd, SW_SHOWNORMAL);
  ::UpdateWindow(hwnd);
  ::SetForegroundWindow(hwnd);
  ::SetFocus(stopButton_);
  if (::GetForegroundWindow() != hwnd) {
    FLASHWINFO flash{};
    flash.cbSize = sizeof flash;
    flash.hwnd = hwnd;
    flash.dwFlags = FLASHW_ALL | FLASHW_TIMERNOFG;  // until the user comes to the window
    ::FlashWindowEx(&flash);
  }
}

void AlarmWindow::Ring(const SoundChoice& choice) {
  soundChoice_ = choice;
  sound_.Start(choice, Handle());
}

void AlarmWindow::Dismiss() {
  sound_.Stop();
  ::DestroyWindow(Handle());
}

void AlarmWindow::SetNote(const std::u16string& note, NoteKind kind) {
  note_ = note;
  noteKind_ = kind;
  ::SetWindowTextW(noteLabel_, Wide(note_).c_str());
  ::ShowWindow(noteLabel_, note_.empty() ? SW_HIDE : SW_SHOWNA);
  Layout();
  ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void AlarmWindow::Snooze() {
  const auto index = static_cast<long>(::SendMessageW(snoozeChoice_, CB_GETCURSEL, 0, 0));
  sound_.Stop();
  waiting_ = true;
  dueTick_ = ::GetTickCount64() + static_cast<std::uint64_t>(SnoozeMinutes(kSnoozeChoices, index)) *
                                      static_cast<std::uint64_t>(minuteMs_);
  ::ShowWindow(Handle(), SW_HIDE);
  UpdateWaitingTexts();
  if (!trayIcon_.Added()) {
    trayIcon_.Add(Handle(), kTrayIconId, kTrayCallback, smallBell_ ? smallBell_ : bell_,
                  Wide(SnoozeTip(alarm_, untilText_)));
  }
  CheckSnoozeNow();
}

void AlarmWindow::CheckSnoozeNow() {
  if (!waiting_) return;
  ::KillTimer(Handle(), kSnoozeTimer);
  const SnoozeCheck check = CheckSnooze(static_cast<std::int64_t>(::GetTickCount64()),
                                        static_cast<std::int64_t>(dueTick_), minuteMs_);
  if (check.due) {
    RingAgain(check.lateMinutes);
  } else {
    ::SetTimer(Handle(), kSnoozeTimer, static_cast<UINT>(check.waitMs), nullptr);
  }
}

void AlarmWindow::RingAgain(long lateMinutes) {
  waiting_ = false;
  ::KillTimer(Handle(), kSnoozeTimer);
  trayIcon_.Remove();
  SetNote(SnoozedDisplay(alarm_, lateMinutes).note, NoteKind::Late);
  ShowAndAttract();
  sound_.Start(soundChoice_, Handle());
}

// The time it rings again on the local clock, anew when the user sets the clock.
void AlarmWindow::UpdateWaitingTexts() {
  const std::uint64_t now = ::GetTickCount64();
  const std::int64_t remaining = dueTick_ > now ? static_cast<std::int64_t>(dueTick_ - now) : 0;
  untilText_ = SnoozeUntilText(win::LocalClock().Now(), remaining);
  trayIcon_.SetTip(Wide(SnoozeTip(alarm_, untilText_)));
  if (::IsWindowVisible(Handle())) SetNote(untilText_, NoteKind::Waiting);
}

void AlarmWindow::ShowWaiting() {
  if (!waiting_) return;
  const HWND hwnd = Handle();
  if (!::IsWindowVisible(hwnd)) {
    SetNote(untilText_, NoteKind::Waiting);
    Place();
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
  }
  ::SetForegroundWindow(hwnd);
  ::SetFocus(stopButton_);
}

void AlarmWindow::HideWaiting() {
  ::ShowWindow(Handle(), SW_HIDE);
}

void AlarmWindow::OnCommand(int id, int code) {
  if (id == kSnoozeButtonId && (code == BN_SETFOCUS || code == BN_KILLFOCUS)) {
    // Enter presses the focused スヌーズ (see DM_GETDEFID): it looks the part meanwhile.
    const bool focused = code == BN_SETFOCUS;
    ::SendMessageW(snoozeButton_, BM_SETSTYLE, focused ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    ::SendMessageW(stopButton_, BM_SETSTYLE, focused ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON, TRUE);
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case kStopButtonId:  // the button and Enter
      Dismiss();
      break;
    case IDCANCEL:  // Escape: silence a ringing alarm; a waiting snooze only goes out of sight
      if (waiting_) {
        HideWaiting();
      } else {
        Dismiss();
      }
      break;
    case kSnoozeButtonId:
      Snooze();
      break;
    default:
      break;
  }
}

void AlarmWindow::OnPaint() {
  PAINTSTRUCT ps;
  const HDC dc = ::BeginPaint(Handle(), &ps);
  RECT client{};
  ::GetClientRect(Handle(), &client);
  RECT content = client;
  content.bottom = footerTop_;
  ::FillRect(dc, &content, ::GetSysColorBrush(COLOR_WINDOW));
  RECT footer = client;
  footer.top = footerTop_;
  ::FillRect(dc, &footer, ::GetSysColorBrush(COLOR_BTNFACE));
  RECT line = footer;
  line.bottom = line.top + Scale(1);
  ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_3DLIGHT));
  if (bell_) {
    RECT timeRect{};
    ::GetWindowRect(timeLabel_, &timeRect);
    ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&timeRect), 2);
    const int top = timeRect.top + (timeRect.bottom - timeRect.top - Scale(kIconSize)) / 2;
    ::DrawIconEx(dc, Scale(kMargin), top, bell_, Scale(kIconSize), Scale(kIconSize), 0, nullptr, DI_NORMAL);
  }
  ::EndPaint(Handle(), &ps);
}

LRESULT AlarmWindow::OnCtlColorStatic(HDC dc, HWND control) {
  COLORREF color = ::GetSysColor(COLOR_WINDOWTEXT);
  if (control == timeLabel_) {
    color = alarm_.timeGiven ? kTimeColor : ::GetSysColor(COLOR_GRAYTEXT);
  } else if (control == textLabel_ && !alarm_.textGiven) {
    color = ::GetSysColor(COLOR_GRAYTEXT);
  } else if (control == noteLabel_) {
    color = noteKind_ == NoteKind::Waiting ? kTimeColor : kNoteColor;
  }
  ::SetTextColor(dc, color);
  ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
}

LRESULT AlarmWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_CTLCOLORSTATIC:
      return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case DM_GETDEFID:
      // Enter presses the focused スヌーズ button; everywhere else it stops.
      return MAKELRESULT(::GetFocus() == snoozeButton_ ? kSnoozeButtonId : kStopButtonId, DC_HASDEFID);
    case WM_SETFOCUS:
      if (stopButton_) ::SetFocus(stopButton_);
      return 0;
    case WM_CLOSE:
      OnCommand(IDCANCEL, BN_CLICKED);
      return 0;
    case WM_TIMER:
      if (wParam == AlarmSound::kRepeatTimer) sound_.OnRepeatTimer();
      if (wParam == kSnoozeTimer) CheckSnoozeNow();
      return 0;
    case WM_POWERBROADCAST:
      // Awake again: a snooze the computer slept through rings now, saying how late.
      if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) CheckSnoozeNow();
      return TRUE;
    case WM_TIMECHANGE:
      if (waiting_) UpdateWaitingTexts();
      CheckSnoozeNow();
      return 0;
    case kTrayCallback:
      switch (LOWORD(lParam)) {
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case NIN_SELECT:
        case NIN_KEYSELECT:
          ShowWaiting();
          break;
        default:
          break;
      }
      return 0;
    case WM_DPICHANGED: {
      // Another monitor's scale: fonts, bell and layout anew, at the place Windows suggests.
      const RECT& to = *reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(Handle(), nullptr, to.left, to.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      if (const auto bell = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                                            IMAGE_ICON, Scale(kIconSize), Scale(kIconSize),
                                                            LR_SHARED))) {
        bell_ = bell;
      }
      CreateFonts();
      ApplyFonts();
      Layout();
      ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      return 0;
    }
    case kQuerySound:
      return sound_.Source();
    case WM_DESTROY:
      sound_.Stop();
      waiting_ = false;
      ::KillTimer(Handle(), kSnoozeTimer);
      trayIcon_.Remove();
      ::PostQuitMessage(0);
      return 0;
    default:
      if (msg == win::TrayIcon::TaskbarMessage()) trayIcon_.Restore();  // Explorer started again
      return Default(msg, wParam, lParam);
  }
}

}  // namespace lq::alarm
