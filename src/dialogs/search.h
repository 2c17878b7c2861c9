#pragma once
// The search dialog: a text with its history of five, and the direction.

#include <windows.h>

#include <optional>
#include <string>

#include "platform/dialog.h"
#include "platform/profile.h"
#include "settings/findhistory.h"
#include "settings/settings.h"
#include "store/search.h"

namespace lq::win {

struct SearchRequest {
  std::string text;  // code page 932, one line, not empty
  SearchDirection direction = SearchDirection::Down;
};

class TfrmSearch final : public Dialog {
 public:
  TfrmSearch(IniProfile& profile, const Settings& settings);

  // Shows the dialog modally; the search to run, or nothing when it was cancelled, the box
  // was empty or the history could not be written (which the dialog has said).
  std::optional<SearchRequest> Ask(HWND owner);
  bool EndsWithEditMode() const override { return true; }

 protected:
  void OnCreate() override;
  void OnShow() override;
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;
  void OnCommand(int id, int code, HWND control) override;

 private:
  void btnOKClick();
  bool edtSrchKeyDown(WPARAM key);  // true when the key goes no further
  bool radSrchUpKeyDown(WPARAM key);
  void edtSrchEnter();
  void edtSrchChange();
  void CheckDirection(int id);
  HWND EditOfBox() const;
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);

  IniProfile& profile_;
  const Settings& settings_;
  SearchHistory history_;
  std::optional<SearchRequest> request_;
  bool settingText_ = false;
};

}  // namespace lq::win
