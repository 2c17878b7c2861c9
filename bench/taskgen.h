#pragma once
// Generated task files for the benchmarks: format 3.2, shuffled lines, Japanese texts,
// some done tasks, attachments and alarms.

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "store/datetext.h"
#include "store/seams.h"
#include "store/taskfile.h"
#include "store/text.h"

namespace lq::bench {

// A clock that stands still (by default at noon on 2024-06-01), and a settings file that keeps
// nothing.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(DateTime at = DateTime{Date{2024, 6, 1}, 12, 0, 0, 0}) : at_(at) {}
  DateTime Now() const override { return at_; }

 private:
  DateTime at_;
};

class NullProfile final : public Profile {
 public:
  std::string ReadString(std::string_view, std::string_view, std::string_view d) const override {
    return std::string(d);
  }
  bool WriteString(std::string_view, std::string_view, std::string_view) override { return true; }
};

// Lines without the header, in code page 932. `toCp932` turns a UTF-8 word into bytes.
template <typename Convert>
std::vector<std::string> GenerateTaskLines(int count, unsigned seed, Convert toCp932) {
  static const char* const kWords[] = {
      "会議",   "資料作成", "牛乳を買う", "歯医者", "打ち合わせ", "請求書",   "メール返信", "レビュー",
      "出張",   "報告書",   "電話",       "予約",   "ゴミ出し",   "振込",     "散髪",       "誕生日",
      "Review", "deploy",   "Budget",     "call",   "図書館",     "健康診断", "見積もり",   "引っ越し"};
  std::vector<std::string> words;
  for (const char* w : kWords) words.push_back(toCp932(w));
  std::mt19937 rng(seed);
  const Date base{2024, 1, 1};
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const Date due = AddDays(base, static_cast<int>(rng() % 730));
    const DateTime stamp{AddDays(base, static_cast<int>(rng() % 365)), static_cast<int>(rng() % 24),
                         static_cast<int>(rng() % 60), static_cast<int>(rng() % 60), static_cast<int>(rng() % 1000)};
    std::string line = FormatDueDate(due) + "," + FormatStamp(stamp) + ",";
    line += (rng() % 4 == 0) ? std::string(kDoneMark) : std::string(kFullWidthSpace);
    line += ",|";
    if (rng() % 10 == 0) line += "C:\\Users\\me\\Documents\\file" + std::to_string(i) + ".txt";
    line += "|";
    const bool alarm = rng() % 8 == 0;
    if (alarm) line += "A";
    line += "|,";
    if (alarm) line += (rng() % 2 ? "09:30 " : "14:05 ");
    const int n = 1 + static_cast<int>(rng() % 3);
    for (int w = 0; w < n; ++w) {
      if (w) line += ' ';
      line += words[rng() % words.size()];
    }
    line += " #" + std::to_string(rng() % 100000);
    lines.push_back(std::move(line));
  }
  std::shuffle(lines.begin(), lines.end(), rng);
  return lines;
}

inline std::string JoinTaskFile(const std::vector<std::string>& lines) {
  std::string out(kHeader32);
  out += "\r\n";
  for (const auto& l : lines) out.append(l).append("\r\n");
  return out;
}

// The list the command benchmarks work on: n tasks as above, a done task dated last with a word
// of its own (it sorts last, and a search finds it), an open one dated in the middle of the
// others (a bulk delete up to its day takes half the list) and, with `moveDay`, 1,000 open tasks
// on kMoveDay (at 1,000 tasks, all of them).
inline const Date kMoveDay{2024, 7, 1};
inline const Date kMiddleDay{2024, 12, 31};
inline constexpr const char* kLastWord = "いちばん最後";
inline constexpr const char* kMiddleWord = "ちょうど半分";

template <typename Convert>
std::string CommandsTaskFile(int count, bool moveDay, Convert toCp932) {
  std::vector<std::string> lines = GenerateTaskLines(count - 2, 42u + static_cast<unsigned>(count), toCp932);
  const auto line = [&](Date due, bool done, const char* text) {
    return FormatDueDate(due) + ",20240101101010100," + std::string(done ? kDoneMark : kFullWidthSpace) + ",|||," +
           toCp932(text);
  };
  if (moveDay) {
    const std::size_t step = std::max<std::size_t>(1, lines.size() / 1000);
    for (std::size_t i = 0, moved = 0; i < lines.size() && moved < 999; i += step, ++moved) {
      std::string& l = lines[i];
      const std::size_t stamp = l.find(',');
      const std::size_t mark = l.find(',', stamp + 1) + 1;
      l = FormatDueDate(kMoveDay) + l.substr(stamp, mark - stamp) + std::string(kFullWidthSpace) +
          l.substr(l.find(',', mark));
    }
  }
  lines.push_back(line(moveDay ? kMoveDay : kMiddleDay, false, kMiddleWord));
  lines.push_back(line(Date{2099, 12, 31}, true, kLastWord));
  return JoinTaskFile(lines);
}

}  // namespace lq::bench
