#include "platform/collation.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "platform/codepage.h"

namespace lq::win {

std::string LocaleCollation::SortKey(std::string_view text) const {
  const std::wstring wide = FromCp932(text);
  if (wide.empty() || wide.size() > INT_MAX / 8) return {};
  const int len = static_cast<int>(wide.size());
  std::string key(static_cast<std::size_t>(len) * 4 + 16, '\0');
  int n = ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, wide.data(), len,
                         reinterpret_cast<LPWSTR>(key.data()), static_cast<int>(key.size()));
  if (n == 0) {
    n = ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, wide.data(), len, nullptr, 0);
    key.assign(static_cast<std::size_t>(n), '\0');
    n = ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, wide.data(), len,
                       reinterpret_cast<LPWSTR>(key.data()), n);
  }
  // The key ends with a NUL byte, which compares the same for every key.
  key.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return key;
}

void LocaleCollation::AppendSortKey(std::string_view text, std::string& out) const {
  const std::wstring wide = FromCp932(text);
  if (wide.empty() || wide.size() > INT_MAX / 8) return;
  const int len = static_cast<int>(wide.size());
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(len) * 4 + 16);
  int n = ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, wide.data(), len,
                         reinterpret_cast<LPWSTR>(out.data() + start), static_cast<int>(out.size() - start));
  if (n == 0) {
    out.resize(start);
    out += SortKey(text);
    return;
  }
  out.resize(start + static_cast<std::size_t>(n));
}

namespace {

// One part of a batch of keys, made on a thread of its own.
struct KeyPart {
  const LocaleCollation* collation;
  const std::string_view* first;
  std::size_t count;
  std::string keys;
  std::vector<std::size_t> ends;
  bool done = false;

  void Make() {
    for (std::size_t i = 0; i < count; ++i) {
      collation->AppendSortKey(first[i], keys);
      ends.push_back(keys.size());
    }
    done = true;
  }
  static DWORD WINAPI Run(void* self) {
    try {
      static_cast<KeyPart*>(self)->Make();
    } catch (...) {
      // Left undone: the caller makes the part itself.
    }
    return 0;
  }
};

}  // namespace

void LocaleCollation::AppendSortKeys(const std::vector<std::string_view>& texts, std::string& out,
                                     std::vector<std::size_t>& ends) const {
  // Under a few thousand texts a thread costs more than it saves.
  constexpr std::size_t kPerThread = 4096;
  const std::size_t processors = std::max<DWORD>(1, ::GetActiveProcessorCount(ALL_PROCESSOR_GROUPS));
  const std::size_t parts = std::min<std::size_t>({processors, 4, texts.size() / kPerThread});
  if (parts < 2) {
    Collation::AppendSortKeys(texts, out, ends);
    return;
  }
  std::vector<std::unique_ptr<KeyPart>> work;
  // Waits for the threads on every way out, before their parts go.
  struct Threads {
    std::vector<HANDLE> handles;
    void Join() {
      if (!handles.empty()) ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), TRUE, INFINITE);
      for (const HANDLE h : handles) ::CloseHandle(h);
      handles.clear();
    }
    ~Threads() { Join(); }
  } threads;
  const std::size_t per = (texts.size() + parts - 1) / parts;
  for (std::size_t begin = per; begin < texts.size(); begin += per) {
    work.push_back(std::make_unique<KeyPart>(
        KeyPart{this, texts.data() + begin, std::min(per, texts.size() - begin), {}, {}}));
    const HANDLE h = ::CreateThread(nullptr, 0, &KeyPart::Run, work.back().get(), 0, nullptr);
    if (h) threads.handles.push_back(h);
  }
  // The first part here, meanwhile.
  ends.reserve(ends.size() + texts.size());
  for (std::size_t i = 0; i < per; ++i) {
    AppendSortKey(texts[i], out);
    ends.push_back(out.size());
  }
  threads.Join();
  for (const auto& part : work) {
    if (!part->done) {  // its thread did not start or did not finish
      part->keys.clear();
      part->ends.clear();
      part->Make();
    }
    const std::size_t base = out.size();
    out += part->keys;
    for (const std::size_t e : part->ends) ends.push_back(base + e);
  }
}

int LocaleCollation::Compare(std::string_view a, std::string_view b) const {
  const std::wstring wa = FromCp932(a);
  const std::wstring wb = FromCp932(b);
  const int r = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.data(), static_cast<int>(wa.size()),
                                 wb.data(), static_cast<int>(wb.size()));
  return r == CSTR_LESS_THAN ? -1 : (r == CSTR_GREATER_THAN ? 1 : 0);
}

}  // namespace lq::win
