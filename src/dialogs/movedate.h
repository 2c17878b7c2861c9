#pragma once
// The move-date dialog: the day whose open tasks move, and the day they move to.

#include <windows.h>

#include <optional>

#include "platform/dialog.h"
#include "settings/settings.h"
#include "store/datetext.h"

namespace lq::win {

struct DateMove {
  Date from;
  Date to;
};

class TfrmMoveDate final : public Dialog {
 public:
  explicit TfrmMoveDate(const Settings& settings);

  // Shows the dialog modally with both pickers on `start`; the two days, or nothing when it
  // was cancelled.
  std::optional<DateMove> Ask(HWND owner, Date start);
  // Closes a showing dialog as if cancelled.
  void Cancel();

 protected:
  void OnCreate() override;
  void OnShow() override;
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;

 private:
  const Settings& settings_;
};

}  // namespace lq::win
