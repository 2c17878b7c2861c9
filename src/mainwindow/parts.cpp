// The window's parts made, and all each of them may reach of the window, in one place.
#include "app/application.h"
#include "mainwindow/mainwindow.h"

namespace lq::win {

TfrmToDo::TfrmToDo(Application& app)
    : app_(app),
      list_(app.list),
      settings_(app.settings),
      view_(app, painter_,
            ViewMode::Callbacks{
                .grid = [this]() -> TaskGrid& { return *gridToDo; },
                .gridOrigin = [this] { return layout_.GridOrigin(); },
                .editMode = [this] { return editMode_; },
                .rowHeight = [this] { return layout_.RowHeight(); },
                .dpi = [this] { return Dpi(); },
                .background = [this] { return windowBrush_.Get(); },
                .hideTextEditor = [this] { ::ShowWindow(editing_.Editors().TextHandle(), SW_HIDE); },
                .clockLabelsStale = [this] { MarkClockLabelsStale(timer_); },
            }),
      editing_(list_, settings_, painter_,
               TaskEditing::Callbacks{
                   .grid = [this]() -> TaskGrid& { return *gridToDo; },
                   .gridOrigin = [this] { return layout_.GridOrigin(); },
                   .rowHeight = [this] { return layout_.RowHeight(); },
                   .dpi = [this] { return Dpi(); },
                   .focusOnShow = [this] { return !visibility_.HiddenByHover(); },
                   .actAsClick = [this](int col) { ActAsClickOnCurrentRow(col); },
                   .toEditMode =
                       [this] {
                         if (!editMode_) EnterEditMode();
                       },
                   .cancelHint = [this] { CancelHint(); },
                   .dateMade = [this](HWND picker) { GiveDatePickerName(picker); },
                   .headerMouseMove = [this] { gridToDoMouseMove(-1, -1); },
               }),
      layout_(list_, settings_, painter_, view_, editing_,
              WindowLayout::Callbacks{
                  .dpi = [this] { return Dpi(); },
                  .editMode = [this] { return editMode_; },
                  .settingsApplied = [this] { return SettingsApplied(); },
              }),
      tray_(TrayController::Callbacks{
          .userHidden = [this] { return visibility_.HiddenByUser(); },
          .bringDialogsToFront = [this] { return visibility_.BringDialogsToFront(); },
          .hide = [this] { visibility_.popitemHideClick(); },
          .showAgain = [this] { visibility_.ShowAgain(); },
          .prepareMenu = [this] { menus_.Prepare(MenuKind::Tray, CurrentContext()); },
          .trackMenu = [this](POINT at) { return menus_.Track(MenuKind::Tray, Handle(), at); },
          .summon = [this](Summons summons) { visibility_.Summon(summons); },
          .inform = [this](const std::wstring& text) { ShowMessage(BoxKind::Information, text); },
      }),
      visibility_(app, editing_, hints_,
                  ListVisibility::Callbacks{
                      .editMode = [this] { return editMode_; },
                      .enterEditMode = [this] { EnterEditMode(); },
                      .grid = [this] { return gridToDo->Handle(); },
                      .edgeMargin = [this] { return Scale(kHoverEdgeMargin); },
                      .cancelHint = [this] { CancelHint(); },
                      .runTimer =
                          [this](bool run) {
                            if (run) {
                              ::SetTimer(Handle(), kMainTimer, 100, nullptr);
                            } else {
                              ::KillTimer(Handle(), kMainTimer);
                            }
                          },
                      .settingsWriteFailed = [this] { ShowSettingsWriteError(); },
                  }),
      attachments_(app,
                   AttachmentCommands::Callbacks{
                       .showMessage = [this](BoxKind kind, const std::wstring& text) { return ShowMessage(kind, text); },
                       .ask = [this](const std::wstring& question) { return AskUnlessInterrupted(question); },
                       .selectTaskAfterWait = [this](const TaskIdentity& task,
                                                     int row) { return SelectTaskAfterWait(task, row); },
                       .closeEditors = [this] { editing_.CloseEditors(); },
                       .finishChange = [this] { FinishAttachmentChange(); },
                       .focusListAfterDialog = [this] { listDialogs_.FocusListAfterDialog(); },
                       .takeDropRow =
                           [this](POINT at) {
                             const Point origin = layout_.GridOrigin();
                             const int row = DropTargetRow(gridToDo->Metrics(), list_.VisibleRowCount(),
                                                           at.x - origin.x, at.y - origin.y);
                             // The blank row of an empty list is no task: what it held would never
                             // be saved.
                             if (row == 0 || !list_.Table().IsTask(row)) return 0;
                             gridToDo->MoveCurrentRow(row);
                             EnterEditMode();
                             return row;
                           },
                   }),
      listDialogs_(app,
                   ListDialogCommands::Callbacks{
                       .showMessage = [this](BoxKind kind, const std::wstring& text) { return ShowMessage(kind, text); },
                       .closeEditors = [this] { editing_.CloseEditors(); },
                       .refresh = [this] { gridToDo->Refresh(); },
                       .rowsChanged = [this] { layout_.FormResize(); },
                       .openDatePicker = [this] { ActAsClickOnCurrentRow(colDueDate); },
                       .datePickerOpen = [this] { return editing_.Editors().DateOpen(); },
                       .editMode = [this] { return editMode_; },
                       .grid = [this] { return gridToDo->Handle(); },
                   }),
      // An alarm's message: the window takes the foreground and beeps before it shows.
      alarms_([this](BoxKind kind, const std::wstring& text) {
        ::SetForegroundWindow(Handle());
        ::MessageBeep(MB_OK);
        ShowMessage(kind, text);
      }) {}

TfrmToDo::~TfrmToDo() = default;

}  // namespace lq::win
