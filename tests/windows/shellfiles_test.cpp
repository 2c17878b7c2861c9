#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
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
  const auto program = [](const std::wstring& path) { return JudgeOpen(nullptr, path) == OpenJudgement::Program; };
  for (const auto& f : files) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(f.name)));
    const auto path = dir / f.name;
    Touch(path);
    EXPECT_EQ(program(path.wstring()), f.program);
    const std::wstring link = (dir / (std::wstring(f.name) + L".lnk")).wstring();
    ASSERT_TRUE(MakeShortcut(link, path.wstring()));
    EXPECT_EQ(program(link), f.program);
  }
  const auto folder = dir / L"folder.exe";
  std::filesystem::create_directories(folder);
  EXPECT_FALSE(program(folder.wstring()));
  Touch(dir / L"broken.lnk");  // no shortcut at all: nobody can tell where it leads
  EXPECT_TRUE(program((dir / L"broken.lnk").wstring()));
}

// Hand-edited attachments, each judged as the shell would take it: the file it would run (a
// name the shell completes, a file: URL, an environment variable, a program under another
// name, a shortcut to any of them), or a scheme another program handles.
TEST(ShellFiles, OpeningIsJudgedByWhatTheShellWouldRun) {
  ComApartment com;
  ScratchDir dir;
  const std::wstring d = dir.Path().wstring();
  std::wstring url = L"file:///" + d;
  std::replace(url.begin(), url.end(), L'\\', L'/');
  const auto write = [](const std::filesystem::path& p, const char* bytes) { std::ofstream(p, std::ios::binary) << bytes; };
  write(dir / L"marker.exe", "MZ\x90");
  write(dir / L"report.txt", "MZ\x90");  // a program under a document's name
  write(dir / L"memo.txt", "memo");
  write(dir / L"notes", "plain");
  write(dir / L"m2.exe", "MZ\x90");
  std::filesystem::create_directories(dir / L"m2");
  std::filesystem::create_directories(dir / L"folder.exe");
  ASSERT_TRUE(MakeShortcut(d + L"\\to marker.lnk", d + L"\\marker"));
  ASSERT_TRUE(MakeShortcut(d + L"\\to report.lnk", d + L"\\report.txt"));
  ASSERT_TRUE(MakeShortcut(d + L"\\to memo.lnk", d + L"\\memo.txt"));

  using enum OpenJudgement;
  const struct {
    std::wstring text;
    OpenJudgement judged;
  } cases[] = {
      {d + L"\\marker", Program},  // the shell adds ".exe"
      {L"\\\\?\\" + d + L"\\marker", Program},
      {L"\\\\.\\" + d + L"\\marker", Program},
      {url + L"/marker", Program},
      {url + L"/marker%2Eexe", Program},
      {L"%COMSPEC%", Program},
      {d + L"\\to marker.lnk", Program},
      {d + L"\\report.txt", Program},  // "MZ": Wine's shell runs it whatever its name
      {d + L"\\to report.lnk", Program},
      {d + L"\\marker.exe::$DATA", Program},
      {d + L"\\MARKER.EXE. ", Program},
      {L"marker", Program},  // looked for on the PATH too
      {L"\\\\?\\" + d + L"\\marker.exe", Program},
      {L"\\\\server\\share\\tool.exe", Program},
      {std::wstring(L"C:\\marker.exe\0.txt", 18), Refused},
      {L"lqproto:hello", OtherScheme},
      {L"shell:startup", OtherScheme},
      {d + L"\\memo.txt", Document},
      {L"\\\\?\\" + d + L"\\memo.txt", Document},
      {url + L"/memo.txt", Document},
      {d + L"\\to memo.lnk", Document},
      {d + L"\\notes", Document},
      {d + L"\\m2", Document},  // a folder opens as it stands
      {d + L"\\folder.exe", Document},
      {d + L"\\missing.txt", Document},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    EXPECT_EQ(static_cast<int>(JudgeOpen(nullptr, c.text)), static_cast<int>(c.judged));
  }
}

}  // namespace
}  // namespace lq::win
