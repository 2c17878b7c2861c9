#pragma once
// A real full disk for the tests: a small drive of its own that the test scripts mount and name
// in LQ_FULL_DISK (tools/test maps a tmpfs as Q: where it may mount one), filled up while a
// FillDisk lives.

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace lq::testing {

// The drive's root, or nothing on a machine without one.
inline std::optional<std::filesystem::path> FullDiskDrive() {
  wchar_t root[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableW(L"LQ_FULL_DISK", root, MAX_PATH);
  if (n == 0 || n >= MAX_PATH || GetFileAttributesW(root) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return std::filesystem::path(root);
}

// Takes every byte left on the drive of `folder` into a file of its own, given back at the end.
class FillDisk {
 public:
  explicit FillDisk(const std::filesystem::path& folder) : path_(folder / L"lq-fill-disk.bin") {
    const HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string block(1 << 20, 'f');
    for (DWORD size = 1 << 20; size > 0; size /= 16) {
      DWORD wrote = 0;
      while (WriteFile(file, block.data(), size, &wrote, nullptr) && wrote == size) {
      }
    }
    CloseHandle(file);
    ULARGE_INTEGER free{};
    full_ = GetDiskFreeSpaceExW(folder.c_str(), &free, nullptr, nullptr) && free.QuadPart == 0;
  }
  ~FillDisk() { DeleteFileW(path_.c_str()); }
  FillDisk(const FillDisk&) = delete;
  FillDisk& operator=(const FillDisk&) = delete;
  bool Full() const { return full_; }

 private:
  std::filesystem::path path_;
  bool full_ = false;
};

}  // namespace lq::testing
