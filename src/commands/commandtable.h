#pragma once
// Every command of the main window, written once: its name, image, shortcut, hint, its
// caption in each menu it appears in, and the rule that enables it for a task. The menus, the
// header buttons, the shortcut keys and the captions that change with the task are all made
// from this table; the window carries a command out in one place (TfrmToDo::Run).

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "store/repeat.h"
#include "store/history.h"
#include "store/tasktable.h"

namespace lq {

enum class Command : int {
  // The task commands (grid menu, edit menu, attachment menu, keys).
  DoneOrNot,
  Add,
  Del,
  AttachOpen,
  AttachEdit,
  AttachDelete,
  AttachFolderOpen,
  InputUrl,
  Alarm,
  FindToDo,
  MoveDate,
  PastDelete,
  // The repetition submenu, one item for each choice.
  RepeatNone,
  RepeatDaily,
  RepeatWeekdays,
  RepeatWeekly,
  RepeatMonthly,
  RepeatYearly,
  Undo,
  Redo,
  // Header buttons that open a menu.
  PopAttach,
  PopEdit,
  PopMenu,
  // The tray menu.
  Edit,
  Hide,
  TopMost,
  Config,
  Sync,
  Exit,
  Count,
};
inline constexpr int kCommandCount = static_cast<int>(Command::Count);

struct CommandInfo {
  Command command;
  std::string_view name;  // the handler's name, for messages and tests
  int image;              // index in the main image list, -1 for none
  char key;               // Ctrl + this letter, 0 for none
  bool formKey;           // the window's own key table runs it too (while an editor has the focus)
  const wchar_t* hint;
};
const CommandInfo& InfoOf(Command c);

// "Ctrl+E", or empty for a command without a shortcut.
std::wstring ShortcutLabel(Command c);
// The command of a Ctrl+letter shortcut of the grid menu.
std::optional<Command> ShortcutCommand(unsigned key);
// The command of a Ctrl+letter in the window's own key table (every shortcut but Ctrl+H).
std::optional<Command> FormKeyCommand(unsigned key);
// Ctrl+Shift+Z redoes as Ctrl+Y does.
inline constexpr char kRedoShiftKey = 'Z';
// The characters those Ctrl+letters type (Ctrl+A gives 1, ...); they are never inserted.
bool IsCancelledControlCharacter(unsigned ch);

enum class MenuKind : int {
  Grid,        // popGridMenu, the list's right-click menu
  GridAttach,  // popitemAttach, its attachment submenu
  Attach,      // popAttach, on the attachment mark and btnPopAttach
  Edit,        // popEdit, on btnPopEdit
  Tray,        // popTaskTray, on the tray icon, btnMenu and the view image
  GridRepeat,  // popitemRepeat, the list's repetition submenu
  EditRepeat,  // popitemRepeat2, the edit menu's
  Count,
};
inline constexpr int kMenuCount = static_cast<int>(MenuKind::Count);

struct MenuEntry {
  enum class Kind { Item, Separator, Submenu };
  Kind kind = Kind::Item;
  Command command = Command::Count;
  const wchar_t* caption = nullptr;  // the caption in this menu before anything changes it
  MenuKind submenu = MenuKind::Count;
  int image = -1;                    // the submenu's image
};
std::span<const MenuEntry> MenuEntries(MenuKind m);

// The header buttons from left to right.
std::span<const Command> HeaderButtons();

enum class AttachmentKind { None, File, Web };

// What the enabling rules look at: the task and the window.
struct CommandContext {
  bool isTask = false;  // not the blank row of an empty list
  bool done = false;
  bool alarmArmed = false;
  Repeat repeat = Repeat::None;
  AttachmentKind attachment = AttachmentKind::None;
  bool editMode = true;
  bool topMost = true;
  bool syncEnabled = false;
  // What the list's last change and the last one undone were ("削除", "日付移動 3件"); empty
  // when there is none.
  std::wstring undoName;
  std::wstring redoName;
};
// The name of a step in the undo and redo items: the command, and for the bulk ones how many
// tasks it took.
std::wstring StepName(const StepLabel& step);
// The task part of the context for a row of the table.
CommandContext ContextOfRow(const TaskTable& table, int row);

struct ItemState {
  bool visible = true;
  bool enabled = true;
  bool checked = false;
  std::wstring caption;
  int image = -1;
};
// A command's item in a menu, for the context.
ItemState StateOf(MenuKind m, Command c, const CommandContext& ctx);

// The repetition a command of the repetition submenu chooses; nothing for any other command.
std::optional<Repeat> RepeatOfCommand(Command c);

// Window command identifiers of the menu items: each menu has its own range, so that the same
// command may show a different caption in each.
int MenuItemId(MenuKind m, Command c);
std::optional<std::pair<MenuKind, Command>> MenuItemOfId(int id);
// Identifier of a header button's command.
int ButtonId(Command c);
std::optional<Command> CommandOfButtonId(int id);

}  // namespace lq
