#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/codepage.h"
#include "sjis.h"
#include "store/alarm.h"
#include "store/alarmcall.h"

namespace lq::win {
namespace {

using testing::Sj;

std::vector<std::u16string> Real(const std::wstring& line) {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(line.c_str(), &count);
  std::vector<std::u16string> args;
  for (int i = 0; i < count; ++i) args.emplace_back(argv[i], argv[i] + lstrlenW(argv[i]));
  LocalFree(argv);
  return args;
}

std::u16string U16(const std::wstring& w) { return std::u16string(w.begin(), w.end()); }

// The portable splitting that the unit tests and the fuzz target rely on is the system's.
TEST(CommandLine, ThePortableSplittingIsTheSystems) {
  const wchar_t* lines[] = {
      L"a.exe",
      L"\"C:\\Program Files\\a.exe\" x y",
      L"a.exe \"a b c\" d e",
      L"a.exe \"ab\\\"c\" \"\\\\\" d",
      L"a.exe a\\\\\\b d\"e f\"g h",
      L"a.exe a\\\\\\\"b c d",
      L"a.exe a\\\\\\\\\"b c\" d e",
      L"a.exe \"x\" \"\"",
      L"a.exe \t a\tb  ",
      L"a.exe \"unclosed \\\\ text",
      L"a.exe \"07:00\" \" \u8D77\u5E8A \\\\\"",
  };
  for (const wchar_t* line : lines) EXPECT_EQ(SplitCommandLine(U16(line)), Real(line)) << line;
}

// Through the real conversion and the real splitting, as the shell hands the parameters on.
TEST(CommandLine, AlarmParametersArriveAsTwoArguments) {
  const std::string texts[] = {
      Sj(" 起床"), Sj("表\\"), Sj("C:\\レポート\\"), "a\\\\\"b\\", std::string("nul\0inside", 10),
      "lead at the end \x81", "\x81\" lead before a quote", "\x81 lead before a blank \\", Sj("ソ\\\\"),
  };
  for (const std::string& text : texts) {
    const std::wstring line = L"\"C:\\x\\TarnwillowAlarm.exe\" " + FromCp932(AlarmParameters("07:00", text));
    const std::vector<std::u16string> args = Real(line);
    ASSERT_EQ(args.size(), 3u) << line;
    EXPECT_EQ(args[1], u"07:00");
    EXPECT_EQ(args[2], U16(FromCp932(CommandLineSafe(text)))) << line;
  }
}

}  // namespace
}  // namespace lq::win
