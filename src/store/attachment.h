#pragma once
// What the attachment commands decide about a task's attachment without the shell: the folder
// a file lies in, its name, which files start a program when opened, and what the URL dialog
// takes. Texts are code page 932 bytes; paths are walked character by character, since "\" is
// also the second byte of 表 and "|" that of ポ.

#include <cstdint>
#include <string>
#include <string_view>

namespace lq {

// The folder of a file attachment: everything before its last separator ("\" or "/"); for a
// file in a root folder the root itself ("C:\", "\"). Empty when the path has no separator.
std::string AttachmentFolder(std::string_view path);
// What follows the last separator (the whole path without one).
std::string_view AttachmentFileName(std::string_view path);
// The hint's text: the whole attachment, or only a file's name when full paths are not wanted.
std::string_view HintText(std::string_view attachment, bool fullPath);

// The extension of the path's file name with its dot, ASCII letters upper-cased; empty
// without one.
std::string UpperExtension(std::string_view path);
// Whether opening a file with this extension (as UpperExtension gives it) starts a program or
// a script: the command interpreter's list of program extensions (PATHEXT, ";"-separated, any
// case) and the types Windows itself treats as programs.
bool IsProgramExtension(std::string_view upperExtension, std::string_view pathExt);

// How the shell takes a text it is asked to open, before any look at the files. The text is
// exactly what the shell is given (UTF-16).
enum class ShellText : std::uint8_t {
  Refused,       // holds a control character: the shell would be given less than was judged
  WebAddress,    // "http://" or "https://"
  OtherScheme,   // any other URL scheme ("mailto:", "shell:", a program's own): any program may handle it
  FileUrl,       // "file:": the path it names is what opens
  Program,       // runs whatever the files are: an environment variable, a stream of a file
  Path,          // a path from a drive or a share
  RelativePath,  // a name the shell looks for in several folders (the program's, the system's, PATH)
};
ShellText ClassifyShellText(std::wstring_view text);

// The URL dialog's text at its first showing: the task's web address, or "http://".
std::string UrlStartText(std::string_view attachment);

// One showing of the URL dialog and what follows it. `typed` is the box's text in code page
// 932, `lossless` false when some character had no form there.
struct UrlRound {
  bool showAgain = false;  // after the message, the dialog shows again with the text kept
  std::string message;     // UTF-8, to show first; empty for none
  std::string taken;       // otherwise the text taken: the start text unless OK gave another
};
UrlRound UrlInputRound(std::string_view start, bool ok, std::string_view typed, bool lossless);

}  // namespace lq
