#pragma once
// The user locale's case-insensitive order of code-page-932 texts.

#include "store/seams.h"

namespace lq::win {

class LocaleCollation final : public Collation {
 public:
  // A sort key of the text converted from code page 932 (user default locale, ignoring case).
  std::string SortKey(std::string_view text) const override;
  // Writes the key straight after `out`, without a string of its own.
  void AppendSortKey(std::string_view text, std::string& out) const override;
  // Many keys are shared out among up to four threads, one part each, joined in order.
  void AppendSortKeys(const std::vector<std::string_view>& texts, std::string& out,
                      std::vector<std::size_t>& ends) const override;
  // The same order computed directly by the locale's string comparison.
  int Compare(std::string_view a, std::string_view b) const override;
};

}  // namespace lq::win
