#include "dialogs/datepicker.h"

#include <commctrl.h>
#include <imm.h>

namespace lq::win {
namespace {

LRESULT CALLBACK PickerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &PickerProc, id);
  const auto* settings = reinterpret_cast<const Settings*>(data);
  // The arrows step the date's fields; in a dialog they would otherwise move the focus.
  if (msg == WM_GETDLGCODE) return ::DefSubclassProc(hwnd, msg, wParam, lParam) | DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (msg == WM_KEYDOWN && settings->DateCursorTurn && (wParam == VK_UP || wParam == VK_DOWN)) {
    // Up goes to the past and Down to the future.
    return ::DefSubclassProc(hwnd, msg, wParam == VK_UP ? VK_DOWN : VK_UP, lParam);
  }
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void PrepareDatePicker(HWND picker, const Settings& settings) {
  ::ImmAssociateContextEx(picker, nullptr, 0);
  ::SetWindowSubclass(picker, &PickerProc, 1, reinterpret_cast<DWORD_PTR>(&settings));
}

void SetPickerDate(HWND picker, Date date) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(date.year);
  st.wMonth = static_cast<WORD>(date.month);
  st.wDay = static_cast<WORD>(date.day);
  st.wDayOfWeek = static_cast<WORD>(DayOfWeek(date));
  ::SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

Date PickerDate(HWND picker) {
  SYSTEMTIME st{};
  ::SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
  return Date{st.wYear, st.wMonth, st.wDay};
}

namespace {

constexpr UINT kFocusControl = WM_APP + 1;

}  // namespace

void DateDialog::OnCreate() {
  for (const int id : pickers_) PrepareDatePicker(Item(id), settings_);
}

void DateDialog::OnShow() {
  // Once the dialog is active, or the activation would put the focus back where it last was.
  ::PostMessageW(Handle(), kFocusControl, 0, 0);
}

bool DateDialog::HandleMessage(UINT msg, WPARAM, LPARAM, INT_PTR* result) {
  if (msg != kFocusControl) return false;
  ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(focused_)), TRUE);
  *result = TRUE;
  return true;
}

}  // namespace lq::win
