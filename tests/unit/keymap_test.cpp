#include <gtest/gtest.h>

#include "commands/keymap.h"

namespace lq {
namespace {

KeyState Ctrl(unsigned key) { return KeyState{key, true, false, false}; }

KeyAction Action(const KeyState& k, bool text = false, bool date = false) { return DecideFormKey(k, text, date).action; }

TEST(KeyMap, CtrlTabSwitchesBetweenTheEditors) {
  EXPECT_EQ(Action(Ctrl(0x09), true, false), KeyAction::TextToDate);
  EXPECT_EQ(Action(Ctrl(0x09), false, true), KeyAction::DateToText);
  EXPECT_EQ(Action(Ctrl(0x09)), KeyAction::Swallow);
  EXPECT_EQ(Action(KeyState{0x09, true, true, false}, true, false), KeyAction::None);  // Ctrl+Shift+Tab
}

TEST(KeyMap, DeleteWorksOutsideTheTextEditorWithAnyModifier) {
  EXPECT_EQ(Action(KeyState{0x2E}, false, true), KeyAction::Delete);  // the date picker has the focus
  EXPECT_EQ(Action(KeyState{0x2E, true, true, true}), KeyAction::Delete);
  EXPECT_EQ(Action(KeyState{0x2E}, true, false), KeyAction::None);  // deletes characters there
}

TEST(KeyMap, CtrlLettersRunTheirCommandsAndEveryOtherCtrlKeyIsSwallowed) {
  EXPECT_EQ(DecideFormKey(Ctrl('D'), true, false), (FormKey{KeyAction::Run, Command::Del}));
  EXPECT_EQ(DecideFormKey(Ctrl('U'), false, false), (FormKey{KeyAction::Run, Command::InputUrl}));
  // Ctrl+H belongs to the grid menu alone; Ctrl+C and V are the text editor's; the rest nobody's.
  for (const unsigned key : {unsigned{'H'}, unsigned{'C'}, unsigned{'V'}, 0x26u}) {
    EXPECT_EQ(Action(Ctrl(key), true, false), KeyAction::Swallow) << key;
  }
  EXPECT_EQ(Action(KeyState{'A', true, true, false}), KeyAction::None);  // with Shift
  EXPECT_EQ(DecideFormKey(KeyState{'Z', true, true, false}, true, false), (FormKey{KeyAction::Run, Command::Redo}));
  EXPECT_EQ(DecideFormKey(Ctrl('Y'), true, false), (FormKey{KeyAction::Run, Command::Redo}));
  EXPECT_EQ(Action(KeyState{'A', true, false, true}), KeyAction::None);  // with Alt
  EXPECT_EQ(Action(KeyState{'A'}), KeyAction::None);
}

TEST(KeyMap, TheTextEditorKeepsItsClipboardAndWordKeys) {
  for (const unsigned key : std::initializer_list<unsigned>{'C', 'V', 'X', 0x2D, 0x25, 0x27, 0x24, 0x23}) {
    EXPECT_TRUE(IsTextEditorKey(Ctrl(key))) << key;
  }
  // Ctrl+Z is the window's undo, which gives the editor its own typing back first.
  for (const unsigned key : std::initializer_list<unsigned>{'A', 'B', 'D', 'H', 'Z', 0x26, 0x28, 0x2E, 0x09}) {
    EXPECT_FALSE(IsTextEditorKey(Ctrl(key))) << key;
  }
  EXPECT_FALSE(IsTextEditorKey(KeyState{'C'}));
  EXPECT_FALSE(IsTextEditorKey(KeyState{'V', true, false, true}));  // Ctrl+Alt
}

TEST(KeyMap, OnlyTheCommandsControlCharactersAreCancelled) {
  for (unsigned ch : {1u, 2u, 4u, 5u, 6u, 7u, 15u, 16u, 17u, 18u, 21u, 25u, 26u}) EXPECT_TRUE(IsCancelledControlCharacter(ch)) << ch;
  // Copy, paste and cut (Ctrl+C, V, X) and the others still work in the editors.
  for (unsigned ch : {3u, 22u, 24u, 8u, 13u, 27u, 97u}) EXPECT_FALSE(IsCancelledControlCharacter(ch)) << ch;
}

}  // namespace
}  // namespace lq
