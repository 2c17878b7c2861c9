#pragma once
// Readable test texts: UTF-8 literals turned into code page 932 bytes (and back).

#include <string>
#include <string_view>

namespace lq::testing {

std::string Sj(std::string_view utf8);
std::string Utf8(std::string_view cp932);
std::u16string Utf16(std::string_view cp932);

}  // namespace lq::testing
