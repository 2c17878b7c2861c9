// The alarm program as Lindqvale starts it at an alarm's minute: what its window shows for good
// and bad arguments, how it is dismissed, where several alarms of one minute open, which sound
// it chooses from the settings file beside it, and how a snooze puts it off.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <regex>
#include <utility>
#include <vector>

#include "alarm/automation.h"
#include "driver.h"

namespace lq::e2e {
namespace {

using namespace std::chrono_literals;

// One run of TarnwillowAlarm.exe from a scratch folder, given the text after the program's name
// on its command line. Ended with its job when the test is done.
class AlarmRun {
 public:
  // `hold` keeps the program suspended until Resume().
  AlarmRun(const Scratch& scratch, const std::wstring& arguments, bool hold = false) {
    started_ = process_.Start(scratch.Folder() / L"TarnwillowAlarm.exe", scratch.Folder(), arguments, hold);
  }
  void Resume() { process_.Resume(); }
  void Suspend() { process_.Suspend(); }

  bool Started() const { return started_; }
  bool Running() const { return process_.Running(); }

  // The alarm window once it shows; null when none came or the program ended.
  HWND WaitForWindow(std::chrono::milliseconds timeout = 20s) {
    return window_ = process_.WaitForWindowOfClass(alarm::kClassName, timeout);
  }
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = 10s) { return process_.WaitForExit(timeout); }

  HWND Window() const { return window_; }
  std::wstring Text(int childId) const { return TextOf(GetDlgItem(window_, childId)); }
  std::wstring Caption() const { return TextOf(window_); }
  LRESULT Query(UINT msg) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window_, msg, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
  }

  static std::wstring TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!hwnd || !SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"?";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
    text.resize(copied);
    return text;
  }

 private:
  ChildProcess process_;
  bool started_ = false;
  HWND window_ = nullptr;
};

class Alarm : public App {
 protected:
  // The alarm program, and its sound when asked, beside Lindqvale.exe.
  void WithAlarmProgram(bool withSound = true) const {
    std::filesystem::copy_file(gAlarmProgram, s.Folder() / L"TarnwillowAlarm.exe");
    if (withSound) std::filesystem::copy_file(gAlarmProgram.parent_path() / L"Tarnwillow.wav", s.Folder() / L"Tarnwillow.wav");
  }
};

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}

void PressKey(WORD key) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = key;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
}

TEST_F(Alarm, ShowsTheMinuteAndTheTaskAboveAllAndEachWayOfDismissingEndsIt) {
  const struct {
    const char* name;
    void (*dismiss)(HWND window);
  } ways[] = {
      {"the stop button", [](HWND w) { PostMessageW(GetDlgItem(w, alarm::kStopButtonId), BM_CLICK, 0, 0); }},
      {"Enter",
       [](HWND w) {
         Foreground(w);
         PressKey(VK_RETURN);
       }},
      {"Escape",
       [](HWND w) {
         Foreground(w);
         PressKey(VK_ESCAPE);
       }},
      {"the close box", [](HWND w) { PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    NextCase();
    WithAlarmProgram();
    // As Lindqvale passes a task 「07:00 起床」: the text keeps the blank after the time.
    AlarmRun run(s, L"\"07:00\" \" 起床\"");
    ASSERT_TRUE(run.Started());
    const HWND w = run.WaitForWindow();
    ASSERT_NE(w, nullptr) << "no alarm window";
    EXPECT_EQ(Utf8(run.Caption()), "アラーム 07:00");
    EXPECT_EQ(Utf8(run.Text(alarm::kTimeLabelId)), "07:00");
    EXPECT_EQ(Utf8(run.Text(alarm::kTextLabelId)), "起床");
    EXPECT_EQ(Utf8(run.Text(alarm::kStopButtonId)), "停止");
    const LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOPMOST) << "an alarm stays above the other windows";
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW) << "and keeps off the taskbar";
    EXPECT_NE(run.Query(alarm::kQuerySound), alarm::kSoundNone) << "it rings";

    way.dismiss(w);
    const auto code = run.WaitForExit();
    ASSERT_TRUE(code.has_value()) << "still open after " << way.name;
    EXPECT_EQ(*code, 0u);
  }
}

TEST_F(Alarm, BadArgumentsStillGiveAClearWindow) {
  std::wstring longText;
  for (int i = 0; i < 3000; ++i) longText += L"とても長い予定の文章";  // 30,000 characters
  const struct {
    const char* name;
    std::wstring arguments;
    const char* time;
    const char* text;
  } cases[] = {
      {"no arguments", L"", "--:--", "（予定なし）"},
      {"only the time", L"\"07:00\"", "07:00", "（予定なし）"},
      {"an empty text", L"\"07:00\" \"\"", "07:00", "（予定なし）"},
      {"only a text", L"\"会議\"", "--:--", "会議"},
      {"no quotes at all", L"07:00 朝の 会議", "07:00", "朝の 会議"},
      {"an unclosed quote", L"\"07:00\" \" 資料", "07:00", "資料"},
      {"escaped quotes and backslashes", L"\"07:00\" \" a\\\"b C:\\メモ\\\\\"", "07:00", "a\"b C:\\メモ\\"},
      {"no valid time", L"\"99:99\" \" 会議\"", "--:--", "99:99 会議"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    WithAlarmProgram(false);
    AlarmRun run(s, c.arguments);
    ASSERT_TRUE(run.Started());
    ASSERT_NE(run.WaitForWindow(), nullptr) << "no alarm window";
    EXPECT_EQ(Utf8(run.Text(alarm::kTimeLabelId)), c.time);
    EXPECT_EQ(Utf8(run.Text(alarm::kTextLabelId)), c.text);
    PostMessageW(run.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit().value_or(99), 0u);
  }

  // A text near the length limit of a command line is shown cut, with an ellipsis.
  NextCase();
  WithAlarmProgram(false);
  AlarmRun run(s, L"\"23:59\" \" " + longText + L"\"");
  ASSERT_TRUE(run.Started());
  ASSERT_NE(run.WaitForWindow(), nullptr) << "no alarm window for a long text";
  const std::wstring shown = run.Text(alarm::kTextLabelId);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back(), L'…');
  EXPECT_LE(shown.size(), 120u);
  EXPECT_EQ(shown.substr(0, 10), longText.substr(0, 10));
  RECT rc{};
  GetWindowRect(run.Window(), &rc);
  EXPECT_LT(rc.bottom - rc.top, GetSystemMetrics(SM_CYSCREEN) / 2) << "the window stays small";
  PostMessageW(run.Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(run.WaitForExit().value_or(99), 0u);
}

TEST_F(Alarm, ALateAlarmSaysHowLateAndSeveralShowAsOneList) {
  const struct {
    const char* name;
    std::wstring arguments;
    const char *caption, *time, *note, *text;
  } cases[] = {
      {"at its minute", L"\"07:00\" \" 起床\"", "アラーム 07:00", "07:00", "", "起床"},
      {"late", L"\"07:00\" \" 起床\" /late:62", "アラーム 07:00（1時間2分遅れ）", "07:00", "1時間2分遅れのアラームです",
       "起床"},
      {"several late",
       L"\"07:00\" \" 起床\" /late:90 \"07:30\" \" 朝食\" /late:60 \"08:00\" \"\" /late:30 \"08:15\" \" 電話\" /late:15",
       "アラーム 4件", "4件のアラーム", "時刻に鳴らせなかったアラームです",
       "07:00 起床（1時間30分遅れ）\r\n07:30 朝食（1時間遅れ）\r\n08:00 （予定なし）（30分遅れ）\r\n08:15 電話（15分遅れ）"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    WithAlarmProgram(false);
    AlarmRun run(s, c.arguments);
    ASSERT_TRUE(run.Started());
    ASSERT_NE(run.WaitForWindow(), nullptr) << "no alarm window";
    EXPECT_EQ(Utf8(run.Caption()), c.caption);
    EXPECT_EQ(Utf8(run.Text(alarm::kTimeLabelId)), c.time);
    EXPECT_EQ(Utf8(run.Text(alarm::kNoteLabelId)), c.note);
    EXPECT_EQ(IsWindowVisible(GetDlgItem(run.Window(), alarm::kNoteLabelId)) != FALSE, *c.note != '\0');
    EXPECT_EQ(Utf8(run.Text(alarm::kTextLabelId)), c.text);
    PostMessageW(run.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit().value_or(99), 0u);
  }
}

TEST_F(Alarm, AlarmsOfOneMinuteOpenApartAndInsideTheScreen) {
  WithAlarmProgram();
  // Let go together, as Lindqvale starts every alarm of a minute in one go.
  std::vector<std::unique_ptr<AlarmRun>> runs;
  for (const wchar_t* text : {L"\" 朝会\"", L"\" 資料の印刷\"", L"\" 電話をかける\"", L"\" 出発\""}) {
    runs.push_back(std::make_unique<AlarmRun>(s, std::wstring(L"\"09:00\" ") + text, true));
  }
  for (auto& run : runs) run->Resume();
  std::vector<RECT> rects;
  for (auto& run : runs) {
    ASSERT_TRUE(run->Started());
    ASSERT_NE(run->WaitForWindow(), nullptr);
  }
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  for (auto& run : runs) {
    RECT rc{};
    GetWindowRect(run->Window(), &rc);
    EXPECT_GE(rc.left, work.left);
    EXPECT_GE(rc.top, work.top);
    EXPECT_LE(rc.right, work.right);
    EXPECT_LE(rc.bottom, work.bottom);
    for (const RECT& other : rects) {
      EXPECT_FALSE(std::abs(other.left - rc.left) < 12 && std::abs(other.top - rc.top) < 12)
          << "two alarm windows at " << rc.left << "," << rc.top;
    }
    rects.push_back(rc);
  }
  for (auto& run : runs) PostMessageW(run->Window(), WM_CLOSE, 0, 0);
  for (auto& run : runs) EXPECT_EQ(run->WaitForExit().value_or(99), 0u);
}

TEST_F(Alarm, RingsTheSoundOfTheSettingsFileOrTheSystemSoundInstead) {
  const std::string notWave = "this is no sound";
  const struct {
    const char* name;
    std::string ini;  // code page 932; empty: no settings file
    std::string soundFile;
    bool soundIsWave;
    int expected;
  } cases[] = {
      {"no settings: Tarnwillow.wav beside the program", "", "", true, alarm::kSoundFile},
      {"a missing file", "[Alarm]\r\nWav=C:\\nowhere\\gone.wav\r\nLoop=1\r\n", "", true, alarm::kSoundSystem},
      {"a file that is no wave", "[Alarm]\r\nWav=" + Sj("メモ.wav") + "\r\n", Sj("メモ.wav"), false,
       alarm::kSoundSystem},
      {"a Japanese name beside the program", "[Alarm]\r\nWav=" + Sj("目覚まし.wav") + "\r\nLoop=1\r\n",
       Sj("目覚まし.wav"), true, alarm::kSoundFile},
  };
  WithAlarmProgram();
  const std::string wave = s.Read(L"Tarnwillow.wav").value_or("");
  ASSERT_GT(wave.size(), 44u);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    WithAlarmProgram(c.ini.empty());
    if (!c.ini.empty()) s.Write(L"Lindqvale.ini", c.ini);
    if (!c.soundFile.empty()) s.Write(Wide(c.soundFile), c.soundIsWave ? wave : notWave);
    AlarmRun run(s, L"\"07:00\" \" 起床\"");
    ASSERT_NE(run.WaitForWindow(), nullptr);
    EXPECT_EQ(run.Query(alarm::kQuerySound), c.expected);
    // The sound plays on a thread of its own, which shows nothing to wait for: a moment to see
    // that the program stays.
    Pump(300ms);
    EXPECT_TRUE(run.Running());
    PostMessageW(run.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit().value_or(99), 0u);
  }
}

// A snooze minute of the tests: 5分後 is 1.5 s, 1時間後 18 s.
constexpr int kTestMinuteMs = 300;

// Variables of the driver's own environment, which the programs it starts meanwhile inherit;
// what was there before comes back at the end.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(std::initializer_list<std::pair<const wchar_t*, std::wstring>> values) {
    for (const auto& [name, value] : values) {
      std::wstring old(4096, L'\0');
      const DWORD n = GetEnvironmentVariableW(name, old.data(), static_cast<DWORD>(old.size()));
      saved_.emplace_back(name, n > 0 && n < old.size() ? std::optional(old.substr(0, n)) : std::nullopt);
      SetEnvironmentVariableW(name, value.c_str());
    }
  }
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      SetEnvironmentVariableW(it->first, it->second ? it->second->c_str() : nullptr);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::vector<std::pair<const wchar_t*, std::optional<std::wstring>>> saved_;
};

ScopedEnvironment TestMinute() {
  return ScopedEnvironment{{L"LQ_AUTOMATION", L"1"}, {L"LQ_TEST_MINUTE_MS", std::to_wstring(kTestMinuteMs)}};
}

DWORD_PTR Sound(HWND w) {
  DWORD_PTR sound = 99;
  SendMessageTimeoutW(w, alarm::kQuerySound, 0, 0, SMTO_ABORTIFHUNG, 5000, &sound);
  return sound;
}
bool Ringing(HWND w) { return IsWindowVisible(w) && Sound(w) != alarm::kSoundNone; }
bool WaitingOutOfSight(HWND w) { return IsWindow(w) && !IsWindowVisible(w) && Sound(w) == alarm::kSoundNone; }

LRESULT Selected(HWND w) { return SendMessageW(GetDlgItem(w, alarm::kSnoozeChoiceId), CB_GETCURSEL, 0, 0); }

POINT CentreOf(HWND control) {
  RECT rc{};
  GetWindowRect(control, &rc);
  return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

void Shot(HWND w, const wchar_t* name) {
  RECT rc{};
  GetWindowRect(w, &rc);
  InflateRect(&rc, 8, 8);
  Snapshot(rc, name);
}

TEST_F(Alarm, SnoozeRingsAgainWithTheSameTextsAsOftenAsAskedAndSaysHowLateAfterASleep) {
  WithAlarmProgram();
  const std::string tasks = FileOf({kHeader32, TaskLine(0, false, "07:00 起床", "", "A")});
  const std::string settings = "[Alarm]\r\nLoop=1\r\n";
  s.Write(L"Lindqvale.csv", tasks);
  s.Write(L"Lindqvale.ini", settings);
  const auto env = TestMinute();
  AlarmRun run(s, L"\"07:00\" \" 起床\" /late:32");
  const HWND w = run.WaitForWindow();
  ASSERT_NE(w, nullptr);
  const HWND choice = GetDlgItem(w, alarm::kSnoozeChoiceId);
  std::string items;
  for (int i = 0; i < SendMessageW(choice, CB_GETCOUNT, 0, 0); ++i) {
    wchar_t item[32] = {};
    SendMessageW(choice, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
    items += Utf8(item) + "|";
  }
  EXPECT_EQ(items, "5分後|10分後|30分後|1時間後|");
  EXPECT_EQ(Selected(w), 0);
  EXPECT_EQ(Utf8(run.Text(alarm::kSnoozeButtonId)), "スヌーズ(&S)");
  EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(w, alarm::kStopButtonId), GWL_STYLE) & BS_DEFPUSHBUTTON);
  Shot(w, L"snooze-ringing");

  // 1時間後 from the keyboard: Tab to the drop-down, End, Alt+S.
  Foreground(w);
  Press(VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(w) == choice; })) << "Tab from 停止 goes to the drop-down";
  Press(VK_END);
  ASSERT_TRUE(WaitUntil([&] { return Selected(w) == 3; }));
  Chord({VK_MENU, 'S'});
  ASSERT_TRUE(WaitUntil([&] { return WaitingOutOfSight(w); })) << "Alt+S snoozes: silent and out of sight";

  // The tray icon shows it again, silent, saying when it rings; Escape hides it again.
  PostMessageW(w, alarm::kTrayCallback, 1, WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(w) != FALSE; }));
  EXPECT_EQ(run.Query(alarm::kQuerySound), alarm::kSoundNone);
  EXPECT_TRUE(std::regex_match(Utf8(run.Text(alarm::kNoteLabelId)), std::regex("[0-2][0-9]:[0-5][0-9]に再通知")))
      << Utf8(run.Text(alarm::kNoteLabelId));
  EXPECT_EQ(Utf8(run.Text(alarm::kTimeLabelId)), "07:00");
  EXPECT_EQ(Utf8(run.Text(alarm::kTextLabelId)), "起床");
  Shot(w, L"snooze-waiting");
  Foreground(w);
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return WaitingOutOfSight(w); })) << "Escape only hides a waiting snooze";

  // From the shown window again, 5分後 with a click: it rings again with the alarm's own note.
  PostMessageW(w, alarm::kTrayCallback, 1, WM_RBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(w) != FALSE; }));
  Foreground(w);
  Press(VK_TAB);
  Press(VK_HOME);
  ASSERT_TRUE(WaitUntil([&] { return Selected(w) == 0; }));
  Click(CentreOf(GetDlgItem(w, alarm::kSnoozeButtonId)));
  ASSERT_TRUE(WaitUntil([&] { return WaitingOutOfSight(w); }));
  ASSERT_TRUE(WaitUntil([&] { return Ringing(w); }, 20s)) << "no ring after 5分後";
  EXPECT_EQ(Utf8(run.Caption()), "アラーム 07:00（32分遅れ）");
  EXPECT_EQ(Utf8(run.Text(alarm::kNoteLabelId)), "32分遅れのアラームです");
  EXPECT_EQ(Utf8(run.Text(alarm::kTextLabelId)), "起床");

  // 10分後 with Enter on the focused スヌーズ, then the process stands still past its time, as in
  // a sleep: it rings when it goes on, saying how late.
  Foreground(w);
  Press(VK_TAB);
  Press(VK_DOWN);
  ASSERT_TRUE(WaitUntil([&] { return Selected(w) == 1; }));
  Press(VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(w) == GetDlgItem(w, alarm::kSnoozeButtonId); }));
  EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(w, alarm::kSnoozeButtonId), GWL_STYLE) & BS_DEFPUSHBUTTON)
      << "the focused スヌーズ looks like the button Enter presses";
  Press(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return WaitingOutOfSight(w); })) << "Enter on スヌーズ snoozes";
  run.Suspend();
  const auto asleep = std::chrono::steady_clock::now();
  WaitUntil([&] { return std::chrono::steady_clock::now() - asleep >= (10 + 4) * kTestMinuteMs * 1ms; }, 30s);
  run.Resume();
  ASSERT_TRUE(WaitUntil([&] { return Ringing(w); }, 20s)) << "no ring after the sleep";
  std::smatch late;
  const std::string note = Utf8(run.Text(alarm::kNoteLabelId));
  ASSERT_TRUE(std::regex_match(note, late, std::regex("([0-9]+)分遅れのアラームです"))) << note;
  EXPECT_GE(std::stoi(late[1]), 4) << note;
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(w, alarm::kNoteLabelId)));
  Shot(w, L"snooze-late");

  // 停止 is still the default: Enter ends it.
  Foreground(w);
  Press(VK_RETURN);
  EXPECT_EQ(run.WaitForExit().value_or(99), 0u);
  EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or(""), tasks);
  EXPECT_EQ(s.Read(L"Lindqvale.ini").value_or(""), settings);
}

HWND VisibleAlarmWindow() {
  for (HWND found = nullptr; (found = FindWindowExW(nullptr, found, alarm::kClassName, nullptr)) != nullptr;) {
    if (IsWindowVisible(found)) return found;
  }
  return nullptr;
}

TEST_F(Alarm, ASnoozeOutlivesLindqvale) {
  WithAlarmProgram(false);
  Tasks({TaskLine(0, false, "07:00 起床", "", "A")});
  const auto env = TestMinute();
  Session& w = Start();
  w.SetClockTo(6, 59, 59, 300);
  HWND ring = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (ring = VisibleAlarmWindow()) != nullptr; }, 20s)) << "the alarm did not ring";
  ASSERT_TRUE(WaitUntil([&] { return Ringing(ring); }));
  PostMessageW(GetDlgItem(ring, alarm::kSnoozeButtonId), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return WaitingOutOfSight(ring); }));
  Close();
  ASSERT_TRUE(WaitUntil([&] { return Ringing(ring); }, 20s)) << "the snooze went with Lindqvale";
  EXPECT_EQ(AlarmRun::TextOf(GetDlgItem(ring, alarm::kTextLabelId)), L"起床");
  PostMessageW(ring, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(ring); }));
}

}  // namespace
}  // namespace lq::e2e
