#pragma once
// The main window's own keys in edit mode, decided before the focused control sees them.

#include "commands/commandtable.h"

namespace lq {

enum class KeyAction {
  None,        // not ours: the focused control handles the key
  Swallow,     // Ctrl+key without a command: nobody sees it
  TextToDate,  // Ctrl+Tab in the text editor: close it and open the date picker
  DateToText,  // Ctrl+Tab in the date picker: open the text editor
  Delete,      // Delete outside the text editor
  Run,         // a command's Ctrl+letter: close the text editor, then run the command
};

struct FormKey {
  KeyAction action = KeyAction::None;
  Command command = Command::Count;  // for Run
  friend bool operator==(const FormKey&, const FormKey&) = default;
};

struct KeyState {
  unsigned key = 0;  // virtual-key code
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
};

// Ctrl means Ctrl with neither Shift nor Alt. The letters are the command table's.
FormKey DecideFormKey(const KeyState& k, bool textEditorOpen, bool datePickerOpen);
// Keys the text editor keeps although Ctrl is held, as any Windows text field: the clipboard
// (Ctrl+C, V, X and Insert), and moves by word and to either end (Ctrl+Left, Right, Home,
// End). With the text editor focused they reach it instead of being swallowed. Ctrl+Z is the
// window's undo, which lets the editor take back its own typing first.
bool IsTextEditorKey(const KeyState& k);

}  // namespace lq
