#pragma once
// The settings file through the private-profile functions: opened for each read or write,
// never cached — except within a `Batch`, whose reads answer from one reading of the file.
// Values are code-page-932 bytes whatever the system's ANSI code page is.

#include <filesystem>
#include <memory>

#include "store/seams.h"

namespace lq::win {

class IniProfile final : public Profile {
 public:
  explicit IniProfile(std::filesystem::path path);
  ~IniProfile() override;
  const std::filesystem::path& Path() const { return path_; }

  // At most 2,047 bytes of a value come back, as through a 2,048-byte buffer.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;

  // While one lives, reads give what GetPrivateProfileStringW would give, from the file as it
  // was read once at the first of them; a write reads it again. Opening the file for each of
  // the many keys of a settings load costs more than the rest of it. Batches may nest.
  class Batch {
   public:
    explicit Batch(const IniProfile& profile);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    const IniProfile& profile_;
  };

  struct Snapshot;  // the file as read, parsed as the profile functions parse it

 private:
  std::filesystem::path path_;
  mutable int batches_ = 0;
  mutable std::unique_ptr<Snapshot> snapshot_;
};

}  // namespace lq::win
