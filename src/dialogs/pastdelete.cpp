#include "dialogs/pastdelete.h"

#include "dialogs/datepicker.h"
#include "resource.h"

namespace lq::win {
namespace {

constexpr UINT kFocusFrom = WM_APP + 1;

}  // namespace

TfrmPastDelete::TfrmPastDelete(const Settings& settings) : Dialog(IDD_PASTDELETE), settings_(settings) {}

std::optional<PastDeleteChoice> TfrmPastDelete::Ask(HWND owner, Date start) {
  if (!Create(owner)) return std::nullopt;
  SetPickerDate(Item(IDC_PASTDELETE_CMBFROM), start);
  if (ShowModal(owner) != IDOK) return std::nullopt;
  return PastDeleteChoice{PickerDate(Item(IDC_PASTDELETE_CMBFROM)),
                          ::IsDlgButtonChecked(Handle(), IDC_PASTDELETE_CHKDONEONLY) == BST_CHECKED};
}

void TfrmPastDelete::Cancel() {
  if (InModalLoop()) EndModal(IDCANCEL);
}

void TfrmPastDelete::OnCreate() { PrepareDatePicker(Item(IDC_PASTDELETE_CMBFROM), settings_); }

void TfrmPastDelete::OnShow() {
  // Checked anew each time: an unchecked box must not carry over to the next delete.
  ::CheckDlgButton(Handle(), IDC_PASTDELETE_CHKDONEONLY, BST_CHECKED);
  ::PostMessageW(Handle(), kFocusFrom, 0, 0);
}

bool TfrmPastDelete::HandleMessage(UINT msg, WPARAM, LPARAM, INT_PTR* result) {
  if (msg != kFocusFrom) return false;
  // Once the dialog is active, or the activation would put the focus back where it last was.
  ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_PASTDELETE_CMBFROM)), TRUE);
  *result = TRUE;
  return true;
}

}  // namespace lq::win
