#include "dialogs/hint.h"

#include "geometry/hint.h"
#include "resource.h"

namespace lq::win {
namespace {

constexpr UINT_PTR kTmrShow = 1;
constexpr UINT_PTR kTmrHide = 2;
constexpr COLORREF kBackColour = RGB(0xD0, 0xD0, 0x90);
constexpr COLORREF kLabelColour = RGB(0xF0, 0xF0, 0xC0);

}  // namespace

TfrmHint::TfrmHint(const Settings& settings) : Dialog(IDD_HINT), settings_(settings) {}

void TfrmHint::Attach(HWND owner, HWND mainWindow) {
  owner_ = owner;
  main_ = mainWindow;
}

void TfrmHint::OnCreate() {
  HintAnchor = POINT{0, 0};
  back_.Reset(::CreateSolidBrush(kBackColour));
  labelBack_.Reset(::CreateSolidBrush(kLabelColour));
}

int TfrmHint::State() const {
  if (Visible()) return 2;
  return showPending_ ? 1 : 0;
}

void TfrmHint::PrepareHint(POINT screen, const std::wstring& text) {
  if (!Create(owner_)) return;
  const HWND label = Item(IDC_HINT_LBLHINT);
  SIZE size{};
  {
    const WindowDc dc(label);
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
  }
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST), &monitor);
  const Rect m{monitor.rcMonitor.left, monitor.rcMonitor.top, monitor.rcMonitor.right, monitor.rcMonitor.bottom};
  const Rect r = PlaceHint(Point{screen.x, screen.y}, size.cx, size.cy, m);
  ::SetWindowPos(Handle(), nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  ::MoveWindow(label, 1, 1, r.Width() - 2, r.Height() - 2, TRUE);
  HintAnchor = screen;
  ::SetWindowTextW(label, text.c_str());
  textEmpty_ = text.empty();
}

void TfrmHint::RestartHint() {
  if (!Created()) return;
  Hide();
  showPending_ = ::SetTimer(Handle(), kTmrShow, static_cast<UINT>(settings_.HintStart), nullptr) != 0;
}

void TfrmHint::CancelHint() {
  if (!Created()) return;
  if (Visible()) {
    Hide();  // FormHide stops both timers
  } else {
    StopTimers();
  }
}

void TfrmHint::ClearText() {
  if (!Created() || textEmpty_) return;
  ::SetDlgItemTextW(Handle(), IDC_HINT_LBLHINT, L"");
  textEmpty_ = true;
}

void TfrmHint::StopTimers() {
  ::KillTimer(Handle(), kTmrShow);
  ::KillTimer(Handle(), kTmrHide);
  showPending_ = false;
  hidePending_ = false;
}

bool TfrmHint::CursorAtAnchor() const {
  POINT p{};
  if (!::GetCursorPos(&p)) {
    // Unknown counts as the popup's own corner, which is not where the cursor rested.
    RECT rc{};
    ::GetWindowRect(Handle(), &rc);
    p = POINT{rc.left, rc.top};
  }
  return p.x == HintAnchor.x && p.y == HintAnchor.y;
}

void TfrmHint::tmrShowTimer() {
  ::KillTimer(Handle(), kTmrShow);
  showPending_ = false;
  // A disabled list has a modal dialog or message box in front of it.
  if (!CursorAtAnchor() || !main_ || !::IsWindowVisible(main_) || !::IsWindowEnabled(main_)) return;
  ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  hidePending_ = ::SetTimer(Handle(), kTmrHide, static_cast<UINT>(settings_.HintTerm), nullptr) != 0;
}

void TfrmHint::tmrHideTimer() {
  ::KillTimer(Handle(), kTmrHide);
  hidePending_ = false;
  Hide();
}

void TfrmHint::FormMouseMove() {
  if (!CursorAtAnchor()) Hide();
}

void TfrmHint::FormMouseDown() { Hide(); }

void TfrmHint::FormHide() { StopTimers(); }

void TfrmHint::FormPaint() {
  // A raised frame round the label.
  PAINTSTRUCT ps{};
  const HDC dc = ::BeginPaint(Handle(), &ps);
  RECT rc{};
  ::GetClientRect(Handle(), &rc);
  ::FillRect(dc, &rc, back_.Get());
  ::DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
  ::EndPaint(Handle(), &ps);
}

bool TfrmHint::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  switch (msg) {
    case WM_TIMER:
      if (wParam == kTmrShow) tmrShowTimer();
      if (wParam == kTmrHide) tmrHideTimer();
      break;
    case WM_MOUSEMOVE:
      FormMouseMove();
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      FormMouseDown();
      break;
    case WM_SHOWWINDOW:
      if (!wParam) FormHide();
      return false;
    case WM_MOUSEACTIVATE:
      *result = TRUE;
      ::SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, MA_NOACTIVATE);
      return true;
    case WM_PAINT:
      FormPaint();
      break;
    case WM_ERASEBKGND:
      *result = TRUE;
      ::SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, 1);
      return true;
    case WM_CTLCOLORSTATIC:
      ::SetBkColor(reinterpret_cast<HDC>(wParam), kLabelColour);
      ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
      *result = reinterpret_cast<INT_PTR>(labelBack_.Get());
      return true;
    default:
      (void)lParam;
      return false;
  }
  *result = TRUE;
  return true;
}

}  // namespace lq::win
