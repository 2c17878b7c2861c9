#include "store/rowname.h"

#include "store/repeat.h"
#include "store/text.h"

namespace lq {
namespace {

constexpr std::string_view kSeparator = "\x81\x41";               // 、
constexpr std::string_view kEmptyText = "\x81\x69\x93\xE0\x97\x65\x82\xC8\x82\xB5\x81\x6A";  // （内容なし）

void AppendPart(std::string& out, std::string_view part) {
  if (part.empty()) return;
  if (!out.empty()) out += kSeparator;
  out += part;
}

std::string DatePart(std::string_view dueDate, Date today) {
  const auto date = ParseDateText(dueDate);
  if (!date) return std::string(TrimBlanks(dueDate));
  std::string s;
  if (date->year != today.year) s += std::to_string(date->year) + "\x94\x4E";  // 年
  s += std::to_string(date->month) + "\x8C\x8E";                            // 月
  s += std::to_string(date->day) + "\x93\xFA";                              // 日
  s += "(";
  s += WeekdayName(DayOfWeek(*date));
  s += ")";
  return s;
}

std::string DaysPart(std::string_view daysLeft) {
  if (IsDoneMark(daysLeft)) return std::string(kDoneMark);
  const auto d = ParseInt32(daysLeft);
  if (!d) return {};
  if (*d < 0) return std::to_string(-static_cast<std::int64_t>(*d)) + "\x93\xFA\x92\xB4\x89\xDF";  // 日超過
  if (*d == 0) return "\x8D\xA1\x93\xFA\x82\xDC\x82\xC5";                                          // 今日まで
  return "\x82\xA0\x82\xC6" + std::to_string(*d) + "\x93\xFA";                                     // あと…日
}

// How often, as the menu names it.
std::string_view RepeatName(Repeat kind) {
  switch (kind) {
    case Repeat::Daily: return "\x96\x88\x93\xFA";     // 毎日
    case Repeat::Weekdays: return "\x95\xBD\x93\xFA";  // 平日
    case Repeat::Weekly: return "\x96\x88\x8F\x54";    // 毎週
    case Repeat::Monthly: return "\x96\x88\x8C\x8E";   // 毎月
    case Repeat::Yearly: return "\x96\x88\x94\x4E";    // 毎年
    case Repeat::None: break;
  }
  return {};
}

std::string_view TextPart(std::string_view text) { return text.empty() ? kEmptyText : text; }

}  // namespace

std::string AccessibleRowName(const RowView& row, Date today) {
  std::string name;
  AppendPart(name, DatePart(row[colDueDate], today));
  AppendPart(name, DaysPart(row[colDaysLeft]));
  AppendPart(name, TextPart(row[colText]));
  if (!row[colAttachment].empty()) {
    AppendPart(name, IsWebAddress(row[colAttachment])
                         ? "URL\x82\xA0\x82\xE8"                                                   // URLあり
                         : "\x93\x59\x95\x74\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xA0\x82\xE8");  // 添付ファイルあり
  }
  if (!row[colFlags].empty() && row[colFlags][0] == 'A') {
    AppendPart(name, "\x83\x41\x83\x89\x81\x5B\x83\x80\x82\xA0\x82\xE8");  // アラームあり
  }
  if (const std::string_view every = RepeatName(RepetitionOf(row[colFlags]).kind); !every.empty()) {
    AppendPart(name, "\x8C\x4A\x82\xE8\x95\xD4\x82\xB5\x81\x69" + std::string(every) + "\x81\x6A");  // 繰り返し（…）
  }
  return name;
}

std::string AccessibleTextEditorName(const RowView& row, Date today) {
  std::string which;
  AppendPart(which, DatePart(row[colDueDate], today));
  AppendPart(which, DaysPart(row[colDaysLeft]));
  std::string name = "\x97\x5C\x92\xE8\x82\xCC\x93\xE0\x97\x65";  // 予定の内容
  if (!which.empty()) name += "\x81\x69" + which + "\x81\x6A";    // （…）
  return name;
}

std::string AccessibleDatePickerName(const RowView& row) {
  std::string name = "\x8A\xFA\x8C\xC0";  // 期限
  if (row[colText].empty()) return name + std::string(kEmptyText);
  return name + "\x81\x69" + std::string(row[colText]) + "\x81\x6A";  // （…）
}

}  // namespace lq
