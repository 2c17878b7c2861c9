#pragma once
// The store's view of the outside world. The Windows layer implements these on the real API;
// tests, benchmarks and fuzz targets use the deterministic stand-ins.

#include <filesystem>
#include <string>
#include <string_view>

#include "store/datetext.h"

namespace lq {

// Local date and time with milliseconds.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Now() const = 0;
};

// The user locale's case-insensitive order of code-page-932 texts. SortKey turns a text into
// bytes whose plain byte order is that order, so a sort prepares each key once and then only
// compares bytes.
class Collation {
 public:
  virtual ~Collation() = default;
  virtual std::string SortKey(std::string_view text) const = 0;
  // Appends the sort key to `out`; sorts of many texts use this to keep the keys together.
  virtual void AppendSortKey(std::string_view text, std::string& out) const { out += SortKey(text); }
  // <0, 0, >0. By default the comparison of the two sort keys.
  virtual int Compare(std::string_view a, std::string_view b) const;
};

// One key of the settings file: read with a default, write. Values are code-page-932 bytes.
// Each write reaches the file on its own, whole: a crash leaves the file as it was before or
// after it, never cut.
class Profile {
 public:
  virtual ~Profile() = default;
  virtual std::string ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const = 0;
  virtual bool WriteString(std::string_view section, std::string_view key, std::string_view value) = 0;

  // Writes made while an Edit lives reach the file together, at Commit; a crash or a failure
  // leaves the file as it was before all of them. Without Commit they are dropped. An Edit
  // inside another joins it: the outer one commits, and fails when an inner one was dropped.
  class Edit {
   public:
    explicit Edit(Profile& profile) : profile_(profile) { profile_.BeginEdit(); }
    ~Edit() {
      if (!ended_) profile_.EndEdit(false);
    }
    Edit(const Edit&) = delete;
    Edit& operator=(const Edit&) = delete;
    // False when a write of the edit failed or its writes did not reach the file.
    bool Commit() {
      ended_ = true;
      return profile_.EndEdit(true);
    }

   private:
    Profile& profile_;
    bool ended_ = false;
  };

 protected:
  // By default every write reaches the file at once, and an edit has nothing left to do.
  virtual void BeginEdit() {}
  virtual bool EndEdit(bool /*commit*/) { return true; }
};

// Folder: a folder stands where the file belongs, so nothing can be read or written there.
enum class ReadStatus { Ok, NotFound, Failed, Folder };

struct ReadResult {
  ReadStatus status = ReadStatus::NotFound;
  std::string bytes;
};

// Whole-file access. ReplaceAll writes a temporary file of its own beside the target, flushes
// it and replaces the target in one step; on failure the old file is left as it was.
class FileStore {
 public:
  virtual ~FileStore() = default;
  virtual ReadResult ReadAll(const std::filesystem::path& path) const = 0;
  virtual bool ReplaceAll(const std::filesystem::path& path, std::string_view bytes) = 0;
  virtual bool Exists(const std::filesystem::path& path) const = 0;
};

// Case-insensitive for ASCII letters, byte order otherwise; trail bytes of double-byte
// characters are never folded. The natively built tools and tests use it.
class ByteCollation final : public Collation {
 public:
  std::string SortKey(std::string_view text) const override;
  void AppendSortKey(std::string_view text, std::string& out) const override;
};

}  // namespace lq
