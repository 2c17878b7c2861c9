#include "commands/commandtable.h"

#include <array>

#include "res/artwork.h"

namespace lq {
namespace {

using C = Command;
using K = MenuEntry::Kind;

// clang-format off
constexpr std::array<CommandInfo, kCommandCount> kCommands{{
    {C::DoneOrNot,        "popitemDoneOrNot",        kImageDone,           'E', true,  L"予定を済にします"},
    {C::Add,              "popitemAdd",              kImageAdd,            'A', true,  L"予定の追加"},
    {C::Del,              "popitemDel",              kImageDelete,         'D', true,  L"予定の削除"},
    {C::AttachOpen,       "popitemAttachOpen",       kImageOpenAttachment, 'O', true,  L"設定済みの添付ファイルを開きます"},
    {C::AttachEdit,       "popitemAttachEdit",       kImageEdit,           'P', true,  L"添付ファイルを選択します"},
    {C::AttachDelete,     "popitemAttachDelete",     kImageDelete,         'Q', true,  L"設定済みの添付ファイルを解除します"},
    {C::AttachFolderOpen, "popitemAttachFolderOpen", kImageOpenFolder,     'R', true,  L"設定済みの添付ファイルがあるフォルダを開きます"},
    {C::InputUrl,         "popitemInputUrl",         kImageEnterUrl,       'U', true,  L"URLを設定します"},
    {C::Alarm,            "popitemAlarm",            kImageSetAlarm,       'B', true,  L"予定の先頭の数字を時刻とみなしてアラームを設定します"},
    {C::FindToDo,         "popitemFindToDo",         kImageSearch,         'F', true,  L"指定した言葉を予定表全体から検索します"},
    {C::MoveDate,         "popitemMoveDate",         kImageMoveDate,       'G', true,  L"指定した日付の全予定を別の日付へ移動します"},
    {C::PastDelete,       "popitemPastDelete",       kImageBulkDelete,     'H', false,  L"指定した日付の全予定を削除します"},
    {C::RepeatNone,       "popitemRepeatNone",       -1,                   0,   false, L""},
    {C::RepeatDaily,      "popitemRepeatDaily",      -1,                   0,   false, L""},
    {C::RepeatWeekdays,   "popitemRepeatWeekdays",   -1,                   0,   false, L""},
    {C::RepeatWeekly,     "popitemRepeatWeekly",     -1,                   0,   false, L""},
    {C::RepeatMonthly,    "popitemRepeatMonthly",    -1,                   0,   false, L""},
    {C::RepeatYearly,     "popitemRepeatYearly",     -1,                   0,   false, L""},
    {C::Undo,             "popitemUndo",             kImageUndo,           'Z', true,  L"直前の変更を取り消します"},
    {C::Redo,             "popitemRedo",             kImageRedo,           'Y', true,  L"取り消した変更をやり直します"},
    {C::PopAttach,        "btnPopAttach",            kImageAttachmentMenu, 0,   false, L"添付ファイルメニュー"},
    {C::PopEdit,          "btnPopEdit",              kImageEdit,           0,   false, L"編集メニュー"},
    {C::PopMenu,          "btnMenu",                 -1,                   0,   false, L"システムメニュー"},
    {C::Edit,             "popitemEdit",             kImageEdit,           0,   false, L"編集モードへ移行します"},
    {C::Hide,             "popitemHide",             kImageNotDone,        0,   false, L"予定表を隠します。再表示するにはタスクトレイのアイコンをクリックします"},
    {C::TopMost,          "popitemTopMost",          -1,                   0,   false, L"予定表を常に最前面に表示します"},
    {C::Config,           "popitemConfig",           kImageSettings,       0,   false, L"設定画面を開きます"},
    {C::Sync,             "popitemSync",             kImageSync,           0,   false, L""},
    {C::Exit,             "btnExitClick",            kImageExit,           0,   false, L"予定表を終了します"},
}};

// Commands are looked up by their place: each row must sit where its enumerator says.
constexpr bool RowsInCommandOrder() {
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    if (static_cast<std::size_t>(kCommands[i].command) != i) return false;
  }
  return true;
}
static_assert(RowsInCommandOrder(), "kCommands must list the commands in the order of Command");

constexpr MenuEntry Item(C c, const wchar_t* caption) { return MenuEntry{K::Item, c, caption, MenuKind::Count, -1}; }
constexpr MenuEntry Separator() { return MenuEntry{K::Separator, C::Count, nullptr, MenuKind::Count, -1}; }

constexpr MenuEntry kGridMenu[] = {
    Item(C::DoneOrNot, L"済にする"),
    Separator(),
    Item(C::Add, L"追加"),
    Item(C::Del, L"削除"),
    Separator(),
    MenuEntry{K::Submenu, C::Count, L"添付ファイル", MenuKind::GridAttach, kImageAttachmentMenu},
    Item(C::Alarm, L"アラーム"),
    MenuEntry{K::Submenu, C::Count, L"繰り返し", MenuKind::GridRepeat, kImageRepeatMark},
    Item(C::FindToDo, L"検索"),
    Item(C::MoveDate, L"日付移動"),
    Item(C::PastDelete, L"一斉削除"),
    Separator(),
    Item(C::Undo, L"元に戻す"),
    Item(C::Redo, L"やり直し"),
};
constexpr MenuEntry kGridAttachMenu[] = {
    Item(C::AttachOpen, L"開く"),
    Item(C::AttachEdit, L"選択"),
    Item(C::AttachDelete, L"解除"),
    Item(C::AttachFolderOpen, L"フォルダを開く"),
    Item(C::InputUrl, L"URLを入力"),
};
constexpr MenuEntry kAttachMenu[] = {
    Item(C::AttachOpen, L"添付ファイルを開く"),
    Item(C::AttachEdit, L"添付ファイルの選択"),
    Item(C::AttachDelete, L"添付ファイルの解除"),
    Item(C::AttachFolderOpen, L"フォルダを開く"),
    Item(C::InputUrl, L"URLを入力"),
};
constexpr MenuEntry kEditMenu[] = {
    Item(C::Undo, L"元に戻す"),
    Item(C::Redo, L"やり直し"),
    Separator(),
    Item(C::Alarm, L"アラーム"),
    MenuEntry{K::Submenu, C::Count, L"繰り返し", MenuKind::EditRepeat, kImageRepeatMark},
    Item(C::FindToDo, L"検索"),
    Item(C::MoveDate, L"日付移動"),
    Item(C::PastDelete, L"一斉削除"),
};
constexpr MenuEntry kTrayMenu[] = {
    Item(C::Edit, L"編集"),
    Item(C::Hide, L"隠す"),
    Item(C::TopMost, L"常に最前面に表示"),
    Separator(),
    Item(C::Config, L"設定"),
    Item(C::Sync, L"同期"),
    Separator(),
    Item(C::Exit, L"終了"),
};

// The same choices in the list's menu and in the edit menu.
constexpr MenuEntry kRepeatMenu[] = {
    Item(C::RepeatNone, L"なし"),
    Item(C::RepeatDaily, L"毎日"),
    Item(C::RepeatWeekdays, L"平日"),
    Item(C::RepeatWeekly, L"毎週"),
    Item(C::RepeatMonthly, L"毎月"),
    Item(C::RepeatYearly, L"毎年"),
};

constexpr Command kHeaderButtons[] = {C::Add, C::Del, C::PopAttach, C::PopEdit, C::PopMenu};
// clang-format on

constexpr int kMenuIdBase = 1000;
constexpr int kMenuIdStride = 100;
constexpr int kButtonIdBase = 2000;

const wchar_t* DefaultCaption(MenuKind m, Command c) {
  for (const MenuEntry& e : MenuEntries(m)) {
    if (e.kind == K::Item && e.command == c) return e.caption;
  }
  return nullptr;
}

}  // namespace

const CommandInfo& InfoOf(Command c) { return kCommands[static_cast<std::size_t>(c)]; }

std::wstring ShortcutLabel(Command c) {
  const char key = InfoOf(c).key;
  if (key == 0) return {};
  return std::wstring(L"Ctrl+") + static_cast<wchar_t>(key);
}

std::optional<Command> ShortcutCommand(unsigned key) {
  for (const CommandInfo& info : kCommands) {
    if (info.key != 0 && static_cast<unsigned>(info.key) == key) return info.command;
  }
  return std::nullopt;
}

std::optional<Command> FormKeyCommand(unsigned key) {
  const auto c = ShortcutCommand(key);
  if (c && InfoOf(*c).formKey) return c;
  return std::nullopt;
}

bool IsCancelledControlCharacter(unsigned ch) {
  return ch >= 1 && ch <= 26 && FormKeyCommand('A' + ch - 1).has_value();
}

std::span<const MenuEntry> MenuEntries(MenuKind m) {
  switch (m) {
    case MenuKind::Grid: return kGridMenu;
    case MenuKind::GridAttach: return kGridAttachMenu;
    case MenuKind::Attach: return kAttachMenu;
    case MenuKind::Edit: return kEditMenu;
    case MenuKind::Tray: return kTrayMenu;
    case MenuKind::GridRepeat:
    case MenuKind::EditRepeat: return kRepeatMenu;
    case MenuKind::Count: break;
  }
  return {};
}

std::span<const Command> HeaderButtons() { return kHeaderButtons; }

CommandContext ContextOfRow(const TaskTable& table, int row) {
  CommandContext ctx;
  if (row < 1 || row >= table.RowCount()) return ctx;
  ctx.isTask = table.IsTask(row);
  ctx.done = table.IsDone(row);
  ctx.alarmArmed = table.Cell(colFlags, row).starts_with("A");
  ctx.repeat = RepetitionOf(table.Cell(colFlags, row)).kind;
  const std::string_view attachment = table.Cell(colAttachment, row);
  if (!attachment.empty()) ctx.attachment = IsWebAddress(attachment) ? AttachmentKind::Web : AttachmentKind::File;
  return ctx;
}

std::wstring StepName(const StepLabel& step) {
  const wchar_t* name = L"";
  switch (step.kind) {
    case StepKind::Add: name = L"追加"; break;
    case StepKind::Delete: name = L"削除"; break;
    case StepKind::Done: name = L"済にする"; break;
    case StepKind::NotDone: name = L"未済にする"; break;
    case StepKind::Text: name = L"内容の編集"; break;
    case StepKind::DueDate: name = L"期限の変更"; break;
    case StepKind::AlarmOn: name = L"アラーム設定"; break;
    case StepKind::AlarmOff: name = L"アラーム解除"; break;
    case StepKind::AttachFile: name = L"添付ファイルの選択"; break;
    case StepKind::AttachClear: name = L"添付ファイルの解除"; break;
    case StepKind::AttachUrl: name = L"URLを入力"; break;
    case StepKind::AttachDrop: name = L"添付ファイルのドロップ"; break;
    case StepKind::MoveDate: name = L"日付移動"; break;
    case StepKind::BulkDelete: name = L"一斉削除"; break;
    case StepKind::Repeat: name = L"繰り返し"; break;
  }
  std::wstring text = name;
  if (CountsTasks(step.kind)) text += L" " + std::to_wstring(step.count) + L"件";
  return text;
}

ItemState StateOf(MenuKind m, Command c, const CommandContext& ctx) {
  ItemState s;
  if (const wchar_t* caption = DefaultCaption(m, c)) s.caption = caption;
  s.image = InfoOf(c).image;
  const bool shortMenu = m == MenuKind::GridAttach;  // the submenu's captions drop "添付ファイル"
  const bool has = ctx.attachment != AttachmentKind::None;
  const bool web = ctx.attachment == AttachmentKind::Web;
  switch (c) {
    case C::DoneOrNot:
      s.caption = ctx.done ? L"未済にする" : L"済にする";
      s.image = ctx.done ? kImageNotDone : kImageDone;
      s.enabled = ctx.isTask;
      break;
    case C::Del:
    case C::AttachEdit:
    case C::InputUrl:
      s.enabled = ctx.isTask;
      break;
    case C::Alarm:
      s.caption = ctx.alarmArmed ? L"アラーム解除" : L"アラーム設定";
      s.enabled = ctx.isTask;
      break;
    case C::RepeatNone:
    case C::RepeatDaily:
    case C::RepeatWeekdays:
    case C::RepeatWeekly:
    case C::RepeatMonthly:
    case C::RepeatYearly:
      s.checked = ctx.isTask && RepeatOfCommand(c) == ctx.repeat;
      s.enabled = ctx.isTask;
      break;
    case C::AttachOpen:
      if (web) s.caption = L"URLを開く";
      else s.caption = shortMenu ? L"開く" : L"添付ファイルを開く";
      s.enabled = has;
      break;
    case C::AttachDelete:
      if (web) s.caption = L"URLの解除";
      else s.caption = shortMenu ? L"解除" : L"添付ファイルの解除";
      s.enabled = has;
      break;
    case C::AttachFolderOpen:
      s.enabled = has && !web;
      break;
    case C::Undo:
    case C::Redo: {
      const std::wstring& name = c == C::Undo ? ctx.undoName : ctx.redoName;
      if (!name.empty()) s.caption += L"（" + name + L"）";
      s.enabled = !name.empty();
      break;
    }
    case C::Edit:
      s.enabled = !ctx.editMode;
      break;
    case C::TopMost:
      s.checked = ctx.topMost;
      break;
    case C::Sync:
      s.visible = ctx.syncEnabled;
      s.enabled = ctx.syncEnabled;
      break;
    default:
      break;
  }
  return s;
}

std::optional<Repeat> RepeatOfCommand(Command c) {
  switch (c) {
    case C::RepeatNone: return Repeat::None;
    case C::RepeatDaily: return Repeat::Daily;
    case C::RepeatWeekdays: return Repeat::Weekdays;
    case C::RepeatWeekly: return Repeat::Weekly;
    case C::RepeatMonthly: return Repeat::Monthly;
    case C::RepeatYearly: return Repeat::Yearly;
    default: return std::nullopt;
  }
}

int MenuItemId(MenuKind m, Command c) {
  return kMenuIdBase + static_cast<int>(m) * kMenuIdStride + static_cast<int>(c);
}

std::optional<std::pair<MenuKind, Command>> MenuItemOfId(int id) {
  const int offset = id - kMenuIdBase;
  if (offset < 0) return std::nullopt;
  const int m = offset / kMenuIdStride;
  const int c = offset % kMenuIdStride;
  if (m >= kMenuCount || c >= kCommandCount) return std::nullopt;
  return std::pair{static_cast<MenuKind>(m), static_cast<Command>(c)};
}

int ButtonId(Command c) { return kButtonIdBase + static_cast<int>(c); }

std::optional<Command> CommandOfButtonId(int id) {
  const int c = id - kButtonIdBase;
  if (c < 0 || c >= kCommandCount) return std::nullopt;
  return static_cast<Command>(c);
}

}  // namespace lq
