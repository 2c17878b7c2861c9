#pragma once
// The search history of [Find]: at most five texts, newest first, each one line.

#include <string>
#include <string_view>
#include <vector>

#include "store/seams.h"

namespace lq {

class SearchHistory {
 public:
  static constexpr std::size_t kSize = 5;

  // Reads the keys "0" to "4" in order, skipping empty ones, so a hand edit counts at the next
  // opening.
  void Load(const Profile& profile);
  const std::vector<std::string>& Items() const { return items_; }

  // A text not yet in the list goes first and pushes the oldest out; one already there leaves
  // the order as it is. Only the text's first line is kept. True when the list changed (and
  // must be written).
  bool Add(std::string_view text);

  // Writes all five keys together, a position without a text as empty; false when they did
  // not reach the file, which then stays as it was.
  bool Write(Profile& profile) const;

 private:
  std::vector<std::string> items_;
};

// How a value is written so that reading it gives it back unchanged: the profile functions
// drop the blanks around a value and a pair of quotes around it, so such a text is written
// inside one more pair of quotes.
std::string ProfileValueText(std::string_view text);

}  // namespace lq
