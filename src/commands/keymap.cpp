#include "commands/keymap.h"

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

FormKey DecideFormKey(const KeyState& k, bool textEditorOpen, bool datePickerOpen) {
  const bool ctrlOnly = k.ctrl && !k.shift && !k.alt;
  if (ctrlOnly && k.key == kTab) {
    if (textEditorOpen) return {KeyAction::TextToDate};
    if (datePickerOpen) return {KeyAction::DateToText};
  }
  if (k.key == kDelete && !textEditorOpen) return {KeyAction::Delete};
  if (k.ctrl && k.shift && !k.alt && k.key == static_cast<unsigned>(kRedoShiftKey)) return {KeyAction::Run, Command::Redo};
  if (!ctrlOnly) return {};
  if (const auto c = FormKeyCommand(k.key)) return {KeyAction::Run, *c};
  return {KeyAction::Swallow};
}

bool IsTextEditorKey(const KeyState& k) {
  if (!k.ctrl || k.shift || k.alt) return false;
  switch (k.key) {
    case 'C': case 'V': case 'X': case kInsert: case kLeft: case kRight: case kHome: case kEnd: return true;
    default: return false;
  }
}

}  // namespace lq
