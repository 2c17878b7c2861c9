// The in-place editors at work: what opening, typing, a date change and closing do to the task
// and the list.
#include "mainwindow/taskediting.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <functional>
#include <utility>

#include "mainwindow/gridpainter.h"
#include "mainwindow/taskgrid.h"
#include "platform/codepage.h"
#include "platform/inputmethod.h"
#include "store/text.h"

namespace lq::win {
namespace {

// Puts another hook in place for a scope.
class HooksSwap {
 public:
  HooksSwap(std::function<void()>& slot, std::function<void()> replacement)
      : slot_(slot), old_(std::exchange(slot, std::move(replacement))) {}
  ~HooksSwap() { slot_ = std::move(old_); }
  HooksSwap(const HooksSwap&) = delete;
  HooksSwap& operator=(const HooksSwap&) = delete;

 private:
  std::function<void()>& slot_;
  std::function<void()> old_;
};

}  // namespace

TaskEditing::TaskEditing(TaskList& list, const Settings& settings, GridPainter& painter, Callbacks callbacks)
    : list_(list), settings_(settings), painter_(painter), cb_(std::move(callbacks)) {}

HWND TaskEditing::GridHandle() { return cb_.grid().Handle(); }

void TaskEditing::Create(HWND window, HWND panel, std::span<const HWND> headerButtons) {
  window_ = window;
  InPlaceEditors::Callbacks cb;
  cb.textChanged = [this] { edtToDoTextChange(); };
  cb.textExit = [this] { edtToDoTextExit(); };
  cb.textKeyDown = [this](WPARAM key) { return edtToDoTextKeyDown(key); };
  cb.dateChanged = [this] { cmbDateChange(); };
  cb.dateExit = [this] { cmbDateExit(); };
  cb.leave = [this] {
    if (::IsWindowVisible(GridHandle())) ::SetFocus(GridHandle());
  };
  cb.wheel = [this](UINT msg, WPARAM wParam, LPARAM lParam) { ::SendMessageW(window_, msg, wParam, lParam); };
  cb.imeOnFocus = [this] { return settings_.IMEOnOff; };
  cb.dateCursorTurn = [this] { return settings_.DateCursorTurn; };
  cb.dateMade = [this](HWND picker) { cb_.dateMade(picker); };
  editors_.Create(panel, std::move(cb));
  // The header buttons move the current row with the text editor's keys.
  for (const HWND b : headerButtons) {
    ::SetWindowSubclass(b, &TaskEditing::HeaderButtonProc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
}

HFONT TaskEditing::RowFont(int row) {
  const std::int32_t d = DaysValue(list_.Table().Cell(colDaysLeft, row));
  return painter_.FontFor(settings_.Class(ClassOfDays(d)), d == 0, cb_.dpi());
}

void TaskEditing::HideEditors() {
  editors_.HideBoth(GridHandle());
  list_.EndEditorStep();
}

void TaskEditing::CloseEditors() {
  // The row an open editor writes to is about to leave it, so it closes first, as when it
  // loses the focus: the text editor's exit sorts the list. A dialog may be next, so no hint.
  cb_.cancelHint();
  if (!editors_.AnyOpen()) return;
  if (editors_.Focused() && ::IsWindowVisible(GridHandle())) ::SetFocus(GridHandle());
  if (editors_.TextOpen()) edtToDoTextExit();
  HideEditors();
}

void TaskEditing::OpenDatePicker() {
  editors_.HideText();
  const int row = list_.CurrentRow();
  editors_.SetRow(row);
  // The dates picked until it closes are one step; it stays open while it follows its task.
  if (!editors_.DateOpen()) list_.BeginEditorStep();
  editors_.SetFont(RowFont(row), true);
  if (const auto date = ParseDateText(list_.Table().Cell(colDueDate, row))) editors_.SetDate(*date);
  editors_.ShowDateAt(DatePickerRect(cb_.grid().CellBounds(colDueDate, row), cb_.gridOrigin()));
}

void TaskEditing::LoadTextEditor() {
  editors_.HideDate();
  const int row = list_.CurrentRow();
  editors_.SetRow(row);
  editors_.LoadText(FromCp932(list_.Table().Cell(colText, row)), RowFont(row));
  list_.BeginEditorStep();  // the typing until it closes is one step
}

void TaskEditing::ShowTextEditor() {
  const int row = list_.CurrentRow();
  const bool attachment = !list_.Table().Cell(colAttachment, row).empty();
  const Rect cell = cb_.grid().CellBounds(colText, row);
  editors_.ShowTextAt(TextEditorRect(cell, cb_.gridOrigin(), cb_.rowHeight(), attachment, cb_.dpi()),
                      cb_.focusOnShow());
}

void TaskEditing::OpenTextEditor() { cb_.actAsClick(colText); }

void TaskEditing::CloseTextEditor() {
  // The focus goes first: the editor's exit, losing it, sorts with the row now current. Hidden
  // first, it would find itself closed already and leave the list unsorted.
  if (::IsWindowVisible(GridHandle())) ::SetFocus(GridHandle());
  if (editors_.TextOpen()) edtToDoTextExit();  // it did not hold the focus
  ::ShowWindow(editors_.TextHandle(), SW_HIDE);
}

void TaskEditing::edtToDoTextChange() {
  const int row = editors_.Row();
  if (!list_.Table().IsTask(row)) return;
  const std::wstring text = editors_.Text();
  // Only characters the task file can hold; typing and pasting stop at 100 characters, but a
  // longer text that was already there is never cut.
  const std::size_t caret = std::min(editors_.Caret(), text.size());
  const Cp932Filtered filtered = FilterToCp932(text);
  if (filtered.dropped) ::MessageBeep(MB_OK);
  const std::size_t caretChars =
      filtered.dropped ? FilterToCp932(std::wstring_view(text).substr(0, caret)).kept.size() : caret;
  const std::string limited =
      LimitTextGrowth(list_.Table().Cell(colText, row), filtered.bytes, caretChars, kMaxTaskTextCharacters);
  if (filtered.kept != text || limited.size() != filtered.bytes.size()) {
    const std::wstring shown = limited.size() == filtered.bytes.size() ? filtered.kept : FromCp932(limited);
    const std::size_t cut = filtered.kept.size() - shown.size();
    editors_.ReplaceText(shown, caretChars > cut ? caretChars - cut : 0);
  }
  if (list_.ChangeText(row, limited)) editors_.NoteTyping();
  cb_.grid().Refresh();
}

void TaskEditing::edtToDoTextExit() {
  if (editors_.IsQuiet() || !editors_.TextOpen()) return;
  editors_.HideText();
  list_.SortTasks(list_.CurrentRow() - list_.TopRow(), false);
  list_.EndEditorStep();
  cb_.grid().Refresh();
}

bool TaskEditing::edtToDoTextKeyDown(WPARAM key) {
  const int current = list_.CurrentRow();
  const int last = list_.Table().RowCount() - 1;
  switch (key) {
    case VK_UP:
      if (current <= 1) return true;
      list_.SetCurrentRow(current - 1);
      break;
    case VK_DOWN:
      if (current >= last) return true;
      list_.SetCurrentRow(current + 1);
      break;
    case VK_PRIOR:
      if (current <= 10) {
        list_.SetCurrentRow(1);
      } else {
        ::SendMessageW(GridHandle(), WM_VSCROLL, SB_PAGEUP, 0);
      }
      break;
    case VK_NEXT:
      if (current > list_.Table().RowCount() - 11) {
        list_.SetCurrentRow(last);
      } else {
        ::SendMessageW(GridHandle(), WM_VSCROLL, SB_PAGEDOWN, 0);
      }
      break;
    default:
      return false;
  }
  cb_.grid().Refresh();
  CloseTextEditor();
  return true;
}

void TaskEditing::cmbDateChange() {
  const auto picked = editors_.PickedDate();
  if (!picked || !list_.Table().IsTask(editors_.Row())) return;
  const HWND picker = editors_.DateHandle();
  const bool focused = ::GetFocus() == picker;
  // Wine's picker, opened with no field selected, reports a change for an arrow key that
  // changed nothing: only a new date counts.
  bool changed = false;
  {
    // The picker stays open while the task moves: it follows the task to its new row.
    const HooksSwap keepPicker(list_.Hooks.hideEditors, [this] { editors_.HideText(); });
    changed = list_.ChangeDueDate(editors_.Row(), *picked);
  }
  if (!changed) return;
  editors_.SetRow(list_.CurrentRow());  // where the task went
  cb_.grid().Refresh();
  cb_.actAsClick(colDueDate);
  if (focused && ::GetFocus() != picker) ::SetFocus(picker);
  cb_.toEditMode();
}

void TaskEditing::cmbDateExit() {
  if (editors_.IsQuiet()) return;
  ::ShowWindow(editors_.DateHandle(), SW_HIDE);
}

// ---------------------------------------------------------------------------------------------
// The input method

void TaskEditing::ApplyInputMethod() {
  // Hiragana input on focus is done when the editor gets the focus; a chosen input method is
  // looked up among the installed keyboard layouts by its name.
  if (!settings_.ImeNameChosen()) return;
  SelectInputMethod(FromCp932(settings_.IMEName));
}

LRESULT CALLBACK TaskEditing::HeaderButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR selfPtr) {
  auto* self = reinterpret_cast<TaskEditing*>(selfPtr);
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &TaskEditing::HeaderButtonProc, id);
  const auto byDefault = [&] { return ::DefSubclassProc(hwnd, msg, wParam, lParam); };
  return Guarded(
      "header button",
      [&]() -> LRESULT {
        if (msg == WM_KEYDOWN && self->edtToDoTextKeyDown(wParam)) return 0;
        if (msg == WM_MOUSEMOVE) self->cb_.headerMouseMove();
        return byDefault();
      },
      byDefault);
}

}  // namespace lq::win
