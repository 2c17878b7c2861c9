#include <gtest/gtest.h>

#include "store/paste.h"

namespace lq {
namespace {

std::u16string Pasted(std::u16string_view clip, std::size_t length, std::size_t selected, std::size_t limit = 100) {
  return PastedText<char16_t>(clip, length, selected, limit);
}

TEST(Paste, LineBreaksBecomeBlanksAndTheTextStopsAtTheLimit) {
  const struct {
    const char* name;
    std::u16string clip;
    std::size_t length, selected;
    std::u16string expected;
  } cases[] = {
      {"fits", u"beta", 5, 0, u"beta"},
      {"every kind of line break", u"one\r\ntwo\nthree\rfour\r\n", 0, 0, u"one two three four "},
      {"two breaks in a row stay two blanks", u"a\n\nb", 0, 0, u"a  b"},
      {"cut where typing stops", std::u16string(150, u'x'), 2, 0, std::u16string(98, u'x')},
      {"the selection is replaced, so it makes room", u"abcdef", 100, 4, u"abcd"},
      {"a full text takes nothing", u"abc", 100, 0, u""},
      {"a line break counts as one character", u"a\r\nb", 98, 0, u"a "},
      // A text already longer than the limit is never shortened: a paste only replaces what
      // is selected, with as much as was selected.
      {"a longer text does not grow", u"abc", 150, 0, u""},
      {"a longer text takes what replaces its selection", u"abcdef", 150, 2, u"ab"},
      {"a surrogate pair is one character and never split", u"a\U0001F600b", 98, 0, u"a\U0001F600"},
  };
  for (const auto& c : cases) EXPECT_EQ(Pasted(c.clip, c.length, c.selected), c.expected) << c.name;
}

TEST(Paste, CharacterCountTakesASurrogatePairAsOne) {
  EXPECT_EQ(CharacterCount(std::u16string_view(u"")), 0u);
  EXPECT_EQ(CharacterCount(std::u16string_view(u"a\U0001F600b")), 3u);
  EXPECT_EQ(CharacterCount(std::u16string_view(u"\xD800")), 1u);  // a lone half counts alone
}

}  // namespace
}  // namespace lq
