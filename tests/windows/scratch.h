#pragma once
// A fresh folder (under %TEMP% unless given another place) for one test, removed afterwards.

#include <windows.h>

#include <filesystem>
#include <string>

namespace lq::testing {

class ScratchDir {
 public:
  ScratchDir() : ScratchDir(TempPath()) {}
  // Under `base` rather than under %TEMP%.
  explicit ScratchDir(const std::filesystem::path& base) {
    path_ = base / (L"lq-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter_++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    for (const auto& e : std::filesystem::recursive_directory_iterator(path_, ec)) {
      SetFileAttributesW(e.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::wstring& name) const { return path_ / name; }

 private:
  static std::filesystem::path TempPath() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return temp;
  }
  std::filesystem::path path_;
  static inline int counter_ = 0;
};

}  // namespace lq::testing
