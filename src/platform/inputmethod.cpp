#include "platform/inputmethod.h"

#include <imm.h>

namespace lq::win {
namespace {

template <typename Visit>
void ForEachInputMethod(Visit visit) {
  HKL layouts[64];
  const int n = ::GetKeyboardLayoutList(64, layouts);
  for (int i = 0; i < n; ++i) {
    wchar_t name[256] = {};
    if (::ImmGetDescriptionW(layouts[i], name, 255) > 0 && !visit(layouts[i], std::wstring(name))) return;
  }
}

}  // namespace

std::vector<std::wstring> InstalledInputMethodNames() {
  std::vector<std::wstring> names;
  ForEachInputMethod([&](HKL, std::wstring name) {
    names.push_back(std::move(name));
    return true;
  });
  return names;
}

void SelectInputMethod(const std::wstring& name) {
  ForEachInputMethod([&](HKL layout, const std::wstring& description) {
    if (description != name) return true;
    ::ActivateKeyboardLayout(layout, 0);
    return false;
  });
}

void OpenHiraganaInput(HWND hwnd) {
  if (const HIMC imc = ::ImmGetContext(hwnd)) {
    ::ImmSetOpenStatus(imc, TRUE);
    ::ImmSetConversionStatus(imc, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE, IME_SMODE_PHRASEPREDICT);
    ::ImmReleaseContext(hwnd, imc);
  }
}

}  // namespace lq::win
