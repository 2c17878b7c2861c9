#include <gtest/gtest.h>
#include <windows.h>

#include "platform/codepage.h"
#include "sjis.h"

namespace lq::win {
namespace {

using testing::Sj;

// These hold whatever the system's ANSI code page is (the suite also runs with code page 1252).
TEST(CodePage, JapaneseRoundTripsThroughCodePage932) {
  const std::wstring text = L"2024/03/15(\u91D1) \u725B\u4E73\u3092\u8CB7\u3046 \uFF21\uFF71";  // 金 牛乳を買う Ａｱ
  const Cp932Text bytes = ToCp932(text);
  EXPECT_TRUE(bytes.lossless);
  EXPECT_EQ(bytes.bytes, Sj("2024/03/15(金) 牛乳を買う Ａｱ"));
  EXPECT_EQ(FromCp932(bytes.bytes), text);
  EXPECT_EQ(FromCp932(std::string("\x8D\xCF")), L"\u6E08");  // 済
  EXPECT_EQ(FromCp932(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(CodePage, CharactersOutsideCodePage932AreReportedNotGuessed) {
  for (const wchar_t* text : {L"\u00E9t\u00E9", L"\U0001F600", L"\u20AC5", L"\u00C5"}) {
    const Cp932Text bytes = ToCp932(text);
    EXPECT_FALSE(bytes.lossless);
    EXPECT_NE(bytes.bytes.find('?'), std::string::npos);
  }
  EXPECT_TRUE(ToCp932(L"").lossless);
}

TEST(CodePage, InvalidBytesNeitherCrashNorVanish) {
  const std::string bad = "a\x82\xFF\xFD" "b\x81";
  const std::wstring wide = FromCp932(bad);
  EXPECT_FALSE(wide.empty());
  EXPECT_EQ(wide.front(), L'a');
  EXPECT_NE(wide.find(L'b'), std::wstring::npos);
}

TEST(CodePage, AnsiRoundTripKeepsEveryByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  // Double-byte code pages pair bytes up, so check the high half in pairs that form characters.
  if (GetACP() == 932) {
    EXPECT_EQ(ToAnsi(FromAnsi(Sj("設定 ＭＳ Ｐゴシック"))), Sj("設定 ＭＳ Ｐゴシック"));
  } else {
    EXPECT_EQ(ToAnsi(FromAnsi(all)), all);
  }
}

}  // namespace
}  // namespace lq::win

namespace lq::win {
namespace {

TEST(CodePage, EditorTextIsCutByCharactersAndKeepsOnlyWhatCanBeStored) {
  const std::wstring emoji = L"\U0001F600";  // one character, two UTF-16 units
  EXPECT_EQ(TakeCharacters(L"abc", 2), L"ab");
  EXPECT_EQ(TakeCharacters(emoji + L"x", 1), emoji);
  EXPECT_EQ(TakeCharacters(L"\u725B\u4E73", 5), L"\u725B\u4E73");
  const std::wstring hundred(100, L'\u3042');
  EXPECT_EQ(TakeCharacters(hundred + L"\u3044", 100), hundred);

  const Cp932Filtered f = FilterToCp932(L"a" + emoji + L"\u725B\u00E9\uFF5E");  // a😀牛é～
  EXPECT_TRUE(f.dropped);
  EXPECT_EQ(f.kept, L"a\u725B\uFF5E");
  EXPECT_EQ(f.bytes, testing::Sj("a牛～"));
  const Cp932Filtered plain = FilterToCp932(L"\u4F1A\u8B70 10:00");
  EXPECT_FALSE(plain.dropped);
  EXPECT_EQ(plain.bytes, testing::Sj("会議 10:00"));

  // Long texts are converted in blocks: a pair across a block's end, and a dropped character
  // far in, come out as in a short text.
  for (const std::size_t before : {4095u, 4096u, 9000u}) {
    const Cp932Filtered f = FilterToCp932(std::wstring(before, L'\u3042') + emoji + L"\u3044");
    EXPECT_TRUE(f.dropped) << before;
    EXPECT_EQ(f.kept, std::wstring(before, L'\u3042') + L"\u3044") << before;
    EXPECT_EQ(f.bytes.size(), 2 * before + 2) << before;
  }
}

}  // namespace
}  // namespace lq::win
