#include <gtest/gtest.h>

#include "commands/reach.h"

namespace lq {
namespace {

using M = TrayMouse;

// What the window does with a tray message: ignored, or the dialogs asked first and then this.
struct TrayRow {
  bool inTray;
  M mouse;
  bool hidden;
  bool dialog;
  bool ignored;
  TrayOutcome outcome;
};

TEST(Reach, TrayClicks) {
  const TrayOutcome none{};
  const TrayOutcome hide{true, false, false};
  const TrayOutcome show{false, true, false};
  const TrayOutcome menu{false, false, true};
  const TrayOutcome showAndMenu{false, true, true};
  const TrayRow rows[] = {
      // A left press toggles; a right release shows and opens the menu.
      {false, M::LeftDown, false, false, false, hide},
      {false, M::LeftDown, true, false, false, show},
      {false, M::RightUp, false, false, false, menu},
      {false, M::RightUp, true, false, false, showAndMenu},
      // An open dialog is all that comes forward.
      {false, M::LeftDown, false, true, false, none},
      {false, M::LeftDown, true, true, false, none},
      {false, M::RightUp, false, true, false, none},
      {false, M::RightUp, true, true, false, none},
      // Other mouse messages, and any message while one is being handled, do nothing at all.
      {false, M::Other, false, false, true, none},
      {false, M::Other, true, false, true, none},
      {true, M::LeftDown, false, false, true, none},
      {true, M::LeftDown, true, false, true, none},
      {true, M::RightUp, false, false, true, none},
      {true, M::RightUp, true, true, true, none},
  };
  for (const TrayRow& r : rows) {
    const std::string what = "inTray " + std::to_string(r.inTray) + " mouse " + std::to_string(static_cast<int>(r.mouse)) +
                             " hidden " + std::to_string(r.hidden) + " dialog " + std::to_string(r.dialog);
    EXPECT_EQ(TrayMessageIgnored(r.inTray, r.mouse), r.ignored) << what;
    if (!r.ignored) {
      EXPECT_EQ(DecideTrayClick(r.mouse, r.hidden, r.dialog), r.outcome) << what;
    }
  }
}

struct SummonsRow {
  Summons summons;
  bool hidden;
  bool editMode;
  bool dialog;
  SummonsOutcome outcome;  // showAgain, foreground, enterEditMode, openTextEditor, hide
};

TEST(Reach, HotKeysAndTheSecondStart) {
  using S = Summons;
  const SummonsOutcome none{};
  const SummonsRow rows[] = {
      {S::ActivateKey, true, false, false, {true, true, true, false, false}},
      {S::ActivateKey, true, true, false, {true, true, false, true, false}},
      {S::ActivateKey, false, false, false, {false, true, true, false, false}},
      {S::ActivateKey, false, true, false, {false, true, false, true, false}},
      {S::ActivateKey, true, false, true, none},
      {S::VisibleKey, false, true, false, {false, false, false, false, true}},
      {S::VisibleKey, false, false, false, {false, false, false, false, true}},
      {S::VisibleKey, true, false, false, {true, true, false, false, false}},  // no edit mode
      {S::VisibleKey, false, true, true, none},
      {S::VisibleKey, true, true, true, none},
      {S::SecondStart, true, false, false, {true, true, false, false, false}},
      {S::SecondStart, false, false, false, {false, true, false, false, false}},
      {S::SecondStart, true, true, true, none},
  };
  for (const SummonsRow& r : rows) {
    EXPECT_EQ(DecideSummons(r.summons, r.hidden, r.editMode, r.dialog), r.outcome)
        << static_cast<int>(r.summons) << " hidden " << r.hidden << " edit " << r.editMode << " dialog " << r.dialog;
  }
}

}  // namespace
}  // namespace lq
