// The exchange with a task folder across a real COM boundary: the Outlook client against the
// stand-in server of fake_outlook.cpp, registered for the test only.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "fake_outlook.h"
#include "fakes.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/collation.h"
#include "platform/com.h"
#include "platform/module.h"
#include "platform/outlook.h"
#include "scratch.h"
#include "sjis.h"
#include "store/text.h"
#include "sync/sync.h"

namespace lq::win {
namespace {

using testing::OutlookRegistered;
using testing::OutlookRegistration;
using testing::ScratchDir;
using testing::StandInEnded;
using testing::StandInRegistration;
using testing::Sj;
using testing::Utf8;

// The stand-in answers for "Outlook.Application" only where no Outlook is registered, and
// only while a test runs.
class OutlookExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    if (OutlookRegistration() == OutlookRegistered::Other) {
      GTEST_SKIP() << "Outlook is installed; the stand-in would replace it";
    }
    folderFile_ = dir_ / L"folder.txt";
    list_.SetVisibleRowCount(10);
    list_.UpdateTaskCounts();
  }
  void TearDown() override {
    registration_.Remove();
    EXPECT_TRUE(StandInEnded()) << "the stand-in still runs: a reference was not released";
  }

  void Register(const std::wstring& server) {
    ASSERT_TRUE(registration_.Add(server, folderFile_)) << "cannot register the stand-in";
  }
  void RegisterStandIn() { Register((ExecutablePath().parent_path() / kFakeOutlookExe).wstring()); }
  void Unregister() { registration_.Remove(); }

  void WriteFolder(const std::string& utf8) {
    std::ofstream(folderFile_, std::ios::binary) << utf8;
  }
  // "0320 2 1 subject" per item: due month and day, status, importance, subject.
  std::vector<std::string> Folder() const {
    std::vector<std::string> out;
    std::ifstream in(folderFile_, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
      std::vector<std::string> f;
      std::stringstream fields(line.substr(0, line.find('\r')));
      for (std::string part; std::getline(fields, part, '\t');) f.push_back(part);
      if (line.starts_with("!")) continue;  // an arrival still to come
      out.push_back((f.at(0).empty() ? std::string("none") : f.at(0).substr(4, 4)) + " " + f.at(2) + " " + f.at(3) + " " +
                    f.at(4));
    }
    return out;
  }
  std::string ModifiedOf(std::size_t item) const {
    std::ifstream in(folderFile_, std::ios::binary);
    std::string line;
    for (std::size_t i = 0; i <= item; ++i) std::getline(in, line);
    return line.substr(18, 17);
  }
  void AddRow(int day, const std::string& utf8, const std::string& stamp, bool done = false) {
    TaskTable& t = list_.Table();
    const int r = t.IsTask(1) ? t.RowCount() : 1;
    if (r == t.RowCount()) t.AppendRow();
    const std::string due = FormatDueDate(Date{2024, 3, day});
    t.SetRow(r, TaskRow{due, done ? std::string(kDoneMark) : *DaysLeft(due, list_.Today()), Sj(utf8), stamp, "", ""});
  }
  // "0320 text 済" per task, in list order.
  std::vector<std::string> Rows() const {
    std::vector<std::string> out;
    const TaskTable& t = list_.Table();
    for (int r = 1; t.IsTask(r); ++r) {
      const std::string d(t.Cell(colDueDate, r));
      out.push_back(d.substr(5, 2) + d.substr(8, 2) + " " + Utf8(t.Cell(colText, r)) + (t.IsDone(r) ? " 済" : ""));
    }
    return out;
  }
  SyncResult Run() { return RunSync(list_, profile_, OpenOutlookTaskFolder, hooks_); }
  std::string LastSync() const { return profile_.ReadString("Sync", "LastSync", "never"); }
  static std::string Text(const std::u16string& s) { return Utf8(ToCp932(std::wstring(s.begin(), s.end())).bytes); }

  ComApartment apartment_;
  ScratchDir dir_;
  std::filesystem::path folderFile_;
  StandInRegistration registration_;
  LocalClock clock_;
  LocaleCollation collation_;
  TaskList list_{clock_, collation_};
  testing::FakeProfile profile_;
  SyncHooks hooks_;
};

TEST_F(OutlookExchange, ExchangesBothWaysThroughTheAutomationObjects) {
  RegisterStandIn();
  // Two tasks only in the folder (one of them with a trail byte 0x5C in code page 932), one
  // only here; the first run copies each across and deletes nothing.
  WriteFolder("20240320000000000\t20240301090000123\t0\t0\t会議 ソ表\r\n"
              "20240321000000000\t20240301090000456\t2\t0\t報告書\r\n"
              "20240318000000000\t20240301090000789\t0\t0\t古い予定\r\n");
  AddRow(22, "買い物", "20240302100000000");
  SyncResult result = Run();
  ASSERT_TRUE(result.completed) << Text(result.error);
  ASSERT_TRUE(StandInEnded());
  EXPECT_EQ(Rows(), (std::vector<std::string>{"0318 古い予定", "0320 会議 ソ表", "0322 買い物", "0321 報告書 済"}));
  EXPECT_EQ(list_.Table().Cell(colUpdated, 2), "20240301090000123");  // to the millisecond
  EXPECT_EQ(Folder(), (std::vector<std::string>{"0320 0 0 会議 ソ表", "0321 2 0 報告書", "0318 0 0 古い予定",
                                                "0322 0 1 買い物"}));
  EXPECT_EQ(list_.Table().Cell(colUpdated, 3), ModifiedOf(3));  // the time of the save
  const std::string firstSync = LastSync();
  ASSERT_EQ(firstSync.size(), 17u);

  // Changed in the folder since: 会議 completed, 報告書 deleted, 新規 added. Changed here:
  // 買い物 done, 古い予定 deleted, 追加 added.
  const Date firstDay = *ParseDateText(firstSync.substr(0, 4) + "/" + firstSync.substr(4, 2) + "/" + firstSync.substr(6, 2));
  const std::string laterStamp = FormatStamp(DateTime{AddDays(firstDay, 1)});
  WriteFolder("20240320000000000\t" + laterStamp + "\t2\t0\t会議 ソ表\r\n" +
              "20240318000000000\t20240301090000789\t0\t0\t古い予定\r\n" +
              "20240322000000000\t" + ModifiedOf(3) + "\t0\t1\t買い物\r\n" +
              "20240325000000000\t" + laterStamp + "\t0\t0\t新規\r\n");
  list_.SetCurrentRow(1);
  ASSERT_TRUE(list_.DeleteCurrentTask());  // 古い予定
  list_.Table().SetCell(colDaysLeft, 2, std::string(kDoneMark));  // 買い物
  list_.Table().SetCell(colUpdated, 2, laterStamp);
  AddRow(23, "追加", laterStamp);
  std::optional<TaskTable> kept;
  hooks_.keepListBefore = [&](const TaskTable& before) {
    kept = before;
    return std::optional<std::filesystem::path>(dir_ / L"Lindqvale.csv.bak");
  };

  result = Run();
  ASSERT_TRUE(result.completed) << Text(result.error);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"0323 追加", "0325 新規", "0320 会議 ソ表 済", "0322 買い物 済"}));
  EXPECT_EQ(Folder(), (std::vector<std::string>{"0320 2 0 会議 ソ表", "0322 2 1 買い物", "0325 0 0 新規",
                                                "0323 0 1 追加"}));
  const std::string report = Text(SyncReport(result, testing::Utf16));
  EXPECT_EQ(report.substr(0, report.find("\r\n\r\n同期前")),
            "Outlookとの同期を終了しました。\r\n\r\n予定表: 追加 1件、変更 1件、削除 1件\r\n"
            "Outlook: 追加 1件、変更 1件、削除 1件");
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->TaskCount(), 4);  // 報告書 still among them
  EXPECT_GT(LastSync(), firstSync);
}

TEST_F(OutlookExchange, AnItemPutInFrontWhileTheRunReadsMakesItDeleteNothingElse) {
  RegisterStandIn();
  // B was deleted here since the last run; while the run reads the folder, X comes in at the
  // front, so every item moves up one index.
  WriteFolder("!Item 2 20240319000000000\t20240310090000000\t0\t0\tX\r\n"
              "20240320000000000\t20240301090000000\t0\t0\tA\r\n"
              "20240321000000000\t20240301090000000\t0\t0\tB\r\n"
              "20240322000000000\t20240301090000000\t0\t0\tC\r\n");
  AddRow(20, "A", "20240301090000000");
  AddRow(22, "C", "20240301090000000");
  profile_.values[{"Sync", "LastSync"}] = "20240305000000000";
  SyncResult result = Run();
  ASSERT_TRUE(result.completed) << Text(result.error);
  EXPECT_TRUE(result.folderChanged);
  EXPECT_EQ(Folder(), (std::vector<std::string>{"0319 0 0 X", "0320 0 0 A", "0321 0 0 B", "0322 0 0 C"}));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"0320 A", "0322 C"}));
  EXPECT_EQ(LastSync(), "20240305000000000");
  ASSERT_TRUE(StandInEnded());

  // The folder left alone, the next run settles it.
  result = Run();
  ASSERT_TRUE(result.completed) << Text(result.error);
  EXPECT_FALSE(result.folderChanged);
  EXPECT_EQ(Folder(), (std::vector<std::string>{"0319 0 0 X", "0320 0 0 A", "0322 0 0 C"}));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"0319 X", "0320 A", "0322 C"}));
}

TEST_F(OutlookExchange, OddSubjectsAndDatesComeInNamedAndDatedAndGoBackWhole) {
  RegisterStandIn();
  WriteFolder("20240320000000000\t20240301090000000\t0\t0\t会議😀\r\n"
              "20240321000000000\t20240301090000000\t0\t0\t𠮷野家\r\n"
              "20240322000000000\t20240301090000000\t0\t0\t〜まで\r\n"  // U+301C, not the 〜 of code page 932
              "\t20240301090000000\t0\t0\t期限なし\r\n"
              "45010101000000000\t20240301090000000\t0\t0\t期限なし(4501)\r\n");
  SyncResult result = Run();
  ASSERT_TRUE(result.completed) << Text(result.error);
  EXPECT_EQ(result.lostCharacters, (std::vector<std::u16string>{u"会議😀", u"𠮷野家", u"\u301Cまで"}));
  const std::string today = FormatDueDate(clock_.Now().date);
  const std::string mmdd = today.substr(5, 2) + today.substr(8, 2);
  std::vector<std::string> rows = Rows();
  for (std::string& row : rows) {  // a character outside the 16-bit range may become one "?" or two
    for (std::size_t at; (at = row.find("??")) != std::string::npos;) row.erase(at, 1);
  }
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(rows, (std::vector<std::string>{"0320 会議?", "0321 ?野家", "0322 ?まで", mmdd + " 期限なし",
                                            mmdd + " 期限なし(4501)"}));

  // Gone from Outlook while the run cannot tell a deletion there from a task new here (no run
  // before): the subjects go back as Outlook held them, not with "?".
  ASSERT_TRUE(StandInEnded());
  WriteFolder("");
  profile_.values[{"Sync", "LastSync"}] = "00000000000000000";
  result = Run();
  ASSERT_TRUE(result.completed) << Text(result.error);
  std::vector<std::string> items = Folder();
  std::sort(items.begin(), items.end());
  EXPECT_EQ(items, (std::vector<std::string>{"0320 0 1 会議😀", "0321 0 1 𠮷野家", "0322 0 1 〜まで", mmdd + " 0 1 期限なし",
                                             mmdd + " 0 1 期限なし(4501)"}));
}

TEST_F(OutlookExchange, AFailedCallGivesTheServersTextAndReleasesEverything) {
  RegisterStandIn();
  WriteFolder("20240320000000000\t20240301090000000\t0\t0\tdone here\tfailsave\r\n");
  AddRow(20, "done here", "20240302000000000", true);  // newer, so the item is to be saved
  const SyncResult result = Run();
  EXPECT_FALSE(result.completed);
  EXPECT_EQ(std::wstring(result.error.begin(), result.error.end()), kFakeSaveError);
  EXPECT_EQ(LastSync(), "never");
  EXPECT_EQ(Folder(), (std::vector<std::string>{"0320 0 0 done here"}));
}

TEST_F(OutlookExchange, WithoutAWorkingOutlookTheMessageSaysSoPlainly) {
  struct Case {
    const char* name;
    std::wstring server;  // registered as the server; empty: nothing registered
    std::u16string_view text;
  };
  const std::vector<Case> cases = {
      {"not installed", L"", kOutlookMissingText},
      {"registered, but its program is gone", (dir_ / L"missing.exe").wstring(), kOutlookNotAutomatableText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.server.empty()) Register(c.server);
    AddRow(20, "a", "20240302000000000");
    const SyncResult result = Run();
    Unregister();
    EXPECT_FALSE(result.completed);
    const std::u16string plain = std::u16string(c.text) + u"\r\n\r\n";
    EXPECT_EQ(result.error.substr(0, plain.size()), plain) << Text(result.error);
    EXPECT_GT(result.error.size(), plain.size());  // followed by the error's own text
    EXPECT_EQ(LastSync(), "never");
  }
}

}  // namespace
}  // namespace lq::win
