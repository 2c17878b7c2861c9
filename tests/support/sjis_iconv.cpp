#include <iconv.h>

#include <stdexcept>

#include "sjis.h"

namespace lq::testing {
namespace {

std::string Convert(std::string_view in, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
  std::string out(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) throw std::runtime_error("iconv");
  out.resize(out.size() - dstLeft);
  return out;
}

}  // namespace

std::string Sj(std::string_view utf8) { return Convert(utf8, "CP932", "UTF-8"); }
std::string Utf8(std::string_view cp932) { return Convert(cp932, "UTF-8", "CP932"); }
std::u16string Utf16(std::string_view cp932) {
  const std::string bytes = Convert(cp932, "UTF-16LE", "CP932");
  std::u16string out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  return out;
}

}  // namespace lq::testing
