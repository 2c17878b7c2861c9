#pragma once
// The settings file through the private-profile functions: opened for each read or write,
// never cached. Values are code-page-932 bytes whatever the system's ANSI code page is.

#include <filesystem>

#include "store/seams.h"

namespace lq::win {

class IniProfile final : public Profile {
 public:
  explicit IniProfile(std::filesystem::path path) : path_(std::move(path)) {}
  const std::filesystem::path& Path() const { return path_; }

  // At most 2,047 bytes of a value come back, as through a 2,048-byte buffer.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;

 private:
  std::filesystem::path path_;
};

}  // namespace lq::win
