#include "store/keymap.h"

namespace lq {
namespace {
constexpr unsigned kTab = 0x09;
constexpr unsigned kDelete = 0x2E;
constexpr unsigned kInsert = 0x2D;
constexpr unsigned kEnd = 0x23;
constexpr unsigned kHome = 0x24;
constexpr unsigned kLeft = 0x25;
constexpr unsigned kRight = 0x27;
}  // namespace

KeyAction DecideFormKey(const KeyState& k, bool textEditorOpen, bool datePickerOpen) {
  const bool ctrlOnly = k.ctrl && !k.shift && !k.alt;
  if (ctrlOnly && k.key == kTab) {
    if (textEditorOpen) return KeyAction::TextToDate;
    if (datePickerOpen) return KeyAction::DateToText;
  }
  if (k.key == kDelete && !textEditorOpen) return KeyAction::Delete;
  if (!ctrlOnly) return KeyAction::None;
  switch (k.key) {
    case 'A': return KeyAction::Add;
    case 'B': return KeyAction::Alarm;
    case 'D': return KeyAction::DeleteTask;
    case 'E': return KeyAction::DoneOrNot;
    case 'F': return KeyAction::Find;
    case 'G': return KeyAction::MoveDate;
    case 'O': return KeyAction::AttachOpen;
    case 'P': return KeyAction::AttachEdit;
    case 'Q': return KeyAction::AttachDelete;
    case 'R': return KeyAction::AttachFolderOpen;
    case 'U': return KeyAction::InputUrl;
    default: return KeyAction::Swallow;
  }
}

bool IsTextEditorKey(const KeyState& k) {
  if (!k.ctrl || k.shift || k.alt) return false;
  switch (k.key) {
    case 'C': case 'V': case 'X': case 'Z': case kInsert: case kLeft: case kRight: case kHome: case kEnd: return true;
    default: return false;
  }
}

bool ClosesTextEditorFirst(KeyAction action) {
  switch (action) {
    case KeyAction::None:
    case KeyAction::Swallow:
    case KeyAction::TextToDate:
    case KeyAction::DateToText:
    case KeyAction::Delete: return false;
    default: return true;
  }
}

}  // namespace lq
