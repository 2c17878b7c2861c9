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
  // The same order computed directly by the locale's string comparison.
  int Compare(std::string_view a, std::string_view b) const override;
};

}  // namespace lq::win
