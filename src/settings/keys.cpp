#include "settings/keys.h"

#include <vector>

namespace lq {

std::span<const SettingKey* const> AllSettingKeys() {
  static const std::vector<const SettingKey*> all = [] {
    using namespace keys;
    std::vector<const SettingKey*> list{
#define LQ_LIST_KEY(field, ...) &field,
        LQ_SETTINGS(LQ_LIST_KEY, LQ_NO_GROUP)
#undef LQ_LIST_KEY
    };
    for (const ClassKeys& c : Classes) list.insert(list.end(), {&c.name, &c.size, &c.textColor, &c.backColor});
    list.insert(list.end(), {&LastSync, &WinX, &WinY, &WinWidth, &WinHeight});
    for (const SettingKey& k : Find) list.push_back(&k);
    return list;
  }();
  return all;
}

}  // namespace lq
