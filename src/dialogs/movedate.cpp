#include "dialogs/movedate.h"

#include "dialogs/datepicker.h"
#include "resource.h"

namespace lq::win {
namespace {

constexpr UINT kFocusDest = WM_APP + 1;

}  // namespace

TfrmMoveDate::TfrmMoveDate(const Settings& settings) : Dialog(IDD_MOVEDATE), settings_(settings) {}

std::optional<DateMove> TfrmMoveDate::Ask(HWND owner, Date start) {
  if (!Create(owner)) return std::nullopt;
  SetPickerDate(Item(IDC_MOVEDATE_CMBFROM), start);
  SetPickerDate(Item(IDC_MOVEDATE_CMBDEST), start);
  if (ShowModal(owner) != IDOK) return std::nullopt;
  return DateMove{PickerDate(Item(IDC_MOVEDATE_CMBFROM)), PickerDate(Item(IDC_MOVEDATE_CMBDEST))};
}

void TfrmMoveDate::Cancel() {
  if (InModalLoop()) EndModal(IDCANCEL);
}

void TfrmMoveDate::OnCreate() {
  PrepareDatePicker(Item(IDC_MOVEDATE_CMBFROM), settings_);
  PrepareDatePicker(Item(IDC_MOVEDATE_CMBDEST), settings_);
}

void TfrmMoveDate::OnShow() {
  // Once the dialog is active, or the activation would put the focus back where it last was.
  ::PostMessageW(Handle(), kFocusDest, 0, 0);
}

bool TfrmMoveDate::HandleMessage(UINT msg, WPARAM, LPARAM, INT_PTR* result) {
  if (msg != kFocusDest) return false;
  ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_MOVEDATE_CMBDEST)), TRUE);
  *result = TRUE;
  return true;
}

}  // namespace lq::win
