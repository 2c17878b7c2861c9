#pragma once
// Query messages the main window answers, like the standard controls' own query messages, so a
// test driver (or an accessibility tool) can read state that neither files nor pixels show,
// and the few hooks a test driver needs to drive it. All are sent to the window of class
// "TfrmToDo".

#include <windows.h>

namespace lq::automation {

// The messages that change state (kSetClockOffset, kDropFilesData, kInputFence) are answered
// only when the program was started with this environment variable set to "1", as a test
// driver starts it; a normal start ignores them and answers 0. The queries answer always.
inline constexpr const wchar_t* kEnvironmentVariable = L"LQ_AUTOMATION";

inline constexpr UINT kReady = WM_APP + 0x200;        // 1 once the first showing has finished
inline constexpr UINT kCurrentRow = WM_APP + 0x201;   // the grid's current row
inline constexpr UINT kTopRow = WM_APP + 0x202;       // the first task row shown
inline constexpr UINT kRowCount = WM_APP + 0x203;     // rows including the header row
inline constexpr UINT kVisibleRows = WM_APP + 0x204;  // whole task rows that fit
inline constexpr UINT kEditMode = WM_APP + 0x205;     // 1 in edit mode, 0 in view mode
// wParam = MAKEWPARAM(column, row), lParam = the HWND that receives the cell's code-page-932
// bytes as WM_COPYDATA with dwData = kCellData. Returns 1 when sent.
inline constexpr UINT kGetCell = WM_APP + 0x206;
inline constexpr ULONG_PTR kCellData = 0x4C510001;
// QueryPerformanceCounter value of the grid's first painted frame, 0 before it.
inline constexpr UINT kFirstPaint = WM_APP + 0x207;
// QueryPerformanceCounter value of the grid's latest painted frame: a benchmark's "repainted".
inline constexpr UINT kLastPaint = WM_APP + 0x20D;
// The grid's client rectangle in screen coordinates, packed as the HWND's cell query above:
// wParam 0..3 gives left, top, right, bottom.
inline constexpr UINT kGridRect = WM_APP + 0x208;
// Row height in pixels; column width for wParam = column (LOWORD) when lParam = 1.
inline constexpr UINT kMetrics = WM_APP + 0x209;

// The editors: 1 text editor shown, 2 date picker shown, 4 list focused, 8 text editor
// focused, 16 date picker focused.
inline constexpr UINT kEditors = WM_APP + 0x20A;
inline constexpr LRESULT kTextEditorShown = 1;
inline constexpr LRESULT kDatePickerShown = 2;
inline constexpr LRESULT kListFocused = 4;
inline constexpr LRESULT kTextEditorFocused = 8;
inline constexpr LRESULT kDatePickerFocused = 16;

// Shifts the program's clock by the signed 64-bit lParam, in milliseconds. Lets a test bring the program to midnight or to an
// alarm's minute at once. Under LQ_AUTOMATION=1 only.
inline constexpr UINT kSetClockOffset = WM_APP + 0x20B;

// The attachment hint: 0 idle, 1 waiting for its delay, 2 showing.
inline constexpr UINT kHintState = WM_APP + 0x20C;

// Files dropped as a user drops them: WM_COPYDATA to the window with dwData = kDropFilesData
// and the data a DropFilesRequest followed by the paths, each ended by a UTF-16 NUL, and one
// more NUL. The window builds a real drop (HDROP) of those paths at that screen point and
// posts itself WM_DROPFILES, so the ordinary drop handling runs, questions included, after
// the send has returned 1. A drop outside the client area is marked as such, as the shell
// does. Under LQ_AUTOMATION=1 only.
inline constexpr ULONG_PTR kDropFilesData = 0x4C510002;
struct DropFilesRequest {
  LONG x;  // screen coordinates
  LONG y;
};

// Alarm checks finished so far (wParam 0), or starts of the alarm program (wParam 1), in this
// run: a test waits for a check and then counts the alarms rung.
inline constexpr UINT kAlarmCounts = WM_APP + 0x220;

// The input fence, for a driver that must know when the input it sent has been handled: once
// asked, the user-interface thread takes every F24 key press out of its input (in any message
// loop, message boxes and menus included) and counts it. Returns the count so far. A driver sends
// F24 after its input and waits until the count grows: everything before it has been handled.
// With wParam = kFenceModifiers it answers which modifiers the program saw held at the last
// fence (Ctrl 1, Shift 2, Alt 4): Wine forgets a held Ctrl when a window takes the X focus, so a
// driver checks that a chord's modifiers arrived before it sends the chord's key. Under
// LQ_AUTOMATION=1 only.
inline constexpr UINT kInputFence = WM_APP + 0x2FF;
inline constexpr WPARAM kFenceModifiers = 1;
inline constexpr UINT kFenceKey = 0x87;  // VK_F24

}  // namespace lq::automation
