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

TfrmToDo::TfrmToDo(Application& app) : app_(app), list_(app.list), settings_(app.settings) {}

TfrmToDo::~TfrmToDo() = default;

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
  ready_ = true;
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
  UserHidden = false;
  InTimer = false;
  const DateTime now = app_.clock.Now();
  timer_.LastDate = now.date;
  clockFormat_ = "yyyy\"/\"mm\"/\"dd(aaa) hh:nn";
  timer_.LastAlarmMinute.Clear();
  minimumWidthBase_ = 0;
  topEdgeFlag_ = false;

  tray_.Attach(Handle());
  windowBrush_.Reset(::CreateSolidBrush(kWindowColour));

  images_.Reset(CreateMainImageList(Scale(kImageSize)));

  // The child windows: the panel with the grid and the header buttons, and the view image.
  // Both pass the mouse on for moving and sizing the borderless window.
  const auto mouse = [this](UINT msg, WPARAM, int x, int y) {
    switch (msg) {
      case WM_LBUTTONDOWN: imgNotEditModeMouseDown(x, y); break;
      case WM_MOUSEMOVE: imgNotEditModeMouseMove(x, y); break;
      case WM_LBUTTONUP: imgNotEditModeMouseUp(); break;
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
      mouse, [this] { return ZoneCursorHandle(); }});
  pnlBase->Create(Handle(), L"pnlBase", true);
  // The view image's context menu is the tray menu; its hint says how to edit.
  const auto imageMouse = [this, mouse](UINT msg, WPARAM wParam, int x, int y) {
    if (msg == WM_RBUTTONUP) {
      imgNotEditModeContextPopup();
    } else {
      if (msg == WM_MOUSEMOVE && !tooltips_) {
        CreateHints();
        // The hint control watches the image from now on; this first move it is told of.
        MSG m{viewImage_.Handle(), msg, wParam, MAKELPARAM(x, y), static_cast<DWORD>(::GetMessageTime()), {}};
        ::SendMessageW(tooltips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
      }
      mouse(msg, wParam, x, y);
    }
  };
  viewImage_.Create(Handle(), kWindowColour, ViewImage::Callbacks{imageMouse, [this] { return ZoneCursorHandle(); }});

  TaskGrid::Callbacks gridCallbacks;
  gridCallbacks.drawCell = [this](HDC dc, int col, int row, const RECT& cell) { gridToDoDrawCell(dc, col, row, cell); };
  gridCallbacks.clientResized = [this] {
    if (firstShowDone_) FormResize();
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
  gridCallbacks.beforeMove = [this] { CloseEditors(); };
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
    ::SetWindowSubclass(button, &HeaderButtonFirstHover, 0, reinterpret_cast<DWORD_PTR>(this));
  }

  CreateEditors();  // the popup menus are made when first needed
  GiveAccessibleNames();
  app_.frmHint.Attach(app_.Window(), Handle());  // the popup itself is made when first needed
  list_.Hooks.hideEditors = [this] { HideEditors(); };
  list_.Hooks.openTextEditor = [this] { OpenTextEditor(); };

  // Header captions and column widths.
  list_.Table().SetHeaderCaptions();
  for (int c = 0; c < kColumnCount; ++c) gridToDo->SetColWidth(c, kInitialColumnWidths[static_cast<std::size_t>(c)]);

  // The tray icon, and no taskbar button. Talking to the shell takes longer than drawing
  // the list, so the icon is added just after the window has first been painted.
  ::PostMessageW(Handle(), kAddTrayIcon, 0, 0);
  ApplyToolWindowStyle();

  // The stored window position.
  const WindowPosition stored = ReadWinPosition(app_.profile, Dpi());

  // The tasks, built in the order of the first sort (which the settings' DoneDown decides).
  list_.Clear();
  list_.DoneDown = ReadBoolean(app_.profile, keys::DoneDown);
  app_.loadReport = app_.taskFile.LoadTaskFile(list_, app_.profile, now);
  list_.UpdateTaskCounts();

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

LRESULT CALLBACK TfrmToDo::HeaderButtonFirstHover(HWND button, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                                  DWORD_PTR self) {
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(button, &HeaderButtonFirstHover, id);
  const auto byDefault = [&] { return ::DefSubclassProc(button, msg, wParam, lParam); };
  return Guarded(
      "header button",
      [&]() -> LRESULT {
        if (msg == WM_MOUSEMOVE) {
          auto* form = reinterpret_cast<TfrmToDo*>(self);
          form->CreateHints();
          // The hint control watches the buttons from now on; this first move it is told of.
          MSG m{button, msg, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
          ::SendMessageW(form->tooltips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
        }
        return byDefault();
      },
      byDefault);
}

void TfrmToDo::CreateHints() {
  if (tooltips_) return;
  // The hints belong to the application window: a top-most tip owned by the main window would
  // keep the main window itself out of the top-most band (as Wine does it).
  tooltips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, app_.Window(), nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
  std::size_t n = 0;
  for (const Command c : HeaderButtons()) {
    const HWND button = headerButtons_[n++];
    ::RemoveWindowSubclass(button, &HeaderButtonFirstHover, 0);
    hints_.push_back(Hint{pnlBase->Handle(), button, InfoOf(c).hint});
  }
  hints_.push_back(Hint{Handle(), viewImage_.Handle(), L"編集するにはダブルクリックします"});
  for (const Hint& h : hints_) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = h.owner;
    ti.uId = reinterpret_cast<UINT_PTR>(h.tool);
    ti.lpszText = const_cast<wchar_t*>(h.text);
    ::SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

void TfrmToDo::SilenceHints(bool silent) {
  if (!tooltips_) return;
  ::SendMessageW(tooltips_, TTM_POP, 0, 0);
  // A hint still waiting for its delay shows when the delay is over, whatever happened
  // meanwhile; one without a text shows nothing.
  for (const Hint& h : hints_) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = h.owner;
    ti.uId = reinterpret_cast<UINT_PTR>(h.tool);
    ti.lpszText = const_cast<wchar_t*>(silent ? L"" : h.text);
    ::SendMessageW(tooltips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

void TfrmToDo::ApplyTopMost() {
  ::SetWindowPos(Handle(), settings_.TopMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TfrmToDo::ApplyToolWindowStyle() {
  const LONG_PTR ex = ::GetWindowLongPtrW(app_.Window(), GWL_EXSTYLE);
  ::SetWindowLongPtrW(app_.Window(), GWL_EXSTYLE, ex | WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
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

// ---------------------------------------------------------------------------------------------
// Closing

bool TfrmToDo::ShowSaveError(const std::filesystem::path& path) {
  ShowMessage(BoxKind::Error, PathText(path) + L" の保存が出来ませんでした。");
  return false;
}

int TfrmToDo::ShowMessage(BoxKind kind, const std::wstring& text) {
  CancelHint();
  // The box takes the focus only for as long as it shows: losing it to the box is no exit for
  // the editors, and the control that had it gets it back, an editor's caret unmoved.
  const HWND focus = ::GetFocus();
  const bool ours = focus && (focus == Handle() || ::IsChild(Handle(), focus));
  int answer = 0;
  {
    const InPlaceEditors::Quiet quiet(editors_);
    answer = ShowBox(Handle(), kind, text);
  }
  if (ours && ::IsWindowVisible(focus) && ::IsWindowEnabled(focus)) ::SetFocus(focus);
  return answer;
}

bool TfrmToDo::FormClose() {
  // The tasks.
  bool ok = app_.taskFile.SaveTaskFile(list_.Table());
  if (!ok) ShowSaveError(app_.TaskFilePath());

  // The window position, written in every case.
  RECT rc{};
  ::GetWindowRect(Handle(), &rc);
  if (!WriteWinPosition(app_.profile, WindowPosition{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top})) {
    ok = ShowSaveError(app_.SettingsFilePath());
  }

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
  ApplyRowMetrics();

  // The input method of the text editor.
  ApplyInputMethod();

  // The hot keys. (The tray menu's "同期" follows [Sync] Enabled each time the menu
  // is prepared for showing; the menus are made then, not here.)
  tray_.RegisterHotKeys(settings_);

  // At least four rows high, and a whole number of rows.
  RECT rc{};
  ::GetWindowRect(Handle(), &rc);
  if (rc.bottom - rc.top < MinimumHeight(rowHeight_, Dpi())) {
    ::SetWindowPos(Handle(), nullptr, 0, 0, rc.right - rc.left, MinimumHeight(rowHeight_, Dpi()),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SnapHeightToRows();

  // Sorted from the start, with the first task selected at the top.
  // Not opening the editor here: entering edit mode below opens it on the same row, once.
  list_.SortTasks(list_.CurrentRow() - list_.TopRow(), false);
  list_.SetTopRow(1);
  list_.SetCurrentRow(1);

  // The top-most band; entering edit mode below lays out and applies the transparency.
  ApplyTopMost();

  // Edit mode, with the text of the editor selected. The list is the window's first
  // control, so it holds the focus whenever no editor does.
  firstShowDone_ = true;
  ::SetFocus(gridToDo->Handle());
  // A timer comes after painting, so a long text's editor does not hold back the first frame.
  lateEditor_ = list_.Table().Cell(colText, list_.CurrentRow()).size() >= kLateEditorBytes;
  EnterEditMode(!lateEditor_);
  if (lateEditor_) {
    ::SetTimer(Handle(), kLateEditorTimer, 0, nullptr);
  } else {
    editors_.SelectAllText();
  }
  ::SetTimer(Handle(), kMainTimer, 100, nullptr);
}

void TfrmToDo::OpenLateEditor() {
  ::KillTimer(Handle(), kLateEditorTimer);
  if (!lateEditor_) return;
  lateEditor_ = false;
  // Whatever the user did meanwhile (another row, view mode, an editor) stands.
  const HWND focus = ::GetFocus();
  if (!editMode_ || editors_.TextOpen() || editors_.DateOpen() || (focus && focus != gridToDo->Handle())) return;
  OpenTextEditor();
  editors_.SelectAllText();
}

void TfrmToDo::ApplyRowMetrics() {
  // The row height and the font sizes are 96-DPI values.
  ClearFontCache();
  rowHeight_ = Scale(settings_.RowHeight);
  gridToDo->SetRowHeight(rowHeight_);

  // The editors take the grid's font; the clock labels the header's font and colours.
  const HFONT gridFont = FontFor(settings_.Class(UrgencyClass::Preview3), false);
  editors_.SetFont(gridFont, false);
  const ClassStyle& title = settings_.Class(UrgencyClass::Title);
  const COLORREF labelBack = static_cast<COLORREF>(
      MixColors(SystemColor(kColorInactiveCaption), SystemColor(kColorGradientInactiveCaption), &SystemColour));
  viewImage_.SetLabelStyle(FontFor(title, false), Resolve(title.TextColor), labelBack);
}

// ---------------------------------------------------------------------------------------------
// The settings dialog

void TfrmToDo::popitemConfigClick() {
  if (app_.frmConfig.Visible()) return;
  // Showing applies the settings file when the dialog closed with OK or キャンセル, and that ends
  // in edit mode with the keyboard on the list.
  RunHiddenWhile(app_.frmConfig, [this] { return !app_.frmConfig.SettingsReloadPending; });
}

// ---------------------------------------------------------------------------------------------
// The synchronisation dialog

void TfrmToDo::popitemSyncClick() {
  if (!settings_.SyncEnabled || app_.frmSync.Visible()) return;
  // The run adds, deletes and re-sorts rows: no editor may stay on one (hiding closes them).
  RunHiddenWhile(app_.frmSync, [this] {
    gridToDo->Refresh();
    return true;
  });
}

void TfrmToDo::RunHiddenWhile(Dialog& dialog, const std::function<bool()>& enterEditMode) {
  // No clock, change of day, alarm or hover hiding while the dialog is open.
  BeforeHiding();
  ::KillTimer(Handle(), kMainTimer);
  ::ShowWindow(Handle(), SW_HIDE);
  // The window comes back before the dialog goes, so the activation stays with the program;
  // hiding gave the activation away, so edit mode is entered again unless showing does it.
  bool back = false;
  const auto comeBack = [&] {
    back = true;
    ::SetTimer(Handle(), kMainTimer, 100, nullptr);
    const bool enter = enterEditMode();
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    if (enter) {
      ::SetFocus(gridToDo->Handle());
      EnterEditMode();
    }
    // Once the dialog has gone, not while it still shows.
    ::PostMessageW(Handle(), kBringWaitForward, 0, 0);
  };
  dialog.ShowModal(Handle(), comeBack);
  if (!back && ::IsWindow(Handle())) comeBack();  // the dialog could not be shown at all
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT TfrmToDo::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (const auto answer = Automation(msg, wParam, lParam)) return *answer;
  if (const auto answer = tray_.OnMessage(msg, wParam, lParam)) return *answer;
  switch (msg) {
    case WM_TIMECHANGE:
    case WM_POWERBROADCAST:
      // The clock may have jumped: look at once rather than at the next tick. Not while the
      // settings or synchronisation dialog has the timer stopped.
      if ((msg == WM_TIMECHANGE || wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) &&
          firstShowDone_ && !closing_ && !app_.frmConfig.Visible() && !app_.frmSync.Visible()) {
        tmrHideWhenOnMouseTimer();
      }
      return msg == WM_POWERBROADCAST ? TRUE : 0;
    case kShowMissedAlarms:
      ShowMissedAlarms();
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
      LayoutChildren();
      if (firstShowDone_) FormResize();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_GETMINMAXINFO:
      Default(msg, wParam, lParam);
      OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_DRAWITEM: {
      const auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (di->CtlType == ODT_BUTTON) DrawHeaderButton(di);
      return TRUE;
    }
    case WM_COMMAND:
      if (editors_.OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam))) return 0;
      // A menu item (no control) or a header button; BN_CLICKED is 0 like a menu's code.
      if (lParam == 0) {
        if (const auto item = MenuItemOfId(LOWORD(wParam))) Run(item->second);
      } else if (HIWORD(wParam) == BN_CLICKED) {
        if (const auto c = CommandOfButtonId(LOWORD(wParam))) Run(*c);
      }
      return 0;
    case WM_NOTIFY: {
      editors_.OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    }
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lParam) == editors_.TextHandle()) {
        ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
        ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
      }
      return Default(msg, wParam, lParam);
    case WM_ACTIVATEAPP:
      // Another application became active: the list turns into its still image, each time, so
      // that a list changed meanwhile in view mode (by 同期) is saved too.
      if (!wParam && ready_) EnterViewMode();
      return 0;
    case WM_ENTERSIZEMOVE:
      Default(msg, wParam, lParam);
      OnEnterSizeMove();
      return 0;
    case WM_EXITSIZEMOVE:
      Default(msg, wParam, lParam);
      OnExitSizeMove();
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(wParam, lParam);
      return 0;
    case WM_TIMER:
      if (wParam == kMainTimer) tmrHideWhenOnMouseTimer();
      if (wParam == kLateEditorTimer) OpenLateEditor();
      return 0;
    case WM_CLOSE:
      if (closing_) return 0;
      closing_ = true;
      if (FormClose()) {
        ::DestroyWindow(Handle());
      }
      closing_ = false;
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DISPLAYCHANGE:
      RescueFromOffScreen();
      return Default(msg, wParam, lParam);
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETWORKAREA) RescueFromOffScreen();
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
      FormDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case kReportLoadProblems:
      ReportLoadProblems();
      return 0;
    case kAddTrayIcon:
      if (!closing_) tray_.AddIcon(programIcon_.Get());
      return 0;
    case kBringWaitForward:
      BringWaitForward(Handle());
      return 0;
    default:
      return Default(msg, wParam, lParam);
  }
}

}  // namespace lq::win
