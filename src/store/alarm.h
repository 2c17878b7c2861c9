#pragma once
// Alarms: the leading HH:MM of a task text, and the flags column where "A" arms it.

#include <cstddef>
#include <string>
#include <string_view>

namespace lq {

// The flags with `text` written at 1-based `position`; positions between the old end and it
// are padded with "-".
std::string SetFlagText(std::string_view flags, std::size_t position, std::string_view text);

}  // namespace lq
