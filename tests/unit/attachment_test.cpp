#include <gtest/gtest.h>

#include "geometry/grid.h"
#include "geometry/hint.h"
#include "sjis.h"
#include "store/attachment.h"

namespace lq {
namespace {

using testing::Sj;

// 表 ends in the byte of "\" and ポ in that of "|": neither may be taken for one.
TEST(Attachment, FolderAndFileName) {
  const struct {
    const char* path;  // UTF-8
    const char* folder;
    const char* name;
  } cases[] = {
      {"C:\\作業\\資料.xls", "C:\\作業", "資料.xls"},
      {"C:\\memo.txt", "C:\\", "memo.txt"},
      {"C:memo.txt", "", "C:memo.txt"},
      {"\\memo.txt", "\\", "memo.txt"},
      {"\\\\server\\share\\memo.txt", "\\\\server\\share", "memo.txt"},
      {"memo.txt", "", "memo.txt"},
      {"C:\\dir\\表.txt", "C:\\dir", "表.txt"},
      {"C:\\表\\ポ", "C:\\表", "ポ"},
      {"C:/dir/memo.txt", "C:/dir", "memo.txt"},
      {"D:\\folder\\", "D:\\folder", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(AttachmentFolder(Sj(c.path)), Sj(c.folder));
    EXPECT_EQ(AttachmentFileName(Sj(c.path)), Sj(c.name));
  }
  EXPECT_EQ(HintText(Sj("C:\\作業\\資料.xls"), false), Sj("資料.xls"));
  EXPECT_EQ(HintText(Sj("C:\\作業\\資料.xls"), true), Sj("C:\\作業\\資料.xls"));
  EXPECT_EQ(HintText("https://example.jp/a/b", false), "https://example.jp/a/b");
}

TEST(Attachment, WhichFilesStartAProgram) {
  const struct {
    const char* path;  // UTF-8
    const char* pathExt;
    bool program;
  } cases[] = {
      {"C:\\a\\setup.exe", "", true},
      {"C:\\a\\SETUP.EXE", "", true},
      {"C:\\a\\run.Bat", "", true},
      {"C:\\a\\script.ps1", "", true},
      {"C:\\a\\ポ.vbs", "", true},
      {"C:\\a\\setup.exe. .", "", true},  // Windows drops the trailing dots and blanks
      {"C:\\a\\tool.pl", ".COM;.EXE; .pl ;.BAT", true},
      {"C:\\a\\tool.pl", ".COM;.EXE", false},
      {"C:\\a\\memo.txt", ".COM;.EXE;.BAT", false},
      {"C:\\a\\表.txt", "", false},
      {"C:\\a.exe\\memo", "", false},  // the dot belongs to the folder
      {"C:\\a\\noextension", ".", false},
      {"C:\\a\\x.exe.txt", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(IsProgramExtension(UpperExtension(Sj(c.path)), c.pathExt), c.program);
  }
  EXPECT_EQ(UpperExtension(Sj("C:\\a\\資料.Xls")), ".XLS");
}

// What the shell makes of an opened text before it looks for a file; the files decide the
// rest (the Windows tests).
TEST(Attachment, HowTheShellTakesAnOpenedText) {
  using enum ShellText;
  const struct {
    std::wstring text;
    ShellText kind;
  } cases[] = {
      {L"C:\\a\\memo.txt", Path},
      {L"c:/a/marker", Path},
      {L"C:\\", Path},
      {L"\\\\server\\share\\tool.exe", Path},
      {L"\\\\?\\C:\\a\\marker", Path},
      {L"\\\\.\\C:\\a\\marker", Path},
      {L"C:\\a\\100%.txt", Path},
      {L"C:\\a\\%%.txt", Path},
      {std::wstring(L"C:\\a\\marker.exe\0.txt", 20), Refused},  // the shell would stop at the NUL
      {L"C:\\a\\tab\t.txt", Refused},
      {L"https://example.jp/\x7F", Refused},
      {L"https://example.jp/", WebAddress},
      {L"http://x/../../a/marker.exe", WebAddress},
      {L"HTTP://example.jp/", OtherScheme},
      {L"lqproto:hello", OtherScheme},
      {L"shell:startup", OtherScheme},
      {L"ms-settings:display", OtherScheme},
      {L"file:///C:/a/marker%2Eexe", FileUrl},
      {L"FILE://server/share/x.txt", FileUrl},
      {L"%COMSPEC%", Program},
      {L"C:\\%WINDIR%\\notepad", Program},
      {L"C:\\a\\marker.exe::$DATA", Program},
      {L"C:\\a\\memo.txt:hidden", Program},
      {L"marker", RelativePath},
      {L"a\\marker.exe", RelativePath},
      {L"C:marker", RelativePath},  // in the drive's current folder
      {L"\\a\\marker", RelativePath},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    EXPECT_EQ(ClassifyShellText(c.text), c.kind);
  }
}

TEST(Attachment, UrlDialogRounds) {
  const std::string web = "“http://”または“https://”で始まるURLを入力してください。";
  const struct {
    const char* name;
    std::string start;
    bool ok;
    std::string typed;
    bool lossless;
    bool showAgain;
    std::string message;  // UTF-8; "" for none, "*" for any
    std::string taken;
  } cases[] = {
      {"cancel keeps the start", "http://", false, "garbage", true, false, "", "http://"},
      {"upper-case prefix refused", "http://", true, "HTTP://x", true, true, web, ""},
      {"empty refused", "https://a/", true, "", true, true, web, ""},
      {"a path refused", "http://", true, "C:\\memo.txt", true, true, web, ""},
      {"accepted", "http://", true, "https://example.jp/", true, false, "", "https://example.jp/"},
      {"blanks and a line break around it go", "http://", true, " http://x \r\n", true, false, "", "http://x"},
      {"a bar is written as %7C", "http://", true, "http://a/?q=1|2", true, false, "", "http://a/?q=1%7C2"},
      {"ポ keeps its second byte", "http://", true, Sj("http://a/ポ"), true, false, "", Sj("http://a/ポ")},
      {"a line break inside refused", "http://", true, "http://a\r\nb", true, true, "*", ""},
      {"a tab inside refused", "http://", true, "http://a\tb", true, true, "*", ""},
      {"characters the file cannot hold refused", "http://", true, "http://a/?", false, true, "*", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const UrlRound r = UrlInputRound(c.start, c.ok, c.typed, c.lossless);
    EXPECT_EQ(r.showAgain, c.showAgain);
    if (c.message == "*") {
      EXPECT_FALSE(r.message.empty());
      EXPECT_NE(r.message, web);
    } else {
      EXPECT_EQ(r.message, c.message);
    }
    if (!c.showAgain) {
      EXPECT_EQ(r.taken, c.taken);
    }
  }
  EXPECT_EQ(UrlStartText("C:\\memo.txt"), "http://");
  EXPECT_EQ(UrlStartText(""), "http://");
  EXPECT_EQ(UrlStartText("https://example.jp/"), "https://example.jp/");
}

TEST(Attachment, HintStaysOnTheScreen) {
  const Rect screen{0, 0, 1280, 800};
  const struct {
    const char* name;
    Point anchor;
    int w, h;
    Rect screen;
    Rect expected;
  } cases[] = {
      {"centred above the cursor", {640, 400}, 100, 12, screen, {590, 382, 692, 396}},
      {"right edge", {1275, 400}, 100, 12, screen, {1178, 382, 1280, 396}},
      {"left edge", {10, 400}, 100, 12, screen, {0, 382, 102, 396}},
      {"top edge", {640, 5}, 100, 12, screen, {590, 0, 692, 14}},
      {"bottom edge", {640, 812}, 100, 12, screen, {590, 786, 692, 800}},
      {"wider than the screen", {640, 400}, 3000, 12, screen, {0, 382, 1280, 396}},
      {"a monitor left of the main one", {-5, 500}, 100, 12, {-1280, 0, 0, 1024}, {-102, 482, 0, 496}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PlaceHint(c.anchor, c.w, c.h, c.screen), c.expected);
  }
}

TEST(Attachment, DropGoesToAVisibleTaskRow) {
  GridMetrics g;
  g.rowHeight = 16;
  g.widths = {96, 32, 224, 1, 1, 1};
  g.topRow = 2;
  g.rowCount = 8;  // seven tasks
  g.clientHeight = 100;
  const struct {
    int x, y, visible;
    int row;
  } cases[] = {
      {50, 5, 3, 0},     // the header
      {50, 20, 3, 2},    // the top row
      {300, 54, 3, 4},   // the last visible row, in the text column
      {50, 71, 3, 0},    // a row below the visible ones, though partly drawn
      {50, 71, 4, 5},
      {400, 20, 3, 0},   // right of the columns
      {-3, 20, 3, 0},
      {50, 17 * 7 + 3, 9, 0},  // below the last task
  };
  for (const auto& c : cases) EXPECT_EQ(DropTargetRow(g, c.visible, c.x, c.y), c.row) << c.x << "," << c.y;
}

}  // namespace
}  // namespace lq
