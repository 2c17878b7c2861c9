#include <gtest/gtest.h>
#include <windows.h>

#include "platform/profile.h"
#include "scratch.h"
#include "sjis.h"

namespace lq::win {
namespace {

using testing::ScratchDir;
using testing::Sj;

TEST(Profile, ReadsDefaultsAndWritesKeysThroughTheFile) {
  ScratchDir dir;
  IniProfile ini(dir / L"\u8A2D\u5B9A.ini");  // 設定.ini
  EXPECT_EQ(ini.ReadString("WinPosition", "Width", "360"), "360");
  ASSERT_TRUE(ini.WriteString("WinPosition", "Width", "400"));
  ASSERT_TRUE(ini.WriteString("Sync", "LastSync", "00000000000000000"));
  EXPECT_EQ(ini.ReadString("WinPosition", "Width", "360"), "400");
  EXPECT_EQ(ini.ReadString("winposition", "WIDTH", "360"), "400");  // names ignore case
  // Never cached: a second object, or a hand edit, sees the file as it is now.
  IniProfile other(ini.Path());
  ASSERT_TRUE(other.WriteString("WinPosition", "Width", "500"));
  EXPECT_EQ(ini.ReadString("WinPosition", "Width", "360"), "500");
}

TEST(Profile, JapaneseValuesStayCodePage932Bytes) {
  ScratchDir dir;
  IniProfile ini(dir / L"Lindqvale.ini");
  const std::string font = Sj("ＭＳ Ｐゴシック");
  const std::string history = Sj("会議 ソ表\\能");  // trail bytes that look like a backslash
  ASSERT_TRUE(ini.WriteString("Font", "Name", font));
  ASSERT_TRUE(ini.WriteString("Find", "0", history));
  EXPECT_EQ(ini.ReadString("Font", "Name", ""), font);
  EXPECT_EQ(ini.ReadString("Find", "0", ""), history);
  // The file itself holds the code-page-932 bytes, as existing settings files do.
  HANDLE h = CreateFileW((dir / L"Lindqvale.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  char buf[512];
  DWORD got = 0;
  ReadFile(h, buf, sizeof buf, &got, nullptr);
  CloseHandle(h);
  EXPECT_NE(std::string(buf, got).find(font), std::string::npos);
}

TEST(Profile, LongValuesAreCutAt2047Bytes) {
  ScratchDir dir;
  IniProfile ini(dir / L"Lindqvale.ini");
  ASSERT_TRUE(ini.WriteString("Alarm", "Wav", std::string(3000, 'w')));
  EXPECT_EQ(ini.ReadString("Alarm", "Wav", ""), std::string(2047, 'w'));
  // Never inside a double-byte character.
  const std::string path = std::string(2046, 'w') + Sj("表表");
  ASSERT_TRUE(ini.WriteString("Alarm", "Wav", path));
  EXPECT_EQ(ini.ReadString("Alarm", "Wav", ""), std::string(2046, 'w'));
}

TEST(Profile, AValueNeverReachesALineOfItsOwn) {
  ScratchDir dir;
  IniProfile ini(dir / L"Lindqvale.ini");
  ASSERT_TRUE(ini.WriteString("Find", "0", "text\r\n[HotKey]\r\nEnabled=1"));
  EXPECT_EQ(ini.ReadString("Find", "0", ""), "text[HotKey]Enabled=1");
  EXPECT_EQ(ini.ReadString("HotKey", "Enabled", "0"), "0");
}

TEST(Profile, AWriteThatCannotReachTheFileFails) {
  ScratchDir dir;
  IniProfile ini(dir / L"missing-folder" / L"Lindqvale.ini");
  EXPECT_FALSE(ini.WriteString("View", "TopMost", "1"));
  EXPECT_EQ(ini.ReadString("View", "TopMost", "1"), "1");
}

}  // namespace
}  // namespace lq::win
