#include "store/seams.h"

#include "store/text.h"

namespace lq {

int Collation::Compare(std::string_view a, std::string_view b) const {
  const int c = SortKey(a).compare(SortKey(b));
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::string ByteCollation::SortKey(std::string_view text) const {
  std::string key;
  AppendSortKey(text, key);
  return key;
}

void ByteCollation::AppendSortKey(std::string_view text, std::string& out) const {
  const std::size_t start = out.size();
  out.append(text);
  for (std::size_t i = start; i < out.size(); ++i) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(b)) {
      ++i;  // the trail byte may look like a letter; leave it alone
    } else if (b >= 'A' && b <= 'Z') {
      out[i] = static_cast<char>(b - 'A' + 'a');
    }
  }
}

}  // namespace lq
