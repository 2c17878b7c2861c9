#pragma once
// View mode's side of the main window: the still image of the list with its clock labels, the
// window's transparency in either mode, and moving and sizing the borderless window with the
// mouse (on the image, or on the panel around the grid). It reaches the window through the grid
// and the callbacks.

#include <windows.h>

#include <functional>
#include <string>

#include "geometry/layout.h"
#include "mainwindow/edgedrag.h"
#include "mainwindow/viewimage.h"
#include "platform/clock.h"
#include "settings/settings.h"
#include "store/tasklist.h"

namespace lq::win {

class Application;
class GridPainter;
class TaskGrid;

class ViewMode {
 public:
  struct Callbacks {
    std::function<TaskGrid&()> grid;
    std::function<Point()> gridOrigin;  // the grid's client origin in the panel
    std::function<bool()> editMode;
    std::function<int()> rowHeight;
    std::function<int()> dpi;
    std::function<HBRUSH()> background;   // the window's colour
    std::function<void()> hideTextEditor;
    std::function<void()> clockLabelsStale;  // the next tick rewrites both labels
  };

  ViewMode(Application& app, GridPainter& painter, Callbacks callbacks);
  // The window and the panel that holds the live list.
  void Attach(HWND window, HWND panel);

  ViewImage& Image() { return viewImage_; }  // imgNotEditMode with the clock labels
  EdgeDrag& Edges() { return edges_; }
  // The clock's pattern that fits the labels' room.
  const std::string& ClockFormat() const { return clockFormat_; }

  void ApplyTransparency();  // the alpha of the mode the window is in
  void SetAlpha(int alpha);
  void TakeViewImage();
  void RefreshViewImage();  // a new picture of the list while view mode shows
  void PlaceClockLabels();
  void imgNotEditModeMouseDown(int x, int y);
  void imgNotEditModeMouseMove(int x, int y);
  void OnEnterSizeMove();
  void OnExitSizeMove();
  void SnapHeightToRows();

 private:
  const LocalClock& clock_;
  TaskList& list_;
  const Settings& settings_;
  GridPainter& painter_;
  Callbacks cb_;
  ViewImage viewImage_;
  EdgeDrag edges_;
  std::string clockFormat_ = "yyyy\"/\"mm\"/\"dd(aaa) hh:nn";
  HWND window_ = nullptr;
  HWND panel_ = nullptr;
};

}  // namespace lq::win
