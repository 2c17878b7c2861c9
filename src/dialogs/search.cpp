#include "dialogs/search.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/codepage.h"
#include "platform/inputmethod.h"
#include "platform/msgbox.h"
#include "platform/window.h"
#include "resource.h"
#include "settings/textforms.h"

namespace lq::win {
namespace {

constexpr UINT kFocusBox = WM_APP + 1;
constexpr UINT_PTR kBoxEdit = 1;
constexpr UINT_PTR kRadio = 2;

std::wstring WindowText(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(hwnd, text.data(), length + 1)));
  return text;
}

}  // namespace

TfrmSearch::TfrmSearch(IniProfile& profile, const Settings& settings)
    : Dialog(IDD_SEARCH), profile_(profile), settings_(settings) {}

std::optional<SearchRequest> TfrmSearch::Ask(HWND owner) {
  request_.reset();
  if (ShowModal(owner) != IDOK) return std::nullopt;
  return std::move(request_);
}

HWND TfrmSearch::EditOfBox() const {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (::GetComboBoxInfo(Item(IDC_SEARCH_EDTSRCH), &info) && info.hwndItem) return info.hwndItem;
  return ::FindWindowExW(Item(IDC_SEARCH_EDTSRCH), nullptr, L"Edit", nullptr);
}

void TfrmSearch::OnCreate() {
  CheckDirection(IDC_SEARCH_RADSRCHDN);
  ::SetWindowSubclass(EditOfBox(), &TfrmSearch::ControlProc, kBoxEdit, reinterpret_cast<DWORD_PTR>(this));
  for (const int id : {IDC_SEARCH_RADSRCHUP, IDC_SEARCH_RADSRCHDN}) {
    ::SetWindowSubclass(Item(id), &TfrmSearch::ControlProc, kRadio, reinterpret_cast<DWORD_PTR>(this));
  }
}

void TfrmSearch::OnShow() {
  // The history is read again each time, so a hand edit of the file counts; the text stays.
  const HWND box = Item(IDC_SEARCH_EDTSRCH);
  const std::wstring text = WindowText(box);
  ::SendMessageW(box, CB_RESETCONTENT, 0, 0);
  history_.Load(profile_);
  for (const std::string& item : history_.Items()) {
    ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FromCp932(item).c_str()));
  }
  settingText_ = true;
  ::SetWindowTextW(box, text.c_str());
  settingText_ = false;
  // Once the dialog is active, or the activation would put the focus back where it last was.
  ::PostMessageW(Handle(), kFocusBox, 0, 0);
}

bool TfrmSearch::HandleMessage(UINT msg, WPARAM, LPARAM, INT_PTR* result) {
  if (msg != kFocusBox) return false;
  const HWND box = Item(IDC_SEARCH_EDTSRCH);
  ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
  // The whole text selected, so typing replaces the last search text.
  ::SendMessageW(box, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
  *result = TRUE;
  return true;
}

void TfrmSearch::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDOK:
      btnOKClick();
      break;
    case IDC_SEARCH_EDTSRCH:
      if (code == CBN_EDITCHANGE && !settingText_) edtSrchChange();
      break;
    default:
      Dialog::OnCommand(id, code, control);
      break;
  }
}

void TfrmSearch::btnOKClick() {
  const std::string text(SearchTextOf(FilterToCp932(WindowText(Item(IDC_SEARCH_EDTSRCH))).bytes));
  if (text.empty()) {
    EndModal(IDCANCEL);
    return;
  }
  // The history first: a text that is not found is remembered too.
  if (history_.Add(text) && !history_.Write(profile_)) {
    ShowBox(Handle(), BoxKind::Error, FromUtf8(WriteFailureMessage(profile_.Path())));
    EndModal(IDCANCEL);
    return;
  }
  const bool up = ::IsDlgButtonChecked(Handle(), IDC_SEARCH_RADSRCHUP) == BST_CHECKED;
  request_ = SearchRequest{text, up ? SearchDirection::Up : SearchDirection::Down};
  EndModal(IDOK);
}

void TfrmSearch::edtSrchChange() {
  // Only what a task text can hold: a character code page 932 lacks could never be found.
  const HWND edit = EditOfBox();
  const std::wstring text = WindowText(edit);
  const Cp932Filtered filtered = FilterToCp932(text);
  if (!filtered.dropped) return;
  ::MessageBeep(MB_OK);
  DWORD caret = 0;
  ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
  settingText_ = true;
  ::SetWindowTextW(edit, filtered.kept.c_str());
  settingText_ = false;
  const auto at = static_cast<LPARAM>(std::min<std::size_t>(caret, filtered.kept.size()));
  ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(at), at);
}

void TfrmSearch::edtSrchEnter() {
  if (settings_.ImeNameChosen()) SelectInputMethod(FromCp932(settings_.IMEName));
  if (settings_.IMEOnOff) OpenHiraganaInput(EditOfBox());
}

void TfrmSearch::CheckDirection(int id) {
  ::CheckRadioButton(Handle(), IDC_SEARCH_RADSRCHUP, IDC_SEARCH_RADSRCHDN, id);
}

bool TfrmSearch::edtSrchKeyDown(WPARAM key) {
  switch (key) {
    case VK_PRIOR:
      CheckDirection(IDC_SEARCH_RADSRCHUP);
      return true;
    case VK_NEXT:
      CheckDirection(IDC_SEARCH_RADSRCHDN);
      return true;
    case VK_DOWN: {
      const HWND box = Item(IDC_SEARCH_EDTSRCH);
      if (!::SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0)) ::SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
      return false;  // the list takes it from here
    }
    default:
      return false;
  }
}

bool TfrmSearch::radSrchUpKeyDown(WPARAM key) {
  if (key != VK_PRIOR && key != VK_NEXT) return false;
  const int id = key == VK_PRIOR ? IDC_SEARCH_RADSRCHUP : IDC_SEARCH_RADSRCHDN;
  CheckDirection(id);
  ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
  return true;
}

LRESULT CALLBACK TfrmSearch::ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR selfPtr) {
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &TfrmSearch::ControlProc, id);
  auto* self = reinterpret_cast<TfrmSearch*>(selfPtr);
  const auto byDefault = [&] { return ::DefSubclassProc(hwnd, msg, wParam, lParam); };
  return Guarded(
      "search dialog",
      [&]() -> LRESULT {
        if (msg == WM_KEYDOWN) {
          if (id == kBoxEdit ? self->edtSrchKeyDown(wParam) : self->radSrchUpKeyDown(wParam)) return 0;
        } else if (msg == WM_SETFOCUS && id == kBoxEdit) {
          const LRESULT r = byDefault();
          self->edtSrchEnter();
          return r;
        }
        return byDefault();
      },
      byDefault);
}

}  // namespace lq::win
