#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

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

namespace lq::win {
namespace {

// A batch answers from one reading of the file; it must give what the profile functions give,
// key by key, on files written by hand.
TEST(Profile, ABatchReadsEveryKeyAsTheProfileFunctionsDo) {
  struct Query {
    const char* section;
    const char* key;
    const char* defaultValue;
  };
  struct Case {
    const char* name;
    std::string bytes;  // "<missing>": no file
    std::vector<Query> queries;
  };
  const std::string longValue = std::string(3000, 'w');
  const std::string quoted2047 = "\"" + std::string(2047, 'q') + "\"";
  const std::string quoted2048 = "\"" + std::string(2048, 'q') + "\"";
  const std::string cut = std::string(2046, 'w') + Sj("表表");
  const std::string kanjiDefault = Sj("表 ");
  const std::vector<Query> common = {
      {"View", "TopMost", "d"}, {"view", "TOPMOST", "d"}, {"View", "Alpha", "d"},  {" View ", " TopMost ", "d"},
      {"Font", "Name", "d"},    {"Font", "Size", "d"},    {"Font", "Full", "d"},   {"Font", "Ctl", "d"},
      {"Q", "Q1", "d"},         {"Q", "Q2", "d"},         {"Q", "Q3", "d"},        {"Q", "Q4", "d"},
      {"Q", "Q5", "d"},         {"Q", "Q6", "d"},         {"K", "Bare", "d"},      {"K", "Empty", "d"},
      {"K", ";Name", "d"},      {"K", "Name", "d"},       {"Hint", "Start", "d"},  {"Find", "0", "d"},
      {"", "Early", "d"},       {"Top", "Early", "d"},    {"L", "Long", "d"},      {"L", "Q2047", "d"},
      {"L", "Q2048", "d"},      {"L", "Cut", "d"},        {"B", "Odd", "d"},       {"B", "Lead", "d"},
      {"B", "Nul", "d"},        {"Z", "Missing", "tail  "}, {"Z", "Missing", "\"q\""}, {"Z", "Missing", " "},
      {"Z", "Missing", ""},     {"Z", "Missing", "'x"},   {"Z", "Missing", kanjiDefault.c_str()},
  };
  const std::string tricky =
      "Early=before any section\r\n"
      "[View]\r\nTopMost=1\r\ntopmost=0\r\n[view]\r\nAlpha=5\r\n"
      "  [Font]  \r\n  Name  =  " + Sj("ＭＳ ゴシック") + "  \r\n\tSize\t=\t9\t\r\n"
      "Full=" + Sj("　x　") + "\r\nCtl=\x1av\x1a\r\n"
      "[Q]\nQ1=\"abc\"\nQ2='abc'\nQ3=\"abc'\nQ4=\"\nQ5=\"\"\nQ6=x\"y\"\n"
      "[K]\rBare\rEmpty=\r;Name=x\r Name = = y \r"
      "[Hint] junk\r\nStart=5\r\n[ Find ]\r\n0=spaced\r\n"
      "[L]\r\nLong=" + longValue + "\r\nQ2047=" + quoted2047 + "\r\nQ2048=" + quoted2048 + "\r\nCut=" + cut + "\r\n"
      "[B]\r\nOdd=a\x81\x7f\x80\xa0\xfd" "b\r\nLead=c\x82\r\nNul=ab" + std::string(1, '\0') + "cd\r\n[Z]";
  const std::vector<Case> cases = {
      {"tricky", tricky, common},
      {"no final line break", "[View]\r\nTopMost=1", {{"View", "TopMost", "d"}}},
      {"empty", "", {{"View", "TopMost", "d"}, {"Z", "Missing", "\"q\""}}},
      {"missing", "<missing>", {{"View", "TopMost", "d"}, {"Z", "Missing", "tail  "}, {"Z", "Missing", "\"q\""}}},
      {"UTF-8 mark", "\xEF\xBB\xBF[View]\r\nTopMost=1\r\n[Font]\r\nName=\xE8\xA1\xA8\r\n",
       {{"View", "TopMost", "d"}, {"Font", "Name", "d"}}},
      {"UTF-16 mark", std::string("\xFF\xFE[\0V\0]\0\r\0\n\0K\0=\0\x68\x88\r\0\n\0", 22),
       {{"V", "K", "d"}, {"V", "Missing", "d"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    const std::filesystem::path path = dir / L"Lindqvale.ini";
    if (c.bytes != "<missing>") {
      HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      ASSERT_NE(h, INVALID_HANDLE_VALUE);
      DWORD n = 0;
      WriteFile(h, c.bytes.data(), static_cast<DWORD>(c.bytes.size()), &n, nullptr);
      CloseHandle(h);
    }
    IniProfile each(path);
    IniProfile batched(path);
    const IniProfile::Batch batch(batched);
    for (const Query& q : c.queries) {
      SCOPED_TRACE(std::string(q.section) + "/" + q.key + " default " + q.defaultValue);
      EXPECT_EQ(batched.ReadString(q.section, q.key, q.defaultValue), each.ReadString(q.section, q.key, q.defaultValue));
    }
  }
}

TEST(Profile, ABatchSeesItsOwnWritesAndForgetsTheFileWhenItEnds) {
  ScratchDir dir;
  IniProfile ini(dir / L"Lindqvale.ini");
  IniProfile other(ini.Path());
  {
    const IniProfile::Batch batch(ini);
    EXPECT_EQ(ini.ReadString("View", "TopMost", "0"), "0");
    ASSERT_TRUE(ini.WriteString("View", "TopMost", "1"));
    EXPECT_EQ(ini.ReadString("View", "TopMost", "0"), "1");
  }
  ASSERT_TRUE(other.WriteString("View", "TopMost", "2"));
  EXPECT_EQ(ini.ReadString("View", "TopMost", "0"), "2");
}

}  // namespace
}  // namespace lq::win
