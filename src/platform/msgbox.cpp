#include "platform/msgbox.h"

namespace lq::win {
namespace {

thread_local HHOOK gHook = nullptr;
thread_local WNDPROC gBoxProc = nullptr;
thread_local bool gYesNo = false;

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (gYesNo) {
    // Escape reaches the box as IDCANCEL, which a yes-or-no box would ignore.
    if (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL && lParam == 0) {
      ::EndDialog(hwnd, IDNO);
      return 0;
    }
    if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
      ::EndDialog(hwnd, IDCANCEL);
      return 0;
    }
  }
  return ::CallWindowProcW(gBoxProc, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    const HWND box = reinterpret_cast<HWND>(wParam);
    wchar_t cls[16] = {};
    ::GetClassNameW(box, cls, 16);
    if (lstrcmpW(cls, L"#32770") == 0) {
      ::SetDlgItemTextW(box, IDYES, L"\u306F\u3044(&Y)");          // はい(&Y)
      ::SetDlgItemTextW(box, IDNO, L"\u3044\u3044\u3048(&N)");     // いいえ(&N)
      ::SetDlgItemTextW(box, IDOK, L"OK");
      if (gYesNo) {
        ::EnableMenuItem(::GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
        gBoxProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BoxProc)));
      }
      ::UnhookWindowsHookEx(gHook);
      gHook = nullptr;
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int ShowBox(HWND owner, BoxKind kind, const std::wstring& text) {
  const wchar_t* caption = L"";
  UINT type = MB_OK;
  switch (kind) {
    case BoxKind::Information:
      caption = L"\u60C5\u5831";  // 情報
      type = MB_OK | MB_ICONINFORMATION;
      break;
    case BoxKind::Warning:
      caption = L"\u8B66\u544A";  // 警告
      type = MB_OK | MB_ICONWARNING;
      break;
    case BoxKind::WarningYesNo:
      caption = L"\u8B66\u544A";  // 警告
      type = MB_YESNO | MB_ICONWARNING;
      break;
    case BoxKind::Error:
      caption = L"\u30A8\u30E9\u30FC";  // エラー
      type = MB_OK | MB_ICONERROR;
      break;
    case BoxKind::Confirmation:
      caption = L"\u78BA\u8A8D";  // 確認
      type = MB_YESNO | MB_ICONQUESTION;
      break;
  }
  const bool savedYesNo = gYesNo;
  const WNDPROC savedProc = gBoxProc;
  gYesNo = (type & MB_TYPEMASK) == MB_YESNO;
  gHook = ::SetWindowsHookExW(WH_CBT, &CbtProc, nullptr, ::GetCurrentThreadId());
  const int result = ::MessageBoxW(owner, text.c_str(), caption, type | MB_SETFOREGROUND);
  if (gHook) {
    ::UnhookWindowsHookEx(gHook);
    gHook = nullptr;
  }
  gYesNo = savedYesNo;
  gBoxProc = savedProc;
  return result;
}

}  // namespace lq::win
