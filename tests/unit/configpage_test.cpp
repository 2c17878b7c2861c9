#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "fakes.h"
#include "settings/configpage.h"
#include "settings/textforms.h"
#include "sjis.h"

namespace lq {
namespace {

using testing::FakeProfile;
using testing::Sj;

std::uint32_t FakeSystemColor(int index) { return 0x00010203u * static_cast<std::uint32_t>(index); }

using KeyName = std::pair<std::string, std::string>;
KeyName NameOf(const SettingKey& key) { return {std::string(key.section), std::string(key.name)}; }

std::string B(bool v) { return v ? "1" : "0"; }
std::string I(std::int32_t v) { return std::to_string(v); }

// One control: the key it shows, a text a hand edit may leave in the file, what the control
// then shows, and what OK writes back without the user touching it.
struct ControlRow {
  const SettingKey* key;
  std::string stored;
  std::function<std::string(const ConfigPage&)> shown;
  std::string expectedShown;
  std::string written;
};

std::vector<ControlRow> ControlTable() {
  std::vector<ControlRow> rows = {
      {&keys::EditMode, "37", [](const ConfigPage& c) { return I(c.EditMode); }, "37", "37"},
      {&keys::ViewMode, "95", [](const ConfigPage& c) { return I(c.ViewMode); }, "90", "90"},
      {&keys::EditNoTransparent, "1", [](const ConfigPage& c) { return B(c.EditNoTransparent); }, "1", "1"},
      {&keys::ViewNoTransparent, "5", [](const ConfigPage& c) { return B(c.ViewNoTransparent); }, "1", "1"},
      {&keys::TopMost, "0", [](const ConfigPage& c) { return B(c.TopMost); }, "0", "0"},
      {&keys::HideWhenOnMouse, "1", [](const ConfigPage& c) { return I(static_cast<int>(c.hideMode)); }, "2", "1"},
      {&keys::HideWhenOnEdge, "1", [](const ConfigPage& c) { return I(static_cast<int>(c.hideMode)); }, "0", "0"},
      {&keys::RowHeight, "99", [](const ConfigPage& c) { return I(c.RowHeight); }, "48", "48"},
      {&keys::DoneDown, "0", [](const ConfigPage& c) { return B(c.DoneDown); }, "0", "0"},
      {&keys::HintEnabled, "0", [](const ConfigPage& c) { return B(c.HintEnabled); }, "0", "0"},
      {&keys::HintStart, "50", [](const ConfigPage& c) { return I(c.HintStart); }, "100", "100"},
      {&keys::HintTerm, "4500", [](const ConfigPage& c) { return I(c.HintTerm); }, "4500", "4500"},
      {&keys::HintFullPath, "0", [](const ConfigPage& c) { return B(c.HintFullPath); }, "0", "0"},
      // No such choice: the first.
      {&keys::DateFormat, "7", [](const ConfigPage& c) { return I(c.DateFormat); }, "0", "0"},
      {&keys::ShowDateRow, "0", [](const ConfigPage& c) { return B(c.ShowDateRow); }, "0", "0"},
      {&keys::ShowCountRow, "0", [](const ConfigPage& c) { return B(c.ShowCountRow); }, "0", "0"},
      {&keys::LblCalendar, "-3", [](const ConfigPage& c) { return I(c.LblCalendar); }, "0", "0"},
      {&keys::DateCursorTurn, "0", [](const ConfigPage& c) { return B(c.DateCursorTurn); }, "0", "0"},
      {&keys::SaveOnLostFocus, "1", [](const ConfigPage& c) { return B(c.SaveOnLostFocus); }, "1", "1"},
      {&keys::FinishedDayChange, "0", [](const ConfigPage& c) { return B(c.FinishedDayChange); }, "0", "0"},
      {&keys::IMEName, Sj("日本語入力"), [](const ConfigPage& c) { return c.IMEName; }, Sj("日本語入力"),
       Sj("日本語入力")},
      {&keys::IMEOnOff, "0", [](const ConfigPage& c) { return B(c.IMEOnOff); }, "0", "0"},
      {&keys::HotKeyEnabled, "1", [](const ConfigPage& c) { return B(c.HotKeyEnabled); }, "1", "1"},
      {&keys::ModifyToActivate, "Shift+Alt", [](const ConfigPage& c) { return c.ModifyToActivate; }, "Shift+Alt",
       "Shift+Alt"},
      {&keys::ToActivate, "F5", [](const ConfigPage& c) { return c.ToActivate; }, "F5", "F5"},
      {&keys::ModifyToVisible, "Shift+Ctrl", [](const ConfigPage& c) { return c.ModifyToVisible; }, "Shift+Ctrl",
       "Shift+Ctrl"},
      {&keys::ToVisible, "BkSp", [](const ConfigPage& c) { return c.ToVisible; }, "BkSp", "BkSp"},
      {&keys::AlarmWav, Sj("C:\\音\\ポ表.wav"), [](const ConfigPage& c) { return c.AlarmWav; },
       Sj("C:\\音\\ポ表.wav"), Sj("C:\\音\\ポ表.wav")},
      {&keys::AlarmLoop, "1", [](const ConfigPage& c) { return B(c.AlarmLoop); }, "1", "1"},
      // No control shows it; a hand edit that turns it on survives OK.
      {&keys::SyncEnabled, "1", [](const ConfigPage& c) { return B(c.SyncEnabled); }, "1", "1"},
  };
  for (int i = 0; i < kUrgencyClassCount; ++i) {
    const auto& k = keys::Classes[static_cast<std::size_t>(i)];
    const auto style = [i](const ConfigPage& c) -> const ClassStyle& { return c.Classes[static_cast<std::size_t>(i)]; };
    const std::string n = std::to_string(i);
    rows.push_back({&k.name, Sj("游ゴシック") + n, [style](const ConfigPage& c) { return style(c).FontName; },
                    Sj("游ゴシック") + n, Sj("游ゴシック") + n});
    // A size the list does not offer is kept; one beyond the list's ends is not.
    rows.push_back({&k.size, i == 3 ? "13" : "500", [style](const ConfigPage& c) { return I(style(c).FontSize); },
                    i == 3 ? "13" : "24", i == 3 ? "13" : "24"});
    rows.push_back({&k.textColor, "0x0000" + n + "0", [style](const ConfigPage& c) { return I(static_cast<std::int32_t>(style(c).TextColor)); },
                    I(i * 16), I(i * 16)});
    // A system colour stays a system colour.
    rows.push_back({&k.backColor, "-2147483643", [style](const ConfigPage& c) { return I(static_cast<std::int32_t>(style(c).BackColor)); },
                    "-2147483643", "-2147483643"});
  }
  return rows;
}

// Each control on its own: the hand-edited value, what the page shows, what OK writes; and the
// table names every key OK writes.
TEST(ConfigPage, EachControlShowsItsKeyClampedAndOkWritesItBack) {
  std::set<KeyName> tableKeys;
  for (const ControlRow& row : ControlTable()) {
    SCOPED_TRACE(std::string(row.key->section) + "/" + std::string(row.key->name) + "=" + row.stored);
    tableKeys.insert(NameOf(*row.key));
    FakeProfile file;
    file.values[NameOf(*row.key)] = row.stored;
    const ConfigPage page = ReadConfigPage(file, FakeSystemColor, "C:\\app\\");
    EXPECT_EQ(row.shown(page), row.expectedShown);

    FakeProfile out;
    EXPECT_EQ(WriteConfigPage(out, page), nullptr);
    EXPECT_EQ(out.values[NameOf(*row.key)], row.written);
  }

  FakeProfile out;
  WriteConfigPage(out, ReadConfigPage(FakeProfile{}, FakeSystemColor, "C:\\app\\"));
  std::set<KeyName> written(out.writeLog.begin(), out.writeLog.end());
  EXPECT_EQ(written.size(), out.writeLog.size()) << "a key written twice";
  EXPECT_EQ(written, tableKeys);
  // The dialog's own font is never written, nor what other parts keep.
  EXPECT_EQ(written.count(NameOf(keys::FontName)), 0u);
  EXPECT_EQ(written.count(NameOf(keys::LastSync)), 0u);
}

// Everything the dialog writes, changed in every control at once, reads back as the same page:
// no control writes into another's key.
TEST(ConfigPage, AChangedPageReadsBackAsWritten) {
  ConfigPage page = ReadConfigPage(FakeProfile{}, FakeSystemColor, "C:\\app\\");
  page.EditMode = 10;
  page.ViewMode = 80;
  page.EditNoTransparent = true;
  page.hideMode = HideMode::OnTouch;
  page.TopMost = false;
  page.Classes[2] = ClassStyle{"Arial", 20, 0x123456, 0x654321};
  page.Classes[0].FontSize = 11;
  page.RowHeight = 30;
  page.HintStart = 1200;
  page.HintTerm = 200;
  page.DateFormat = 1;
  page.LblCalendar = 0;
  page.ShowCountRow = false;
  page.SaveOnLostFocus = true;
  page.IMEName = "x";
  page.ModifyToVisible = "Shift+Alt";
  page.ToActivate = "Z";
  page.AlarmWav = Sj("D:\\鳴る.wav");
  page.AlarmLoop = true;

  FakeProfile file;
  ASSERT_EQ(WriteConfigPage(file, page), nullptr);
  const ConfigPage back = ReadConfigPage(file, FakeSystemColor, "C:\\other\\");
  FakeProfile again;
  WriteConfigPage(again, back);
  EXPECT_EQ(again.values, file.values);
  EXPECT_EQ(back.hideMode, HideMode::OnTouch);
  EXPECT_EQ(back.Classes[2].FontName, "Arial");
  EXPECT_EQ(back.Classes[2].BackColor, 0x654321u);
}

TEST(ConfigPage, DefaultsOfAFileWithoutSettings) {
  const ConfigPage c = ReadConfigPage(FakeProfile{}, FakeSystemColor, Sj("C:\\ポ表\\"));
  EXPECT_EQ(c.EditMode, 0);
  EXPECT_EQ(c.ViewMode, 25);
  EXPECT_EQ(c.hideMode, HideMode::KeepShowing);
  EXPECT_EQ(c.RowHeight, 16);
  EXPECT_EQ(c.HintStart, 800);
  EXPECT_EQ(c.HintTerm, 3000);
  EXPECT_EQ(c.LblCalendar, 2);
  EXPECT_EQ(c.IMEName, std::string(kNoImeName));
  EXPECT_EQ(c.ModifyToActivate + "+" + c.ToActivate, "Ctrl+Alt+Up");
  EXPECT_EQ(c.ModifyToVisible + "+" + c.ToVisible, "Ctrl+Alt+Down");
  EXPECT_EQ(c.AlarmWav, Sj("C:\\ポ表\\Tarnwillow.wav"));
  EXPECT_EQ(c.Classes[0].FontName, std::string(kDialogFontName));
  EXPECT_EQ(c.Classes[0].FontSize, 9);
  // The title background is the caption colours mixed, as a plain colour.
  EXPECT_FALSE(IsSystemColor(c.Classes[0].BackColor));
}

TEST(ConfigPage, TheHidingChoiceAndItsTwoKeys) {
  struct Case {
    std::optional<std::string> mouse, edge;  // nullopt: absent
    HideMode mode;
    const char* writtenMouse;
    const char* writtenEdge;
  } cases[] = {
      {std::nullopt, std::nullopt, HideMode::KeepShowing, "0", "0"},
      {"0", "1", HideMode::KeepShowing, "0", "0"},
      {"1", std::nullopt, HideMode::InsideFrame, "1", "1"},  // the edge key defaults to true
      {"1", "0", HideMode::OnTouch, "1", "0"},
      {"1", "1", HideMode::InsideFrame, "1", "1"},
  };
  for (const Case& c : cases) {
    FakeProfile file;
    if (c.mouse) file.values[NameOf(keys::HideWhenOnMouse)] = *c.mouse;
    if (c.edge) file.values[NameOf(keys::HideWhenOnEdge)] = *c.edge;
    const ConfigPage page = ReadConfigPage(file, FakeSystemColor, "");
    EXPECT_EQ(page.hideMode, c.mode) << c.mouse.value_or("-") << c.edge.value_or("-");
    FakeProfile out;
    WriteConfigPage(out, page);
    EXPECT_EQ(out.values[NameOf(keys::HideWhenOnMouse)], c.writtenMouse);
    EXPECT_EQ(out.values[NameOf(keys::HideWhenOnEdge)], c.writtenEdge);
  }
  ConfigPage none = ReadConfigPage(FakeProfile{}, FakeSystemColor, "");
  none.hideMode = HideMode::None;
  FakeProfile out;
  WriteConfigPage(out, none);
  EXPECT_EQ(out.values.count(NameOf(keys::HideWhenOnMouse)), 0u);
  EXPECT_EQ(out.values.count(NameOf(keys::HideWhenOnEdge)), 0u);
}

TEST(ConfigPage, AFailedWriteStopsThereAndKeepsWhatWasWritten) {
  const ConfigPage page = ReadConfigPage(FakeProfile{}, FakeSystemColor, "");
  FakeProfile file;
  const SettingKey& failing = keys::ClassKeysOf(UrgencyClass::Preview2).size;
  file.unwritable.insert(NameOf(failing));
  EXPECT_EQ(WriteConfigPage(file, page), &failing);
  EXPECT_EQ(file.writeLog.back(), NameOf(failing));
  EXPECT_EQ(file.values.count(NameOf(keys::TopMost)), 1u);                                      // before
  EXPECT_EQ(file.values.count(NameOf(keys::ClassKeysOf(UrgencyClass::Preview1).size)), 1u);  // before
  EXPECT_EQ(file.values.count(NameOf(keys::RowHeight)), 0u);                                    // after
  EXPECT_EQ(file.values.count(NameOf(keys::SyncEnabled)), 0u);
}

TEST(ConfigPage, AValueIsWrittenOnOneLine) {
  ConfigPage page = ReadConfigPage(FakeProfile{}, FakeSystemColor, "");
  page.AlarmWav = Sj("C:\\a.wav\r\n[HotKey]\r\nEnabled=1");
  page.Classes[1].FontName = Sj("表\n示");
  FakeProfile file;
  WriteConfigPage(file, page);
  EXPECT_EQ(file.values[NameOf(keys::AlarmWav)], Sj("C:\\a.wav[HotKey]Enabled=1"));
  EXPECT_EQ(file.values[NameOf(keys::ClassKeysOf(UrgencyClass::Expiration).name)], Sj("表示"));
}

TEST(ConfigPage, IdenticalHotKeysAreRefusedOnlyWhenInUse) {
  struct Case {
    bool enabled;
    const char *modA, *keyA, *modV, *keyV;
    bool same;
  } cases[] = {
      {true, "Ctrl+Alt", "Up", "Ctrl+Alt", "Up", true},
      {false, "Ctrl+Alt", "Up", "Ctrl+Alt", "Up", false},
      {true, "Ctrl+Alt", "Up", "Ctrl+Alt", "Down", false},
      {true, "Ctrl+Alt", "Up", "Shift+Alt", "Up", false},
  };
  for (const Case& c : cases) {
    ConfigPage page;
    page.HotKeyEnabled = c.enabled;
    page.ModifyToActivate = c.modA;
    page.ToActivate = c.keyA;
    page.ModifyToVisible = c.modV;
    page.ToVisible = c.keyV;
    EXPECT_EQ(SameHotKeys(page), c.same) << c.enabled << c.modA << c.keyA << c.modV << c.keyV;
  }
}

TEST(ConfigPageControls, SelectComboTextTakesTheFirstExactMatchOrItemZero) {
  const std::vector<std::wstring> items{L"Ctrl+Alt", L"Shift+Ctrl", L"ｓｈｉｆｔ", L"Shift+Ctrl"};
  struct Case {
    std::wstring text;
    std::size_t index;
  } cases[] = {
      {L"Ctrl+Alt", 0}, {L"Shift+Ctrl", 1}, {L"shift+ctrl", 0}, {L"ｓｈｉｆｔ", 2}, {L"shift", 0}, {L"", 0},
      {L"Shift+Ctrl ", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(SelectComboText(items, c.text), c.index) << c.text.size();
  EXPECT_EQ(SelectComboText(std::vector<std::wstring>{}, std::wstring(L"x")), 0u);
  // A stored size the list does not offer selects its first size.
  std::vector<std::string> sizes;
  for (const std::int32_t s : kFontSizes) sizes.push_back(std::to_string(s));
  EXPECT_EQ(sizes[SelectComboText(sizes, std::string("13"))], "6");
  EXPECT_EQ(sizes[SelectComboText(sizes, std::string("14"))], "14");
}

TEST(ConfigPageControls, TheCheckedPreviewPanelAndWhereTheFontPanelGoes) {
  using U = UrgencyClass;
  struct Case {
    std::array<bool, kUrgencyClassCount> checked;
    U selected;
  } cases[] = {
      {{true, false, false, false, false, false, false}, U::Title},
      {{false, false, false, false, false, false, false}, U::Title},
      {{false, false, false, true, false, false, false}, U::Preview1},
      {{false, false, false, false, false, false, true}, U::Done},
      {{true, false, true, false, false, true, false}, U::Deadline},  // never two, but the order decides
  };
  for (const Case& c : cases) EXPECT_EQ(SelectedPreviewPanel(c.checked), c.selected);

  struct Place {
    U panel;
    std::optional<int> fontPanelTop;
  } places[] = {
      {U::Title, kFontPanelLower},    {U::Expiration, kFontPanelLower}, {U::Deadline, kFontPanelLower},
      {U::Preview1, std::nullopt},    {U::Preview2, kFontPanelUpper},   {U::Preview3, kFontPanelUpper},
      {U::Done, kFontPanelUpper},
  };
  for (const Place& p : places) {
    const int top = PreviewPanelTop(p.panel);
    EXPECT_EQ(FontPanelTopFor(top), p.fontPanelTop) << static_cast<int>(p.panel);
    // Wherever it goes, the font panel leaves the chosen row uncovered.
    if (p.fontPanelTop) {
      const bool covered = top < *p.fontPanelTop + kFontPanelHeight && *p.fontPanelTop < top + kPreviewPitch - 4;
      EXPECT_FALSE(covered) << static_cast<int>(p.panel);
    }
  }
  EXPECT_EQ(PreviewPanelTop(U::Title), 44);
  EXPECT_EQ(PreviewPanelTop(U::Done), 236);
}

TEST(ConfigPageControls, NumberFieldsKeepANumberInTheirRange) {
  const IntRange rows = keys::RowHeight.range;
  const IntRange hint = keys::HintStart.range;
  struct Case {
    std::wstring text;
    IntRange range;
    std::int32_t value;
  } cases[] = {
      {L"20", rows, 20},
      {L"", rows, 12},
      {L"99", rows, 48},
      {L"5", rows, 12},
      {L"0048", rows, 48},
      {L"99999999999999999999999", rows, 48},  // too many digits for any number: the most
      {L"abc", rows, 12},
      {L"-5", rows, 12},
      {L"1 2", rows, 12},
      {L"１２", rows, 12},  // full-width digits are not digits here
      {L"", hint, 100},
      {L"31000", hint, 30000},
      {L"850", hint, 850},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberFieldValue(c.text, c.range), c.value) << c.text.size();

  EXPECT_TRUE(NumberFieldAccepts(L'0'));
  EXPECT_TRUE(NumberFieldAccepts(L'9'));
  EXPECT_TRUE(NumberFieldAccepts(L'\b'));
  EXPECT_TRUE(NumberFieldAccepts(L'\x16'));  // Ctrl+V
  for (const wchar_t ch : {L'a', L'-', L' ', L'.', L'１', L'あ'}) EXPECT_FALSE(NumberFieldAccepts(ch)) << int(ch);
  EXPECT_EQ(NumberFieldPaste(L" 1,2a3\r\n"), L"123");
  EXPECT_EQ(NumberFieldPaste(L"abc"), L"");
}

TEST(ConfigPageControls, FontSizesTypedOrChosen) {
  struct Case {
    const char* text;
    std::int32_t size;
  } cases[] = {{"12", 12}, {"13", 13}, {"", 9}, {"abc", 9}, {"0", 6}, {"-4", 6}, {"500", 24}, {"99999999999", 9}};
  for (const Case& c : cases) EXPECT_EQ(FontSizeOfText(c.text), c.size) << c.text;
}

TEST(ConfigPageControls, TodayInTheThreeDateForms) {
  const auto samples = DateFormatSamples(DateTime{Date{2024, 3, 15}, 9, 30, 0, 0});
  EXPECT_EQ(samples[0], Sj("2024/03/15(金)"));
  EXPECT_EQ(samples[1], Sj("03/15(金)"));
  EXPECT_EQ(samples[2], "03/15");
}

}  // namespace
}  // namespace lq
