// The hot keys' shortcut texts, as a hand-edited settings file may hold them: whatever reads
// as a shortcut reads back the same from its own text, its hot-key flags hold only the three
// modifiers, and the name a message shows stays short and whole.
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/shortcut.h"
#include "store/text.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  if (const auto s = lq::TextToShortCut(text)) {
    const std::string canonical = lq::ShortCutToText(*s);
    Check(!canonical.empty() && canonical.back() != '+');
    Check(lq::TextToShortCut(canonical) == s);
    Check(canonical.size() <= text.size());  // repeated words are dropped, nothing is added
    const lq::HotKeyCode code = lq::ShortCutToHotKey(*s);
    Check((code.modifiers & ~7u) == 0);
    Check(code.virtualKey == s->key && code.virtualKey != 0);
  }

  const lq::HotKeyRequest r = lq::HotKeyRequestOf(text);
  Check(lq::CharCount(r.name) <= lq::kHotKeyNameChars + 3);
  if (r.code) {
    const auto back = lq::TextToShortCut(r.name);
    Check(back.has_value() && lq::ShortCutToHotKey(*back) == *r.code);
    Check((r.code->modifiers & (lq::kModControl | lq::kModAlt)) != 0);
  } else if (!lq::TextToShortCut(text) && r.name != text) {
    // Shortened: the start of the text, cut between characters.
    const std::string_view kept(r.name.data(), r.name.size() - 3);
    Check(text.substr(0, kept.size()) == kept && r.name.ends_with("..."));
    Check(lq::TakeChars(text, lq::kHotKeyNameChars) == kept);
  }
  return 0;
}
