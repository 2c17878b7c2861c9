#pragma once
// The main window's geometry: the children placed on a size change, the columns of each mode,
// the smallest size, the row height and the fonts at the display's scale, a change of scale, and
// a window brought back onto a screen when the monitors change. It owns the row height and reaches
// the window through the parts it lays out and the callbacks.

#include <windows.h>

#include <functional>
#include <span>
#include <vector>

#include "geometry/layout.h"
#include "settings/settings.h"
#include "store/tasklist.h"

namespace lq::win {

class GridPainter;
class TaskEditing;
class TaskGrid;
class ViewMode;

// The monitors attached now.
struct Screens {
  Rect primary;
  Rect workArea;  // of the primary monitor
  std::vector<Rect> monitors;
};
Screens CurrentScreens();

class WindowLayout {
 public:
  struct Callbacks {
    std::function<int()> dpi;
    std::function<bool()> editMode;
    std::function<bool()> settingsApplied;
  };

  WindowLayout(TaskList& list, const Settings& settings, GridPainter& painter, ViewMode& view, TaskEditing& editing,
               Callbacks callbacks);
  // The window, the panel around the grid, the grid and the header buttons, once all are made.
  void Attach(HWND window, HWND panel, TaskGrid& grid, std::span<const HWND> headerButtons);

  int RowHeight() const { return rowHeight_; }
  // The grid's client origin in the panel (and the window): 4 pixels in, plus its 2-pixel edge.
  Point GridOrigin() const;

  void LayoutChildren();
  void FormResize();
  void EditModeColumnLayout();
  void ViewModeColumnLayout();
  void OnGetMinMaxInfo(MINMAXINFO* info) const;
  // The row height and the fonts at the window's DPI, from the settings as loaded.
  void ApplyRowMetrics();
  void OnDpiChanged(const RECT& suggested);
  void RescueFromOffScreen();

 private:
  int Scale(int pixels) const;

  TaskList& list_;
  const Settings& settings_;
  GridPainter& painter_;
  ViewMode& view_;
  TaskEditing& editing_;
  Callbacks cb_;
  HWND window_ = nullptr;
  HWND panel_ = nullptr;
  TaskGrid* grid_ = nullptr;
  std::span<const HWND> headerButtons_;
  int minimumWidthBase_ = 0;  // date and days columns of edit mode together
  int rowHeight_ = 16;
};

}  // namespace lq::win
