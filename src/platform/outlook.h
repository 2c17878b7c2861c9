#pragma once
// Outlook's default task folder through its automation object, for the exchange of the list.

#include <memory>
#include <string_view>

#include "sync/taskfolder.h"

namespace lq::win {

inline constexpr std::u16string_view kOutlookMissingText =
    u"Outlookが見つかりません。このパソコンにはOutlookがインストールされていないようです。";
inline constexpr std::u16string_view kOutlookNotAutomatableText =
    u"Outlookを起動できませんでした。Outlookが正しくインストールされていないか、"
    u"ほかのプログラムから操作できない版のOutlookです。";

// Connects to "Outlook.Application" and its default task folder. Throws FolderError: when
// Outlook is missing or cannot be automated, a plain text saying so, then the error's own text.
// Everything it holds is released when the folder goes.
std::unique_ptr<TaskFolder> OpenOutlookTaskFolder();

}  // namespace lq::win
