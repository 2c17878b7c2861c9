#include <gtest/gtest.h>

#include "store/keymap.h"

namespace lq {
namespace {

KeyState Ctrl(unsigned key) { return KeyState{key, true, false, false}; }

TEST(KeyMap, CtrlTabSwitchesBetweenTheEditors) {
  EXPECT_EQ(DecideFormKey(Ctrl(0x09), true, false), KeyAction::TextToDate);
  EXPECT_EQ(DecideFormKey(Ctrl(0x09), false, true), KeyAction::DateToText);
  EXPECT_EQ(DecideFormKey(Ctrl(0x09), false, false), KeyAction::Swallow);
  EXPECT_EQ(DecideFormKey(KeyState{0x09, true, true, false}, true, false), KeyAction::None);  // Ctrl+Shift+Tab
}

TEST(KeyMap, DeleteWorksOutsideTheTextEditorWithAnyModifier) {
  EXPECT_EQ(DecideFormKey(KeyState{0x2E}, false, true), KeyAction::Delete);  // the date picker has the focus
  EXPECT_EQ(DecideFormKey(KeyState{0x2E, true, true, true}, false, false), KeyAction::Delete);
  EXPECT_EQ(DecideFormKey(KeyState{0x2E}, true, false), KeyAction::None);  // deletes characters there
}

TEST(KeyMap, CtrlLettersRunTheirCommandsAndEveryOtherCtrlKeyIsSwallowed) {
  const std::pair<unsigned, KeyAction> table[] = {
      {'A', KeyAction::Add},        {'B', KeyAction::Alarm},        {'D', KeyAction::DeleteTask},
      {'E', KeyAction::DoneOrNot},  {'F', KeyAction::Find},         {'G', KeyAction::MoveDate},
      {'O', KeyAction::AttachOpen}, {'P', KeyAction::AttachEdit},   {'Q', KeyAction::AttachDelete},
      {'R', KeyAction::AttachFolderOpen}, {'U', KeyAction::InputUrl}, {'H', KeyAction::Swallow},
      {'C', KeyAction::Swallow},    {'V', KeyAction::Swallow},      {0x26, KeyAction::Swallow},
  };
  for (const auto& [key, action] : table) {
    EXPECT_EQ(DecideFormKey(Ctrl(key), true, false), action) << key;
    EXPECT_EQ(ClosesTextEditorFirst(action), action != KeyAction::Swallow) << key;
  }
  EXPECT_EQ(DecideFormKey(KeyState{'A', true, true, false}, false, false), KeyAction::None);  // with Shift
  EXPECT_EQ(DecideFormKey(KeyState{'A', true, false, true}, false, false), KeyAction::None);  // with Alt
  EXPECT_EQ(DecideFormKey(KeyState{'A'}, false, false), KeyAction::None);
}

TEST(KeyMap, TheTextEditorKeepsItsClipboardUndoAndWordKeys) {
  for (const unsigned key : std::initializer_list<unsigned>{'C', 'V', 'X', 'Z', 0x2D, 0x25, 0x27, 0x24, 0x23}) {
    EXPECT_TRUE(IsTextEditorKey(Ctrl(key))) << key;
  }
  for (const unsigned key : std::initializer_list<unsigned>{'A', 'B', 'D', 'H', 0x26, 0x28, 0x2E, 0x09}) {
    EXPECT_FALSE(IsTextEditorKey(Ctrl(key))) << key;
  }
  EXPECT_FALSE(IsTextEditorKey(KeyState{'C'}));
  EXPECT_FALSE(IsTextEditorKey(KeyState{'V', true, false, true}));  // Ctrl+Alt
}

TEST(KeyMap, OnlyTheCommandsControlCharactersAreCancelled) {
  for (unsigned ch : {1u, 2u, 4u, 5u, 6u, 7u, 15u, 16u, 17u, 18u, 21u}) EXPECT_TRUE(IsCancelledControlCharacter(ch)) << ch;
  // Copy, paste and cut (Ctrl+C, V, X) and the others still work in the editors.
  for (unsigned ch : {3u, 22u, 24u, 8u, 13u, 27u, 97u}) EXPECT_FALSE(IsCancelledControlCharacter(ch)) << ch;
}

}  // namespace
}  // namespace lq
