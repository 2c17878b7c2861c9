#pragma once
// The shell's view of files for attachments: shortcut targets, long names, and whether opening
// a file starts a program.

#include <windows.h>

#include <string>

namespace lq::win {

// The path a shell shortcut (.lnk) points to, empty when it cannot be read or resolved. COM
// must have been entered on this thread; `owner` is the window of any question the shell asks.
std::wstring ResolveShortcut(HWND owner, const std::wstring& shortcut);

// An existing file's path rebuilt from the file system's own long names, the drive or share
// upper-cased ("C:\Program Files\…" for "c:\PROGRA~1\…"); empty when no file is there (a folder
// counts as none).
std::wstring LongPathName(const std::wstring& path);

// The path made absolute against the current folder ("." and ".." resolved); empty for none.
std::wstring FullPathName(const std::wstring& path);

bool IsExistingFile(const std::wstring& path);
bool IsExistingFolder(const std::wstring& path);

// Whether opening the file starts a program or a script, by the shell's judgement of its type
// (and the command interpreter's PATHEXT); a shortcut is judged by its target, and one that
// cannot be resolved counts as a program.
bool OpensAsProgram(HWND owner, const std::wstring& path);

}  // namespace lq::win
