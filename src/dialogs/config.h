#pragma once
// The settings dialog TfrmConfig: every user setting of the settings file on six pages, written
// back on OK. It never applies a setting itself: it writes the file and sets
// SettingsReloadPending, and the main window reads the whole file again when it is shown.
// Besides that it centres the main window, makes and removes the start-up shortcut, and lets
// the user choose and hear the alarm sound.

#include <windows.h>

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/dialog.h"
#include "platform/handles.h"
#include "platform/msgbox.h"
#include "settings/configpage.h"
#include "store/seams.h"

namespace lq::win {

class TfrmConfig final : public Dialog {
 public:
  // What the dialog needs of the application.
  struct Environment {
    Profile& profile;
    std::filesystem::path settingsPath;  // for the message when it cannot be written
    const Clock& clock;
    std::filesystem::path exePath;
    std::wstring applicationTitle;
    std::function<bool()> ensureCom;  // the shell link needs COM
  };

  explicit TfrmConfig(Environment env);
  ~TfrmConfig() override;

  // Set each time the dialog is shown. A command that asks a question clears it first and gives
  // up afterwards when the dialog was opened meanwhile (the tray icon stays live).
  bool SettingsShown = false;
  // True at creation, so the main window's first showing loads the settings; the dialog sets it
  // again when it closes with OK or キャンセル (not through the close box).
  bool SettingsReloadPending = true;

  // Asks a yes-or-no confirmation. IDNO comes back as it is; any other answer only when the
  // settings dialog was not opened while the question waited: otherwise the user is told that
  // the command gives up, and nothing comes back.
  std::optional<int> AskUnlessInterrupted(HWND owner, const std::wstring& question);
  // The same, with the boxes shown by the caller (the main window gives the focus back after
  // each).
  using ShowBoxFn = std::function<int(BoxKind kind, const std::wstring& text)>;
  std::optional<int> AskUnlessInterrupted(const ShowBoxFn& show, const std::wstring& question);

  // The address the about page's link opens.
  static constexpr const wchar_t* kHomePage = L"https://lindqvale.example.jp/";

 protected:
  void OnCreate() override;
  void OnShow() override;
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;
  void OnCommand(int id, int code, HWND control) override;
  bool PreTranslateMessage(MSG& msg) override;
  // Tab and Shift+Tab, in the order tab strip, the page shown, O K, キャンセル.
  bool TabToNextControl(MSG& msg, bool back);

 private:
  static constexpr int kPageCount = 6;

  // --- creation and showing
  void FormCreate();
  void FormShow();
  void CreatePages();
  void PlaceFontPage();
  void FillFontNames();
  void FillImeNames();
  void LoadControls(const ConfigPage& page);
  ConfigPage ReadControls() const;
  void ShowPage(int index);
  HWND Control(int id) const;
  bool PageMessage(HWND page, UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result);
  static INT_PTR CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK FieldProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);

  // --- 不可視化
  void tbarEditModeChange();
  void tbarViewModeChange();

  // --- 文字
  void pnlPreviewClick(UrgencyClass panel);
  void radPreviewClick();
  void cmbFontChange(bool nameChanged);
  void btnFGColorClick();
  void btnBGColorClick();
  bool ChooseColour(ColorValue& colour);
  void btnParallelFontClick();
  void cmbFontNameDrawItem(const DRAWITEMSTRUCT& di);
  void DrawPreviewPanel(const DRAWITEMSTRUCT& di);
  void RefreshPreview(UrgencyClass panel);
  HFONT PreviewFont(UrgencyClass panel);
  UrgencyClass SelectedPreviewPanel() const;
  void SelectFontLists(const ClassStyle& style);

  // --- 表示
  void edtRowHeightExit(int fieldId);
  void chkEnableHintClick();

  // --- 動作
  void btnForceWindowToCenterClick();
  void UpdateStartupShortcut(bool create);
  void chkEnabledHotKeyClick();
  void btnAlarmWavSelectClick();
  void btnAlarmWavTestClick();

  // --- 情報
  void lblUrlClick();

  // --- OK and キャンセル
  void btnOKClick();
  void btnCancelClick();

  Environment env_;
  std::array<HWND, kPageCount> pages_{};
  HWND pnlFont_ = nullptr;
  HWND tooltips_ = nullptr;
  ImageList tabImages_;
  Icon aboutIcon_;
  Font productFont_;
  Font linkFont_;
  bool loading_ = false;  // controls being filled: their change notices are not the user's

  // The preview panels' fonts and colours: what OK writes for the seven classes.
  std::array<ClassStyle, kUrgencyClassCount> panels_;
  std::array<Font, kUrgencyClassCount> panelFonts_;
  std::array<COLORREF, 16> customColours_{};
};

}  // namespace lq::win
