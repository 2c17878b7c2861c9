#pragma once
// The bulk-delete dialog: the last day whose tasks go, and whether only the done ones.

#include <windows.h>

#include <optional>

#include "dialogs/datepicker.h"
#include "settings/settings.h"
#include "store/datetext.h"

namespace lq::win {

struct PastDeleteChoice {
  Date limit;
  bool doneOnly = true;
};

class TfrmPastDelete final : public DateDialog {
 public:
  explicit TfrmPastDelete(const Settings& settings);

  // Shows the dialog modally with the picker on `start` and "済のみ削除する" checked; the
  // choice, or nothing when it was cancelled.
  std::optional<PastDeleteChoice> Ask(HWND owner, Date start);

 protected:
  void OnShow() override;
};

}  // namespace lq::win
