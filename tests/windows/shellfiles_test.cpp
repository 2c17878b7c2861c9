#include <gtest/gtest.h>
#include <windows.h>

#include <cwctype>
#include <fstream>

#include "platform/com.h"
#include "platform/shellfiles.h"
#include "scratch.h"
#include "shortcut.h"

namespace lq::win {
namespace {

using testing::MakeShortcut;
using testing::ScratchDir;

void Touch(const std::filesystem::path& p) { std::ofstream(p) << "x"; }

// ポ ends in the byte of "|" and 表 in that of "\" in code page 932.
TEST(ShellFiles, ShortcutsLeadToTheLongNamesOfTheirFiles) {
  ComApartment com;
  ScratchDir dir;
  const auto folder = dir / L"ポ表の長いフォルダ名 long folder";
  std::filesystem::create_directories(folder);
  const auto file = folder / L"表の長い名前 long name.txt";
  Touch(file);

  // What the file system calls it: each name as stored, the drive upper-cased.
  const std::wstring expected = LongPathName(file.wstring());
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(_wcsicmp(expected.c_str(), file.c_str()), 0) << expected;
  EXPECT_TRUE(expected.ends_with(L"\\ポ表の長いフォルダ名 long folder\\表の長い名前 long name.txt")) << expected;
  EXPECT_TRUE(iswupper(expected[0]));

  std::wstring lowerDrive = file.wstring();
  lowerDrive[0] = towlower(lowerDrive[0]);
  EXPECT_EQ(LongPathName(lowerDrive), expected);
  wchar_t shortPath[MAX_PATH] = {};
  if (GetShortPathNameW(file.c_str(), shortPath, MAX_PATH) > 0) {
    EXPECT_EQ(LongPathName(shortPath), expected);
  }

  const std::wstring toFile = (dir / L"to file.lnk").wstring();
  ASSERT_TRUE(MakeShortcut(toFile, file.wstring()));
  EXPECT_EQ(LongPathName(FullPathName(ResolveShortcut(nullptr, toFile))), expected);

  // A folder is no file: a shortcut to one gives nothing, as do a missing file and a file that
  // is no shortcut.
  const std::wstring toFolder = (dir / L"to folder.lnk").wstring();
  ASSERT_TRUE(MakeShortcut(toFolder, folder.wstring()));
  EXPECT_FALSE(ResolveShortcut(nullptr, toFolder).empty());
  EXPECT_EQ(LongPathName(FullPathName(ResolveShortcut(nullptr, toFolder))), L"");
  EXPECT_EQ(LongPathName(folder.wstring()), L"");
  EXPECT_EQ(LongPathName((folder / L"missing.txt").wstring()), L"");
  EXPECT_EQ(ResolveShortcut(nullptr, file.wstring()), L"");
  EXPECT_EQ(LongPathName(L""), L"");
}

TEST(ShellFiles, ProgramsAndScriptsAreKnownByTheirTypeAndShortcutsByTheirTargets) {
  ComApartment com;
  ScratchDir dir;
  const struct {
    const wchar_t* name;
    bool program;
  } files[] = {{L"run.bat", true}, {L"tool.EXE", true}, {L"do.vbs", true}, {L"memo.txt", false},
               {L"表.xls", false}, {L"noextension", false}};
  for (const auto& f : files) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(f.name)));
    const auto path = dir / f.name;
    Touch(path);
    EXPECT_EQ(OpensAsProgram(nullptr, path.wstring()), f.program);
    const std::wstring link = (dir / (std::wstring(f.name) + L".lnk")).wstring();
    ASSERT_TRUE(MakeShortcut(link, path.wstring()));
    EXPECT_EQ(OpensAsProgram(nullptr, link), f.program);
  }
  const auto folder = dir / L"folder.exe";
  std::filesystem::create_directories(folder);
  EXPECT_FALSE(OpensAsProgram(nullptr, folder.wstring()));
  Touch(dir / L"broken.lnk");  // no shortcut at all: nobody can tell where it leads
  EXPECT_TRUE(OpensAsProgram(nullptr, (dir / L"broken.lnk").wstring()));
}

}  // namespace
}  // namespace lq::win
