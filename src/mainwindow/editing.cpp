// The in-place editors: the text editor over the task text and the date picker over the due
// date, laid over the current row. Every change is written into the task at once.
#include "mainwindow/mainwindow.h"

#include <imm.h>

#include <algorithm>

#include "mainwindow/childwindows.h"
#include "platform/codepage.h"
#include "store/paste.h"
#include "store/text.h"

namespace lq::win {
namespace {

constexpr UINT_PTR kTextEditorId = 1;
constexpr UINT_PTR kDatePickerId = 2;
constexpr UINT_PTR kButtonId = 3;
constexpr std::size_t kMaxTextCharacters = 100;

SYSTEMTIME ToSystemTime(Date d) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(d.year);
  st.wMonth = static_cast<WORD>(d.month);
  st.wDay = static_cast<WORD>(d.day);
  st.wDayOfWeek = static_cast<WORD>(DayOfWeek(d));
  return st;
}

}  // namespace

void TfrmToDo::CreateEditors() {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  edtToDoText = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL | ES_LEFT, 0, 0, 10, 10, pnlBase->Handle(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(300)), instance, nullptr);
  cmbDate = ::CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", WS_CHILD | DTS_SHORTDATEFORMAT, 0, 0, 10, 10,
                              pnlBase->Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(301)), instance, nullptr);
  // Typed text is not parsed in the picker, so the input method has nothing to do there.
  ::ImmAssociateContextEx(cmbDate, nullptr, 0);
  ::SetWindowSubclass(edtToDoText, &TfrmToDo::EditorProc, kTextEditorId, reinterpret_cast<DWORD_PTR>(this));
  ::SetWindowSubclass(cmbDate, &TfrmToDo::EditorProc, kDatePickerId, reinterpret_cast<DWORD_PTR>(this));
  for (const HWND b : {btnAdd, btnDel, btnPopAttach, btnPopEdit, btnMenu}) {
    ::SetWindowSubclass(b, &TfrmToDo::EditorProc, kButtonId, reinterpret_cast<DWORD_PTR>(this));
  }
}

bool TfrmToDo::TextEditorOpen() const { return ::IsWindowVisible(edtToDoText) != FALSE; }
bool TfrmToDo::DatePickerOpen() const { return ::IsWindowVisible(cmbDate) != FALSE; }

HFONT TfrmToDo::ApplyRowFont(std::int32_t d) {
  UrgencyClass cls = UrgencyClass::Preview3;
  if (d < 0) cls = UrgencyClass::Expiration;
  else if (d == 0) cls = UrgencyClass::Deadline;
  else if (d <= 3) cls = UrgencyClass::Preview1;
  else if (d <= 7) cls = UrgencyClass::Preview2;
  else if (d == kNotANumber) cls = UrgencyClass::Done;
  const HFONT font = FontFor(settings_.Class(cls), d == 0);
  // The picker takes the font and the text editor copies it, so both always match.
  ::SendMessageW(cmbDate, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  ::SendMessageW(edtToDoText, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  return font;
}

void TfrmToDo::HideEditors() {
  // Hidden on purpose: the editors' exit handling does not run, and the focus stays in the
  // list instead of falling to the panel.
  FlagScope quiet(editorsQuiet_);
  const HWND focus = ::GetFocus();
  if ((focus == edtToDoText || focus == cmbDate) && ::IsWindowVisible(gridToDo->Handle())) {
    ::SetFocus(gridToDo->Handle());
  }
  ::ShowWindow(edtToDoText, SW_HIDE);
  ::ShowWindow(cmbDate, SW_HIDE);
}

void TfrmToDo::CloseEditors() {
  // The row an open editor writes to is about to leave it, so it closes first, as when it
  // loses the focus: the text editor's exit sorts the list.
  if (!TextEditorOpen() && !DatePickerOpen()) return;
  const HWND focus = ::GetFocus();
  if ((focus == edtToDoText || focus == cmbDate) && ::IsWindowVisible(gridToDo->Handle())) {
    ::SetFocus(gridToDo->Handle());
  }
  if (TextEditorOpen()) edtToDoTextExit();
  HideEditors();
}

void TfrmToDo::OpenDatePicker() {
  {
    FlagScope quiet(editorsQuiet_);
    ::ShowWindow(edtToDoText, SW_HIDE);
  }
  const int row = list_.CurrentRow();
  editorRow_ = row;
  ApplyRowFont(DaysValue(list_.Table().Cell(colDaysLeft, row)));
  if (const auto date = ParseDateText(list_.Table().Cell(colDueDate, row))) {
    SYSTEMTIME st = ToSystemTime(*date);
    ::SendMessageW(cmbDate, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  }
  const RECT cell = gridToDo->CellRect(colDueDate, row);
  const POINT origin = GridOrigin();
  ::SetWindowPos(cmbDate, HWND_TOP, origin.x + cell.left, origin.y + cell.top, cell.right - cell.left,
                 cell.bottom - cell.top + 2, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  ::SetFocus(cmbDate);
}

void TfrmToDo::LoadTextEditor() {
  {
    FlagScope quiet(editorsQuiet_);
    ::ShowWindow(cmbDate, SW_HIDE);
  }
  const int row = list_.CurrentRow();
  editorRow_ = row;
  ApplyRowFont(DaysValue(list_.Table().Cell(colDaysLeft, row)));
  settingEditorText_ = true;
  ::SetWindowTextW(edtToDoText, FromCp932(list_.Table().Cell(colText, row)).c_str());
  settingEditorText_ = false;
}

void TfrmToDo::ShowTextEditor() {
  const int row = list_.CurrentRow();
  const RECT cell = gridToDo->CellRect(colText, row);
  const POINT origin = GridOrigin();
  const int w = cell.right - cell.left;
  const int h = cell.bottom - cell.top;
  if (!list_.Table().Cell(colAttachment, row).empty()) {
    // Beside the attachment mark, where the text begins.
    ::SetWindowPos(edtToDoText, HWND_TOP, origin.x - 2 + cell.left + rowHeight_ + 6, origin.y + cell.top,
                   w - rowHeight_ - 4, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  } else {
    ::SetWindowPos(edtToDoText, HWND_TOP, origin.x + cell.left, origin.y + cell.top, w, h,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE);
  }
  if (!HoverHidden) ::SetFocus(edtToDoText);
}

void TfrmToDo::OpenTextEditor() { ActAsClickOnCurrentRow(colText); }

void TfrmToDo::CloseTextEditor() {
  ::ShowWindow(edtToDoText, SW_HIDE);  // losing the focus sorts (edtToDoTextExit)
  if (::IsWindowVisible(gridToDo->Handle())) ::SetFocus(gridToDo->Handle());
}

void TfrmToDo::edtToDoTextChange() {
  const int row = editorRow_;
  if (!list_.Table().IsTask(row)) return;
  const int length = ::GetWindowTextLengthW(edtToDoText);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(edtToDoText, text.data(), length + 1)));

  // Only characters the task file can hold; typing and pasting stop at 100 characters, but a
  // longer text that was already there is never cut.
  DWORD caret = 0;
  ::SendMessageW(edtToDoText, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  const Cp932Filtered filtered = FilterToCp932(text);
  if (filtered.dropped) ::MessageBeep(MB_OK);
  const std::wstring_view beforeCaret = std::wstring_view(text).substr(0, std::min<std::size_t>(caret, text.size()));
  const std::size_t caretChars = FilterToCp932(beforeCaret).kept.size();
  const std::string limited =
      LimitTextGrowth(list_.Table().Cell(colText, row), filtered.bytes, caretChars, kMaxTextCharacters);
  if (filtered.kept != text || limited.size() != filtered.bytes.size()) {
    const std::wstring shown = limited.size() == filtered.bytes.size() ? filtered.kept : FromCp932(limited);
    const std::size_t cut = filtered.kept.size() - shown.size();
    settingEditorText_ = true;
    ::SetWindowTextW(edtToDoText, shown.c_str());
    settingEditorText_ = false;
    const auto at = static_cast<LPARAM>(caretChars > cut ? caretChars - cut : 0);
    ::SendMessageW(edtToDoText, EM_SETSEL, static_cast<WPARAM>(at), at);
  }
  list_.ChangeText(row, limited);
  gridToDo->Refresh();
}

void TfrmToDo::edtToDoTextExit() {
  if (editorsQuiet_ || !TextEditorOpen()) return;
  {
    FlagScope quiet(editorsQuiet_);
    ::ShowWindow(edtToDoText, SW_HIDE);
  }
  list_.SortTasks(list_.CurrentRow() - list_.TopRow(), false);
  gridToDo->Refresh();
}

bool TfrmToDo::edtToDoTextKeyDown(WPARAM key) {
  const int current = list_.CurrentRow();
  const int last = list_.Table().RowCount() - 1;
  switch (key) {
    case VK_UP:
      if (current <= 1) return true;
      list_.SetCurrentRow(current - 1);
      break;
    case VK_DOWN:
      if (current >= last) return true;
      list_.SetCurrentRow(current + 1);
      break;
    case VK_PRIOR:
      if (current <= 10) {
        list_.SetCurrentRow(1);
      } else {
        ::SendMessageW(gridToDo->Handle(), WM_VSCROLL, SB_PAGEUP, 0);
      }
      break;
    case VK_NEXT:
      if (current > list_.Table().RowCount() - 11) {
        list_.SetCurrentRow(last);
      } else {
        ::SendMessageW(gridToDo->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
      }
      break;
    default:
      return false;
  }
  gridToDo->Refresh();
  CloseTextEditor();
  return true;
}

void TfrmToDo::cmbDateChange() {
  SYSTEMTIME st{};
  if (::SendMessageW(cmbDate, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) return;
  if (!list_.Table().IsTask(editorRow_)) return;
  const HWND focus = ::GetFocus();
  // The picker stays open while the task moves: it follows the task to its new row.
  const auto hide = std::move(list_.Hooks.hideEditors);
  list_.Hooks.hideEditors = [this] {
    FlagScope quiet(editorsQuiet_);
    ::ShowWindow(edtToDoText, SW_HIDE);
  };
  // Wine's picker, opened with no field selected, reports a change for an arrow key that
  // changed nothing: only a new date counts.
  const bool changed = list_.ChangeDueDate(editorRow_, Date{st.wYear, st.wMonth, st.wDay});
  list_.Hooks.hideEditors = hide;
  if (!changed) return;
  editorRow_ = list_.CurrentRow();  // where the task went
  gridToDo->Refresh();
  ActAsClickOnCurrentRow(colDueDate);
  if (focus == cmbDate && ::GetFocus() != cmbDate) ::SetFocus(cmbDate);
  if (!editMode_) EnterEditMode();
}

void TfrmToDo::edtToDoTextPaste() {
  std::wstring clip;
  if (!::OpenClipboard(edtToDoText)) return;
  if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(::GlobalLock(data))) {
      clip = p;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  if (clip.empty()) return;

  const int length = ::GetWindowTextLengthW(edtToDoText);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(edtToDoText, text.data(), length + 1)));
  DWORD start = 0;
  DWORD end = 0;
  ::SendMessageW(edtToDoText, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  end = std::min<DWORD>(end, static_cast<DWORD>(text.size()));
  start = std::min(start, end);
  const std::wstring_view all(text);
  const std::wstring pasted = PastedText(std::wstring_view(clip), CharacterCount(all),
                                         CharacterCount(all.substr(start, end - start)), kMaxTextCharacters);
  ::SendMessageW(edtToDoText, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
}

void TfrmToDo::cmbDateExit() {
  if (editorsQuiet_) return;
  ::ShowWindow(cmbDate, SW_HIDE);
}

// ---------------------------------------------------------------------------------------------
// The input method

void TfrmToDo::ApplyInputMethod() {
  // Hiragana input on focus is done when the editor gets the focus; a chosen input method is
  // looked up among the installed keyboard layouts by its name.
  if (!settings_.ImeNameChosen()) return;
  const std::wstring wanted = FromCp932(settings_.IMEName);
  HKL layouts[64];
  const int n = ::GetKeyboardLayoutList(64, layouts);
  for (int i = 0; i < n; ++i) {
    wchar_t name[256] = {};
    if (::ImmGetDescriptionW(layouts[i], name, 255) > 0 && wanted == name) {
      ::ActivateKeyboardLayout(layouts[i], 0);
      return;
    }
  }
}

void TfrmToDo::PlaceComposition() {
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

LRESULT CALLBACK TfrmToDo::EditorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR selfPtr) {
  auto* self = reinterpret_cast<TfrmToDo*>(selfPtr);
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &TfrmToDo::EditorProc, id);
  try {
    if (id == kTextEditorId) {
      switch (msg) {
        case WM_KEYDOWN:
          if (wParam == VK_INSERT && (::GetKeyState(VK_SHIFT) & 0x8000) && !(::GetKeyState(VK_CONTROL) & 0x8000)) {
            // Some edit controls paste Shift+Insert without WM_PASTE; every paste goes through ours.
            ::SendMessageW(hwnd, WM_PASTE, 0, 0);
            return 0;
          }
          if (self->edtToDoTextKeyDown(wParam)) return 0;
          break;
        case WM_PASTE:
          self->edtToDoTextPaste();
          return 0;
        case WM_CHAR:
          if (wParam == 0x16) {  // Ctrl+V
            ::SendMessageW(hwnd, WM_PASTE, 0, 0);
            return 0;
          }
          if (wParam == VK_RETURN || wParam == VK_ESCAPE) {  // Escape keeps the text: there is no undo
            if (::IsWindowVisible(self->gridToDo->Handle())) ::SetFocus(self->gridToDo->Handle());
            return 0;
          }
          break;
        case WM_SETFOCUS: {
          const LRESULT r = ::DefSubclassProc(hwnd, msg, wParam, lParam);
          if (self->settings_.IMEOnOff) {
            if (const HIMC imc = ::ImmGetContext(hwnd)) {
              ::ImmSetOpenStatus(imc, TRUE);
              ::ImmSetConversionStatus(imc, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE, IME_SMODE_PHRASEPREDICT);
              ::ImmReleaseContext(hwnd, imc);
            }
          }
          return r;
        }
        case WM_KILLFOCUS: {
          const LRESULT r = ::DefSubclassProc(hwnd, msg, wParam, lParam);
          self->edtToDoTextExit();
          return r;
        }
        case WM_IME_STARTCOMPOSITION:
          self->PlaceComposition();
          break;
        case WM_MOUSEWHEEL:
          // Not ours: the window gives the list the focus and the wheel.
          return ::SendMessageW(self->Handle(), msg, wParam, lParam);
        default:
          break;
      }
    } else if (id == kDatePickerId) {
      switch (msg) {
        case WM_KEYDOWN:
          if (wParam == VK_ESCAPE) {
            if (::IsWindowVisible(self->gridToDo->Handle())) ::SetFocus(self->gridToDo->Handle());
            return 0;
          }
          if (self->settings_.DateCursorTurn && (wParam == VK_UP || wParam == VK_DOWN)) {
            return ::DefSubclassProc(hwnd, msg, wParam == VK_UP ? VK_DOWN : VK_UP, lParam);
          }
          break;
        case WM_CHAR:
          if (wParam == VK_RETURN) {
            if (::IsWindowVisible(self->gridToDo->Handle())) ::SetFocus(self->gridToDo->Handle());
            return 0;
          }
          if (wParam == VK_ESCAPE) return 0;
          break;
        case WM_KILLFOCUS: {
          const LRESULT r = ::DefSubclassProc(hwnd, msg, wParam, lParam);
          // The drop-down calendar takes the focus while it is open; that is still the picker.
          const auto to = reinterpret_cast<HWND>(wParam);
          const HWND calendar = reinterpret_cast<HWND>(::SendMessageW(hwnd, DTM_GETMONTHCAL, 0, 0));
          if (!self->dateDropped_ && !(calendar && to && (to == calendar || ::IsChild(calendar, to)))) {
            self->cmbDateExit();
          }
          return r;
        }
        case WM_SETCURSOR:
          ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
          return TRUE;
        case WM_MOUSEWHEEL:
          return ::SendMessageW(self->Handle(), msg, wParam, lParam);
        default:
          break;
      }
    } else if (id == kButtonId) {
      switch (msg) {
        case WM_KEYDOWN:
          if (self->edtToDoTextKeyDown(wParam)) return 0;
          break;
        case WM_MOUSEMOVE:
          self->gridToDoMouseMove(-1, -1);
          break;
        default:
          break;
      }
    }
  } catch (...) {
  }
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace lq::win
