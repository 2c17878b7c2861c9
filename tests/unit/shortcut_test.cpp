#include <gtest/gtest.h>

#include "fakes.h"
#include "settings/configpage.h"
#include "settings/settings.h"
#include "settings/shortcut.h"

namespace lq {
namespace {

using namespace std::literals;

// Every combination the settings dialog can write is a hot key, and reads back as written.
TEST(ShortCut, EveryOfferedCombinationIsAHotKey) {
  const struct {
    std::string_view modifier;
    unsigned flags;
  } modifiers[] = {{"Ctrl+Alt", kModControl | kModAlt},
                   {"Shift+Ctrl", kModShift | kModControl},
                   {"Shift+Alt", kModShift | kModAlt},
                   {"Shift+Ctrl+Alt", kModShift | kModControl | kModAlt}};
  ASSERT_EQ(std::size(modifiers), kHotKeyModifiers.size());
  for (const auto& m : modifiers) {
    for (const std::string_view key : HotKeyKeys()) {
      const std::string text = std::string(m.modifier) + "+" + std::string(key);
      const HotKeyRequest r = HotKeyRequestOf(text);
      ASSERT_TRUE(r.code.has_value()) << text;
      EXPECT_EQ(r.code->modifiers, m.flags) << text;
      EXPECT_EQ(r.name, text);
    }
  }
  // The keys' codes are the system's.
  const struct {
    std::string_view key;
    unsigned vk;
  } keys[] = {{"A", 0x41}, {"Z", 0x5A},    {"F1", 0x70},    {"F10", 0x79},  {"F12", 0x7B}, {"Up", 0x26},
              {"Down", 0x28}, {"Right", 0x27}, {"Left", 0x25}, {"Ins", 0x2D}, {"BkSp", 0x08}};
  for (const auto& k : keys) {
    EXPECT_EQ(HotKeyRequestOf("Ctrl+Alt+" + std::string(k.key)).code->virtualKey, k.vk) << k.key;
  }
}

TEST(ShortCut, HandWrittenTexts) {
  const struct {
    std::string_view text;
    std::string_view read;  // empty: not a shortcut
  } cases[] = {
      {"alt+ctrl+up", "Ctrl+Alt+Up"},        // any order, any case
      {"Alt+Shift+f5", "Shift+Alt+F5"},
      {"CTRL+ALT+BKSP", "Ctrl+Alt+BkSp"},
      {"Ctrl+Ctrl+Alt+q", "Ctrl+Alt+Q"},     // a word twice is still one key
      {"Shift+A", "Shift+A"},
      {"Ins", "Ins"},
      {"", ""},
      {"Ctrl+Alt+", ""},
      {"Ctrl+Alt", ""},
      {"+Up", ""},
      {"Ctrl+Alt+Up+", ""},
      {"Up+Ctrl+Alt", ""},
      {"Ctrl + Alt + Up", ""},
      {"Ctrl+Alt+ Up", ""},
      {"Control+Alt+Up", ""},
      {"Ctrl+Alt+F0", ""},
      {"Ctrl+Alt+F13", ""},
      {"Ctrl+Alt+F1x", ""},
      {"Ctrl+Alt+Home", ""},
      {"Ctrl+Alt+AB", ""},
      {"Ctrl+Alt+1", ""},
      {"Ctrl+Alt+\x82\x60", ""},  // Ａ, full width
      {"Ctrl+Alt+U\0p"sv, ""},  // a NUL inside
  };
  for (const auto& c : cases) {
    const auto s = TextToShortCut(c.text);
    EXPECT_EQ(s ? ShortCutToText(*s) : std::string(), c.read) << c.text;
  }
}

TEST(ShortCut, ModifierFlagsAreTheSystemsOwn) {
  EXPECT_EQ(ShortCutToHotKey(ShortCut{'A', true, false, false}), (HotKeyCode{4, 'A'}));
  EXPECT_EQ(ShortCutToHotKey(ShortCut{'A', false, true, false}), (HotKeyCode{2, 'A'}));
  EXPECT_EQ(ShortCutToHotKey(ShortCut{'A', false, false, true}), (HotKeyCode{1, 'A'}));
}

TEST(ShortCut, WhatCannotBeAHotKeyIsNamedAsWritten) {
  const struct {
    std::string_view text;
    bool usable;
    std::string_view name;
  } cases[] = {
      {"alt+ctrl+up", true, "Ctrl+Alt+Up"},
      {"Alt+F4", true, "Alt+F4"},
      {"Ctrl+Alt+Foo", false, "Ctrl+Alt+Foo"},
      {"Shift+A", false, "Shift+A"},  // would take the capital A from every program
      {"A", false, "A"},
      {"", false, ""},
  };
  for (const auto& c : cases) {
    const HotKeyRequest r = HotKeyRequestOf(c.text);
    EXPECT_EQ(r.code.has_value(), c.usable) << c.text;
    EXPECT_EQ(r.name, c.name) << c.text;
  }
  // A long text is shortened for the message, never inside a double-byte character.
  std::string longText = "Ctrl+Alt+";
  for (int i = 0; i < 50; ++i) longText += "\x95\x5C";  // 表
  const HotKeyRequest r = HotKeyRequestOf(longText);
  EXPECT_EQ(r.name, longText.substr(0, 9 + 31 * 2) + "...");
}

TEST(ShortCut, TheDefaultSettingsAreCtrlAltUpAndDown) {
  const testing::FakeProfile empty;
  const Settings s = LoadSettings(empty, [](int) { return 0u; });
  EXPECT_EQ(HotKeyRequestOf(s.ActivateShortcut).code, (HotKeyCode{kModControl | kModAlt, vk::Up}));
  EXPECT_EQ(HotKeyRequestOf(s.VisibleShortcut).code, (HotKeyCode{kModControl | kModAlt, vk::Down}));
}

}  // namespace
}  // namespace lq
