#pragma once
// The main window TfrmToDo: the task grid (which is the task table), the header buttons, the
// view image with its clock, the tray icon and the window state. One file per concern:
//   mainwindow.cpp  creation, showing (the settings load), closing, the message switch
//   griddraw.cpp    drawing the cells by urgency class
//   layout.cpp      column layouts, FormResize, modes and transparency

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "geometry/layout.h"
#include "mainwindow/taskgrid.h"
#include "platform/clock.h"
#include "platform/collation.h"
#include "platform/filestore.h"
#include "platform/handles.h"
#include "platform/profile.h"
#include "platform/window.h"
#include "settings/settings.h"
#include "settings/winposition.h"
#include "store/taskfile.h"
#include "store/tasklist.h"

namespace lq::win {

// A child panel or picture that forwards its mouse to the main window.
class PlainChild;


class TfrmToDo final : public Window {
 public:
  static constexpr const wchar_t* kClassName = L"TfrmToDo";
  static constexpr const wchar_t* kCaption = L"Tarnwillow";
  static constexpr COLORREF kWindowColour = 16772332;  // red 236, green 236, blue 255

  TfrmToDo(std::filesystem::path exePath, HWND applicationWindow);
  ~TfrmToDo() override;

  // Creates the window (FormCreate runs) without showing it.
  bool Create();
  // Shows the window; the first showing loads the settings.
  void Show();

  const std::filesystem::path& TaskFilePath() const { return taskFilePath_; }
  const std::filesystem::path& SettingsFilePath() const { return settingsFilePath_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  friend class PlainChild;

  // --- life (mainwindow.cpp)
  void FormCreate();
  bool FormClose();  // false: the close was cancelled
  void FormShow();
  void LoadAndApplySettings();
  void ApplyToolWindowStyle();
  void ApplyTopMost();
  void AddTrayIcon();
  void RemoveTrayIcon();
  void ReportLoadProblems();
  void ShowSettingsWriteError();  // "<settings file> に書き込めません"
  bool ShowSaveError(const std::filesystem::path& path);
  LRESULT Automation(UINT msg, WPARAM wParam, LPARAM lParam);

  // --- drawing (griddraw.cpp)
  void gridToDoDrawCell(HDC dc, int col, int row, const RECT& cell);
  void DrawTaskCell(HDC dc, const RECT& cell, int col, int row, const ClassStyle& style, bool bold, UINT format,
                    COLORREF text, COLORREF background);
  HFONT FontFor(const ClassStyle& style, bool bold);
  int MeasureTextWidth(std::string_view text, bool withTitle);
  COLORREF Resolve(std::uint32_t colourValue) const;
  void ClearFontCache();

  // --- layout and modes (layout.cpp)
  void FormResize();
  void LayoutChildren();
  void EditModeColumnLayout();
  void ViewModeColumnLayout();
  void EnterEditMode();
  void ApplyTransparency();
  void SetAlpha(int alpha);
  void OnGetMinMaxInfo(MINMAXINFO* info);
  void DrawHeaderButton(const DRAWITEMSTRUCT* di);

  // Paths and seams.
  std::filesystem::path exePath_;
  std::filesystem::path taskFilePath_;
  std::filesystem::path settingsFilePath_;
  HWND applicationWindow_;
  LocalClock clock_;
  LocaleCollation collation_;
  WinFileStore fileStore_;
  IniProfile profile_;

  // The tasks: the table, the counters and the grid position.
  TaskList list_;
  TaskFile taskFile_;
  TaskFileLoadReport loadReport_;
  std::unique_ptr<TaskGrid> gridToDo;

  // Child windows.
  std::unique_ptr<PlainChild> pnlBase;
  std::unique_ptr<PlainChild> imgNotEditMode;
  HWND btnAdd = nullptr;
  HWND btnDel = nullptr;
  HWND btnPopAttach = nullptr;
  HWND btnPopEdit = nullptr;
  HWND btnMenu = nullptr;
  HWND tooltips_ = nullptr;
  HIMAGELIST images_ = nullptr;
  HICON programIcon_ = nullptr;

  // Window state.
  bool editMode_ = true;
  bool UserHidden = false;
  bool HoverHidden = false;
  bool InTimer = false;
  bool InTrayMessage = false;
  Date LastDate{};
  std::string clockFormat_ = "yyyy\"/\"mm\"/\"dd(aaa) hh:nn";
  std::string LastAlarmMinute;
  int minimumWidthBase_ = 0;  // date and days columns of edit mode together
  bool topEdgeFlag_ = false;
  ATOM activateHotKeyId_ = 0;
  ATOM visibleHotKeyId_ = 0;
  bool trayIconAdded_ = false;
  bool firstShowDone_ = false;
  bool ready_ = false;  // shown, laid out and painted once (answered to the ready query)
  bool closing_ = false;
  bool SettingsReloadPending = true;  // belongs to the settings dialog once it exists

  // Settings as last loaded (the first showing loads them before anything is drawn).
  Settings settings_;
  int rowHeight_ = 16;
  bool topMost_ = true;  // the check mark of the top-most command

  // Fonts by (class, bold), made when first drawn.
  struct CachedFont {
    std::string name;
    int size = 0;
    bool bold = false;
    Font font;
  };
  std::vector<CachedFont> fonts_;
};

}  // namespace lq::win
