#include "mainwindow/editors.h"

#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <exception>

#include "platform/inputmethod.h"
#include "platform/window.h"
#include "store/paste.h"

namespace lq::win {
namespace {

constexpr int kTextEditorControlId = 300;
constexpr int kDatePickerControlId = 301;

bool Down(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

std::wstring ClipboardText(HWND owner) {
  std::wstring clip;
  if (!::OpenClipboard(owner)) return clip;
  if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(::GlobalLock(data))) {
      clip = p;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return clip;
}

}  // namespace

void InPlaceEditors::Create(HWND parent, Callbacks callbacks) {
  cb_ = std::move(callbacks);
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  edtToDoText = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL | ES_LEFT, 0, 0, 10, 10, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextEditorControlId)), instance,
                                  nullptr);
  parent_ = parent;
  ::SetWindowSubclass(edtToDoText, &InPlaceEditors::TextProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void InPlaceEditors::EnsureDate() {
  if (cmbDate) return;
  cmbDate = ::CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", WS_CHILD | DTS_SHORTDATEFORMAT, 0, 0, 10, 10, parent_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kDatePickerControlId)),
                              ::GetModuleHandleW(nullptr), nullptr);
  // Typed text is not parsed in the picker, so the input method has nothing to do there.
  ::ImmAssociateContextEx(cmbDate, nullptr, 0);
  ::SetWindowSubclass(cmbDate, &InPlaceEditors::DateProc, 2, reinterpret_cast<DWORD_PTR>(this));
  if (font_) ::SendMessageW(cmbDate, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  if (cb_.dateMade) cb_.dateMade(cmbDate);
}

bool InPlaceEditors::Focused() const {
  const HWND focus = ::GetFocus();
  return focus && (focus == edtToDoText || focus == cmbDate || ::IsChild(cmbDate, focus));
}

void InPlaceEditors::SetFont(HFONT font, bool redraw) {
  // The picker takes the font and the text editor copies it, so both always match.
  font_ = font;
  if (cmbDate) ::SendMessageW(cmbDate, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
  ::SendMessageW(edtToDoText, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

void InPlaceEditors::HideText() {
  const Quiet quiet(*this);
  ::ShowWindow(edtToDoText, SW_HIDE);
}

void InPlaceEditors::HideDate() {
  const Quiet quiet(*this);
  ::ShowWindow(cmbDate, SW_HIDE);
}

void InPlaceEditors::HideBoth(HWND list) {
  // The focus stays in the list instead of falling to the panel.
  const Quiet quiet(*this);
  if (Focused() && ::IsWindowVisible(list)) ::SetFocus(list);
  ::ShowWindow(edtToDoText, SW_HIDE);
  ::ShowWindow(cmbDate, SW_HIDE);
}

void InPlaceEditors::LoadText(const std::wstring& text) {
  settingText_ = true;
  ::SetWindowTextW(edtToDoText, text.c_str());
  settingText_ = false;
}

void InPlaceEditors::LoadText(const std::wstring& text, HFONT font) {
  typed_ = false;
  if (font == font_ && static_cast<std::size_t>(::GetWindowTextLengthW(edtToDoText)) == text.size() &&
      Text() == text) {
    ::SendMessageW(edtToDoText, EM_SETSEL, 0, 0);
    // Scrolled along its text, the control would be scrolled back a character at a time, and
    // past 32,767 pixels it loses count: only a control that shows its start is kept.
    if (::SendMessageW(edtToDoText, EM_GETFIRSTVISIBLELINE, 0, 0) == 0) {
      ::SendMessageW(edtToDoText, EM_EMPTYUNDOBUFFER, 0, 0);
      ::SendMessageW(edtToDoText, EM_SETMODIFY, FALSE, 0);
      return;
    }
  }
  // A new font makes the control lay its whole text out again: empty it first.
  LoadText(L"");
  SetFont(font, true);
  LoadText(text);
}

std::wstring InPlaceEditors::Text() const {
  const int length = ::GetWindowTextLengthW(edtToDoText);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(edtToDoText, text.data(), length + 1)));
  return text;
}

void InPlaceEditors::ReplaceText(const std::wstring& text, std::size_t caret) {
  LoadText(text);
  const auto at = static_cast<LPARAM>(std::min(caret, text.size()));
  ::SendMessageW(edtToDoText, EM_SETSEL, static_cast<WPARAM>(at), at);
}

std::size_t InPlaceEditors::Caret() const {
  DWORD end = 0;
  ::SendMessageW(edtToDoText, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
  return end;
}

void InPlaceEditors::SelectAllText() { ::SendMessageW(edtToDoText, EM_SETSEL, 0, -1); }

void InPlaceEditors::ShowTextAt(const Rect& r, bool focus) {
  ::SetWindowPos(edtToDoText, HWND_TOP, r.left, r.top, r.Width(), r.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  if (focus) ::SetFocus(edtToDoText);
}

void InPlaceEditors::PasteClipboard(std::size_t maxCharacters) {
  const std::wstring clip = ClipboardText(edtToDoText);
  if (clip.empty()) return;
  const std::wstring text = Text();
  DWORD start = 0;
  DWORD end = 0;
  ::SendMessageW(edtToDoText, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  end = std::min<DWORD>(end, static_cast<DWORD>(text.size()));
  start = std::min(start, end);
  const std::wstring_view all(text);
  const std::wstring pasted = PastedText(std::wstring_view(clip), CharacterCount(all),
                                         CharacterCount(all.substr(start, end - start)), maxCharacters);
  ::SendMessageW(edtToDoText, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
}

void InPlaceEditors::SetDate(Date d) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(d.year);
  st.wMonth = static_cast<WORD>(d.month);
  st.wDay = static_cast<WORD>(d.day);
  st.wDayOfWeek = static_cast<WORD>(DayOfWeek(d));
  EnsureDate();
  ::SendMessageW(cmbDate, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

std::optional<Date> InPlaceEditors::PickedDate() const {
  SYSTEMTIME st{};
  if (!cmbDate) return std::nullopt;
  if (::SendMessageW(cmbDate, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) return std::nullopt;
  return Date{st.wYear, st.wMonth, st.wDay};
}

void InPlaceEditors::ShowDateAt(const Rect& r) {
  EnsureDate();
  ::SetWindowPos(cmbDate, HWND_TOP, r.left, r.top, r.Width(), r.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  ::SetFocus(cmbDate);
}

bool InPlaceEditors::OnCommand(HWND control, WORD code) {
  if (control != edtToDoText) return false;
  if (code == EN_CHANGE && !settingText_ && cb_.textChanged) cb_.textChanged();
  return true;
}

bool InPlaceEditors::OnNotify(const NMHDR& hdr) {
  if (!cmbDate || hdr.hwndFrom != cmbDate) return false;
  if (hdr.code == DTN_DATETIMECHANGE && cb_.dateChanged) cb_.dateChanged();
  if (hdr.code == DTN_DROPDOWN) dateDropped_ = true;
  if (hdr.code == DTN_CLOSEUP) dateDropped_ = false;
  return true;
}

void InPlaceEditors::PlaceComposition() {
  // Japanese conversion happens in the cell, at the caret, in the editor's font.
  const HIMC imc = ::ImmGetContext(edtToDoText);
  if (!imc) return;
  POINT caret{};
  ::GetCaretPos(&caret);
  COMPOSITIONFORM form{};
  form.dwStyle = CFS_POINT;
  form.ptCurrentPos = caret;
  ::ImmSetCompositionWindow(imc, &form);
  LOGFONTW lf{};
  if (const auto font = reinterpret_cast<HFONT>(::SendMessageW(edtToDoText, WM_GETFONT, 0, 0))) {
    ::GetObjectW(font, sizeof lf, &lf);
    ::ImmSetCompositionFontW(imc, &lf);
  }
  ::ImmReleaseContext(edtToDoText, imc);
}

LRESULT InPlaceEditors::OnTextMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_KEYDOWN:
      if (wParam == VK_INSERT && Down(VK_SHIFT) && !Down(VK_CONTROL)) {
        // Some edit controls paste Shift+Insert without WM_PASTE; every paste goes through ours.
        ::SendMessageW(hwnd, WM_PASTE, 0, 0);
        return 0;
      }
      if (cb_.textKeyDown && cb_.textKeyDown(wParam)) return 0;
      break;
    case WM_PASTE:
      PasteClipboard(kMaxTaskTextCharacters);
      return 0;
    case WM_CHAR:
      if (wParam == 0x16) {  // Ctrl+V
        ::SendMessageW(hwnd, WM_PASTE, 0, 0);
        return 0;
      }
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {  // Escape keeps the text: there is no undo
        if (cb_.leave) cb_.leave();
        return 0;
      }
      break;
    case WM_SETFOCUS: {
      const LRESULT r = ::DefSubclassProc(hwnd, msg, wParam, lParam);
      if (cb_.imeOnFocus && cb_.imeOnFocus()) {
        OpenHiraganaInput(hwnd);
      }
      return r;
    }
    case WM_KILLFOCUS: {
      const LRESULT r = ::DefSubclassProc(hwnd, msg, wParam, lParam);
      if (!quiet_ && TextOpen() && cb_.textExit) cb_.textExit();
      return r;
    }
    case WM_IME_STARTCOMPOSITION:
      PlaceComposition();
      break;
    case WM_MOUSEWHEEL:
      // Not ours: the window gives the list the focus and the wheel.
      if (cb_.wheel) cb_.wheel(msg, wParam, lParam);
      return 0;
    default:
      break;
  }
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT InPlaceEditors::OnDateMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        if (cb_.leave) cb_.leave();
        return 0;
      }
      if ((wParam == VK_UP || wParam == VK_DOWN) && cb_.dateCursorTurn && cb_.dateCursorTurn()) {
        return ::DefSubclassProc(hwnd, msg, wParam == VK_UP ? VK_DOWN : VK_UP, lParam);
      }
      break;
    case WM_CHAR:
      if (wParam == VK_RETURN) {
        if (cb_.leave) cb_.leave();
        return 0;
      }
      if (wParam == VK_ESCAPE) return 0;
      break;
    case WM_KILLFOCUS: {
      const LRESULT r = ::DefSubclassProc(hwnd, msg, wParam, lParam);
      // The drop-down calendar takes the focus while it is open; that is still the picker.
      const auto to = reinterpret_cast<HWND>(wParam);
      const HWND calendar = reinterpret_cast<HWND>(::SendMessageW(hwnd, DTM_GETMONTHCAL, 0, 0));
      const bool toCalendar = calendar && to && (to == calendar || ::IsChild(calendar, to));
      if (!quiet_ && !dateDropped_ && !toCalendar && cb_.dateExit) cb_.dateExit();
      return r;
    }
    case WM_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_MOUSEWHEEL:
      if (cb_.wheel) cb_.wheel(msg, wParam, lParam);
      return 0;
    default:
      break;
  }
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK InPlaceEditors::TextProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR self) {
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &InPlaceEditors::TextProc, id);
  return Guarded(
      "text editor", [&] { return reinterpret_cast<InPlaceEditors*>(self)->OnTextMessage(hwnd, msg, wParam, lParam); },
      [&] { return ::DefSubclassProc(hwnd, msg, wParam, lParam); });
}

LRESULT CALLBACK InPlaceEditors::DateProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR self) {
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &InPlaceEditors::DateProc, id);
  return Guarded(
      "date picker", [&] { return reinterpret_cast<InPlaceEditors*>(self)->OnDateMessage(hwnd, msg, wParam, lParam); },
      [&] { return ::DefSubclassProc(hwnd, msg, wParam, lParam); });
}

bool InPlaceEditors::UndoOwnTyping() {
  if (!typed_ || !::SendMessageW(edtToDoText, EM_CANUNDO, 0, 0)) return false;
  ::SendMessageW(edtToDoText, EM_UNDO, 0, 0);
  typed_ = false;
  return true;
}

std::optional<LRESULT> InPlaceEditors::OnCtlColorEdit(HWND control, HDC dc) const {
  if (!edtToDoText || control != edtToDoText) return std::nullopt;
  ::SetTextColor(dc, RGB(0, 0, 0));
  ::SetBkColor(dc, RGB(255, 255, 255));
  return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
}

}  // namespace lq::win
