#pragma once
// The main window TfrmToDo: the task grid (which is the task table), the in-place editors, the
// header buttons and menus, the view image with its clock, the modes and the dispatch. The parts
// with state of their own are classes beside it, which reach the window only through callbacks.
// One file per concern (the classes the window is made of have their own headers):
//   parts.cpp       the parts made, with all each of them may reach of the window
//   mainwindow.cpp  creation, showing (the settings load), closing, the message switch
//   griddraw.cpp    GridPainter: drawing the cells by urgency class, with its fonts, and the
//                   header buttons
//   layout.cpp      WindowLayout: the children placed, the column layouts and FormResize
//   modes.cpp       changing between edit mode and view mode
//   viewmode.cpp    ViewMode: the view image, the clock labels, the transparency, moving and
//                   sizing with the mouse
//   edgedrag.cpp    EdgeDrag: the edge zones, their cursors, a sizing begun at the top
//   headerhints.cpp HeaderHints: the hints of the header buttons and the view image
//   editing.cpp     TaskEditing: the text editor and the date picker at work
//   input.cpp       mouse, keys, menus and the task commands they start
//   commands.cpp    every command carried out in one place (Run), and the waits for the user
//   search.cpp      ListDialogCommands: the search, and where the keys go after a list dialog
//   bulk.cpp        ListDialogCommands: moving a day's tasks and the bulk delete
//   timer.cpp       the 100 ms timer: the clock, the change of day, the alarms
//   alarmlauncher.cpp  AlarmLauncher: each alarm check carried out, the alarm program started
//   tray.cpp        the tray menu
//   listvisibility.cpp  ListVisibility: hiding and showing again, hover hiding, the list hidden
//                   while a dialog shows, a summons carried out, top-most
//   traycontroller.cpp  TrayController: the tray icon, the hot keys, a second start
//   attachments.cpp AttachmentCommands: the attachment commands, the URL dialog's loop and
//                   dropped files
//   hint.cpp        when the attachment hint shows
//   display.cpp     WindowLayout: the row height and fonts at the display's scale, the scale
//                   and the monitors changing while the program runs
//   accessiblenames.cpp  names for screen readers
//   automation.cpp  the messages a test driver sends

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "commands/commandtable.h"
#include "commands/reach.h"
#include "geometry/hover.h"
#include "geometry/layout.h"
#include "geometry/tick.h"
#include "geometry/zones.h"
#include "mainwindow/alarmlauncher.h"
#include "mainwindow/attachments.h"
#include "mainwindow/commandmenus.h"
#include "mainwindow/gridpainter.h"
#include "mainwindow/headerhints.h"
#include "mainwindow/listdialogs.h"
#include "mainwindow/listvisibility.h"
#include "mainwindow/taskediting.h"
#include "mainwindow/taskgrid.h"
#include "mainwindow/traycontroller.h"
#include "mainwindow/viewmode.h"
#include "mainwindow/windowlayout.h"
#include "platform/handles.h"
#include "platform/msgbox.h"
#include "platform/window.h"
#include "settings/settings.h"
#include "settings/winposition.h"
#include "store/alarm.h"
#include "commands/keymap.h"
#include "store/taskfile.h"
#include "store/tasklist.h"

namespace lq::win {

class Application;
class PlainChild;

class TfrmToDo final : public Window {
 public:
  static constexpr const wchar_t* kClassName = L"TfrmToDo";
  static constexpr const wchar_t* kCaption = L"Tarnwillow";
  static constexpr COLORREF kWindowColour = 16772332;  // red 236, green 236, blue 255

  explicit TfrmToDo(Application& app);
  ~TfrmToDo() override;

  // Creates the window (FormCreate runs) without showing it.
  bool Create();
  // Shows the window; the first showing loads the settings.
  void Show();
  // Keys the window sees before the focused control (and the grid menu's shortcuts); true when
  // the message was taken.
  bool PreTranslateMessage(const MSG& msg);
  // Removes a pending or shown attachment hint (when the list is hidden or a dialog comes up).
  void CancelHint();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  static constexpr UINT_PTR kMainTimer = 1;
  // Opens the text editor on a long first text once the list has been painted.
  static constexpr UINT_PTR kLateEditorTimer = 2;
  // Texts from this length on cost the edit control a noticeable pass for each step of its
  // opening (setting, selecting, painting), so at start-up the list is shown first.
  static constexpr std::size_t kLateEditorBytes = 4096;

  // --- life (mainwindow.cpp)
  void FormCreate();
  void GiveAccessibleNames();            // accessiblenames.cpp
  void GiveDatePickerName(HWND picker);  // when the picker is made (accessiblenames.cpp)
  bool FormClose();  // false: the close was cancelled
  void Close();      // WM_CLOSE: FormClose, then the window destroyed unless it was cancelled
  void FormShow();
  void LoadAndApplySettings();
  void OpenLateEditor();
  void ReportLoadProblems();
  void ShowSettingsWriteError();  // "<settings file> に書き込めません"
  // Every message box of the window: the editors stay open while it shows, and the control
  // that had the focus gets it back (an editor with its caret where it was).
  int ShowMessage(BoxKind kind, const std::wstring& text);
  // A yes-or-no question that gives up when the settings dialog was opened meanwhile.
  std::optional<int> AskUnlessInterrupted(const std::wstring& question);
  // The answer to a message of the test automation (automation.h); none for any other message.
  std::optional<LRESULT> Automation(UINT msg, WPARAM wParam, LPARAM lParam);

  // --- drawing (mainwindow.cpp, through GridPainter)
  void gridToDoDrawCell(HDC dc, int col, int row, const RECT& cell);

  // --- modes (modes.cpp); view mode's image, transparency and mouse (viewmode.cpp)
  void EnterEditMode(bool openEditor = true);
  void EnterViewMode();
  void imgNotEditModeDblClick();

  // --- the main timer and alarms (timer.cpp)
  void tmrHideWhenOnMouseTimer();
  void ClockMayHaveJumped();  // the time was set, or the machine woke up
  void popitemAlarmClick();

  // --- commands (commands.cpp): every command, from a menu, a key or a header button
  void Run(Command command);
  CommandContext CurrentContext() const;
  HWND HeaderButton(Command command) const;
  void OpenMenuBelow(MenuKind menu, HWND button);
  // After a wait for the user: the editors close (their sort may move rows) and the task the
  // command started on, found again wherever it went, becomes the current one. False, after
  // saying so, when it was changed or deleted meanwhile: the command then does nothing.
  bool SelectTaskAfterWait(const TaskIdentity& task, int row);
  void popitemAddClick();
  void popitemDelClick();
  void popitemDoneOrNotClick();
  void popitemRepeatClick(Repeat kind);
  // Takes back the list's last change, or does again the last one taken back: the task becomes
  // current, at the same distance from the top.
  void popitemUndoClick(bool redo);
  void popitemConfigClick();
  void popitemSyncClick();

  // --- the tray menu (tray.cpp)
  void PopTaskTray(POINT screen);  // popTaskTrayPopup, then the menu at a screen point
  void btnMenuClick();
  void imgNotEditModeContextPopup();
  void popitemEditClick();
  void btnExitClick1();

  // --- after an attachment command (commands.cpp)
  void FinishAttachmentChange();

  // --- the attachment hint (hint.cpp)
  void UpdateHint(int x, int y);  // from the grid's mouse moves

  // --- input (input.cpp)
  void gridToDoMouseUp(TaskGrid::Button button, UINT keys, int x, int y);
  void gridToDoMouseDown(TaskGrid::Button button, int x, int y);
  void gridToDoMouseMove(int x, int y);
  void gridToDoKeyPress(wchar_t ch);
  void gridToDoTopLeftChanged();
  void gridToDoExit();
  void ActAsClickOnCurrentRow(int col);
  void RunKeyAction(const FormKey& key);
  void OnMouseWheel(WPARAM wParam, LPARAM lParam);

  // What lives for the whole run belongs to the application; the task list and the settings
  // are named here because nearly every line uses them.
  Application& app_;
  TaskList& list_;
  Settings& settings_;

  // Child windows.
  std::unique_ptr<PlainChild> pnlBase;
  std::unique_ptr<TaskGrid> gridToDo;
  // View mode: imgNotEditMode with the clock labels lblYMDHM and lblSecond, the transparency,
  // and the edges that move and size the window.
  ViewMode view_;
  TaskEditing editing_;  // edtToDoText and cmbDate
  // The children placed, the columns, the row height, the display's scale and monitors.
  WindowLayout layout_;
  std::array<HWND, 5> headerButtons_{};  // btnAdd, btnDel, btnPopAttach, btnPopEdit, btnMenu
  HeaderHints hints_;
  Icon programIcon_;
  Brush windowBrush_;  // kWindowColour

  // The popup menus, made from the command table.
  CommandMenus menus_;
  TrayController tray_;  // the tray icon, the hot keys, a second start
  // The user's hide command, hover hiding, top-most.
  ListVisibility visibility_;
  AttachmentCommands attachments_;
  ListDialogCommands listDialogs_;

  // Window state.
  bool editMode_ = true;
  bool InTimer = false;
  TimerState timer_;  // LastDate, LastAlarmMinute and the clock labels' captions
  AlarmLauncher alarms_;
  // Where the window is in its life, in this order. A settings reload moves between the two
  // late-editor states and Ready; a close the user declines goes back to where it was.
  enum class Life {
    Created,            // the settings not applied yet: a size change lays nothing out
    Applied,            // the settings applied, not yet painted once
    AppliedLateEditor,  // as Applied, and the editor of a long first text is still to open
    ShownLateEditor,    // painted once, that editor still to open
    Ready,              // shown, laid out and painted once (answered to the ready query)
    Closing,            // WM_CLOSE at work: a second one is ignored
  };
  Life life_ = Life::Created;
  bool SettingsApplied() const { return life_ != Life::Created; }
  bool ignoreGridMouseUp_ = false;  // the release that ends a double-click on the view image
  GridPainter painter_{list_, settings_};
};

}  // namespace lq::win
