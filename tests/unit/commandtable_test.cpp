#include <gtest/gtest.h>

#include <set>
#include <string>

#include "commands/commandtable.h"
#include "res/artwork.h"

namespace lq {
namespace {

using C = Command;
using M = MenuKind;

CommandContext Task(bool done = false, AttachmentKind a = AttachmentKind::None, bool alarm = false) {
  CommandContext c;
  c.isTask = true;
  c.done = done;
  c.attachment = a;
  c.alarmArmed = alarm;
  return c;
}

struct Expect {
  M menu;
  C command;
  bool enabled;
  const wchar_t* caption;
};

void Check(const CommandContext& ctx, std::initializer_list<Expect> rows, const char* what) {
  for (const Expect& e : rows) {
    const ItemState s = StateOf(e.menu, e.command, ctx);
    EXPECT_EQ(s.enabled, e.enabled) << what << " " << InfoOf(e.command).name << " in menu " << static_cast<int>(e.menu);
    EXPECT_EQ(std::wstring(s.caption), std::wstring(e.caption)) << what << " " << InfoOf(e.command).name;
  }
}

TEST(CommandTable, StatesAndCaptionsFollowTheTask) {
  const CommandContext blank;  // the single empty row of an empty list
  Check(blank,
        {{M::Grid, C::DoneOrNot, false, L"済にする"},
         {M::Grid, C::Add, true, L"追加"},
         {M::Grid, C::Del, false, L"削除"},
         {M::Grid, C::Alarm, false, L"アラーム設定"},
         {M::GridAttach, C::AttachOpen, false, L"開く"},
         {M::GridAttach, C::AttachEdit, false, L"選択"},
         {M::Attach, C::AttachEdit, false, L"添付ファイルの選択"},
         {M::Attach, C::InputUrl, false, L"URLを入力"},
         {M::Edit, C::FindToDo, true, L"検索"}},
        "blank row");
  Check(Task(),
        {{M::Grid, C::DoneOrNot, true, L"済にする"},
         {M::Grid, C::Del, true, L"削除"},
         {M::GridAttach, C::AttachOpen, false, L"開く"},
         {M::GridAttach, C::AttachDelete, false, L"解除"},
         {M::GridAttach, C::AttachFolderOpen, false, L"フォルダを開く"},
         {M::Attach, C::AttachEdit, true, L"添付ファイルの選択"}},
        "open task");
  Check(Task(true, AttachmentKind::None, true),
        {{M::Grid, C::DoneOrNot, true, L"未済にする"},
         {M::Grid, C::Alarm, true, L"アラーム解除"},
         {M::Edit, C::Alarm, true, L"アラーム解除"}},
        "done task with an alarm");
  Check(Task(false, AttachmentKind::File),
        {{M::GridAttach, C::AttachOpen, true, L"開く"},
         {M::GridAttach, C::AttachDelete, true, L"解除"},
         {M::GridAttach, C::AttachFolderOpen, true, L"フォルダを開く"},
         {M::Attach, C::AttachOpen, true, L"添付ファイルを開く"},
         {M::Attach, C::AttachDelete, true, L"添付ファイルの解除"}},
        "file attachment");
  Check(Task(false, AttachmentKind::Web),
        {{M::GridAttach, C::AttachOpen, true, L"URLを開く"},
         {M::GridAttach, C::AttachDelete, true, L"URLの解除"},
         {M::GridAttach, C::AttachFolderOpen, false, L"フォルダを開く"},
         {M::Attach, C::AttachOpen, true, L"URLを開く"},
         {M::Attach, C::AttachDelete, true, L"URLの解除"},
         {M::Attach, C::AttachFolderOpen, false, L"フォルダを開く"}},
        "web address");

  EXPECT_EQ(StateOf(M::Grid, C::DoneOrNot, Task(true)).image, kImageNotDone);
  EXPECT_EQ(StateOf(M::Grid, C::DoneOrNot, Task(false)).image, kImageDone);
}

TEST(CommandTable, TheRepetitionSubmenusCheckTheTasksChoice) {
  CommandContext weekly = Task();
  weekly.repeat = Repeat::Weekly;
  for (const M menu : {M::GridRepeat, M::EditRepeat}) {
    for (const MenuEntry& e : MenuEntries(menu)) {
      SCOPED_TRACE(InfoOf(e.command).name);
      EXPECT_EQ(StateOf(menu, e.command, weekly).checked, e.command == C::RepeatWeekly);
      EXPECT_EQ(StateOf(menu, e.command, Task()).checked, e.command == C::RepeatNone);
      EXPECT_TRUE(StateOf(menu, e.command, weekly).enabled);
      const ItemState blank = StateOf(menu, e.command, CommandContext{});
      EXPECT_FALSE(blank.enabled);
      EXPECT_FALSE(blank.checked);
    }
  }
  TaskTable t({{"", "", "", "", "", ""}, {"2026/12/08(\x89\xCE)", "0", "a", "", "", "A1"}});
  EXPECT_EQ(ContextOfRow(t, 1).repeat, Repeat::Monthly);
}

TEST(CommandTable, TrayItemsFollowTheWindow) {
  CommandContext ctx;
  ctx.editMode = false;
  ctx.topMost = true;
  ctx.syncEnabled = false;
  EXPECT_TRUE(StateOf(M::Tray, C::Edit, ctx).enabled);
  EXPECT_TRUE(StateOf(M::Tray, C::TopMost, ctx).checked);
  EXPECT_FALSE(StateOf(M::Tray, C::Sync, ctx).visible);
  ctx.editMode = true;
  ctx.topMost = false;
  ctx.syncEnabled = true;
  EXPECT_FALSE(StateOf(M::Tray, C::Edit, ctx).enabled);
  EXPECT_FALSE(StateOf(M::Tray, C::TopMost, ctx).checked);
  EXPECT_TRUE(StateOf(M::Tray, C::Sync, ctx).visible);
}

TEST(CommandTable, ContextOfARow) {
  TaskTable t({{"", "", "", "", "", ""},
               {"2026/12/08(火)", "0", "09:00 a", "", "https://example.jp/", "A"},
               {"2026/12/09(水)", "\x8d\xcf", "b", "", "C:\\memo.txt", "-"}});
  const CommandContext web = ContextOfRow(t, 1);
  EXPECT_TRUE(web.isTask);
  EXPECT_FALSE(web.done);
  EXPECT_TRUE(web.alarmArmed);
  EXPECT_EQ(web.attachment, AttachmentKind::Web);
  const CommandContext file = ContextOfRow(t, 2);
  EXPECT_TRUE(file.done);
  EXPECT_FALSE(file.alarmArmed);
  EXPECT_EQ(file.attachment, AttachmentKind::File);
  EXPECT_FALSE(ContextOfRow(t, 3).isTask);  // outside the table
}

// The undo items say what they undo, greyed when there is nothing.
TEST(CommandTable, UndoItemsNameTheStep) {
  CommandContext ctx = Task();
  Check(ctx, {{M::Grid, C::Undo, false, L"元に戻す"}, {M::Edit, C::Redo, false, L"やり直し"}}, "no history");
  ctx.undoName = StepName(StepLabel{StepKind::MoveDate, 3});
  ctx.redoName = StepName(StepLabel{StepKind::Delete, 1});
  Check(ctx,
        {{M::Grid, C::Undo, true, L"元に戻す（日付移動 3件）"},
         {M::Edit, C::Undo, true, L"元に戻す（日付移動 3件）"},
         {M::Grid, C::Redo, true, L"やり直し（削除）"}},
        "both");
}

TEST(CommandTable, KeysComeFromTheTable) {
  // The window's key table runs every shortcut but Ctrl+H, which only the grid menu knows.
  EXPECT_EQ(ShortcutCommand('H'), C::PastDelete);
  EXPECT_FALSE(FormKeyCommand('H').has_value());
  EXPECT_EQ(FormKeyCommand('E'), C::DoneOrNot);
  EXPECT_FALSE(ShortcutCommand('C').has_value());
  // Exactly the characters those shortcuts type are cancelled; Ctrl+C, V and X still type.
  // Ctrl+Z (26) is the window's: it gives the text editor its own undo first.
  std::set<unsigned> cancelled;
  for (unsigned ch = 0; ch < 128; ++ch) {
    if (IsCancelledControlCharacter(ch)) cancelled.insert(ch);
  }
  EXPECT_EQ(cancelled, (std::set<unsigned>{1, 2, 4, 5, 6, 7, 15, 16, 17, 18, 21, 25, 26}));
  EXPECT_EQ(FormKeyCommand('Z'), C::Undo);
  EXPECT_EQ(FormKeyCommand('Y'), C::Redo);
  EXPECT_EQ(ShortcutLabel(C::Alarm), L"Ctrl+B");
  EXPECT_EQ(ShortcutLabel(C::Exit), L"");
}

TEST(CommandTable, EveryItemHasItsOwnIdentifier) {
  std::set<int> ids;
  for (int m = 0; m < kMenuCount; ++m) {
    for (const MenuEntry& e : MenuEntries(static_cast<M>(m))) {
      if (e.kind != MenuEntry::Kind::Item) continue;
      const int id = MenuItemId(static_cast<M>(m), e.command);
      EXPECT_TRUE(ids.insert(id).second) << id;
      const auto back = MenuItemOfId(id);
      ASSERT_TRUE(back.has_value());
      EXPECT_EQ(back->first, static_cast<M>(m));
      EXPECT_EQ(back->second, e.command);
    }
  }
  for (const Command c : HeaderButtons()) {
    EXPECT_EQ(CommandOfButtonId(ButtonId(c)), c);
    EXPECT_FALSE(ids.count(ButtonId(c)));
  }
  EXPECT_FALSE(MenuItemOfId(5).has_value());
}

}  // namespace
}  // namespace lq
