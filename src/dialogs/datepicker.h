#pragma once
// The date pickers of the dialogs: a date without time, no free text and no input method, and
// Up and Down turned round when the settings say so, as in the list's own picker.

#include <windows.h>

#include "settings/settings.h"
#include "store/datetext.h"

namespace lq::win {

// Once, when the dialog is made; `settings` is read at each key, so a reload counts at once.
void PrepareDatePicker(HWND picker, const Settings& settings);

void SetPickerDate(HWND picker, Date date);
Date PickerDate(HWND picker);

}  // namespace lq::win
