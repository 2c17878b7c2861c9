#pragma once
// The settings file, an INI file read and written by the rules of the private-profile
// functions: opened for each read or write, never cached — except within a `Batch`, whose
// reads answer from one reading of the file. Values are code-page-932 bytes whatever the
// system's ANSI code page is.
//
// The file is parsed and edited here rather than through the functions themselves: they
// rewrite the whole file in place for every key (a crash between two writes leaves it empty)
// and under Wine report success on a full disk. Every write goes to a file beside the old one,
// which then replaces it in one step, as the task file is saved.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

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
  // False when the file could not be read (it would be written without its other keys) or
  // the new file did not reach the disk whole; the old file then stays as it was.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;

  // While one lives, reads answer from the file as it was read once at the first of them; a
  // write reads it again. Opening the file for each of
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
  struct Text;      // the file as text, with the encoding it came in

 protected:
  void BeginEdit() override;
  bool EndEdit(bool commit) override;

 private:
  const Snapshot& Current() const;

  std::filesystem::path path_;
  mutable int batches_ = 0;
  mutable std::unique_ptr<Snapshot> snapshot_;
  int edits_ = 0;
  bool editFailed_ = false;
  std::unique_ptr<Text> pending_;  // an edit's writes, not yet in the file
};

}  // namespace lq::win
