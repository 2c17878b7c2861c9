#include "settings/findhistory.h"

#include <algorithm>

#include "settings/keys.h"
#include "settings/textforms.h"
#include "store/search.h"

namespace lq {
namespace {

bool DroppedAtTheEdge(char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; }

}  // namespace

void SearchHistory::Load(const Profile& profile) {
  items_.clear();
  for (const SettingKey& key : keys::Find) {
    std::string value = ReadText(profile, key);
    if (!value.empty()) items_.push_back(std::move(value));
  }
}

bool SearchHistory::Add(std::string_view text) {
  text = SearchTextOf(text);  // a line break in a value would start a line of its own in the file
  if (text.empty() || std::find(items_.begin(), items_.end(), text) != items_.end()) return false;
  items_.insert(items_.begin(), std::string(text));
  if (items_.size() > kSize) items_.pop_back();
  return true;
}

bool SearchHistory::Write(Profile& profile) const {
  Profile::Edit edit(profile);
  for (std::size_t i = 0; i < kSize; ++i) {
    const std::string value = i < items_.size() ? ProfileValueText(items_[i]) : std::string();
    if (!WriteText(profile, keys::Find[i], value)) return false;
  }
  return edit.Commit();
}

std::string ProfileValueText(std::string_view text) {
  if (!text.empty() && (DroppedAtTheEdge(text.front()) || DroppedAtTheEdge(text.back()))) {
    return "\"" + std::string(text) + "\"";
  }
  return std::string(text);
}

}  // namespace lq
