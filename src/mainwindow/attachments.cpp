// The task's attachment, a file or a web address: opening it or its folder, choosing a file,
// clearing it, entering an address in the URL dialog, and files dropped on the list.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "app/application.h"
#include "mainwindow/attachments.h"
#include "platform/codepage.h"
#include "platform/filedialog.h"
#include "platform/msgbox.h"
#include "platform/shellfiles.h"
#include "store/attachment.h"

namespace lq::win {
namespace {

bool IsShortcut(const std::wstring& path) { return UpperExtension(ToCp932(path).bytes) == ".LNK"; }

// Gives a drop handle back to the shell however the handling ends.
class DropHandle {
 public:
  explicit DropHandle(HDROP h) : h_(h) {}
  ~DropHandle() { ::DragFinish(h_); }
  DropHandle(const DropHandle&) = delete;
  DropHandle& operator=(const DropHandle&) = delete;

 private:
  HDROP h_;
};

}  // namespace

AttachmentCommands::AttachmentCommands(Application& app, Callbacks callbacks)
    : app_(app), list_(app.list), cb_(std::move(callbacks)) {}

std::optional<std::string> AttachmentCommands::AttachmentBytes(const std::wstring& path) {
  const Cp932Text text = ToCp932(path);
  if (text.lossless && AttachmentFitsTaskFile(text.bytes)) return text.bytes;
  cb_.showMessage(BoxKind::Warning, L"「" + path + L"」は予定表に保存できない文字を含むため、添付できません。");
  return std::nullopt;
}

void AttachmentCommands::popitemAttachOpenClick() {
  const std::string attachment(list_.Table().Cell(colAttachment, list_.CurrentRow()));
  if (attachment.empty()) return;
  // The text judged is the text the shell gets, whole.
  const std::wstring target = FromCp932(attachment);
  app_.EnsureCom();  // a shortcut is judged by its target
  const OpenJudgement judged = JudgeOpen(window_, target);
  // A program or script starts at once when opened, and so does a scheme's handler: only after
  // the user said so.
  std::wstring question;
  switch (judged) {
    case OpenJudgement::Refused:
      cb_.showMessage(BoxKind::Warning, L"添付ファイルにNULやタブなどの制御文字が含まれているため、開けません。");
      return;
    case OpenJudgement::Program:
      question = L"“" + target + L"”はプログラムとして実行されます。\r\n実行してもよろしいですか？";
      break;
    case OpenJudgement::OtherScheme:
      question = L"“" + target + L"”を開くと、そのURLを受け持つプログラムが起動します。\r\n開いてもよろしいですか？";
      break;
    case OpenJudgement::WebAddress:
    case OpenJudgement::Document:
      break;
  }
  if (!question.empty() && cb_.showMessage(BoxKind::Confirmation, question) != IDYES) return;
  OpenInShell(window_, target, judged);
}

void AttachmentCommands::popitemAttachEditClick() {
  cb_.closeEditors();
  const int row = list_.CurrentRow();
  const auto task = list_.IdentityOf(row);
  if (!task) return;
  const std::string_view attachment = list_.Table().Cell(colAttachment, row);
  const std::string initial = IsWebAddress(attachment) ? std::string() : std::string(attachment);
  const std::wstring folder = FromCp932(AttachmentFolder(initial));
  // A stored path the dialog cannot take as a name (a hand-edited one) would keep it from
  // showing at all: then it shows without one.
  OpenFileRequest request{.folder = folder, .name = FromCp932(initial)};
  auto answer = ChooseFileToOpen(window_, request);
  if (answer.failed && !initial.empty()) {
    request.name.clear();
    answer = ChooseFileToOpen(window_, request);
  }
  const bool chosen = answer.path.has_value();
  const std::wstring path = answer.path.value_or(std::wstring());
  if (chosen && IsExistingFile(path)) {
    const auto bytes = AttachmentBytes(path);
    if (bytes && cb_.selectTaskAfterWait(*task, row)) {
      list_.SetAttachment(list_.CurrentRow(), *bytes, StepKind::AttachFile);
      cb_.finishChange();
      return;
    }
  }
  cb_.focusListAfterDialog();
}

void AttachmentCommands::popitemAttachDeleteClick() {
  const int row = list_.CurrentRow();
  const std::string attachment(list_.Table().Cell(colAttachment, row));
  const auto task = list_.IdentityOf(row);
  if (attachment.empty() || !task) return;
  const wchar_t* verb = IsWebAddress(attachment) ? L"を解除します。" : L"の添付を解除します。";
  const auto answer = cb_.ask(L"“" + FromCp932(attachment) + L"”" + verb + L"\r\nよろしいですか？");
  if (!answer || *answer != IDYES || !cb_.selectTaskAfterWait(*task, row)) return;
  list_.SetAttachment(list_.CurrentRow(), {}, StepKind::AttachClear);
  cb_.finishChange();
}

void AttachmentCommands::popitemAttachFolderOpenClick() {
  const std::string_view attachment = list_.Table().Cell(colAttachment, list_.CurrentRow());
  if (attachment.empty() || IsWebAddress(attachment)) return;
  const std::wstring folder = FromCp932(AttachmentFolder(attachment));
  if (folder.empty()) return;
  // A share's top folder is found with its separator. Only a folder as it stands: no name the
  // shell would complete, expand or look for elsewhere.
  if ((IsExistingFolder(folder) || IsExistingFolder(folder + L"\\")) &&
      JudgeOpen(window_, folder) == OpenJudgement::Document) {
    OpenInShell(window_, folder, OpenJudgement::Document);
  }
}

void AttachmentCommands::popitemInputUrlClick() {
  cb_.closeEditors();
  const int row = list_.CurrentRow();
  const auto task = list_.IdentityOf(row);
  if (!task) return;
  const std::string start = UrlStartText(list_.Table().Cell(colAttachment, row));
  app_.frmUrlInput.SetUrl(window_, FromCp932(start));
  std::string taken;
  for (;;) {
    const bool ok = app_.frmUrlInput.Ask(window_) == IDOK;
    const Cp932Text typed = ok ? ToCp932(app_.frmUrlInput.Url()) : Cp932Text{};
    UrlRound round = UrlInputRound(start, ok, typed.bytes, typed.lossless);
    if (!round.message.empty()) cb_.showMessage(BoxKind::Information, FromUtf8(round.message));
    if (!round.showAgain) {
      taken = std::move(round.taken);
      break;
    }
  }
  // Confirming "http://" as it came never replaces a file.
  if (taken != start && cb_.selectTaskAfterWait(*task, row)) {
    list_.SetAttachment(list_.CurrentRow(), taken, StepKind::AttachUrl);
    cb_.finishChange();
    return;
  }
  cb_.focusListAfterDialog();
}

// ---------------------------------------------------------------------------------------------
// Dropped files

void AttachmentCommands::FormDropFiles(HDROP drop) {
  const DropHandle release(drop);
  // While a dialog or a question is open the list is disabled: a drop then would change the row
  // the open command is about to write to.
  if (!::IsWindowEnabled(window_)) return;
  POINT at{};
  if (!::DragQueryPoint(drop, &at)) return;  // not on the client area
  // The first file only, whole however long it is.
  const UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
  if (length == 0) return;
  std::wstring path(length + 1, L'\0');
  path.resize(::DragQueryFileW(drop, 0, path.data(), length + 1));
  ::SetForegroundWindow(window_);

  std::wstring text = path;
  if (IsShortcut(path)) {
    // The file the shortcut leads to; a folder, or nothing found, gives an empty text.
    app_.EnsureCom();
    text = LongPathName(FullPathName(ResolveShortcut(window_, path)));
  }

  const int row = cb_.takeDropRow(at);
  if (row == 0) return;

  const auto task = list_.IdentityOf(row);
  if (const auto bytes = AttachmentBytes(text); bytes && task) {
    const std::string old(list_.Table().Cell(colAttachment, row));
    bool write = old.empty();
    if (!write) {
      const auto answer = cb_.ask(L"添付ファイル“" + FromCp932(old) + L"”を\r\n“" + text +
                                               L"”にて上書きします。\r\nよろしいですか？");
      write = answer && *answer == IDYES && cb_.selectTaskAfterWait(*task, row);
    }
    if (write) list_.SetAttachment(list_.CurrentRow(), *bytes, StepKind::AttachDrop);
  }
  cb_.finishChange();
}

}  // namespace lq::win
