#pragma once
// What the tests and the stand-in for Outlook share.
//
// The folder file, UTF-8, one task item a line, fields separated by tabs:
//   due date, last modification (both "yyyymmddhhnnsszzz"), status, importance, subject,
//   and optionally "failsave" (the item's Save fails with kFakeSaveError).

inline constexpr wchar_t kFakeOutlookClsid[] = L"{759E7253-5034-4B85-8309-8352B7B33D37}";
inline constexpr wchar_t kFakeOutlookExe[] = L"lq_fake_outlook.exe";
// Held by the stand-in while it runs, so that a test can wait for its end.
inline constexpr wchar_t kFakeOutlookRunning[] = L"Lindqvale.FakeOutlook.Running";
inline constexpr wchar_t kFakeSaveError[] = L"この仕事は保存できません。";
