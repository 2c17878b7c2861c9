#pragma once
// The in-place editors at work: what opening, typing, a date change and closing do to the task
// and the list. It owns the editors (their windows, keys and flags are InPlaceEditors) and
// reaches the window through the grid and the callbacks.

#include <windows.h>

#include <functional>
#include <span>

#include "geometry/layout.h"
#include "mainwindow/editors.h"
#include "settings/settings.h"
#include "store/tasklist.h"

namespace lq::win {

class GridPainter;
class TaskGrid;

class TaskEditing {
 public:
  struct Callbacks {
    std::function<TaskGrid&()> grid;
    std::function<Point()> gridOrigin;     // the grid's client origin in the panel
    std::function<int()> rowHeight;
    std::function<int()> dpi;
    std::function<bool()> focusOnShow;     // the text editor takes the focus when shown
    std::function<void(int col)> actAsClick;  // a click on the current row's cell in a column
    std::function<void()> toEditMode;      // back to edit mode unless there already
    std::function<void()> cancelHint;
    std::function<void(HWND)> dateMade;    // the picker, made on first use
    std::function<void()> headerMouseMove; // the mouse over a header button
  };

  TaskEditing(TaskList& list, const Settings& settings, GridPainter& painter, Callbacks callbacks);

  // Makes the editors in the panel, and gives the header buttons the text editor's row keys.
  void Create(HWND window, HWND panel, std::span<const HWND> headerButtons);

  InPlaceEditors& Editors() { return editors_; }
  const InPlaceEditors& Editors() const { return editors_; }

  HFONT RowFont(int row);  // the font of the row's urgency class, which its editors take
  void OpenDatePicker();
  void LoadTextEditor();    // the current row's text into the hidden editor
  void ShowTextEditor();    // the editor placed over the current cell and shown
  void OpenTextEditor();
  void CloseTextEditor();
  void HideEditors();
  void CloseEditors();  // before the current row or the list moves
  void edtToDoTextChange();
  void edtToDoTextExit();
  bool edtToDoTextKeyDown(WPARAM key);  // true when the key was taken
  void cmbDateChange();
  void cmbDateExit();
  void ApplyInputMethod();

 private:
  static LRESULT CALLBACK HeaderButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR self);
  HWND GridHandle();

  TaskList& list_;
  const Settings& settings_;
  GridPainter& painter_;
  Callbacks cb_;
  InPlaceEditors editors_;  // edtToDoText and cmbDate
  HWND window_ = nullptr;
};

}  // namespace lq::win
