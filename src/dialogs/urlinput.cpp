#include "dialogs/urlinput.h"

#include <imm.h>

#include "resource.h"

namespace lq::win {
namespace {

constexpr UINT kFocusUrl = WM_APP + 1;

}  // namespace

TfrmUrlInput::TfrmUrlInput() : Dialog(IDD_URLINPUT) {}

void TfrmUrlInput::SetUrl(HWND owner, const std::wstring& url) {
  if (Create(owner)) ::SetDlgItemTextW(Handle(), IDC_URLINPUT_EDTURL, url.c_str());
}

std::wstring TfrmUrlInput::Url() const {
  const HWND edit = Item(IDC_URLINPUT_EDTURL);
  if (!edit) return {};
  const int length = ::GetWindowTextLengthW(edit);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(edit, text.data(), length + 1)));
  return text;
}

void TfrmUrlInput::OnCreate() {
  const HWND edit = Item(IDC_URLINPUT_EDTURL);
  ::ImmAssociateContextEx(edit, nullptr, 0);  // an address is typed in plain letters
  ::SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);  // as long as an address gets
}

void TfrmUrlInput::OnShow() {
  // Once the dialog is active, or the activation would put the focus back where it last was.
  ::PostMessageW(Handle(), kFocusUrl, 0, 0);
}

bool TfrmUrlInput::HandleMessage(UINT msg, WPARAM, LPARAM, INT_PTR* result) {
  if (msg != kFocusUrl) return false;
  // Focused with its whole text selected, so typing replaces it.
  const HWND edit = Item(IDC_URLINPUT_EDTURL);
  ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
  *result = TRUE;
  return true;
}

void TfrmUrlInput::OnCommand(int id, int code, HWND control) {
  if (id == IDC_URLINPUT_BTNPASTE && code == BN_CLICKED) {
    btnPasteClick();
    return;
  }
  Dialog::OnCommand(id, code, control);
}

void TfrmUrlInput::btnPasteClick() {
  // The clipboard's text replaces the selection; typing goes on after it.
  const HWND edit = Item(IDC_URLINPUT_EDTURL);
  ::SendMessageW(edit, WM_PASTE, 0, 0);
  DWORD end = 0;
  ::SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
  ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
  ::SendMessageW(edit, EM_SETSEL, end, end);
}

}  // namespace lq::win
