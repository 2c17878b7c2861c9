#include "settings/shortcut.h"

#include <array>

#include "store/text.h"

namespace lq {
namespace {

struct NamedKey {
  std::string_view name;
  unsigned key;
};

constexpr std::array<NamedKey, 18> kNamedKeys{{
    {"F1", vk::F1},      {"F2", vk::F1 + 1},   {"F3", vk::F1 + 2},   {"F4", vk::F1 + 3},  {"F5", vk::F1 + 4},
    {"F6", vk::F1 + 5},  {"F7", vk::F1 + 6},   {"F8", vk::F1 + 7},   {"F9", vk::F1 + 8},  {"F10", vk::F1 + 9},
    {"F11", vk::F1 + 10}, {"F12", vk::F1 + 11}, {"Up", vk::Up},       {"Down", vk::Down},  {"Right", vk::Right},
    {"Left", vk::Left},  {"Ins", vk::Insert},   {"BkSp", vk::Back},
}};

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// ASCII letters without regard to case; every other byte as it is.
bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

bool TakePrefix(std::string_view& text, std::string_view word) {
  if (text.size() < word.size() || !SameWord(text.substr(0, word.size()), word)) return false;
  text.remove_prefix(word.size());
  return true;
}

std::optional<unsigned> KeyOfName(std::string_view name) {
  if (name.size() == 1 && Upper(name[0]) >= 'A' && Upper(name[0]) <= 'Z') return static_cast<unsigned>(Upper(name[0]));
  for (const NamedKey& k : kNamedKeys) {
    if (SameWord(name, k.name)) return k.key;
  }
  return std::nullopt;
}

std::string NameOfKey(unsigned key) {
  if (key >= 'A' && key <= 'Z') return std::string(1, static_cast<char>(key));
  for (const NamedKey& k : kNamedKeys) {
    if (k.key == key) return std::string(k.name);
  }
  return {};
}

}  // namespace

std::optional<ShortCut> TextToShortCut(std::string_view text) {
  ShortCut s;
  for (;;) {
    if (TakePrefix(text, "Shift+")) {
      s.shift = true;
    } else if (TakePrefix(text, "Ctrl+")) {
      s.ctrl = true;
    } else if (TakePrefix(text, "Alt+")) {
      s.alt = true;
    } else {
      break;
    }
  }
  const auto key = KeyOfName(text);
  if (!key) return std::nullopt;
  s.key = *key;
  return s;
}

std::string ShortCutToText(const ShortCut& s) {
  std::string text;
  if (s.shift) text += "Shift+";
  if (s.ctrl) text += "Ctrl+";
  if (s.alt) text += "Alt+";
  return text + NameOfKey(s.key);
}

HotKeyCode ShortCutToHotKey(const ShortCut& s) {
  HotKeyCode code;
  if (s.shift) code.modifiers |= kModShift;
  if (s.alt) code.modifiers |= kModAlt;
  if (s.ctrl) code.modifiers |= kModControl;
  code.virtualKey = s.key;
  return code;
}

HotKeyRequest HotKeyRequestOf(std::string_view shortcutText) {
  HotKeyRequest request;
  const auto shortcut = TextToShortCut(shortcutText);
  if (!shortcut) {
    request.name = std::string(TakeChars(shortcutText, kHotKeyNameChars));
    if (request.name.size() < shortcutText.size()) request.name += "...";
    return request;
  }
  request.name = ShortCutToText(*shortcut);
  if (shortcut->ctrl || shortcut->alt) request.code = ShortCutToHotKey(*shortcut);
  return request;
}

}  // namespace lq
