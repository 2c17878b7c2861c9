#include "dialogs/config.h"

#include "platform/msgbox.h"

namespace lq::win {

std::optional<int> TfrmConfig::AskUnlessInterrupted(HWND owner, const std::wstring& question) {
  return AskUnlessInterrupted([owner](BoxKind kind, const std::wstring& text) { return ShowBox(owner, kind, text); },
                              question);
}

std::optional<int> TfrmConfig::AskUnlessInterrupted(const ShowBoxFn& show, const std::wstring& question) {
  SettingsShown = false;
  const int answer = show(BoxKind::Confirmation, question);
  if (answer == IDNO) return answer;
  if (SettingsShown) {
    show(BoxKind::Information, L"設定画面が呼び出されたので処理を中止します。");
    return std::nullopt;
  }
  return answer;
}

}  // namespace lq::win
