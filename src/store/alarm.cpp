#include "store/alarm.h"

namespace lq {

std::string SetFlagText(std::string_view flags, std::size_t position, std::string_view text) {
  if (position < 1) position = 1;
  std::string f(flags);
  const std::size_t end = position + text.size();  // one past the last written position
  if (f.size() < end) f.append(end - f.size() - 1, '-');
  std::string result = f.substr(0, position - 1);
  result += text;
  if (end - 1 < f.size()) result += f.substr(end - 1);
  return result;
}

}  // namespace lq
