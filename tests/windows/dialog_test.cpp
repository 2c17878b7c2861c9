#include <gtest/gtest.h>

#include <functional>

#include "dialog_test_ids.h"
#include "platform/dialog.h"

namespace lq::win {
namespace {

// A dialog whose showing runs a step from a timer inside the modal loop, as a user would act.
class StepDialog final : public Dialog {
 public:
  StepDialog() : Dialog(IDD_TEST) {}
  std::function<void(StepDialog&)> step;
  int created = 0;
  int shown = 0;
  using Dialog::Item;

 protected:
  void OnCreate() override { ++created; }
  void OnShow() override {
    ++shown;
    ::SetTimer(Handle(), 1, 10, nullptr);
  }
  bool HandleMessage(UINT msg, WPARAM, LPARAM, INT_PTR* result) override {
    if (msg != WM_TIMER) return false;
    ::KillTimer(Handle(), 1);
    if (step) step(*this);
    *result = TRUE;
    return true;
  }
};

std::wstring EditText(StepDialog& d) {
  wchar_t buffer[64] = {};
  ::GetWindowTextW(d.Item(IDC_TEST_EDIT), buffer, 64);
  return buffer;
}

TEST(Dialog, MadeOnceShownManyTimesAndTheControlsKeepTheirState) {
  StepDialog d;
  bool visibleInside = false;
  d.step = [&](StepDialog& self) {
    visibleInside = ::IsWindowVisible(self.Handle()) != FALSE;
    self.EndModal(42);
  };
  EXPECT_EQ(d.ShowModal(nullptr), 42);
  EXPECT_TRUE(visibleInside);
  const HWND first = d.Handle();
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(::IsWindowVisible(first));  // hidden, not destroyed
  ::SetWindowTextW(d.Item(IDC_TEST_EDIT), L"残る");

  d.step = [](StepDialog& self) { self.EndModal(IDOK); };
  EXPECT_EQ(d.ShowModal(nullptr), IDOK);
  EXPECT_EQ(d.Handle(), first);
  EXPECT_EQ(d.created, 1);
  EXPECT_EQ(d.shown, 2);
  EXPECT_EQ(EditText(d), L"残る");
}

TEST(Dialog, TheOwnerIsDisabledWhileShownAndEscapeCancels) {
  const HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr);
  StepDialog d;
  bool ownerEnabledInside = true;
  d.step = [&](StepDialog& self) {
    ownerEnabledInside = ::IsWindowEnabled(owner) != FALSE;
    // The dialog's keys go through IsDialogMessage: Escape is the cancel button.
    ::PostMessageW(self.Item(IDC_TEST_EDIT), WM_KEYDOWN, VK_ESCAPE, 0);
  };
  EXPECT_EQ(d.ShowModal(owner), IDCANCEL);
  EXPECT_FALSE(ownerEnabledInside);
  EXPECT_TRUE(::IsWindowEnabled(owner));
  ::DestroyWindow(owner);
}

TEST(Dialog, TheStepAfterAShowingRunsWithTheOwnerEnabledBeforeTheDialogHides) {
  const HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr);
  StepDialog d;
  d.step = [](StepDialog& self) { self.EndModal(IDOK); };
  bool dialogVisible = false;
  bool ownerEnabled = false;
  EXPECT_EQ(d.ShowModal(owner,
                        [&] {
                          dialogVisible = ::IsWindowVisible(d.Handle()) != FALSE;
                          ownerEnabled = ::IsWindowEnabled(owner) != FALSE;
                        }),
            IDOK);
  EXPECT_TRUE(dialogVisible);
  EXPECT_TRUE(ownerEnabled);
  EXPECT_FALSE(::IsWindowVisible(d.Handle()));
  ::DestroyWindow(owner);
}

TEST(Dialog, TheProgramsEndReachesTheOuterLoop) {
  StepDialog d;
  d.step = [](StepDialog&) { ::PostQuitMessage(7); };
  EXPECT_EQ(d.ShowModal(nullptr), IDCANCEL);
  MSG msg{};
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace
}  // namespace lq::win
