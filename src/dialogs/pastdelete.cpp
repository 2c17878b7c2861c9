#include "dialogs/pastdelete.h"

#include "resource.h"

namespace lq::win {

TfrmPastDelete::TfrmPastDelete(const Settings& settings)
    : DateDialog(IDD_PASTDELETE, settings, {IDC_PASTDELETE_CMBFROM}, IDC_PASTDELETE_CMBFROM) {}

std::optional<PastDeleteChoice> TfrmPastDelete::Ask(HWND owner, Date start) {
  if (!Create(owner)) return std::nullopt;
  SetPickerDate(Item(IDC_PASTDELETE_CMBFROM), start);
  if (ShowModal(owner) != IDOK) return std::nullopt;
  return PastDeleteChoice{PickerDate(Item(IDC_PASTDELETE_CMBFROM)),
                          ::IsDlgButtonChecked(Handle(), IDC_PASTDELETE_CHKDONEONLY) == BST_CHECKED};
}

void TfrmPastDelete::OnShow() {
  // Checked anew each time: an unchecked box must not carry over to the next delete.
  ::CheckDlgButton(Handle(), IDC_PASTDELETE_CHKDONEONLY, BST_CHECKED);
  DateDialog::OnShow();
}

}  // namespace lq::win
