#pragma once
// The attachment hint TfrmHint: a small borderless popup with the path or web address of the
// attachment under the cursor. It shows once the cursor has rested on one point for the delay
// of [Hint] Start, and goes after [Hint] Term, when the cursor leaves that point, on a click,
// or when cancelled. It never takes the activation; it is made when first needed.

#include <windows.h>

#include <string>

#include "platform/dialog.h"
#include "platform/handles.h"
#include "settings/settings.h"

namespace lq::win {

class TfrmHint final : public Dialog {
 public:
  explicit TfrmHint(const Settings& settings);

  // The owner of the popup (kept out of the main window's way in the top-most band) and the
  // main window, without which the hint does not show.
  void Attach(HWND owner, HWND mainWindow);

  // Sizes and places the popup for the text at a screen point, which becomes HintAnchor.
  void PrepareHint(POINT screen, const std::wstring& text);
  // Hides the popup and starts the delay again.
  void RestartHint();
  // Hides the popup, or stops a pending delay.
  void CancelHint();
  // Empties the label.
  void ClearText();

  // The screen point the hint was prepared for; the grid's right-click moves it a pixel, so
  // the next move over an attachment prepares the hint again even at the same point.
  POINT HintAnchor{0, 0};

  // 0 idle, 1 waiting for the delay, 2 showing.
  int State() const;

 protected:
  void OnCreate() override;
  bool FocusOnCreate() const override { return false; }
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;

 private:
  void tmrShowTimer();
  void tmrHideTimer();
  void FormMouseMove();
  void FormMouseDown();
  void FormHide();
  void FormPaint();
  void StopTimers();
  bool CursorAtAnchor() const;

  const Settings& settings_;
  HWND owner_ = nullptr;
  HWND main_ = nullptr;
  Brush back_;       // the frame's colour
  Brush labelBack_;  // lblHint's colour
  bool showPending_ = false;
  bool hidePending_ = false;
  bool textEmpty_ = true;
};

}  // namespace lq::win
