#pragma once
// What a screen reader says for a task: the grid draws its rows itself, so the list tells
// assistive technology in words what a person reads off a row. Code page 932, like the cells.

#include <string>

#include "store/datetext.h"
#include "store/tasktable.h"

namespace lq {

// The row as a person reads it, the parts separated by "、": the due date ("3月18日(月)",
// with the year only when it is not this year's), the days left ("あと3日", "今日まで",
// "2日超過", or "済" for a done task), the text ("（内容なし）" when it is empty), then
// "添付ファイルあり" or "URLあり", "アラームあり" and how often it repeats ("繰り返し（毎週）"),
// where they apply. A due date that is
// no date is said as it stands.
std::string AccessibleRowName(const RowView& row, Date today);

// The in-place editors say which task they edit: the text editor by the task's date and days
// left ("予定の内容（3月18日(月)、あと3日）"), the date picker by its text ("期限（会議の資料）").
std::string AccessibleTextEditorName(const RowView& row, Date today);
std::string AccessibleDatePickerName(const RowView& row);

}  // namespace lq
