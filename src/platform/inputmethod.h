#pragma once
// The installed input methods, by the names the settings keep.

#include <windows.h>

#include <string>
#include <vector>

namespace lq::win {

// The descriptions of the installed keyboard layouts that have one.
std::vector<std::wstring> InstalledInputMethodNames();

// The installed input method of this name becomes the thread's; no such method changes nothing.
void SelectInputMethod(const std::wstring& name);

// Opens the input method of `hwnd` in hiragana.
void OpenHiraganaInput(HWND hwnd);

}  // namespace lq::win
