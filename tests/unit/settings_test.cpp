#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <limits>
#include <set>

#include "fakes.h"
#include "settings/colors.h"
#include "settings/keys.h"
#include "settings/textforms.h"
#include "sjis.h"
#include "store/taskfile.h"

namespace lq {
namespace {

using testing::FakeProfile;
using testing::Sj;

// Caption colours that differ in every channel, so a mix that lets one channel spill into
// the next shows.
std::uint32_t FakeSystemColor(int index) {
  switch (index) {
    case kColorActiveCaption: return 0x00D1B499;
    case kColorGradientActiveCaption: return 0x00F0CBB9;
    case kColorWindowText: return 0x00000000;
    default: return 0x00010101u * static_cast<std::uint32_t>(index);
  }
}

void Put(FakeProfile& profile, const SettingKey& key, std::string value) {
  profile.values[{std::string(key.section), std::string(key.name)}] = std::move(value);
}

TEST(SettingsTextForms, IntegersAreDecimalOrHexadecimalAfter0x) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"0", 0},
      {"-1", -1},
      {"+5", 5},
      {"010", 10},  // leading zeros are decimal, not octal
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"2147483648", {}},
      {"-2147483649", {}},
      {"0x888888", 0x888888},
      {"0X1f", 31},
      {"0x80000008", -2147483640},  // the system window-text colour
      {"0xFFFFFFFF", -1},
      {"0x0000000001", 1},
      {"0x100000000", {}},
      {"0x", {}},  // too short to be hexadecimal, and not decimal either
      {"0xg", {}},
      {"0x-1", {}},
      {"-0x10", {}},
      {"grey", {}},
      {"yes", {}},
      {"", {}},
      {"-", {}},
      {" 1", {}},
      {"1 ", {}},
      {"12a", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseIntegerText(c.text), c.value) << c.text;
  // The window position is plain decimal.
  EXPECT_EQ(ParseDecimalText("0x10"), std::nullopt);
  EXPECT_EQ(ParseDecimalText("-100"), -100);
}

TEST(SettingsTextForms, WrittenTextsReadBackAsTheSameValue) {
  EXPECT_EQ(FormatColor(SystemColor(kColorCaptionText)), "-2147483639");
  EXPECT_EQ(FormatColor(SystemColor(kColorWindowText)), "-2147483640");
  EXPECT_EQ(FormatColor(0xFFFFFF), "16777215");
  EXPECT_EQ(FormatBoolean(true), "1");
  EXPECT_EQ(FormatBoolean(false), "0");
  for (const ColorValue v : {0u, 0x888888u, 0xFFFFFFu, 0x80000000u, 0x8000001Cu, 0xFFFFFFFFu}) {
    EXPECT_EQ(static_cast<ColorValue>(ParseIntegerText(FormatColor(v)).value_or(12345)), v) << v;
  }
}

TEST(SettingsTextForms, KeysReadTheirDefaultWhenTheTextDoesNotParse) {
  const SettingKey& doneFg = keys::ClassKeysOf(UrgencyClass::Done).textColor;
  struct Case {
    const SettingKey* key;
    std::optional<std::string> stored;  // nullopt: key absent
    std::int32_t expected;
  } cases[] = {
      {&doneFg, "-2147483640", static_cast<std::int32_t>(SystemColor(kColorWindowText))},
      {&doneFg, "0x888888", 0x888888},
      {&doneFg, "grey", 0x888888},
      {&doneFg, "0x00FF00", 0x00FF00},
      {&keys::IMEOnOff, "yes", 1},
      {&keys::IMEOnOff, "2", 1},
      {&keys::IMEOnOff, "-1", 1},
      {&keys::IMEOnOff, "0", 0},
      {&keys::IMEOnOff, "0x0", 0},
      {&keys::HideWhenOnEdge, std::nullopt, 1},
      {&keys::HideWhenOnEdge, "", 1},
      {&keys::RowHeight, "20px", 16},
      {&keys::HintStart, "99999999999", 800},
  };
  for (const auto& c : cases) {
    FakeProfile profile;
    if (c.stored) Put(profile, *c.key, *c.stored);
    const std::string label = std::string(c.key->name) + "=" + c.stored.value_or("(absent)");
    if (c.key->form == TextForm::Boolean) {
      EXPECT_EQ(ReadBoolean(profile, *c.key), c.expected != 0) << label;
    } else {
      EXPECT_EQ(ReadInteger(profile, *c.key), c.expected) << label;
    }
  }
}

TEST(SettingsTextForms, LongValuesAreCutWithoutSplittingACharacter) {
  EXPECT_EQ(CutValue(std::string(3000, 'w')), std::string(2047, 'w'));
  EXPECT_EQ(CutValue(std::string(2047, 'w')).size(), 2047u);
  // "あ" would take bytes 2047 and 2048: it is left out whole.
  const std::string straddling = std::string(2046, 'a') + Sj("あ") + "b";
  EXPECT_EQ(CutValue(straddling), std::string(2046, 'a'));
  // "ぁ" is 0x82 0x9F: its trail byte is also a lead byte, so only counting from the start
  // tells that the value's byte 2047 ends a character.
  std::string pairs = "a";
  for (int i = 0; i < 1500; ++i) pairs += Sj("ぁ");
  EXPECT_EQ(CutValue(pairs).size(), 2047u);

  FakeProfile profile;
  Put(profile, keys::Find[0], std::string(3000, 'q'));
  EXPECT_EQ(ReadText(profile, keys::Find[0]).size(), 2047u);
}

TEST(SettingsKeys, EveryKeyIsUniqueAndEveryFixedDefaultReadsInItsForm) {
  std::set<std::string> seen;
  for (const SettingKey* key : AllSettingKeys()) {
    // The profile functions ignore letter case in names, so keys may not differ only by it.
    std::string id = std::string(key->section) + "/" + std::string(key->name);
    std::transform(id.begin(), id.end(), id.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_TRUE(seen.insert(id).second) << id;
    if (key->defaultFrom != DefaultFrom::Text) continue;
    switch (key->form) {
      case TextForm::Integer:
      case TextForm::Color:
        EXPECT_TRUE(ParseIntegerText(key->defaultText)) << id;
        break;
      case TextForm::Boolean:
        EXPECT_TRUE(key->defaultText == "0" || key->defaultText == "1") << id;
        break;
      case TextForm::Decimal:
        EXPECT_TRUE(ParseDecimalText(key->defaultText)) << id;
        break;
      case TextForm::String:
        break;
    }
  }
  EXPECT_EQ(seen.size(), 70u);
  // The task file marks a converted file as never synchronised under the same key.
  EXPECT_EQ(keys::LastSync.defaultText, kNeverSynced);
  EXPECT_EQ(DefaultAlarmSound(Sj("C:\\ツール\\")), Sj("C:\\ツール\\Tarnwillow.wav"));
}

TEST(SettingsColors, ResolveAndMixWorkChannelByChannel) {
  struct Case {
    ColorValue a, b, mixed;
  } cases[] = {
      {0x000000, 0xFFFFFF, 0x7F7F7F},
      {0x0000FF, 0x0000FF, 0x0000FF},  // no carry from red into green
      {0x01FF01, 0x00FF00, 0x00FF00},
      {SystemColor(kColorActiveCaption), SystemColor(kColorGradientActiveCaption), 0xE0BFA9},
      {SystemColor(kColorWindowText), 0xFEFEFE, 0x7F7F7F},
      {0x7F123456, 0x00123456, 0x123456},  // only the three colour bytes of an RGB value count
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MixColors(c.a, c.b, FakeSystemColor), c.mixed) << std::hex << c.a << " " << c.b;
  }
  EXPECT_EQ(ResolveColor(SystemColor(5), FakeSystemColor), 0x050505u);
  EXPECT_EQ(ResolveColor(0x01FFFFFF, FakeSystemColor), 0xFFFFFFu);
  EXPECT_EQ(ResolveColor(SystemColor(5), nullptr), 0u);
}

}  // namespace
}  // namespace lq
