#pragma once
// The move-date dialog: the day whose open tasks move, and the day they move to.

#include <windows.h>

#include <optional>

#include "dialogs/datepicker.h"
#include "settings/settings.h"
#include "store/datetext.h"

namespace lq::win {

struct DateMove {
  Date from;
  Date to;
};

class TfrmMoveDate final : public DateDialog {
 public:
  explicit TfrmMoveDate(const Settings& settings);

  // Shows the dialog modally with both pickers on `start`; the two days, or nothing when it
  // was cancelled.
  std::optional<DateMove> Ask(HWND owner, Date start);
};

}  // namespace lq::win
