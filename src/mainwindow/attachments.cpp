// The task's attachment, a file or a web address: opening it or its folder, choosing a file,
// clearing it, entering an address in the URL dialog, and files dropped on the list.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/application.h"
#include "mainwindow/automation.h"
#include "mainwindow/mainwindow.h"
#include "platform/codepage.h"
#include "platform/msgbox.h"
#include "platform/shellfiles.h"
#include "store/attachment.h"

namespace lq::win {
namespace {

std::wstring FromUtf8(std::string_view utf8) {
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), n);
  return text;
}

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

std::optional<std::string> TfrmToDo::AttachmentBytes(const std::wstring& path) {
  const Cp932Text text = ToCp932(path);
  if (text.lossless && AttachmentFitsTaskFile(text.bytes)) return text.bytes;
  ShowMessage(BoxKind::Warning, L"「" + path + L"」は予定表に保存できない文字を含むため、添付できません。");
  return std::nullopt;
}

void TfrmToDo::FinishAttachmentChange() {
  gridToDo->Refresh();
  if (!editMode_) {
    EnterEditMode();
  } else if (::IsWindowVisible(gridToDo->Handle())) {
    ::SetFocus(gridToDo->Handle());
  }
}

void TfrmToDo::popitemAttachOpenClick() {
  const std::string attachment(list_.Table().Cell(colAttachment, list_.CurrentRow()));
  if (attachment.empty()) return;
  // The text judged is the text the shell gets, whole.
  const std::wstring target = FromCp932(attachment);
  app_.EnsureCom();  // a shortcut is judged by its target
  const OpenJudgement judged = JudgeOpen(Handle(), target);
  // A program or script starts at once when opened, and so does a scheme's handler: only after
  // the user said so.
  std::wstring question;
  switch (judged) {
    case OpenJudgement::Refused:
      ShowMessage(BoxKind::Warning, L"添付ファイルにNULやタブなどの制御文字が含まれているため、開けません。");
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
  if (!question.empty() && ShowMessage(BoxKind::Confirmation, question) != IDYES) return;
  OpenInShell(Handle(), target, judged);
}

void TfrmToDo::popitemAttachEditClick() {
  CloseEditors();
  const int row = list_.CurrentRow();
  const auto task = list_.IdentityOf(row);
  if (!task) return;
  const std::string_view attachment = list_.Table().Cell(colAttachment, row);
  const std::string initial = IsWebAddress(attachment) ? std::string() : std::string(attachment);
  const std::wstring folder = FromCp932(AttachmentFolder(initial));
  std::vector<wchar_t> file(32768, L'\0');
  const auto choose = [&](const std::wstring& preselected) {
    std::fill(file.begin(), file.end(), L'\0');
    preselected.copy(file.data(), std::min(preselected.size(), file.size() - 1));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = L"すべてのファイル\0*.*\0";
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                OFN_FILEMUSTEXIST;
    return ::GetOpenFileNameW(&ofn) != FALSE;
  };
  // A stored path the dialog cannot take as a name (a hand-edited one) would keep it from
  // showing at all: then it shows without one.
  bool chosen = choose(FromCp932(initial));
  if (!chosen && !initial.empty() && ::CommDlgExtendedError() != 0) chosen = choose(L"");
  const std::wstring path = file.data();
  if (chosen && IsExistingFile(path)) {
    const auto bytes = AttachmentBytes(path);
    if (bytes && SelectTaskAfterWait(*task, row)) {
      list_.SetAttachment(list_.CurrentRow(), *bytes, StepKind::AttachFile);
      FinishAttachmentChange();
      return;
    }
  }
  FocusListAfterDialog();
}

void TfrmToDo::popitemAttachDeleteClick() {
  const int row = list_.CurrentRow();
  const std::string attachment(list_.Table().Cell(colAttachment, row));
  const auto task = list_.IdentityOf(row);
  if (attachment.empty() || !task) return;
  const wchar_t* verb = IsWebAddress(attachment) ? L"を解除します。" : L"の添付を解除します。";
  const auto answer = AskUnlessInterrupted(L"“" + FromCp932(attachment) + L"”" + verb + L"\r\nよろしいですか？");
  if (!answer || *answer != IDYES || !SelectTaskAfterWait(*task, row)) return;
  list_.SetAttachment(list_.CurrentRow(), {}, StepKind::AttachClear);
  FinishAttachmentChange();
}

void TfrmToDo::popitemAttachFolderOpenClick() {
  const std::string_view attachment = list_.Table().Cell(colAttachment, list_.CurrentRow());
  if (attachment.empty() || IsWebAddress(attachment)) return;
  const std::wstring folder = FromCp932(AttachmentFolder(attachment));
  if (folder.empty()) return;
  // A share's top folder is found with its separator. Only a folder as it stands: no name the
  // shell would complete, expand or look for elsewhere.
  if ((IsExistingFolder(folder) || IsExistingFolder(folder + L"\\")) &&
      JudgeOpen(Handle(), folder) == OpenJudgement::Document) {
    OpenInShell(Handle(), folder, OpenJudgement::Document);
  }
}

void TfrmToDo::popitemInputUrlClick() {
  CloseEditors();
  const int row = list_.CurrentRow();
  const auto task = list_.IdentityOf(row);
  if (!task) return;
  const std::string start = UrlStartText(list_.Table().Cell(colAttachment, row));
  app_.frmUrlInput.SetUrl(Handle(), FromCp932(start));
  std::string taken;
  for (;;) {
    const bool ok = app_.frmUrlInput.Ask(Handle()) == IDOK;
    const Cp932Text typed = ok ? ToCp932(app_.frmUrlInput.Url()) : Cp932Text{};
    UrlRound round = UrlInputRound(start, ok, typed.bytes, typed.lossless);
    if (!round.message.empty()) ShowMessage(BoxKind::Information, FromUtf8(round.message));
    if (!round.showAgain) {
      taken = std::move(round.taken);
      break;
    }
  }
  // Confirming "http://" as it came never replaces a file.
  if (taken != start && SelectTaskAfterWait(*task, row)) {
    list_.SetAttachment(list_.CurrentRow(), taken, StepKind::AttachUrl);
    FinishAttachmentChange();
    return;
  }
  FocusListAfterDialog();
}

// ---------------------------------------------------------------------------------------------
// Dropped files

void TfrmToDo::FormDropFiles(HDROP drop) {
  const DropHandle release(drop);
  // While a dialog or a question is open the list is disabled: a drop then would change the row
  // the open command is about to write to.
  if (!::IsWindowEnabled(Handle())) return;
  POINT at{};
  if (!::DragQueryPoint(drop, &at)) return;  // not on the client area
  // The first file only, whole however long it is.
  const UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
  if (length == 0) return;
  std::wstring path(length + 1, L'\0');
  path.resize(::DragQueryFileW(drop, 0, path.data(), length + 1));
  ::SetForegroundWindow(Handle());

  std::wstring text = path;
  if (IsShortcut(path)) {
    // The file the shortcut leads to; a folder, or nothing found, gives an empty text.
    app_.EnsureCom();
    text = LongPathName(FullPathName(ResolveShortcut(Handle(), path)));
  }

  const Point origin = GridOrigin();
  const int row = DropTargetRow(gridToDo->Metrics(), list_.VisibleRowCount(), at.x - origin.x, at.y - origin.y);
  // The blank row of an empty list is no task: what it held would never be saved.
  if (row == 0 || !list_.Table().IsTask(row)) return;
  gridToDo->MoveCurrentRow(row);
  EnterEditMode();

  const auto task = list_.IdentityOf(row);
  if (const auto bytes = AttachmentBytes(text); bytes && task) {
    const std::string old(list_.Table().Cell(colAttachment, row));
    bool write = old.empty();
    if (!write) {
      const auto answer = AskUnlessInterrupted(L"添付ファイル“" + FromCp932(old) + L"”を\r\n“" + text +
                                               L"”にて上書きします。\r\nよろしいですか？");
      write = answer && *answer == IDYES && SelectTaskAfterWait(*task, row);
    }
    if (write) list_.SetAttachment(list_.CurrentRow(), *bytes, StepKind::AttachDrop);
  }
  FinishAttachmentChange();
}

bool TfrmToDo::DropFilesFromAutomation(const COPYDATASTRUCT& data) {
  using automation::DropFilesRequest;
  if (data.cbData < sizeof(DropFilesRequest) || !data.lpData) return false;
  const auto* bytes = static_cast<const unsigned char*>(data.lpData);
  DropFilesRequest request{};
  std::memcpy(&request, bytes, sizeof request);
  // The paths as given, ended by two NULs whatever the sender did.
  std::wstring paths((data.cbData - sizeof request) / sizeof(wchar_t), L'\0');
  std::memcpy(paths.data(), bytes + sizeof request, paths.size() * sizeof(wchar_t));
  while (!paths.empty() && paths.back() == L'\0') paths.pop_back();
  if (paths.empty()) return false;
  paths.append(2, L'\0');

  POINT at{request.x, request.y};
  ::ScreenToClient(Handle(), &at);
  RECT client{};
  ::GetClientRect(Handle(), &client);
  const std::size_t size = sizeof(DROPFILES) + paths.size() * sizeof(wchar_t);
  const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!memory) return false;
  auto* files = static_cast<DROPFILES*>(::GlobalLock(memory));
  files->pFiles = sizeof(DROPFILES);
  files->pt = at;
  files->fNC = !::PtInRect(&client, at);
  files->fWide = TRUE;
  std::memcpy(reinterpret_cast<unsigned char*>(files) + sizeof(DROPFILES), paths.data(), paths.size() * sizeof(wchar_t));
  ::GlobalUnlock(memory);
  // Posted, so the sender is free to answer the questions the drop asks.
  if (!::PostMessageW(Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0)) {
    ::GlobalFree(memory);
    return false;
  }
  return true;
}

}  // namespace lq::win
