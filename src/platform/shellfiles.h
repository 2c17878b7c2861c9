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

// What opening a text through the shell would do, judged from exactly the text it is given. A
// file starts a program by the shell's judgement of its type (and the command interpreter's
// PATHEXT) or by its program header; a name that is no file counts as the one the shell would
// complete it to, a file: URL as its path, a shortcut as its target (one that cannot be
// resolved as a program); an environment variable or a relative name counts as a program.
enum class OpenJudgement : unsigned char {
  Refused,      // never to be given to the shell
  WebAddress,   // opens in the browser
  Document,     // opens a file in its program, or a folder
  Program,      // starts a program or a script
  OtherScheme,  // goes to whichever program handles its URL scheme
};
OpenJudgement JudgeOpen(HWND owner, const std::wstring& text);

// Opens the text as judged: a web address through its scheme's association, never as a file;
// anything else as the shell opens a file ("open", normal show state).
void OpenInShell(HWND owner, const std::wstring& text, OpenJudgement judged);

}  // namespace lq::win
