#pragma once
// Deterministic stand-ins for the store's seams.

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "store/seams.h"

namespace lq::testing {

class FakeClock final : public Clock {
 public:
  explicit FakeClock(DateTime now = DateTime{Date{2024, 3, 15}, 9, 30, 0, 0}) : now_(now) {}
  DateTime Now() const override { return now_; }
  void Set(DateTime now) { now_ = now; }
  void SetDate(Date d) { now_.date = d; }

 private:
  DateTime now_;
};

class FakeProfile final : public Profile {
 public:
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override {
    const auto it = values.find({std::string(section), std::string(key)});
    return it == values.end() ? std::string(defaultValue) : it->second;
  }
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override {
    std::pair<std::string, std::string> name{std::string(section), std::string(key)};
    writeLog.push_back(name);
    if (failWrites || unwritable.count(name)) return false;
    values[name] = std::string(value);
    return true;
  }
  std::map<std::pair<std::string, std::string>, std::string> values;
  bool failWrites = false;
  std::set<std::pair<std::string, std::string>> unwritable;  // writes of these keys fail
  std::vector<std::pair<std::string, std::string>> writeLog;  // every write tried, in order
};

// Files in memory; reads or writes of chosen paths can be made to fail.
class MemFileStore final : public FileStore {
 public:
  ReadResult ReadAll(const std::filesystem::path& path) const override {
    if (folders.count(path.string())) return {ReadStatus::Folder, {}};
    if (unreadable.count(path.string())) return {ReadStatus::Failed, {}};
    const auto it = files.find(path.string());
    if (it == files.end()) return {ReadStatus::NotFound, {}};
    return {ReadStatus::Ok, it->second};
  }
  bool ReplaceAll(const std::filesystem::path& path, std::string_view bytes) override {
    ++writes;
    if (unwritable.count(path.string()) || folders.count(path.string())) return false;
    files[path.string()] = std::string(bytes);
    return true;
  }
  bool Exists(const std::filesystem::path& path) const override {
    return files.count(path.string()) > 0 || unreadable.count(path.string()) > 0 || folders.count(path.string()) > 0;
  }
  std::map<std::string, std::string> files;
  std::set<std::string> folders;  // a folder stands there
  std::set<std::string> unreadable;
  std::set<std::string> unwritable;
  int writes = 0;
};

}  // namespace lq::testing
