#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <limits>
#include <set>

#include "fakes.h"
#include "settings/colors.h"
#include "settings/keys.h"
#include "settings/settings.h"
#include "settings/textforms.h"
#include "settings/winposition.h"
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
  // A value at the limit that ends in a lead byte was cut in the middle of a character.
  EXPECT_EQ(CutValue(std::string(2046, 'a') + "\x95"), std::string(2046, 'a'));
  EXPECT_EQ(CutValue("short\x95"), "short\x95");

  FakeProfile profile;
  Put(profile, keys::Find[0], std::string(3000, 'q'));
  EXPECT_EQ(ReadText(profile, keys::Find[0]).size(), 2047u);
}

TEST(SettingsTextForms, AWrittenValueStaysOnItsLine) {
  FakeProfile profile;
  ASSERT_TRUE(WriteText(profile, keys::Find[0], "a\r\n[HotKey]\r\nEnabled=1\nb\r"));
  EXPECT_EQ((profile.values[{"Find", "0"}]), "a[HotKey]Enabled=1b");
  EXPECT_EQ(OneLineValue(Sj("ソ表\r\n能")), Sj("ソ表能"));
}

TEST(SettingsTextForms, WritersReportAFailedWrite) {
  FakeProfile profile;
  EXPECT_TRUE(WriteBoolean(profile, keys::TopMost, false));
  const SettingKey& titleFg = keys::ClassKeysOf(UrgencyClass::Title).textColor;
  EXPECT_TRUE(WriteColor(profile, titleFg, SystemColor(kColorCaptionText)));
  EXPECT_EQ((profile.values[{"View", "TopMost"}]), "0");
  EXPECT_EQ((profile.values[{"Font", "PreviewTitleFGColor"}]), "-2147483639");
  EXPECT_FALSE(LoadSettings(profile, FakeSystemColor).TopMost);

  profile.failWrites = true;
  EXPECT_FALSE(WriteBoolean(profile, keys::TopMost, true));
  EXPECT_EQ(WriteFailureMessage("C:/data/Lindqvale.ini"), "C:/data/Lindqvale.ini に書き込めません");
  EXPECT_EQ(WriteFailureMessage(std::filesystem::path(u8"C:/設定/Lindqvale.ini")),
            "C:/設定/Lindqvale.ini に書き込めません");
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

TEST(SettingsLoad, AMissingFileGivesEveryDefault) {
  const FakeProfile empty;
  const Settings s = LoadSettings(empty, FakeSystemColor);
  EXPECT_EQ(s.EditAlpha, 255);
  EXPECT_EQ(s.ViewAlpha, 191);
  EXPECT_EQ(s.ViewModePercent, 25);
  EXPECT_FALSE(s.EditNoTransparent || s.ViewNoTransparent);
  EXPECT_FALSE(s.HideWhenOnMouse);
  EXPECT_TRUE(s.HideWhenOnEdge);
  EXPECT_TRUE(s.TopMost);
  EXPECT_EQ(s.RowHeight, 16);
  EXPECT_EQ(s.DateFormat, 0);
  EXPECT_TRUE(s.ShowDateRow && s.ShowCountRow);
  EXPECT_EQ(s.LblCalendar, 2);
  EXPECT_TRUE(s.DoneDown && s.DateCursorTurn && s.FinishedDayChange && s.IMEOnOff);
  EXPECT_FALSE(s.SaveOnLostFocus);
  EXPECT_EQ(s.IMEName, Sj("(指定しない)"));
  EXPECT_FALSE(s.ImeNameChosen());
  EXPECT_TRUE(s.HintEnabled && s.HintFullPath);
  EXPECT_EQ(s.HintStart, 800);
  EXPECT_EQ(s.HintTerm, 3000);
  EXPECT_FALSE(s.HotKeyEnabled);
  EXPECT_EQ(s.ActivateShortcut, "Ctrl+Alt+Up");
  EXPECT_EQ(s.VisibleShortcut, "Ctrl+Alt+Down");
  EXPECT_FALSE(s.SyncEnabled);

  struct Expected {
    UrgencyClass c;
    ColorValue text, back;
  } classes[] = {
      {UrgencyClass::Title, SystemColor(kColorCaptionText), 0xE0BFA9},  // the active caption mix
      {UrgencyClass::Expiration, 0xFFFFFF, 0x0044FF},
      {UrgencyClass::Deadline, SystemColor(kColorWindowText), 0x66BBFF},
      {UrgencyClass::Preview1, SystemColor(kColorWindowText), 0x66BBFF},
      {UrgencyClass::Preview2, SystemColor(kColorWindowText), 0xAAFFFF},
      {UrgencyClass::Preview3, SystemColor(kColorWindowText), 0xFFECEC},
      {UrgencyClass::Done, 0x888888, 0xFFECEC},
  };
  for (const auto& e : classes) {
    const ClassStyle& style = s.Class(e.c);
    EXPECT_EQ(style.FontName, Sj("ＭＳ Ｐゴシック")) << static_cast<int>(e.c);
    EXPECT_EQ(style.FontSize, 9) << static_cast<int>(e.c);
    EXPECT_EQ(style.TextColor, e.text) << static_cast<int>(e.c);
    EXPECT_EQ(style.BackColor, e.back) << static_cast<int>(e.c);
  }
}

TEST(SettingsLoad, FontNameAndSizeAreTheDefaultsOfEveryClass) {
  FakeProfile profile;
  Put(profile, keys::FontName, Sj("メイリオ"));
  Put(profile, keys::FontSize, "11");
  Put(profile, keys::ClassKeysOf(UrgencyClass::Preview2).name, "Arial");
  Put(profile, keys::ClassKeysOf(UrgencyClass::Done).size, "14");
  Put(profile, keys::ClassKeysOf(UrgencyClass::Title).size, "big");  // unparsable: Size, not 9
  const Settings s = LoadSettings(profile, FakeSystemColor);
  for (int i = 0; i < kUrgencyClassCount; ++i) {
    const auto c = static_cast<UrgencyClass>(i);
    EXPECT_EQ(s.Class(c).FontName, c == UrgencyClass::Preview2 ? "Arial" : Sj("メイリオ")) << i;
    EXPECT_EQ(s.Class(c).FontSize, c == UrgencyClass::Done ? 14 : 11) << i;
  }

  // A Size that does not parse falls back to the dialog's size, and so do the classes.
  Put(profile, keys::FontSize, "abc");
  EXPECT_EQ(LoadSettings(profile, FakeSystemColor).Class(UrgencyClass::Deadline).FontSize, 9);
}

TEST(SettingsLoad, HandEditedValuesAreUsedAsRead) {
  FakeProfile profile;
  Put(profile, keys::ViewMode, "85");
  Put(profile, keys::HideWhenOnMouse, "1");
  Put(profile, keys::HideWhenOnEdge, "0");
  Put(profile, keys::DateFormat, "2");
  Put(profile, keys::HintStart, "150");
  Put(profile, keys::HotKeyEnabled, "1");
  Put(profile, keys::ModifyToActivate, "Shift+Ctrl");
  Put(profile, keys::ToActivate, "F5");
  Put(profile, keys::ToVisible, "BkSp");
  Put(profile, keys::IMEName, Sj("Microsoft IME"));
  Put(profile, keys::SyncEnabled, "1");
  Put(profile, keys::ClassKeysOf(UrgencyClass::Title).backColor, "255");
  const Settings s = LoadSettings(profile, FakeSystemColor);
  EXPECT_EQ(s.ViewModePercent, 85);
  EXPECT_EQ(s.ViewAlpha, 38);
  EXPECT_TRUE(s.HideWhenOnMouse);
  EXPECT_FALSE(s.HideWhenOnEdge);
  EXPECT_EQ(s.DateFormat, 2);
  EXPECT_EQ(s.HintStart, 150);
  EXPECT_TRUE(s.HotKeyEnabled);
  EXPECT_EQ(s.ActivateShortcut, "Shift+Ctrl+F5");
  EXPECT_EQ(s.VisibleShortcut, "Ctrl+Alt+BkSp");
  EXPECT_TRUE(s.ImeNameChosen());
  EXPECT_TRUE(s.SyncEnabled);
  EXPECT_EQ(s.Class(UrgencyClass::Title).BackColor, 0x0000FFu);
}

TEST(SettingsLoad, NumbersThatWouldBreakTheLayoutAreKeptInASafeRange) {
  struct Case {
    const char* stored;
    std::int32_t rowHeight, fontSize;
  } cases[] = {
      {"0", 12, 6},
      {"-5", 12, 6},
      {"-2147483648", 12, 6},
      {"1", 12, 6},
      {"6", 12, 6},
      {"12", 12, 12},
      {"13", 13, 13},
      {"24", 24, 24},
      {"25", 25, 24},
      {"48", 48, 24},
      {"72", 48, 24},
      {"5000", 48, 24},
      {"2147483647", 48, 24},
  };
  for (const auto& c : cases) {
    FakeProfile profile;
    Put(profile, keys::RowHeight, c.stored);
    Put(profile, keys::FontSize, c.stored);  // reaches the classes through their default
    Put(profile, keys::ClassKeysOf(UrgencyClass::Done).size, c.stored);
    const Settings s = LoadSettings(profile, FakeSystemColor);
    EXPECT_EQ(s.RowHeight, c.rowHeight) << c.stored;
    EXPECT_EQ(s.FontSize, c.fontSize) << c.stored;
    for (const ClassStyle& style : s.Classes) EXPECT_EQ(style.FontSize, c.fontSize) << c.stored;
  }

  struct AlphaCase {
    std::int32_t percent;
    std::uint8_t alpha;
  } alphas[] = {
      {0, 255}, {25, 191}, {90, 25}, {100, 0}, {101, 0}, {-100, 255},
      {std::numeric_limits<std::int32_t>::min(), 255}, {std::numeric_limits<std::int32_t>::max(), 0},
  };
  for (const auto& a : alphas) EXPECT_EQ(AlphaFromPercent(a.percent), a.alpha) << a.percent;
}

// A hand edit can store any number; the window gets what the settings dialog could have
// written (an invisible window at 100 % transparency, one-pixel rows, a hint that never shows
// are out of reach).
TEST(SettingsLoad, NumbersAreKeptWithinWhatTheSettingsDialogWrites) {
  const std::string tooLong(10000, '9');
  struct Case {
    const SettingKey* key;
    const char* stored;
    std::int32_t expected;
  } cases[] = {
      {&keys::EditMode, "100", 90},  {&keys::EditMode, "150", 90},   {&keys::EditMode, "-1", 0},
      {&keys::EditMode, "90", 90},   {&keys::ViewMode, "100", 90},   {&keys::ViewMode, "-2147483648", 0},
      {&keys::HintStart, "0", 100},  {&keys::HintStart, "99", 100},  {&keys::HintStart, "30001", 30000},
      {&keys::HintTerm, "-1", 100},  {&keys::HintTerm, "2147483647", 30000},
      // A choice the dialog does not offer is its first one: the whole date, no clock.
      {&keys::DateFormat, "3", 0},   {&keys::DateFormat, "-1", 0},  {&keys::DateFormat, "2", 2},
      {&keys::LblCalendar, "7", 0},  {&keys::LblCalendar, "-7", 0}, {&keys::LblCalendar, "1", 1},
      {&keys::EditMode, tooLong.c_str(), 0},  // does not parse: the default
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key->name) + "=" + std::string(c.stored).substr(0, 12));
    FakeProfile profile;
    Put(profile, *c.key, c.stored);
    const Settings s = LoadSettings(profile, FakeSystemColor);
    const std::int32_t got = c.key == &keys::EditMode     ? s.EditModePercent
                             : c.key == &keys::ViewMode   ? s.ViewModePercent
                             : c.key == &keys::HintStart  ? s.HintStart
                             : c.key == &keys::HintTerm   ? s.HintTerm
                             : c.key == &keys::DateFormat ? s.DateFormat
                                                          : s.LblCalendar;
    EXPECT_EQ(got, c.expected);
    EXPECT_EQ(ReadInteger(profile, *c.key), c.expected);  // the dialog reads the same
  }
  FakeProfile profile;
  Put(profile, keys::EditMode, "100");
  Put(profile, keys::ViewMode, "150");
  const Settings s = LoadSettings(profile, FakeSystemColor);
  EXPECT_EQ(s.EditAlpha, 25);
  EXPECT_EQ(s.ViewAlpha, 25);
}

// Every number the file can hold, at its extremes, gives a value in the key's range and a load
// without overflow anywhere (the sanitizers watch the arithmetic).
TEST(SettingsLoad, EveryStoredNumberAtItsExtremesLoads) {
  const std::string values[] = {"0", "-1", "-2147483648", "2147483647", std::string(10000, '9')};
  for (const SettingKey* key : AllSettingKeys()) {
    if (key->form == TextForm::String) continue;
    for (const std::string& v : values) {
      SCOPED_TRACE(std::string(key->name) + "=" + v.substr(0, 12));
      FakeProfile profile;
      Put(profile, *key, v);
      if (key->form == TextForm::Integer && key->defaultFrom == DefaultFrom::Text) {
        const std::int32_t read = ReadInteger(profile, *key);
        EXPECT_GE(read, key->range.min);
        EXPECT_LE(read, key->range.max);
      }
      const Settings s = LoadSettings(profile, FakeSystemColor);
      EXPECT_GE(s.EditAlpha, 25);
      EXPECT_GE(s.ViewAlpha, 25);
      EXPECT_GE(s.RowHeight, 12);
      for (const ClassStyle& c : s.Classes) EXPECT_GE(c.FontSize, 1);
    }
  }
}

TEST(WinPosition, MissingKeysGiveTheDefaultTextsAndUnparsableOnesTheFallbacks) {
  struct Case {
    std::optional<std::string> x, y, width, height;  // nullopt: key absent
    WindowPosition expected;
  } cases[] = {
      {{}, {}, {}, {}, {-1, -1, 360, 215}},
      {"abc", "1.5", "abc", "0x100", {0, 0, 465, 408}},
      {"", "", "", "", {0, 0, 465, 408}},  // present but empty is not absent
      {"-100", "+20", "800", "-3", {-100, 20, 800, -3}},
      {{}, "5", "abc", {}, {-1, 5, 465, 215}},
  };
  for (const auto& c : cases) {
    FakeProfile profile;
    if (c.x) Put(profile, keys::WinX, *c.x);
    if (c.y) Put(profile, keys::WinY, *c.y);
    if (c.width) Put(profile, keys::WinWidth, *c.width);
    if (c.height) Put(profile, keys::WinHeight, *c.height);
    const WindowPosition p = ReadWinPosition(profile);
    EXPECT_EQ(p.x, c.expected.x) << c.x.value_or("-");
    EXPECT_EQ(p.y, c.expected.y) << c.y.value_or("-");
    EXPECT_EQ(p.width, c.expected.width) << c.width.value_or("-");
    EXPECT_EQ(p.height, c.expected.height) << c.height.value_or("-");
  }
}

TEST(WinPosition, WritingStopsAtTheFirstFailedKey) {
  using Name = std::pair<std::string, std::string>;
  const Name x{"WinPosition", "x"}, y{"WinPosition", "y"}, w{"WinPosition", "Width"}, h{"WinPosition", "Height"};

  FakeProfile profile;
  ASSERT_TRUE(WriteWinPosition(profile, {-100, 20, 360, 215}));
  EXPECT_EQ(profile.writeLog, (std::vector<Name>{x, y, w, h}));
  EXPECT_EQ(profile.values[x], "-100");
  EXPECT_EQ(profile.values[h], "215");
  const WindowPosition back = ReadWinPosition(profile);
  EXPECT_EQ(back.x, -100);
  EXPECT_EQ(back.width, 360);

  FakeProfile failing;
  failing.unwritable.insert(y);
  EXPECT_FALSE(WriteWinPosition(failing, {1, 2, 3, 4}));
  EXPECT_EQ(failing.writeLog, (std::vector<Name>{x, y}));  // Width and Height never tried
  EXPECT_EQ(failing.values[x], "1");                       // what was written before stays
  EXPECT_EQ(failing.values.count(w), 0u);
}

}  // namespace
}  // namespace lq
