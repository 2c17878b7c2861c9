#include "mainwindow/mainwindow.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "app/application.h"
#include "mainwindow/automation.h"
#include "mainwindow/childwindows.h"
#include "platform/imagelist.h"
#include "platform/codepage.h"
#include "platform/msgbox.h"
#include "settings/textforms.h"

namespace lq::win {
namespace {

constexpr UINT kReportLoadProblems = WM_APP + 1;
constexpr UINT kAddTrayIcon = WM_APP + 2;
constexpr int kGridId = 100;

std::wstring PathText(const std::filesystem::path& p) { return p.wstring(); }

std::uint32_t SystemColour(int index) { return static_cast<std::uint32_t>(::GetSysColor(index)); }

}  // namespace

bool TfrmToDo::Create() {
  programIcon_.Reset(CreateProgramIcon(32));
  RegisterClass(kClassName, CS_DBLCLKS, nullptr, ::LoadCursorW(nullptr, IDC_ARROW), programIcon_.Get());
  // Borderless, owned by the hidden application window, so it has no taskbar button.
  return ::CreateWindowExW(0, kClassName, kCaption, WS_POPUP | WS_CLIPCHILDREN, 0, 0, Scale(kDefaultWindowSize.x),
                           Scale(kDefaultWindowSize.y), app_.Window(),
                           nullptr, ::GetModuleHandleW(nullptr), this) != nullptr;
}

void TfrmToDo::Show() {
  ::ShowWindow(Handle(), SW_SHOW);
  ::SetForegroundWindow(Handle());

  ::RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  if (life_ == Life::Created || life_ == Life::Applied) life_ = Life::Ready;
  if (life_ == Life::AppliedLateEditor) life_ = Life::ShownLateEditor;
  const TaskFileLoadReport& report = app_.loadReport;
  if (report.lastSyncWriteFailed || !LoadReportMessage(report, app_.TaskFilePath()).empty()) {
    ::PostMessageW(Handle(), kReportLoadProblems, 0, 0);
  }
}

// ---------------------------------------------------------------------------------------------
// Creation

void TfrmToDo::FormCreate() {
  // The state every other part starts from; the present moment for the loader.
  editMode_ = true;
  InTimer = false;
  const DateTime now = app_.clock.Now();
  timer_.LastDate = now.date;
  timer_.LastAlarmMinute.Clear();

  tray_.Attach(Handle());
  visibility_.Attach(Handle());
  hints_.Attach(app_.Window());
  alarms_.Attach(Handle());
  attachments_.Attach(Handle());
  listDialogs_.Attach(Handle());
  windowBrush_.Reset(::CreateSolidBrush(kWindowColour));

  painter_.MakeImages(Scale(kImageSize));

  // The child windows: the panel with the grid and the header buttons, and the view image.
  // Both pass the mouse on for moving and sizing the borderless window.
  const auto mouse = [this](UINT msg, WPARAM, int x, int y) {
    switch (msg) {
      case WM_LBUTTONDOWN: view_.imgNotEditModeMouseDown(x, y); break;
      case WM_MOUSEMOVE: view_.imgNotEditModeMouseMove(x, y); break;
      case WM_LBUTTONUP: ::ClipCursor(nullptr); break;
      case WM_LBUTTONDBLCLK:
        if (!editMode_) imgNotEditModeDblClick();
        break;
      default: break;
    }
  };
  pnlBase = std::make_unique<PlainChild>(PlainChild::Callbacks{
      [this](HDC dc, const RECT& rc) {
        // A raised 1-pixel bevel and a 3-pixel border around the grid.
        ::FillRect(dc, &rc, windowBrush_.Get());
        RECT edge = rc;
        ::DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
      },
      mouse, [this] { return view_.Edges().Cursor(); }});
  pnlBase->Create(Handle(), L"pnlBase", true);
  view_.Attach(Handle(), pnlBase->Handle());
  // The view image's context menu is the tray menu; its hint says how to edit.
  const auto imageMouse = [this, mouse](UINT msg, WPARAM wParam, int x, int y) {
    if (msg == WM_RBUTTONUP) {
      imgNotEditModeContextPopup();
    } else {
      hints_.FirstMove(view_.Image().Handle(), msg, wParam, MAKELPARAM(x, y));
      mouse(msg, wParam, x, y);
    }
  };
  view_.Image().Create(Handle(), kWindowColour,
                       ViewImage::Callbacks{imageMouse, [this] { return view_.Edges().Cursor(); }});

  TaskGrid::Callbacks gridCallbacks;
  gridCallbacks.drawCell = [this](HDC dc, int col, int row, const RECT& cell) { gridToDoDrawCell(dc, col, row, cell); };
  gridCallbacks.clientResized = [this] {
    if (SettingsApplied()) layout_.FormResize();
  };
  gridCallbacks.mouseDown = [this](TaskGrid::Button b, UINT, int x, int y) { gridToDoMouseDown(b, x, y); };
  gridCallbacks.mouseUp = [this](TaskGrid::Button b, UINT keys, int x, int y) {
    // The release that ends a double-click on the view image lands on the live list: it must
    // not open an editor there. Only a real release: the ones other commands act out are not it.
    if (b == TaskGrid::Button::Left && std::exchange(ignoreGridMouseUp_, false)) return;
    gridToDoMouseUp(b, keys, x, y);
  };
  gridCallbacks.mouseMove = [this](UINT, int x, int y) { gridToDoMouseMove(x, y); };
  gridCallbacks.keyPress = [this](wchar_t ch) { gridToDoKeyPress(ch); };
  gridCallbacks.beforeMove = [this] { editing_.CloseEditors(); };
  gridCallbacks.topLeftChanged = [this] { gridToDoTopLeftChanged(); };
  gridCallbacks.exit = [this] { gridToDoExit(); };
  gridCallbacks.enterCom = [this] { return app_.EnsureCom(); };
  gridToDo = std::make_unique<TaskGrid>(list_, std::move(gridCallbacks));
  gridToDo->Create(pnlBase->Handle(), kGridId);
  gridToDo->SetBackground(kWindowColour);

  // Header buttons, above the grid's header row. Drawn as images, their texts show nowhere:
  // they are the commands' hints, the buttons' names for screen readers. The control that
  // shows the hints is made when the mouse first comes onto a button.
  std::size_t n = 0;
  for (const Command c : HeaderButtons()) {
    const HWND button = ::CreateWindowExW(0, L"BUTTON", InfoOf(c).hint, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0,
                                          Scale(kHeaderButtonWidth), Scale(kHeaderButtonHeight), pnlBase->Handle(),
                                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(ButtonId(c))),
                                          ::GetModuleHandleW(nullptr), nullptr);
    headerButtons_[n++] = button;
    ::SetWindowPos(button, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    hints_.Add(pnlBase->Handle(), button, InfoOf(c).hint, true);
  }
  hints_.Add(Handle(), view_.Image().Handle(), L"編集するにはダブルクリックします", false);
  layout_.Attach(Handle(), pnlBase->Handle(), *gridToDo, headerButtons_);

  editing_.Create(Handle(), pnlBase->Handle(), headerButtons_);  // the popup menus are made when first needed
  GiveAccessibleNames();
  app_.frmHint.Attach(app_.Window(), Handle());  // the popup itself is made when first needed
  list_.Hooks.hideEditors = [this] { editing_.HideEditors(); };
  list_.Hooks.openTextEditor = [this] { editing_.OpenTextEditor(); };

  // Header captions and column widths.
  list_.Table().SetHeaderCaptions();
  for (int c = 0; c < kColumnCount; ++c) gridToDo->SetColWidth(c, kInitialColumnWidths[static_cast<std::size_t>(c)]);

  // The tray icon, and no taskbar button. Talking to the shell takes longer than drawing
  // the list, so the icon is added just after the window has first been painted.
  ::PostMessageW(Handle(), kAddTrayIcon, 0, 0);
  const LONG_PTR ownerStyle = ::GetWindowLongPtrW(app_.Window(), GWL_EXSTYLE);
  ::SetWindowLongPtrW(app_.Window(), GWL_EXSTYLE, ownerStyle | WS_EX_TOOLWINDOW | WS_EX_TOPMOST);

  // The stored window position, and the tasks.
  const WindowPosition stored = app_.LoadForStart(Dpi(), now);

  // Size, then the position judged against the monitors attached. The stored size is
  // in pixels as Windows reported them; only the default is a 96-DPI size.
  const Screens screens = CurrentScreens();
  const Point size = FitWindowSize(stored.width, stored.height, screens.workArea, Dpi());
  const Point at =
      PlaceMainWindow(StoredPosition{stored.x, stored.y, size.x, size.y, Dpi()}, screens.primary, screens.monitors);
  ::SetWindowPos(Handle(), nullptr, at.x, at.y, size.x, size.y, SWP_NOZORDER | SWP_NOACTIVATE);

  // Losing activation enters view mode (WM_ACTIVATEAPP). Files may be dropped here:
  // the style bit alone, as the shell would set it, so the shell loads on the first drop.
  ::SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ::GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
}

void TfrmToDo::ShowSettingsWriteError() {
  ShowMessage(BoxKind::Error, FromUtf8(WriteFailureMessage(app_.SettingsFilePath())));
}

void TfrmToDo::ReportLoadProblems() {
  // The conversion of an old headerless file marks the synchronisation as never run; when
  // that could not be written, say so like any other failed settings write.
  const TaskFileLoadReport& report = app_.loadReport;
  if (report.lastSyncWriteFailed) ShowSettingsWriteError();
  const std::string text = LoadReportMessage(report, app_.TaskFilePath());
  if (!text.empty()) ShowMessage(BoxKind::Warning, FromUtf8(text));
}

void TfrmToDo::gridToDoDrawCell(HDC dc, int col, int row, const RECT& cell) {
  painter_.DrawCell(dc, col, row, cell, GridPainter::View{editMode_, layout_.RowHeight(), Dpi()});
}

// ---------------------------------------------------------------------------------------------
// Closing

int TfrmToDo::ShowMessage(BoxKind kind, const std::wstring& text) {
  CancelHint();
  // The box takes the focus only for as long as it shows: losing it to the box is no exit for
  // the editors, and the control that had it gets it back, an editor's caret unmoved.
  const HWND focus = ::GetFocus();
  const bool ours = focus && (focus == Handle() || ::IsChild(Handle(), focus));
  int answer = 0;
  {
    const InPlaceEditors::Quiet quiet(editing_.Editors());
    answer = ShowBox(Handle(), kind, text);
  }
  if (ours && ::IsWindowVisible(focus) && ::IsWindowEnabled(focus)) ::SetFocus(focus);
  return answer;
}

bool TfrmToDo::FormClose() {
  RECT rc{};
  ::GetWindowRect(Handle(), &rc);
  const bool ok = app_.SaveForExit(WindowPosition{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top},
                                   [this](const std::filesystem::path& file) {
                                     ShowMessage(BoxKind::Error, PathText(file) + L" の保存が出来ませんでした。");
                                   });

  // Declining keeps everything running as it was.
  if (!ok &&
      ShowMessage(BoxKind::WarningYesNo, L"保存時にエラーが発生しました。\r\n終了してもよろしいですか？") == IDNO) {
    return false;
  }

  // Teardown.
  ::KillTimer(Handle(), kMainTimer);
  tray_.Teardown();
  return true;
}

void TfrmToDo::Close() {
  const Life before = std::exchange(life_, Life::Closing);
  if (FormClose()) {
    ::DestroyWindow(Handle());
    return;
  }
  life_ = before;
  // The editor of a long first text still opens, if its time came while the question showed.
  if (before == Life::AppliedLateEditor || before == Life::ShownLateEditor) {
    ::SetTimer(Handle(), kLateEditorTimer, 0, nullptr);
  }
}

// ---------------------------------------------------------------------------------------------
// The first showing

void TfrmToDo::FormShow() {
  if (!app_.frmConfig.SettingsReloadPending) return;
  LoadAndApplySettings();
}

void TfrmToDo::LoadAndApplySettings() {
  // Every setting, from one reading of the file.
  app_.frmConfig.SettingsReloadPending = false;
  const IniProfile::Batch oneReading(app_.profile);
  settings_ = LoadSettings(app_.profile, &SystemColour);
  list_.DoneDown = settings_.DoneDown;
  layout_.ApplyRowMetrics();

  // The input method of the text editor.
  editing_.ApplyInputMethod();

  // The hot keys. (The tray menu's "同期" follows [Sync] Enabled each time the menu
  // is prepared for showing; the menus are made then, not here.)
  tray_.RegisterHotKeys(settings_);

  // At least four rows high, and a whole number of rows.
  RECT rc{};
  ::GetWindowRect(Handle(), &rc);
  if (rc.bottom - rc.top < MinimumHeight(layout_.RowHeight(), Dpi())) {
    ::SetWindowPos(Handle(), nullptr, 0, 0, rc.right - rc.left, MinimumHeight(layout_.RowHeight(), Dpi()),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  view_.SnapHeightToRows();

  // Sorted from the start, with the first task selected at the top.
  // Not opening the editor here: entering edit mode below opens it on the same row, once.
  list_.SortTasks(list_.CurrentRow() - list_.TopRow(), false);
  list_.SetTopRow(1);
  list_.SetCurrentRow(1);

  // The top-most band; entering edit mode below lays out and applies the transparency.
  visibility_.ApplyTopMost();

  // Edit mode, with the text of the editor selected. The list is the window's first
  // control, so it holds the focus whenever no editor does.
  const bool shown = life_ == Life::ShownLateEditor || life_ == Life::Ready;
  // A timer comes after painting, so a long text's editor does not hold back the first frame.
  const bool late = list_.Table().Cell(colText, list_.CurrentRow()).size() >= kLateEditorBytes;
  if (life_ != Life::Closing) {
    life_ = shown ? (late ? Life::ShownLateEditor : Life::Ready) : (late ? Life::AppliedLateEditor : Life::Applied);
  }
  ::SetFocus(gridToDo->Handle());
  EnterEditMode(!late);
  if (late) {
    ::SetTimer(Handle(), kLateEditorTimer, 0, nullptr);
  } else {
    editing_.Editors().SelectAllText();
  }
  ::SetTimer(Handle(), kMainTimer, 100, nullptr);
}

void TfrmToDo::OpenLateEditor() {
  ::KillTimer(Handle(), kLateEditorTimer);
  if (life_ == Life::AppliedLateEditor) {
    life_ = Life::Applied;
  } else if (life_ == Life::ShownLateEditor) {
    life_ = Life::Ready;
  } else {
    return;  // a close at work comes back to it when it is declined
  }
  // Whatever the user did meanwhile (another row, view mode, an editor) stands.
  const HWND focus = ::GetFocus();
  if (!editMode_ || editing_.Editors().AnyOpen() || (focus && focus != gridToDo->Handle())) return;
  editing_.OpenTextEditor();
  editing_.Editors().SelectAllText();
}

// ---------------------------------------------------------------------------------------------
// The settings dialog

void TfrmToDo::popitemConfigClick() {
  if (app_.frmConfig.Visible()) return;
  // Showing applies the settings file when the dialog closed with OK or キャンセル, and that ends
  // in edit mode with the keyboard on the list.
  visibility_.RunHiddenWhile(app_.frmConfig, [this] { return !app_.frmConfig.SettingsReloadPending; });
}

// ---------------------------------------------------------------------------------------------
// The synchronisation dialog

void TfrmToDo::popitemSyncClick() {
  if (!settings_.SyncEnabled || app_.frmSync.Visible()) return;
  // The run adds, deletes and re-sorts rows: no editor may stay on one (hiding closes them).
  visibility_.RunHiddenWhile(app_.frmSync, [this] {
    gridToDo->Refresh();
    return true;
  });
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT TfrmToDo::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (const auto answer = Automation(msg, wParam, lParam)) return *answer;
  if (const auto answer = tray_.OnMessage(msg, wParam, lParam)) return *answer;
  switch (msg) {
    case WM_TIMECHANGE:
      ClockMayHaveJumped();
      return 0;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) ClockMayHaveJumped();
      return TRUE;
    case AlarmLauncher::kShowMissedAlarms:
      alarms_.ShowMissed();
      return 0;
    case WM_CREATE:
      FormCreate();
      return 0;
    case WM_SHOWWINDOW:
      if (wParam) {
        FormShow();
      } else {
        CancelHint();  // no hint for a hidden list
      }
      return Default(msg, wParam, lParam);
    case WM_SIZE:
      layout_.LayoutChildren();
      if (SettingsApplied()) layout_.FormResize();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_GETMINMAXINFO:
      Default(msg, wParam, lParam);
      layout_.OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_DRAWITEM: {
      const auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (di->CtlType == ODT_BUTTON) painter_.DrawHeaderButton(*di, windowBrush_.Get(), Dpi());
      return TRUE;
    }
    case WM_COMMAND:
      if (editing_.Editors().OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam))) return 0;
      // A menu item (no control) or a header button; BN_CLICKED is 0 like a menu's code.
      if (lParam == 0) {
        if (const auto item = MenuItemOfId(LOWORD(wParam))) Run(item->second);
      } else if (HIWORD(wParam) == BN_CLICKED) {
        if (const auto c = CommandOfButtonId(LOWORD(wParam))) Run(*c);
      }
      return 0;
    case WM_NOTIFY: {
      editing_.Editors().OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    }
    case WM_CTLCOLOREDIT:
      if (const auto brush =
              editing_.Editors().OnCtlColorEdit(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
        return *brush;
      }
      return Default(msg, wParam, lParam);
    case WM_ACTIVATEAPP:
      // Another application became active: the list turns into its still image, each time, so
      // that a list changed meanwhile in view mode (by 同期) is saved too.
      if (!wParam && life_ >= Life::ShownLateEditor) EnterViewMode();
      return 0;
    case WM_ENTERSIZEMOVE:
      Default(msg, wParam, lParam);
      view_.OnEnterSizeMove();
      return 0;
    case WM_EXITSIZEMOVE:
      Default(msg, wParam, lParam);
      view_.OnExitSizeMove();
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(wParam, lParam);
      return 0;
    case WM_TIMER:
      if (wParam == kMainTimer) tmrHideWhenOnMouseTimer();
      if (wParam == kLateEditorTimer) OpenLateEditor();
      return 0;
    case WM_CLOSE:
      if (life_ != Life::Closing) Close();
      return 0;
    case WM_DPICHANGED:
      layout_.OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DISPLAYCHANGE:
      layout_.RescueFromOffScreen();
      return Default(msg, wParam, lParam);
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETWORKAREA) layout_.RescueFromOffScreen();
      return Default(msg, wParam, lParam);
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) ::SendMessageW(Handle(), WM_CLOSE, 0, 0);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    case WM_DROPFILES:
      attachments_.FormDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case kReportLoadProblems:
      ReportLoadProblems();
      return 0;
    case kAddTrayIcon:
      if (life_ != Life::Closing) tray_.AddIcon(programIcon_.Get());
      return 0;
    case ListVisibility::kBringWaitForward:
      BringWaitForward(Handle());
      return 0;
    default:
      return Default(msg, wParam, lParam);
  }
}

}  // namespace lq::win
