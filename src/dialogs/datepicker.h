#pragma once
// The date pickers of the dialogs: a date without time, no free text and no input method, and
// Up and Down turned round when the settings say so, as in the list's own picker.

#include <windows.h>

#include <initializer_list>
#include <vector>

#include "platform/dialog.h"
#include "settings/settings.h"
#include "store/datetext.h"

namespace lq::win {

// Once, when the dialog is made; `settings` is read at each key, so a reload counts at once.
void PrepareDatePicker(HWND picker, const Settings& settings);

void SetPickerDate(HWND picker, Date date);
Date PickerDate(HWND picker);

// A modal dialog of such pickers that the program may cancel: the pickers are prepared when it
// is made, and one control takes the focus once it is active.
class DateDialog : public Dialog {
 public:
  bool EndsWithEditMode() const override { return true; }

 protected:
  DateDialog(int templateId, const Settings& settings, std::initializer_list<int> pickers, int focused)
      : Dialog(templateId), settings_(settings), pickers_(pickers), focused_(focused) {}
  void OnCreate() override;
  void OnShow() override;
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;

 private:
  const Settings& settings_;
  std::vector<int> pickers_;
  int focused_;
};

}  // namespace lq::win
