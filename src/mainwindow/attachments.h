#pragma once
// The commands on the current task's attachment, a file or a web address: opening it or its
// folder, choosing a file, clearing it, entering an address in the URL dialog, and a file
// dropped on the list. What they need of the window comes through the callbacks.

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/msgbox.h"
#include "store/tasklist.h"

namespace lq::win {

class Application;

class AttachmentCommands {
 public:
  struct Callbacks {
    std::function<int(BoxKind, const std::wstring&)> showMessage;
    // A yes-or-no question that gives up when the settings dialog was opened meanwhile.
    std::function<std::optional<int>(const std::wstring&)> ask;
    // After a wait for the user: the task found again and made current, or false.
    std::function<bool(const TaskIdentity&, int)> selectTaskAfterWait;
    std::function<void()> closeEditors;
    std::function<void()> finishChange;          // the list repainted, in edit mode, with the keys
    std::function<void()> focusListAfterDialog;  // the keys back to the list after a dialog
    // The task row a drop at a client point lands on, made current in edit mode; 0 for none.
    std::function<int(POINT)> takeDropRow;
  };

  AttachmentCommands(Application& app, Callbacks callbacks);
  void Attach(HWND window) { window_ = window; }

  void popitemAttachOpenClick();
  void popitemAttachEditClick();
  void popitemAttachDeleteClick();
  void popitemAttachFolderOpenClick();
  void popitemInputUrlClick();
  void FormDropFiles(HDROP drop);

 private:
  // The path's code-page-932 form for the attachment column, or nothing after saying why it
  // cannot be kept.
  std::optional<std::string> AttachmentBytes(const std::wstring& path);

  Application& app_;
  TaskList& list_;
  Callbacks cb_;
  HWND window_ = nullptr;
};

}  // namespace lq::win
