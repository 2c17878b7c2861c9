#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "fulldisk.h"
#include "platform/codepage.h"
#include "platform/profile.h"
#include "scratch.h"
#include "settings/textforms.h"
#include "sjis.h"

namespace lq::win {
namespace {

using testing::ScratchDir;
using testing::Sj;

void WriteRaw(const std::filesystem::path& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD n = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(h);
}

std::string ReadRaw(const std::filesystem::path& path) {
  std::string bytes;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
  CloseHandle(h);
  return bytes;
}

// What the profile functions themselves read, turned into bytes as IniProfile turns them.
std::string ProfileFunctionsRead(const std::filesystem::path& path, const char* section, const char* key,
                                 const char* defaultValue) {
  wchar_t buffer[2048];
  const DWORD n = GetPrivateProfileStringW(FromAnsi(section).c_str(), FromAnsi(key).c_str(),
                                           FromAnsi(defaultValue).c_str(), buffer, 2048, path.c_str());
  return std::string(CutValue(ToAnsi(std::wstring_view(buffer, n))));
}

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

// A write never rewrites the old file in place (a crash would leave it cut): a new file takes
// its place in one step, and what a cut-off write left beside it goes.
TEST(Profile, AWriteReplacesTheFileInOneStep) {
  ScratchDir dir;
  IniProfile ini(dir / L"Lindqvale.ini");
  ASSERT_TRUE(ini.WriteString("View", "TopMost", "1"));
  const auto identity = [&] {
    BY_HANDLE_FILE_INFORMATION info{};
    const HANDLE h = CreateFileW(ini.Path().c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    return (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  };
  const std::uint64_t before = identity();
  const auto leftover = dir / L"Lindqvale.ini.~2a.tmp";
  WriteRaw(leftover, "[View]\r\nTop");
  ASSERT_TRUE(ini.WriteString("View", "RowHeight", "20"));
  EXPECT_NE(identity(), before);
  EXPECT_EQ(ini.ReadString("View", "RowHeight", ""), "20");
  EXPECT_EQ(ini.ReadString("View", "TopMost", ""), "1");
  EXPECT_EQ(ReadRaw(leftover), "<missing>");
}

// The profile functions report success on a full disk and leave the file cut.
TEST(Profile, AFullDiskFailsTheWriteAndLeavesTheFileWhole) {
  const auto drive = testing::FullDiskDrive();
  if (!drive) GTEST_SKIP() << "no drive of its own to fill (LQ_FULL_DISK)";
  ScratchDir dir(*drive);
  IniProfile ini(dir / L"Lindqvale.ini");
  // Nearly a page: anything longer needs room the disk no longer has.
  ASSERT_TRUE(ini.WriteString("Notes", "Pad", std::string(4000, 'x')));
  const std::string before = ReadRaw(ini.Path());
  {
    const testing::FillDisk full(dir.Path());
    ASSERT_TRUE(full.Full());
    EXPECT_FALSE(ini.WriteString("Alarm", "Wav", std::string(500, 'w')));
    EXPECT_EQ(ReadRaw(ini.Path()), before);
    Profile::Edit edit(ini);
    EXPECT_TRUE(ini.WriteString("View", "TopMost", "0"));
    EXPECT_TRUE(ini.WriteString("View", "RowHeight", "20"));
    EXPECT_FALSE(edit.Commit());
    EXPECT_EQ(ReadRaw(ini.Path()), before);
  }
  EXPECT_TRUE(ini.WriteString("Alarm", "Wav", std::string(500, 'w')));
  EXPECT_NE(ReadRaw(ini.Path()).find("Pad=" + std::string(4000, 'x') + "\r\n"), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(Profile, AnEditReachesTheFileAtCommitOrNotAtAll) {
  ScratchDir dir;
  IniProfile ini(dir / L"Lindqvale.ini");
  const IniProfile other(ini.Path());
  ASSERT_TRUE(ini.WriteString("View", "TopMost", "1"));
  {
    Profile::Edit edit(ini);
    ASSERT_TRUE(ini.WriteString("View", "TopMost", "0"));
    ASSERT_TRUE(ini.WriteString("View", "RowHeight", "20"));
    EXPECT_EQ(ini.ReadString("View", "TopMost", ""), "0");  // its own writes
    EXPECT_EQ(other.ReadString("View", "TopMost", ""), "1");
    EXPECT_TRUE(edit.Commit());
  }
  EXPECT_EQ(other.ReadString("View", "TopMost", ""), "0");
  EXPECT_EQ(other.ReadString("View", "RowHeight", ""), "20");
  {
    Profile::Edit dropped(ini);
    ASSERT_TRUE(ini.WriteString("View", "RowHeight", "30"));
  }
  EXPECT_EQ(other.ReadString("View", "RowHeight", ""), "20");
  // A file that cannot be read is not written over without its other keys.
  const HANDLE lock = CreateFileW(ini.Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  {
    Profile::Edit edit(ini);
    EXPECT_FALSE(ini.WriteString("View", "RowHeight", "40"));
    EXPECT_FALSE(edit.Commit());
  }
  EXPECT_FALSE(ini.WriteString("View", "RowHeight", "40"));
  CloseHandle(lock);
  EXPECT_EQ(other.ReadString("View", "RowHeight", ""), "20");
}

}  // namespace
}  // namespace lq::win

namespace lq::win {
namespace {

// Reads, one by one or in a batch from one reading of the file, give what the profile
// functions give, key by key, on files written by hand.
TEST(Profile, ReadsEveryKeyAsTheProfileFunctionsDo) {
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
    if (c.bytes != "<missing>") WriteRaw(path, c.bytes);
    IniProfile each(path);
    IniProfile batched(path);
    const IniProfile::Batch batch(batched);
    for (const Query& q : c.queries) {
      SCOPED_TRACE(std::string(q.section) + "/" + q.key + " default " + q.defaultValue);
      const std::string expected = ProfileFunctionsRead(path, q.section, q.key, q.defaultValue);
      EXPECT_EQ(each.ReadString(q.section, q.key, q.defaultValue), expected);
      EXPECT_EQ(batched.ReadString(q.section, q.key, q.defaultValue), expected);
    }
  }
}

// Writes leave a file that reads as the profile functions' own writes leave it, key by key,
// while every line they do not set stays as it was.
TEST(Profile, WritesLeaveTheFileAsTheProfileFunctionsWould) {
  struct Write {
    std::string section, key, value;
  };
  struct Case {
    const char* name;
    std::string bytes;  // "<missing>": no file
    std::vector<Write> writes;
    std::vector<std::string> kept;  // lines left as they were
  };
  const std::vector<Case> cases = {
      {"missing", "<missing>", {{"View", "TopMost", "1"}, {"Font", "Name", Sj("ＭＳ Ｐゴシック")}, {"View", "RowHeight", "20"}}, {}},
      {"plain",
       "[View]\r\nTopMost=0\r\n\r\n[Font]\r\nName=x\r\n",
       {{"view", "TOPMOST", "1"}, {"Font", "Size", "9"}, {"Hint", "Start", "800"}, {"View", "RowHeight", "20"}},
       {"Name=x\r\n"}},
      {"no final line break", "[View]\r\nTopMost=0", {{"View", "RowHeight", "20"}, {"Sync", "LastSync", "0"}}, {}},
      {"hand-made",
       "Early=1\r\n; a note\r\n  [ View ]  \r\n  TopMost  =  0  \r\nBare\r\n[view]\r\nAlpha=5\r\n"
       "[Hint] junk\r\nStart=5\r\n[K]\rA=1\rB=2\r[Q]\nQ=\"q\"\nOdd=a\x81\x7f\x80\xa0\xfd" "b\n",
       {{"View", "TopMost", "1"}, {"View", "Alpha", "6"}, {"Hint", "Term", "3000"}, {"K", "B", "3"}, {"K", "C", "4"},
        {"Q", "Q", " spaced "}, {"Early", "Early", "2"}},
       {"Early=1\r\n; a note\r\n  [ View ]  \r\n", "Bare\r\n", "[view]\r\nAlpha=5\r\n", "[K]\rA=1\r"}},
      {"Japanese values", "[Find]\r\n0=" + Sj("ソ表\\能") + "\r\n",
       {{"Find", "1", Sj("ポ表|x")}, {"Alarm", "Wav", Sj("C:\\音\\表.wav")}}, {"0=" + Sj("ソ表\\能") + "\r\n"}},
      {"UTF-8 mark", "\xEF\xBB\xBF[V]\r\nK=\xE8\xA1\xA8\r\n", {{"V", "K", Sj("能")}, {"V", "L", "1"}}, {}},
      {"UTF-16 mark", std::string("\xFF\xFE[\0V\0]\0\r\0\n\0K\0=\0\x68\x88\r\0\n\0", 22),
       {{"V", "K", Sj("能")}, {"W", "L", "1"}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir ours;
    ScratchDir theirs;
    const std::filesystem::path path = ours / L"Lindqvale.ini";
    const std::filesystem::path reference = theirs / L"Lindqvale.ini";
    if (c.bytes != "<missing>") {
      WriteRaw(path, c.bytes);
      WriteRaw(reference, c.bytes);
    }
    IniProfile ini(path);
    for (const Write& w : c.writes) {
      ASSERT_TRUE(ini.WriteString(w.section, w.key, w.value));
      ASSERT_TRUE(WritePrivateProfileStringW(FromAnsi(w.section).c_str(), FromAnsi(w.key).c_str(),
                                             FromAnsi(w.value).c_str(), reference.c_str()));
    }
    const std::string written = ReadRaw(path);
    for (const std::string& line : c.kept) EXPECT_NE(written.find(line), std::string::npos) << line << " in\n" << written;
    std::vector<std::pair<std::string, std::string>> names = {{"View", "TopMost"}, {"View", "Alpha"}, {"", "Early"},
                                                              {"K", "A"}, {"Q", "Odd"}, {"Find", "0"}, {"Font", "Name"}};
    for (const Write& w : c.writes) names.emplace_back(w.section, w.key);
    for (const auto& [section, key] : names) {
      SCOPED_TRACE(section + "/" + key);
      const std::string expected = ProfileFunctionsRead(reference, section.c_str(), key.c_str(), "d");
      EXPECT_EQ(ProfileFunctionsRead(path, section.c_str(), key.c_str(), "d"), expected);
      EXPECT_EQ(ini.ReadString(section, key, "d"), expected);
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

