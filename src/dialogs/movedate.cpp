#include "dialogs/movedate.h"

#include "resource.h"

namespace lq::win {

TfrmMoveDate::TfrmMoveDate(const Settings& settings)
    : DateDialog(IDD_MOVEDATE, settings, {IDC_MOVEDATE_CMBFROM, IDC_MOVEDATE_CMBDEST}, IDC_MOVEDATE_CMBDEST) {}

std::optional<DateMove> TfrmMoveDate::Ask(HWND owner, Date start) {
  if (!Create(owner)) return std::nullopt;
  SetPickerDate(Item(IDC_MOVEDATE_CMBFROM), start);
  SetPickerDate(Item(IDC_MOVEDATE_CMBDEST), start);
  if (ShowModal(owner) != IDOK) return std::nullopt;
  return DateMove{PickerDate(Item(IDC_MOVEDATE_CMBFROM)), PickerDate(Item(IDC_MOVEDATE_CMBDEST))};
}

}  // namespace lq::win
