#pragma once
// What the tests and the stand-in for Outlook share, and the stand-in's registration as
// "Outlook.Application" for the length of a test.
//
// The folder file, UTF-8, one task item a line, fields separated by tabs:
//   due date, last modification (both "yyyymmddhhnnsszzz"), status, importance, subject,
//   and optionally "failsave" (the item's Save fails with kFakeSaveError).

#include <windows.h>

#include <filesystem>
#include <string>

inline constexpr wchar_t kFakeOutlookClsid[] = L"{759E7253-5034-4B85-8309-8352B7B33D37}";
inline constexpr wchar_t kFakeOutlookExe[] = L"lq_fake_outlook.exe";
// Held by the stand-in while it runs, so that a test can wait for its end.
inline constexpr wchar_t kFakeOutlookRunning[] = L"Lindqvale.FakeOutlook.Running";
inline constexpr wchar_t kFakeSaveError[] = L"この仕事は保存できません。";

namespace lq::testing {

// "Outlook.Application" as registered now: absent, the stand-in, or someone else's (a real
// Outlook, which the stand-in must never replace).
enum class OutlookRegistered { None, StandIn, Other };

inline OutlookRegistered OutlookRegistration() {
  HKEY k = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"Outlook.Application", 0, KEY_READ, &k) != ERROR_SUCCESS) {
    return OutlookRegistered::None;
  }
  RegCloseKey(k);
  wchar_t clsid[64] = L"";
  DWORD size = sizeof clsid;
  RegGetValueW(HKEY_CLASSES_ROOT, L"Outlook.Application\\CLSID", nullptr, RRF_RT_REG_SZ, nullptr, clsid, &size);
  return lstrcmpiW(clsid, kFakeOutlookClsid) == 0 ? OutlookRegistered::StandIn : OutlookRegistered::Other;
}

// The stand-in answers for "Outlook.Application" while this lives: its keys go where class
// look-up reads them (the machine's classes, the only ones Wine reads; the user's on a Windows
// without the rights for those) and are removed afterwards. Only where no Outlook is
// registered: check OutlookRegistration() first.
class StandInRegistration {
 public:
  StandInRegistration() = default;
  StandInRegistration(const StandInRegistration&) = delete;
  StandInRegistration& operator=(const StandInRegistration&) = delete;
  ~StandInRegistration() { Remove(); }

  // `server` is started as COM starts it, with the folder file as its first argument.
  bool Add(const std::wstring& server, const std::filesystem::path& folderFile) {
    const std::wstring command = L"\"" + server + L"\" \"" + folderFile.wstring() + L"\"";
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      root_ = root;
      if (SetDefault(kProgIdKey + L"\\CLSID", kFakeOutlookClsid) &&
          SetDefault(kClsidKey + L"\\LocalServer32", command)) {
        return true;
      }
      Remove();
    }
    return false;
  }
  void Remove() {
    if (!root_) return;
    RegDeleteTreeW(root_, kProgIdKey.c_str());
    RegDeleteTreeW(root_, kClsidKey.c_str());
    root_ = nullptr;
  }

 private:
  bool SetDefault(const std::wstring& key, const std::wstring& value) const {
    HKEY k = nullptr;
    if (RegCreateKeyExW(root_, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    const LSTATUS s = RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
    return s == ERROR_SUCCESS;
  }

  inline static const std::wstring kProgIdKey = L"Software\\Classes\\Outlook.Application";
  inline static const std::wstring kClsidKey = std::wstring(L"Software\\Classes\\CLSID\\") + kFakeOutlookClsid;
  HKEY root_ = nullptr;
};

// The stand-in ends once every reference to its objects is gone; true when it has (or never
// ran).
inline bool StandInEnded(DWORD timeoutMs = 20000) {
  HANDLE running = OpenMutexW(SYNCHRONIZE, FALSE, kFakeOutlookRunning);
  if (!running) return true;
  const DWORD r = WaitForSingleObject(running, timeoutMs);
  if (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED) ReleaseMutex(running);
  CloseHandle(running);
  return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

}  // namespace lq::testing
