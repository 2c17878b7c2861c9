// The messages a test driver sends the main window (automation.h): queries answered always,
// the hooks that change what the program does only in a run started with LQ_AUTOMATION=1.
#include "mainwindow/automation.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "app/application.h"
#include "mainwindow/inputfence.h"
#include "mainwindow/mainwindow.h"

namespace lq::win {
namespace {

// The test hooks that change state answer only in a run started for automation.
bool HooksAnswered() {
  static const bool answered = [] {
    wchar_t value[4] = {};
    return ::GetEnvironmentVariableW(automation::kEnvironmentVariable, value, 4) == 1 && value[0] == L'1';
  }();
  return answered;
}

// A drop the driver asks for, posted as the shell would post it.
bool PostDropFiles(HWND window, const COPYDATASTRUCT& data) {
  using automation::DropFilesRequest;
  if (data.cbData < sizeof(DropFilesRequest) || !data.lpData) return false;
  const auto* bytes = static_cast<const unsigned char*>(data.lpData);
  DropFilesRequest request{};
  std::memcpy(&request, bytes, sizeof request);
  // The paths as given, ended by two NULs whatever the sender did.
  std::wstring paths((data.cbData - sizeof request) / sizeof(wchar_t), L'\0');
  std::memcpy(paths.data(), bytes + sizeof request, paths.size() * sizeof(wchar_t));
  while (!paths.empty() && paths.back() == L'\0') paths.pop_back();
  if (paths.empty()) return false;
  paths.append(2, L'\0');

  POINT at{request.x, request.y};
  ::ScreenToClient(window, &at);
  RECT client{};
  ::GetClientRect(window, &client);
  const std::size_t size = sizeof(DROPFILES) + paths.size() * sizeof(wchar_t);
  const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!memory) return false;
  auto* files = static_cast<DROPFILES*>(::GlobalLock(memory));
  files->pFiles = sizeof(DROPFILES);
  files->pt = at;
  files->fNC = !::PtInRect(&client, at);
  files->fWide = TRUE;
  std::memcpy(reinterpret_cast<unsigned char*>(files) + sizeof(DROPFILES), paths.data(), paths.size() * sizeof(wchar_t));
  ::GlobalUnlock(memory);
  // Posted, so the sender is free to answer the questions the drop asks.
  if (!::PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0)) {
    ::GlobalFree(memory);
    return false;
  }
  return true;
}

}  // namespace

std::optional<LRESULT> TfrmToDo::Automation(UINT msg, WPARAM wParam, LPARAM lParam) {
  using namespace automation;
  switch (msg) {
    case kSetClockOffset:
    case kInputFence:
    case WM_COPYDATA:
      // These change what the program does: any process on the desktop could send them.
      if (!HooksAnswered()) return 0;
      break;
    default:
      if ((msg < kReady || msg > kHintState) && msg != kAlarmCounts) return std::nullopt;
      break;
  }
  switch (msg) {
    case kReady:
      return life_ == Life::Ready || life_ == Life::Closing ? 1 : 0;
    case kCurrentRow:
      return list_.CurrentRow();
    case kTopRow:
      return list_.TopRow();
    case kRowCount:
      return list_.Table().RowCount();
    case kVisibleRows:
      return list_.VisibleRowCount();
    case kEditMode:
      return editMode_ ? 1 : 0;
    case kGetCell: {
      const int col = LOWORD(wParam);
      const int row = HIWORD(wParam);
      if (col >= kColumnCount || row >= list_.Table().RowCount()) return 0;
      const std::string_view text = list_.Table().Cell(col, row);
      COPYDATASTRUCT cds{};
      cds.dwData = kCellData;
      cds.cbData = static_cast<DWORD>(text.size());
      cds.lpData = const_cast<char*>(text.data());
      ::SendMessageW(reinterpret_cast<HWND>(lParam), WM_COPYDATA, reinterpret_cast<WPARAM>(Handle()),
                     reinterpret_cast<LPARAM>(&cds));
      return 1;
    }
    case kFirstPaint:
      return static_cast<LRESULT>(gridToDo->FirstPaintCounter());
    case kLastPaint:
      return static_cast<LRESULT>(gridToDo->LastPaintCounter());
    case kGridRect: {
      RECT rc{};
      ::GetClientRect(gridToDo->Handle(), &rc);
      ::MapWindowPoints(gridToDo->Handle(), nullptr, reinterpret_cast<POINT*>(&rc), 2);
      const LONG parts[4] = {rc.left, rc.top, rc.right, rc.bottom};
      return wParam < 4 ? parts[wParam] : 0;
    }
    case kEditors: {
      const HWND focus = ::GetFocus();
      const InPlaceEditors& e = editing_.Editors();
      return (e.TextOpen() ? kTextEditorShown : 0) | (e.DateOpen() ? kDatePickerShown : 0) |
             (focus == gridToDo->Handle() ? kListFocused : 0) | (focus == e.TextHandle() ? kTextEditorFocused : 0) |
             (focus == e.DateHandle() ? kDatePickerFocused : 0);
    }
    case kSetClockOffset:
      app_.clock.SetOffsetMilliseconds(static_cast<long long>(lParam));
      return 1;
    case kMetrics:
      if (lParam == 1) return LOWORD(wParam) < kColumnCount ? gridToDo->ColWidth(LOWORD(wParam)) : 0;
      return layout_.RowHeight();
    case kHintState:
      return app_.frmHint.State();
    case kAlarmCounts:
      return wParam == 0 ? alarms_.Checks() : alarms_.Starts();
    case kInputFence:
      return InputFence(wParam);
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      return data && data->dwData == kDropFilesData && PostDropFiles(Handle(), *data) ? TRUE : FALSE;
    }
    default:
      return 0;
  }
}

}  // namespace lq::win
