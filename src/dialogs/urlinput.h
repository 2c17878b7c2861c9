#pragma once
// The URL dialog TfrmUrlInput: one web address typed or pasted, the input method off. The URL
// command runs it in a loop until it gives a web address (see store/attachment.h).

#include <windows.h>

#include <string>

#include "platform/dialog.h"

namespace lq::win {

class TfrmUrlInput final : public Dialog {
 public:
  TfrmUrlInput();

  // Puts the text into edtUrl; each showing after keeps what the user left there.
  void SetUrl(HWND owner, const std::wstring& url);
  std::wstring Url() const;
  // Shows the dialog modally: IDOK or IDCANCEL.
  INT_PTR Ask(HWND owner) { return ShowModal(owner); }
  bool EndsWithEditMode() const override { return true; }

 protected:
  void OnCreate() override;
  void OnShow() override;
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;
  void OnCommand(int id, int code, HWND control) override;

 private:
  void btnPasteClick();
};

}  // namespace lq::win
