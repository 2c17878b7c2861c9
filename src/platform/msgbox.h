#pragma once
// The program's message boxes: four kinds with fixed captions, and Japanese button texts on
// every Windows ("はい(&Y)", "いいえ(&N)"). Escape answers a yes-or-no box with いいえ; the
// box's close button is live and gives IDCANCEL.

#include <windows.h>

#include <string>

namespace lq::win {

enum class BoxKind {
  Information,   // "情報", OK
  Warning,       // "警告", OK
  WarningYesNo,  // "警告", はい / いいえ
  Error,         // "エラー", OK
  Confirmation,  // "確認", はい / いいえ
};

// IDOK, IDYES, IDNO, or IDCANCEL when the box was closed through its title bar.
int ShowBox(HWND owner, BoxKind kind, const std::wstring& text);

}  // namespace lq::win
