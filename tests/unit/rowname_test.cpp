// What a screen reader says for each kind of row and for the editors over it.
#include <gtest/gtest.h>

#include "sjis.h"
#include "store/rowname.h"

namespace lq {
namespace {

using testing::Sj;

TaskRow Row(const char* due, const char* days, const char* text, const char* attachment = "", const char* flags = "") {
  return TaskRow{Sj(due), Sj(days), Sj(text), "20240315093000000", Sj(attachment), flags};
}

TEST(AccessibleRowName, EachKindOfRowReadsAsAPersonWould) {
  const Date today{2024, 3, 15};
  const struct {
    TaskRow row;
    const char* name;
  } cases[] = {
      {Row("2024/03/18(月)", "3", "会議の資料"), "3月18日(月)、あと3日、会議の資料"},
      {Row("2024/03/15(金)", "0", "電話"), "3月15日(金)、今日まで、電話"},
      {Row("2024/03/13(水)", "-2", "提出"), "3月13日(水)、2日超過、提出"},
      {Row("2024/03/15(金)", "済", "提出"), "3月15日(金)、済、提出"},
      {Row("2025/01/06(月)", "297", "更新"), "2025年1月6日(月)、あと297日、更新"},
      {Row("2024/03/16(土)", "1", ""), "3月16日(土)、あと1日、（内容なし）"},
      {Row("2024/03/16(土)", "1", "報告", "C:\\メモ\\表.txt"), "3月16日(土)、あと1日、報告、添付ファイルあり"},
      {Row("2024/03/16(土)", "1", "報告", "https://example.jp/"), "3月16日(土)、あと1日、報告、URLあり"},
      {Row("2024/03/15(金)", "0", "07:00 起床", "", "A"), "3月15日(金)、今日まで、07:00 起床、アラームあり"},
      {Row("2024/03/15(金)", "0", "07:00 起床", "", "-A"), "3月15日(金)、今日まで、07:00 起床"},
      {Row("2024/03/15(金)", "済", "07:00 起床", "ftp://x", "A"),
       "3月15日(金)、済、07:00 起床、添付ファイルあり、アラームあり"},
      {Row("2024/03/15(金)", "0", "07:00 起床", "", "AW"), "3月15日(金)、今日まで、07:00 起床、アラームあり、繰り返し（毎週）"},
      {Row("2024/03/29(金)", "14", "締め", "", "-1x"), "3月29日(金)、あと14日、締め、繰り返し（毎月）"},
      {Row("someday", "", "x"), "someday、x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(testing::Utf8(AccessibleRowName(c.row, today)), c.name);
  }
}

TEST(AccessibleRowName, TheEditorsSayWhichTaskTheyEdit) {
  const Date today{2024, 3, 15};
  EXPECT_EQ(AccessibleTextEditorName(Row("2024/03/18(月)", "3", "会議の資料"), today), Sj("予定の内容（3月18日(月)、あと3日）"));
  EXPECT_EQ(AccessibleTextEditorName(Row("", "", ""), today), Sj("予定の内容"));
  EXPECT_EQ(AccessibleDatePickerName(Row("2024/03/18(月)", "3", "会議の資料")), Sj("期限（会議の資料）"));
  EXPECT_EQ(AccessibleDatePickerName(Row("2024/03/18(月)", "3", "")), Sj("期限（内容なし）"));
}

}  // namespace
}  // namespace lq
