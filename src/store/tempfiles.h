#pragma once
// The temporary files of a save: the bytes go to a file beside the target first, which then
// replaces the target in one step.

#include <cstdint>
#include <filesystem>

namespace lq {

// "<target>.~<unique, hexadecimal>.tmp" beside the target. Each save takes a name of its own,
// so nothing left under another name (a folder, a read-only file) can block it or pass on its
// attributes.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target, std::uint64_t unique);

// True for the file name of a save of `target` that was cut off: a name TemporaryPathFor gives,
// or "<target>.tmp", the one name older versions used.
bool IsLeftoverTemporaryOf(const std::filesystem::path& target, const std::filesystem::path& fileName);

}  // namespace lq
