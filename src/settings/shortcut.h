#pragma once
// The two hot keys of [HotKey]: their shortcut texts ("Ctrl+Alt+Up"), the key and modifier
// flags RegisterHotKey takes, and the name a message shows for a combination.

#include <optional>
#include <string>
#include <string_view>

namespace lq {

// Virtual-key codes of the keys a hot key may use (the system's values; letters are their
// capitals).
namespace vk {
inline constexpr unsigned Back = 0x08;
inline constexpr unsigned Insert = 0x2D;
inline constexpr unsigned Left = 0x25;
inline constexpr unsigned Up = 0x26;
inline constexpr unsigned Right = 0x27;
inline constexpr unsigned Down = 0x28;
inline constexpr unsigned F1 = 0x70;  // F2 to F12 follow
}  // namespace vk

// A menu-shortcut value: one key with its modifier keys.
struct ShortCut {
  unsigned key = 0;  // virtual-key code
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  friend bool operator==(const ShortCut&, const ShortCut&) = default;
};

// The standard shortcut texts: the modifier words "Shift+", "Ctrl+" and "Alt+" in any order,
// then one key name: a letter, "F1" to "F12", "Up", "Down", "Right", "Left", "Ins" (Insert) or
// "BkSp" (Backspace). Letter case does not matter. Nothing when the text is anything else.
std::optional<ShortCut> TextToShortCut(std::string_view text);
// The text of a shortcut, modifiers in the order Shift, Ctrl, Alt: "Ctrl+Alt+Up".
std::string ShortCutToText(const ShortCut& shortcut);

// RegisterHotKey's modifier flags.
inline constexpr unsigned kModAlt = 1;
inline constexpr unsigned kModControl = 2;
inline constexpr unsigned kModShift = 4;

struct HotKeyCode {
  unsigned modifiers = 0;
  unsigned virtualKey = 0;
  friend bool operator==(const HotKeyCode&, const HotKeyCode&) = default;
};
HotKeyCode ShortCutToHotKey(const ShortCut& shortcut);

// One hot key as the settings ask for it.
struct HotKeyRequest {
  // What to register; nothing when the text cannot be a hot key: it names no key, or it holds
  // neither Ctrl nor Alt (a system-wide Shift+A would take the letter from every program).
  std::optional<HotKeyCode> code;
  // The combination for the user to read: its own text ("Ctrl+Alt+Up") when it has one, else
  // the text as written, shortened to kHotKeyNameChars characters.
  std::string name;
};
inline constexpr std::size_t kHotKeyNameChars = 40;
HotKeyRequest HotKeyRequestOf(std::string_view shortcutText);

}  // namespace lq
