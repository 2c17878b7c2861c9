// Alarm time and flag: any task line a file can hold, armed the way the alarm command arms it,
// rings at its minute, and still rings after a save and a load, with its attachment, the rest
// of its flags and its text unchanged. The normalised time reads back as itself, and what
// follows it is the end of the original text, cut at a character boundary.
#include <cstdint>
#include <string>
#include <vector>

#include "store/alarm.h"
#include "store/taskfile.h"
#include "store/text.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

bool IsBoundary(std::string_view s, std::size_t at) {
  std::size_t i = 0;
  while (i < at) i += (lq::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
  return i == at;
}

bool IsMinute(std::string_view m) {
  const auto d = [&](std::size_t i) { return m[i] >= '0' && m[i] <= '9'; };
  return m.size() == 5 && d(0) && d(1) && m[2] == ':' && d(3) && d(4) && (m[0] - '0') * 10 + (m[1] - '0') <= 23 &&
         m[3] <= '5';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const lq::ByteCollation collation;
  const lq::Date today{2024, 3, 15};
  const std::string stamp = "20240315080000000";
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  // The bytes after the bar of a format 3.2 line due today: attachment, flags and text.
  std::string file(lq::kHeader32);
  file += "\r\n2024/03/15(\x8B\xE0),20240301101010100,\x81\x40,|";  // 金, full-width space
  file += input;
  file += "\r\n";
  lq::ParsedTaskFile parsed = lq::ParseTaskFile(file, collation, today, stamp);

  for (int r = 1; r < parsed.table.RowCount(); ++r) {
    lq::TaskRow row = parsed.table.RowCopy(r);
    // Open and due today; the input's own line breaks may make other tasks, done or not.
    if (!parsed.table.IsTask(r) || row[lq::colDaysLeft] != "0") continue;
    const std::string text = row[lq::colText];
    const std::string normalised = lq::ParseAlarmTime(text);
    if (normalised.empty()) continue;

    const std::string_view minute = lq::TakeChars(normalised, 5);
    Check(IsMinute(minute));
    Check(lq::ParseAlarmTime(normalised) == normalised);
    const std::string_view rest = std::string_view(normalised).substr(5);
    const std::string_view kept = !rest.empty() && rest[0] == ' ' && !text.ends_with(rest) ? rest.substr(1) : rest;
    Check(text.ends_with(kept));
    Check(IsBoundary(text, text.size() - kept.size()));

    // Armed as the alarm command does it.
    const std::string oldFlags = row[lq::colFlags];
    row[lq::colText] = normalised;
    row[lq::colFlags] = lq::SetFlagText(oldFlags, 1, "A");
    const std::string& flags = row[lq::colFlags];
    Check(flags[0] == 'A' && flags.size() >= oldFlags.size());
    for (std::size_t i = 1; i < oldFlags.size(); ++i) {
      // The rest stays, but for the second byte of a double-byte character armed over.
      Check(flags[i] == oldFlags[i] || (i == 1 && flags[i] == '-' && lq::CharBytes(oldFlags, 0) == 2));
    }

    lq::TaskTable one({lq::TaskRow{}, row});
    std::vector<int> ring;
    lq::AlarmRowsToRing(one, minute, ring);
    Check(ring == std::vector<int>{1});

    const lq::ParsedTaskFile back = lq::ParseTaskFile(lq::FormatTaskFile(one), collation, today, stamp);
    Check(back.skippedLines == 0 && back.table.TaskCount() == 1);
    const lq::RowView again = back.table.Row(1);
    Check(again[lq::colFlags] == row[lq::colFlags]);
    Check(again[lq::colAttachment] == lq::TrimBlanks(row[lq::colAttachment]));
    Check(again[lq::colText] == lq::TrimBlanks(normalised));
    lq::AlarmRowsToRing(back.table, minute, ring);
    Check(ring == std::vector<int>{1});
  }
  return 0;
}
