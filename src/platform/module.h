#pragma once
#include <filesystem>

namespace lq::win {

// The full path of the running program, however long it is.
std::filesystem::path ExecutablePath();

}  // namespace lq::win
