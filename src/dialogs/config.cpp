#include "dialogs/config.h"

#include <commctrl.h>
#include <commdlg.h>
#include <imm.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <iterator>
#include <set>
#include <vector>

#include "configids.h"
#include "mainwindow/imagelist.h"
#include "platform/codepage.h"
#include "platform/com.h"
#include "platform/msgbox.h"
#include "platform/window.h"
#include "res/artwork.h"
#include "resource.h"
#include "settings/textforms.h"

namespace lq::win {
namespace {

struct PageInfo {
  int templateId;
  const wchar_t* caption;
  int image;
};
constexpr std::array<PageInfo, 6> kPages{{
    {IDD_CONFIG_TRANSPARENT, L"不可視化", kImageNotDone},
    {IDD_CONFIG_FONT, L"文字", kImageEdit},
    {IDD_CONFIG_VIEW, L"表示", kImageSearch},
    {IDD_CONFIG_TASKS, L"予定", kImageDone},
    {IDD_CONFIG_BEHAVIOUR, L"動作", kImageSettings},
    {IDD_CONFIG_ABOUT, L"情報", kImageEnterUrl},
}};
constexpr int kFontPage = 1;
constexpr int kBehaviourPage = 4;

// The fonts page in pixels: a radio button left of each preview panel.
constexpr int kRadioLeft = 8;
constexpr int kRadioSize = 14;
constexpr int kPanelLeft = 28;
constexpr int kPanelHeight = 28;
constexpr int kPanelRightMargin = 8;
// Items of the font list show the name in its own font, half as large again as the dialog's.
constexpr int kFontItemHeight = 22;
constexpr int kFontFieldHeight = 16;

constexpr std::array<int, 3> kNumberFields{IDC_EDTROWHEIGHT, IDC_EDTHINTSTART, IDC_EDTHINTTERM};
constexpr UINT_PTR kNumberFieldSubclass = 1;
constexpr UINT_PTR kHandCursorSubclass = 2;

std::uint32_t SystemColour(int index) { return static_cast<std::uint32_t>(::GetSysColor(index)); }

int RadioOf(UrgencyClass c) { return IDC_RADPREVIEWTITLE + static_cast<int>(c); }
int PanelOf(UrgencyClass c) { return IDC_PNLPREVIEWTITLE + static_cast<int>(c); }
std::size_t Index(UrgencyClass c) { return static_cast<std::size_t>(c); }

std::wstring TextOf(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(hwnd, text.data(), length + 1)));
  return text;
}

std::wstring ComboItem(HWND combo, LRESULT index) {
  const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (index < 0 || length == CB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got = ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == CB_ERR ? 0 : static_cast<std::size_t>(got));
  return text;
}

std::vector<std::wstring> ComboItems(HWND combo) {
  std::vector<std::wstring> items;
  const LRESULT count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) items.push_back(ComboItem(combo, i));
  return items;
}

// The list's own search ignores case; the choice must not.
void SelectComboText(HWND combo, std::wstring_view text) {
  ::SendMessageW(combo, CB_SETCURSEL, lq::SelectComboText(ComboItems(combo), text), 0);
}

std::wstring SelectedText(HWND combo) { return ComboItem(combo, ::SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

void AddItem(HWND combo, std::wstring_view text) {
  const std::wstring item(text);
  ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

bool Checked(HWND button) { return ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Check(HWND button, bool on) { ::SendMessageW(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

std::string Cp932(std::wstring_view text) { return ToCp932(text).bytes; }

// The FileVersion of the program's version information, in the first translation it lists;
// empty when it has none.
std::wstring FileVersionText(const std::filesystem::path& exe) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<BYTE> data(size);
  if (!::GetFileVersionInfoW(exe.c_str(), 0, size, data.data())) return {};
  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translation = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &length) ||
      length < sizeof(Translation)) {
    return {};
  }
  wchar_t key[64];
  ::wsprintfW(key, L"\\StringFileInfo\\%04x%04x\\FileVersion", translation->language, translation->codePage);
  wchar_t* value = nullptr;
  if (!::VerQueryValueW(data.data(), key, reinterpret_cast<void**>(&value), &length) || !value) return {};
  return std::wstring(value, ::wcsnlen(value, length));
}

// The user's start-up folder as Explorer records it; the shell's own answer when the record
// is missing, so the shortcut never lands in the root of a drive.
std::optional<std::filesystem::path> StartupFolder() {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_READ, &key) == ERROR_SUCCESS) {
    wchar_t buffer[MAX_PATH * 4] = {};
    DWORD bytes = sizeof buffer - sizeof(wchar_t);
    DWORD type = 0;
    const LSTATUS status =
        ::RegQueryValueExW(key, L"Startup", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    ::RegCloseKey(key);
    if (status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) && buffer[0]) {
      if (type == REG_EXPAND_SZ) {
        wchar_t expanded[MAX_PATH * 4] = {};
        if (::ExpandEnvironmentStringsW(buffer, expanded, MAX_PATH * 4)) return std::filesystem::path(expanded);
      }
      return std::filesystem::path(buffer);
    }
  }
  PWSTR known = nullptr;
  std::optional<std::filesystem::path> folder;
  if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, &known)) && known) folder = known;
  ::CoTaskMemFree(known);
  return folder;
}

std::wstring FromUtf8(std::string_view utf8) {
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), n);
  return text;
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Text from the clipboard, empty when it holds none.
std::wstring ClipboardText(HWND owner) {
  std::wstring text;
  if (!::OpenClipboard(owner)) return text;
  if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(::GlobalLock(data))) {
      text = p;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

constexpr int kHotKeyLists[] = {IDC_CMBHOTKEYMODIFYTOACTIVATE, IDC_CMBHOTKEYTOACTIVATE, IDC_CMBHOTKEYMODIFYTOVISIBLE,
                                IDC_CMBHOTKEYTOVISIBLE};

bool IsHotKeyList(int id) {
  return std::find(std::begin(kHotKeyLists), std::end(kHotKeyLists), id) != std::end(kHotKeyLists);
}

}  // namespace

TfrmConfig::TfrmConfig(Environment env) : Dialog(IDD_CONFIG), env_(std::move(env)) {}

// The window goes first: its controls still use the fonts and the tab images.
TfrmConfig::~TfrmConfig() {
  if (Handle()) ::DestroyWindow(Handle());
}

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

// ---------------------------------------------------------------------------------------------
// Messages

HWND TfrmConfig::Control(int id) const {
  if (const HWND own = Item(id)) return own;
  for (const HWND page : pages_) {
    if (const HWND control = page ? ::GetDlgItem(page, id) : nullptr) return control;
  }
  return pnlFont_ ? ::GetDlgItem(pnlFont_, id) : nullptr;
}

INT_PTR CALLBACK TfrmConfig::PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    return FALSE;
  }
  if (msg == WM_MEASUREITEM) {  // comes before WM_INITDIALOG: the font list's heights
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (mi->CtlType != ODT_COMBOBOX) return FALSE;
    const int height = mi->itemID == static_cast<UINT>(-1) ? kFontFieldHeight : kFontItemHeight;
    mi->itemHeight = static_cast<UINT>(ScaleToDpi(height, DpiOf(hwnd)));
    return TRUE;
  }
  auto* self = reinterpret_cast<TfrmConfig*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  return Guarded(
      "settings dialog",
      [&]() -> INT_PTR {
        if (msg == WM_COMMAND) {
          self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
          return TRUE;
        }
        INT_PTR result = FALSE;
        return self->PageMessage(hwnd, msg, wParam, lParam, &result) ? result : FALSE;
      },
      [] { return INT_PTR{FALSE}; });
}

bool TfrmConfig::PageMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  switch (msg) {
    case WM_HSCROLL: {
      const HWND bar = reinterpret_cast<HWND>(lParam);
      if (bar == Control(IDC_TBAREDITMODE)) tbarEditModeChange();
      if (bar == Control(IDC_TBARVIEWMODE)) tbarViewModeChange();
      *result = 0;
      return true;
    }
    case WM_DRAWITEM: {
      const auto& di = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (di.CtlType == ODT_STATIC) DrawPreviewPanel(di);
      if (di.CtlType == ODT_COMBOBOX && di.CtlID == IDC_CMBFONTNAME) cmbFontNameDrawItem(di);
      *result = TRUE;
      return true;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      const HWND control = reinterpret_cast<HWND>(lParam);
      const int id = ::GetDlgCtrlID(control);
      if (id == IDC_EDTHINTSTART || id == IDC_EDTHINTTERM || IsHotKeyList(id)) {
        // The hint's fields and the hot-key lists look switched off with their check box.
        const int colour = ::IsWindowEnabled(control) ? COLOR_WINDOW : COLOR_INACTIVEBORDER;
        ::SetBkColor(dc, ::GetSysColor(colour));
        *result = reinterpret_cast<INT_PTR>(::GetSysColorBrush(colour));
        return true;
      }
      if (id == IDC_LBLURL) {
        ::SetTextColor(dc, RGB(0, 0, 255));
        ::SetBkMode(dc, TRANSPARENT);
        *result = reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

bool TfrmConfig::HandleMessage(UINT msg, WPARAM, LPARAM lParam, INT_PTR* result) {
  switch (msg) {
    case WM_CLOSE:
      // The close box: nothing is written and nothing is read again.
      EndModal(IDCANCEL);
      *result = TRUE;
      return true;
    case WM_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
      if (hdr->idFrom == IDC_PGCONFIG && hdr->code == TCN_SELCHANGE) {
        ShowPage(TabCtrl_GetCurSel(Item(IDC_PGCONFIG)));
        *result = TRUE;
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

bool TfrmConfig::PreTranslateMessage(MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  if (msg.hwnd != Handle() && !::IsChild(Handle(), msg.hwnd)) return false;
  if (msg.wParam == VK_TAB && ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0) {
    return TabToNextControl(msg, ::GetKeyState(VK_SHIFT) < 0);
  }
  // Ctrl+Tab and Ctrl+Page Down turn to the next page, with Shift or Page Up to the one before.
  if (::GetKeyState(VK_CONTROL) >= 0) return false;
  int step = 0;
  if (msg.wParam == VK_TAB) step = ::GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
  if (msg.wParam == VK_NEXT) step = 1;
  if (msg.wParam == VK_PRIOR) step = -1;
  if (step == 0) return false;
  const int current = TabCtrl_GetCurSel(Item(IDC_PGCONFIG));
  ShowPage((current + step + kPageCount) % kPageCount);
  return true;
}

bool TfrmConfig::TabToNextControl(MSG& msg, bool back) {
  const HWND focus = ::GetFocus();
  if (!focus || (::SendMessageW(focus, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&msg)) &
                 (DLGC_WANTTAB | DLGC_WANTALLKEYS))) {
    return false;
  }
  // The pages lie above the tab strip (made after it, put on top to be drawn over it), so the
  // dialog's own order is page, tab strip, O K, キャンセル. The order meant is the one the eye
  // follows: tab strip, the page shown, O K, キャンセル.
  const HWND tab = Item(IDC_PGCONFIG);
  const HWND ok = Item(IDOK);
  const HWND cancel = Item(IDCANCEL);
  const HWND page = pages_[static_cast<std::size_t>(std::max(0, TabCtrl_GetCurSel(tab)))];
  const auto inPage = [page](HWND w) { return w && ::IsChild(page, w); };
  const HWND firstInPage = ::GetNextDlgTabItem(Handle(), cancel, FALSE);
  const HWND lastInPage = ::GetNextDlgTabItem(Handle(), tab, TRUE);
  const HWND natural = ::GetNextDlgTabItem(Handle(), focus, back);
  HWND next = natural;
  if (!back) {
    if (focus == tab) next = inPage(firstInPage) ? firstInPage : ok;
    else if (inPage(focus) && !inPage(natural)) next = ok;
    else if (focus == cancel) next = tab;
  } else {
    if (focus == tab) next = cancel;
    else if (inPage(focus) && !inPage(natural)) next = tab;
    else if (focus == ok) next = inPage(lastInPage) ? lastInPage : tab;
  }
  if (!next) return false;
  ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
  return true;
}

void TfrmConfig::OnCommand(int id, int code, HWND) {
  if (id == IDOK) {
    btnOKClick();
    return;
  }
  if (id == IDCANCEL) {
    btnCancelClick();
    return;
  }
  if (loading_) return;
  if (id >= IDC_RADPREVIEWTITLE && id <= IDC_RADPREVIEWDONE) {
    if (code == BN_CLICKED) radPreviewClick();
    return;
  }
  if (id >= IDC_PNLPREVIEWTITLE && id <= IDC_PNLPREVIEWDONE) {
    if (code == STN_CLICKED) pnlPreviewClick(static_cast<UrgencyClass>(id - IDC_PNLPREVIEWTITLE));
    return;
  }
  switch (id) {
    case IDC_CMBFONTNAME:
      if (code == CBN_SELCHANGE) cmbFontChange(true);
      break;
    case IDC_CMBSIZE:
      if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE) cmbFontChange(false);
      break;
    case IDC_BTNFGCOLOR: btnFGColorClick(); break;
    case IDC_BTNBGCOLOR: btnBGColorClick(); break;
    case IDC_BTNPARALLELFONT: btnParallelFontClick(); break;
    case IDC_EDTROWHEIGHT:
    case IDC_EDTHINTSTART:
    case IDC_EDTHINTTERM:
      if (code == EN_KILLFOCUS) edtRowHeightExit(id);
      break;
    case IDC_CHKENABLEHINT: chkEnableHintClick(); break;
    case IDC_BTNFORCEWINDOWTOCENTER: btnForceWindowToCenterClick(); break;
    case IDC_BTNSETSTARTUP: UpdateStartupShortcut(true); break;
    case IDC_BTNDELSTARTUP: UpdateStartupShortcut(false); break;
    case IDC_CHKENABLEDHOTKEY:
    case IDC_CHKALARMLOOP: chkEnabledHotKeyClick(); break;
    case IDC_BTNALARMWAVSELECT: btnAlarmWavSelectClick(); break;
    case IDC_BTNALARMWAVTEST: btnAlarmWavTestClick(); break;
    case IDC_LBLURL:
      if (code == STN_CLICKED) lblUrlClick();
      break;
    default: break;
  }
}

LRESULT CALLBACK TfrmConfig::FieldProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  if (id == kNumberFieldSubclass) {
    // Digits only; the clipboard keys still work, and a paste keeps the digits it brings.
    if (msg == WM_CHAR && !NumberFieldAccepts(static_cast<wchar_t>(wParam))) return 0;
    if (msg == WM_PASTE) {
      const std::wstring digits = NumberFieldPaste(ClipboardText(hwnd));
      ::SendMessageW(hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(digits.c_str()));
      return 0;
    }
  }
  if (id == kHandCursorSubclass && msg == WM_SETCURSOR) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
  }
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &TfrmConfig::FieldProc, id);
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// Creation and showing

void TfrmConfig::OnCreate() { FormCreate(); }

void TfrmConfig::OnShow() { FormShow(); }

void TfrmConfig::CreatePages() {
  const HWND tab = Item(IDC_PGCONFIG);
  tabImages_.Reset(CreateMainImageList(Scale(kImageSize)));
  TabCtrl_SetImageList(tab, tabImages_.Get());
  for (std::size_t i = 0; i < kPages.size(); ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<wchar_t*>(kPages[i].caption);
    item.iImage = kPages[i].image;
    TabCtrl_InsertItem(tab, static_cast<int>(i), &item);
  }

  RECT area{};
  ::GetClientRect(tab, &area);
  TabCtrl_AdjustRect(tab, FALSE, &area);
  ::MapWindowPoints(tab, Handle(), reinterpret_cast<POINT*>(&area), 2);
  for (std::size_t i = 0; i < kPages.size(); ++i) {
    pages_[i] = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kPages[i].templateId), Handle(),
                                     &TfrmConfig::PageProc, reinterpret_cast<LPARAM>(this));
    // Above the page control, which would otherwise paint over them.
    ::SetWindowPos(pages_[i], HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   SWP_NOACTIVATE);
  }
  pnlFont_ = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CONFIG_FONTPANEL),
                                  pages_[kFontPage], &TfrmConfig::PageProc, reinterpret_cast<LPARAM>(this));
}

void TfrmConfig::PlaceFontPage() {
  RECT page{};
  ::GetClientRect(pages_[kFontPage], &page);
  const int width = page.right - Scale(kPanelLeft) - Scale(kPanelRightMargin);
  for (int i = 0; i < kUrgencyClassCount; ++i) {
    const auto c = static_cast<UrgencyClass>(i);
    const int top = Scale(PreviewPanelTop(c));
    ::MoveWindow(Control(RadioOf(c)), Scale(kRadioLeft), top + (Scale(kPanelHeight) - Scale(kRadioSize)) / 2,
                 Scale(kRadioSize), Scale(kRadioSize), FALSE);
    ::MoveWindow(Control(PanelOf(c)), Scale(kPanelLeft), top, width, Scale(kPanelHeight), FALSE);
  }
  // Over the previews, at the bottom to begin with.
  ::SetWindowPos(pnlFont_, HWND_TOP, Scale(kPanelLeft), Scale(kFontPanelLower), width, Scale(kFontPanelHeight),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::SendMessageW(Control(IDC_CMBFONTNAME), CB_SETITEMHEIGHT, 0, Scale(kFontItemHeight));
}

void TfrmConfig::FillFontNames() {
  // One entry per family; the vertical-writing "@" faces, and names the settings file could
  // not hold, are left out.
  std::set<std::wstring> names;
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  const WindowDc dc(Handle());
  ::EnumFontFamiliesExW(
      dc, &lf,
      [](const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) -> int {
        reinterpret_cast<std::set<std::wstring>*>(data)->insert(font->lfFaceName);
        return 1;
      },
      reinterpret_cast<LPARAM>(&names), 0);
  const HWND list = Control(IDC_CMBFONTNAME);
  for (const std::wstring& name : names) {
    if (name.empty() || name[0] == L'@' || !ToCp932(name).lossless) continue;
    AddItem(list, name);
  }
}

void TfrmConfig::FillImeNames() {
  const HWND list = Control(IDC_CMBIMELIST);
  HKL layouts[64];
  const int n = ::GetKeyboardLayoutList(64, layouts);
  for (int i = 0; i < n; ++i) {
    wchar_t name[256] = {};
    if (::ImmGetDescriptionW(layouts[i], name, 255) > 0 && ToCp932(name).lossless) AddItem(list, name);
  }
  AddItem(list, FromCp932(kNoImeName));
}

void TfrmConfig::FormCreate() {
  CreatePages();

  // 1. The about page: icon, name, version, and the link with its hint.
  aboutIcon_.Reset(CreateProgramIcon(32));
  ::SendMessageW(Control(IDC_IMGICON), STM_SETICON, reinterpret_cast<WPARAM>(aboutIcon_.Get()), 0);
  const std::wstring product = env_.applicationTitle;
  const std::wstring version = L"version " + FileVersionText(env_.exePath);
  ::SetWindowTextW(Control(IDC_LBLPRODUCTNAME), product.c_str());
  ::SetWindowTextW(Control(IDC_LBLVERSION), version.c_str());
  ::SetWindowTextW(Control(IDC_PNLHIDEABOUT), (product + L" " + version).c_str());
  LOGFONTW lf{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(Handle(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
  LOGFONTW big = lf;
  big.lfHeight = lf.lfHeight * 2;
  big.lfWeight = FW_BOLD;
  productFont_.Reset(::CreateFontIndirectW(&big));
  ::SendMessageW(Control(IDC_LBLPRODUCTNAME), WM_SETFONT, reinterpret_cast<WPARAM>(productFont_.Get()), FALSE);
  LOGFONTW underlined = lf;
  underlined.lfUnderline = TRUE;
  linkFont_.Reset(::CreateFontIndirectW(&underlined));
  ::SendMessageW(Control(IDC_LBLURL), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.Get()), FALSE);
  ::SetWindowTextW(Control(IDC_LBLURL), kHomePage);
  tooltips_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
  TTTOOLINFOW tip{};
  tip.cbSize = sizeof tip;
  tip.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tip.hwnd = pages_[5];
  tip.uId = reinterpret_cast<UINT_PTR>(Control(IDC_LBLURL));
  tip.lpszText = const_cast<wchar_t*>(L"クリックだ!");
  ::SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tip));

  // 2 and 3. The installed fonts and input methods.
  FillFontNames();
  FillImeNames();

  // The fixed lists and ranges.
  for (const std::int32_t size : kFontSizes) AddItem(Control(IDC_CMBSIZE), std::to_wstring(size));
  for (const int id : {IDC_CMBHOTKEYMODIFYTOACTIVATE, IDC_CMBHOTKEYMODIFYTOVISIBLE}) {
    for (const std::string_view m : kHotKeyModifiers) AddItem(Control(id), FromCp932(m));
  }
  for (const int id : {IDC_CMBHOTKEYTOACTIVATE, IDC_CMBHOTKEYTOVISIBLE}) {
    for (const std::string_view k : HotKeyKeys()) AddItem(Control(id), FromCp932(k));
  }
  for (const int id : {IDC_TBAREDITMODE, IDC_TBARVIEWMODE}) {
    const IntRange range = keys::EditMode.range;
    ::SendMessageW(Control(id), TBM_SETRANGE, FALSE, MAKELPARAM(range.min, range.max));
    ::SendMessageW(Control(id), TBM_SETTICFREQ, 10, 0);
    ::SendMessageW(Control(id), TBM_SETPAGESIZE, 0, 10);
  }
  const struct {
    int updown;
    IntRange range;
    int step;
  } updowns[] = {{IDC_UPDROWHEIGHT, keys::RowHeight.range, 1},
                 {IDC_UPDHINTSTART, keys::HintStart.range, 100},
                 {IDC_UPDHINTTERM, keys::HintTerm.range, 100}};
  for (const auto& u : updowns) {
    ::SendMessageW(Control(u.updown), UDM_SETRANGE32, u.range.min, u.range.max);
    UDACCEL accel{0, static_cast<UINT>(u.step)};
    ::SendMessageW(Control(u.updown), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  }

  // Numbers and the sound's path are typed without the input method.
  COMBOBOXINFO sizeBox{};
  sizeBox.cbSize = sizeof sizeBox;
  ::GetComboBoxInfo(Control(IDC_CMBSIZE), &sizeBox);
  for (const HWND field : {Control(IDC_EDTROWHEIGHT), Control(IDC_EDTHINTSTART), Control(IDC_EDTHINTTERM),
                           sizeBox.hwndItem, Control(IDC_EDTALARMWAV)}) {
    if (field) ::ImmAssociateContextEx(field, nullptr, 0);
  }
  for (const int id : kNumberFields) {
    ::SetWindowSubclass(Control(id), &TfrmConfig::FieldProc, kNumberFieldSubclass, 0);
  }
  for (const int id : {IDC_EDTALARMWAV, IDC_LBLURL}) {
    ::SetWindowSubclass(Control(id), &TfrmConfig::FieldProc, kHandCursorSubclass, 0);
  }
  ::SendMessageW(Control(IDC_EDTALARMWAV), EM_LIMITTEXT, 256, 0);

  PlaceFontPage();
  ShowPage(0);
}

void TfrmConfig::FormShow() {
  SettingsReloadPending = false;
  SettingsShown = true;

  // 4. Today in the three forms; a dialog kept open over midnight is seldom, a run over days not.
  const auto samples = DateFormatSamples(env_.clock.Now());
  for (int i = 0; i < 3; ++i) {
    ::SetWindowTextW(Control(IDC_RADDATEFORMAT0 + i), FromCp932(samples[static_cast<std::size_t>(i)]).c_str());
  }

  const std::string folder = Cp932(env_.exePath.parent_path().wstring() + L"\\");
  LoadControls(ReadConfigPage(env_.profile, &SystemColour, folder));

  // The Title radio button ends checked, and its font is in the lists even when it was
  // checked before.
  pnlPreviewClick(UrgencyClass::Expiration);
  pnlPreviewClick(UrgencyClass::Title);
  chkEnableHintClick();
  chkEnabledHotKeyClick();
  tbarEditModeChange();
  tbarViewModeChange();
  ShowPage(0);
  ::PostMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_PGCONFIG)), TRUE);
}

void TfrmConfig::ShowPage(int index) {
  if (index < 0 || index >= kPageCount) index = 0;
  const HWND tab = Item(IDC_PGCONFIG);
  TabCtrl_SetCurSel(tab, index);
  const HWND focus = ::GetFocus();
  bool focusHidden = false;
  for (int i = 0; i < kPageCount; ++i) {
    const HWND page = pages_[static_cast<std::size_t>(i)];
    if (i != index && (focus == page || ::IsChild(page, focus))) focusHidden = true;
    ::ShowWindow(page, i == index ? SW_SHOWNA : SW_HIDE);
  }
  // The keyboard never stays on a page that went out of sight.
  if (focusHidden) ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tab), TRUE);
}

void TfrmConfig::LoadControls(const ConfigPage& c) {
  const ScopedFlag loading(loading_);
  ::SendMessageW(Control(IDC_TBAREDITMODE), TBM_SETPOS, TRUE, c.EditMode);
  ::SendMessageW(Control(IDC_TBARVIEWMODE), TBM_SETPOS, TRUE, c.ViewMode);
  Check(Control(IDC_CHKEDITNOTRANSPARENT), c.EditNoTransparent);
  Check(Control(IDC_CHKVIEWNOTRANSPARENT), c.ViewNoTransparent);
  for (int i = 0; i < 3; ++i) Check(Control(IDC_RADHIDEMODE0 + i), i == static_cast<int>(c.hideMode));
  Check(Control(IDC_CHKTOPMOST), c.TopMost);

  panels_ = c.Classes;
  const HWND fontList = Control(IDC_CMBFONTNAME);
  for (int i = 0; i < kUrgencyClassCount; ++i) {
    // A name that is not an installed family (a substitute such as the dialog's own font, or a
    // font since removed) joins the list, so that a change of size keeps it.
    const std::wstring name = FromCp932(panels_[static_cast<std::size_t>(i)].FontName);
    const auto items = ComboItems(fontList);
    if (!name.empty() && std::find(items.begin(), items.end(), name) == items.end()) AddItem(fontList, name);
    RefreshPreview(static_cast<UrgencyClass>(i));
  }

  ::SendMessageW(Control(IDC_UPDROWHEIGHT), UDM_SETPOS32, 0, c.RowHeight);
  Check(Control(IDC_RADDONEDOWN), c.DoneDown);
  Check(Control(IDC_RADDONEIGNORE), !c.DoneDown);
  Check(Control(IDC_CHKENABLEHINT), c.HintEnabled);
  ::SendMessageW(Control(IDC_UPDHINTSTART), UDM_SETPOS32, 0, c.HintStart);
  ::SendMessageW(Control(IDC_UPDHINTTERM), UDM_SETPOS32, 0, c.HintTerm);
  Check(Control(IDC_CHKHINTFULLPATH), c.HintFullPath);
  for (int i = 0; i < 3; ++i) {
    Check(Control(IDC_RADDATEFORMAT0 + i), i == c.DateFormat);
    Check(Control(IDC_RADLBLCALENDAR0 + i), i == c.LblCalendar);
  }
  Check(Control(IDC_CHKSHOWDATEROW), c.ShowDateRow);
  Check(Control(IDC_CHKSHOWCOUNTROW), c.ShowCountRow);

  Check(Control(IDC_RADUPDECDOWNINC), c.DateCursorTurn);
  Check(Control(IDC_RADUPINCDOWNDEC), !c.DateCursorTurn);
  Check(Control(IDC_RADSAVEONLOSTFOCUS), c.SaveOnLostFocus);
  Check(Control(IDC_RADSAVEONEXIT), !c.SaveOnLostFocus);
  Check(Control(IDC_RADDAYFINISHED), c.FinishedDayChange);
  Check(Control(IDC_RADDAYIGNORE), !c.FinishedDayChange);
  SelectComboText(Control(IDC_CMBIMELIST), FromCp932(c.IMEName));
  Check(Control(IDC_CHKIMEONOFF), c.IMEOnOff);

  Check(Control(IDC_CHKENABLEDHOTKEY), c.HotKeyEnabled);
  SelectComboText(Control(IDC_CMBHOTKEYMODIFYTOACTIVATE), FromCp932(c.ModifyToActivate));
  SelectComboText(Control(IDC_CMBHOTKEYTOACTIVATE), FromCp932(c.ToActivate));
  SelectComboText(Control(IDC_CMBHOTKEYMODIFYTOVISIBLE), FromCp932(c.ModifyToVisible));
  SelectComboText(Control(IDC_CMBHOTKEYTOVISIBLE), FromCp932(c.ToVisible));
  ::SetWindowTextW(Control(IDC_EDTALARMWAV), FromCp932(c.AlarmWav).c_str());
  Check(Control(IDC_CHKALARMLOOP), c.AlarmLoop);
  Check(Control(IDC_CHKSYNCENABLE), c.SyncEnabled);
}

ConfigPage TfrmConfig::ReadControls() const {
  ConfigPage c;
  c.EditMode = static_cast<std::int32_t>(::SendMessageW(Control(IDC_TBAREDITMODE), TBM_GETPOS, 0, 0));
  c.ViewMode = static_cast<std::int32_t>(::SendMessageW(Control(IDC_TBARVIEWMODE), TBM_GETPOS, 0, 0));
  c.EditNoTransparent = Checked(Control(IDC_CHKEDITNOTRANSPARENT));
  c.ViewNoTransparent = Checked(Control(IDC_CHKVIEWNOTRANSPARENT));
  c.hideMode = HideMode::None;
  for (int i = 0; i < 3; ++i) {
    if (Checked(Control(IDC_RADHIDEMODE0 + i))) c.hideMode = static_cast<HideMode>(i);
  }
  c.TopMost = Checked(Control(IDC_CHKTOPMOST));
  c.Classes = panels_;

  c.RowHeight = NumberFieldValue(TextOf(Control(IDC_EDTROWHEIGHT)), keys::RowHeight.range);
  c.DoneDown = Checked(Control(IDC_RADDONEDOWN));
  c.HintEnabled = Checked(Control(IDC_CHKENABLEHINT));
  c.HintStart = NumberFieldValue(TextOf(Control(IDC_EDTHINTSTART)), keys::HintStart.range);
  c.HintTerm = NumberFieldValue(TextOf(Control(IDC_EDTHINTTERM)), keys::HintTerm.range);
  c.HintFullPath = Checked(Control(IDC_CHKHINTFULLPATH));
  // No item checked keeps the first, the form and the clock the list shows first.
  for (int i = 0; i < 3; ++i) {
    if (Checked(Control(IDC_RADDATEFORMAT0 + i))) c.DateFormat = i;
    if (Checked(Control(IDC_RADLBLCALENDAR0 + i))) c.LblCalendar = i;
  }
  c.ShowDateRow = Checked(Control(IDC_CHKSHOWDATEROW));
  c.ShowCountRow = Checked(Control(IDC_CHKSHOWCOUNTROW));

  c.DateCursorTurn = Checked(Control(IDC_RADUPDECDOWNINC));
  c.SaveOnLostFocus = Checked(Control(IDC_RADSAVEONLOSTFOCUS));
  c.FinishedDayChange = Checked(Control(IDC_RADDAYFINISHED));
  c.IMEName = Cp932(SelectedText(Control(IDC_CMBIMELIST)));
  c.IMEOnOff = Checked(Control(IDC_CHKIMEONOFF));

  c.HotKeyEnabled = Checked(Control(IDC_CHKENABLEDHOTKEY));
  c.ModifyToActivate = Cp932(SelectedText(Control(IDC_CMBHOTKEYMODIFYTOACTIVATE)));
  c.ToActivate = Cp932(SelectedText(Control(IDC_CMBHOTKEYTOACTIVATE)));
  c.ModifyToVisible = Cp932(SelectedText(Control(IDC_CMBHOTKEYMODIFYTOVISIBLE)));
  c.ToVisible = Cp932(SelectedText(Control(IDC_CMBHOTKEYTOVISIBLE)));
  c.AlarmWav = Cp932(TextOf(Control(IDC_EDTALARMWAV)));
  c.AlarmLoop = Checked(Control(IDC_CHKALARMLOOP));
  c.SyncEnabled = Checked(Control(IDC_CHKSYNCENABLE));
  return c;
}

// ---------------------------------------------------------------------------------------------
// 不可視化

void TfrmConfig::tbarEditModeChange() {
  const LRESULT value = ::SendMessageW(Control(IDC_TBAREDITMODE), TBM_GETPOS, 0, 0);
  ::SetWindowTextW(Control(IDC_LBLPUTEDIT), (std::to_wstring(value) + L"%").c_str());
}

void TfrmConfig::tbarViewModeChange() {
  const LRESULT value = ::SendMessageW(Control(IDC_TBARVIEWMODE), TBM_GETPOS, 0, 0);
  ::SetWindowTextW(Control(IDC_LBLPUTVIEW), (std::to_wstring(value) + L"%").c_str());
}

// ---------------------------------------------------------------------------------------------
// 文字

UrgencyClass TfrmConfig::SelectedPreviewPanel() const {
  std::array<bool, kUrgencyClassCount> checked{};
  for (int i = 0; i < kUrgencyClassCount; ++i) {
    checked[static_cast<std::size_t>(i)] = Checked(Control(RadioOf(static_cast<UrgencyClass>(i))));
  }
  return lq::SelectedPreviewPanel(checked);
}

void TfrmConfig::pnlPreviewClick(UrgencyClass panel) {
  for (int i = 0; i < kUrgencyClassCount; ++i) {
    const auto c = static_cast<UrgencyClass>(i);
    Check(Control(RadioOf(c)), c == panel);
  }
  radPreviewClick();
}

void TfrmConfig::radPreviewClick() {
  const UrgencyClass panel = SelectedPreviewPanel();
  if (const auto top = FontPanelTopFor(PreviewPanelTop(panel))) {
    ::SetWindowPos(pnlFont_, HWND_TOP, Scale(kPanelLeft), Scale(*top), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  }
  SelectFontLists(panels_[Index(panel)]);
}

void TfrmConfig::SelectFontLists(const ClassStyle& style) {
  const ScopedFlag loading(loading_);
  SelectComboText(Control(IDC_CMBFONTNAME), FromCp932(style.FontName));
  // A size the list does not offer is shown as it is, not as the list's first size.
  const HWND sizes = Control(IDC_CMBSIZE);
  const std::wstring size = std::to_wstring(style.FontSize);
  const auto items = ComboItems(sizes);
  const auto found = std::find(items.begin(), items.end(), size);
  if (found != items.end()) {
    ::SendMessageW(sizes, CB_SETCURSEL, static_cast<WPARAM>(found - items.begin()), 0);
  } else {
    ::SendMessageW(sizes, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ::SetWindowTextW(sizes, size.c_str());
  }
}

void TfrmConfig::cmbFontChange(bool nameChanged) {
  ClassStyle& style = panels_[Index(SelectedPreviewPanel())];
  const HWND names = Control(IDC_CMBFONTNAME);
  const HWND sizes = Control(IDC_CMBSIZE);
  const std::wstring name = SelectedText(names);
  if (!name.empty()) style.FontName = Cp932(name);
  // While a size is being chosen from the list its field still shows the old one.
  const LRESULT chosen = ::SendMessageW(sizes, CB_GETCURSEL, 0, 0);
  const std::wstring size = !nameChanged && chosen != CB_ERR ? ComboItem(sizes, chosen) : TextOf(sizes);
  style.FontSize = FontSizeOfText(Cp932(size));
  RefreshPreview(SelectedPreviewPanel());
}

void TfrmConfig::btnParallelFontClick() {
  const std::wstring name = SelectedText(Control(IDC_CMBFONTNAME));
  const std::int32_t size = FontSizeOfText(Cp932(TextOf(Control(IDC_CMBSIZE))));
  for (int i = 1; i < kUrgencyClassCount; ++i) {
    ClassStyle& style = panels_[static_cast<std::size_t>(i)];
    if (!name.empty()) style.FontName = Cp932(name);
    style.FontSize = size;
    RefreshPreview(static_cast<UrgencyClass>(i));
  }
}

bool TfrmConfig::ChooseColour(ColorValue& colour) {
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = Handle();
  cc.rgbResult = ResolveColor(colour, &SystemColour);
  cc.lpCustColors = customColours_.data();
  cc.Flags = CC_FULLOPEN | CC_RGBINIT;
  if (!::ChooseColorW(&cc)) return false;
  colour = cc.rgbResult & 0x00FFFFFFu;  // always a plain colour, never a system colour
  return true;
}

void TfrmConfig::btnFGColorClick() {
  const UrgencyClass panel = SelectedPreviewPanel();
  if (ChooseColour(panels_[Index(panel)].TextColor)) RefreshPreview(panel);
}

void TfrmConfig::btnBGColorClick() {
  const UrgencyClass panel = SelectedPreviewPanel();
  if (ChooseColour(panels_[Index(panel)].BackColor)) RefreshPreview(panel);
}

void TfrmConfig::RefreshPreview(UrgencyClass panel) {
  panelFonts_[Index(panel)].Reset();
  ::InvalidateRect(Control(PanelOf(panel)), nullptr, TRUE);
}

HFONT TfrmConfig::PreviewFont(UrgencyClass panel) {
  Font& font = panelFonts_[Index(panel)];
  if (!font) {
    const ClassStyle& style = panels_[Index(panel)];
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(style.FontSize, ::GetDeviceCaps(WindowDc(nullptr), LOGPIXELSY), 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = FromCp932(style.FontName);
    ::lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    font.Reset(::CreateFontIndirectW(&lf));
  }
  return font.Get();
}

void TfrmConfig::DrawPreviewPanel(const DRAWITEMSTRUCT& di) {
  const int id = static_cast<int>(di.CtlID);
  if (id < IDC_PNLPREVIEWTITLE || id > IDC_PNLPREVIEWDONE) return;
  const auto panel = static_cast<UrgencyClass>(id - IDC_PNLPREVIEWTITLE);
  const ClassStyle& style = panels_[Index(panel)];
  RECT rc = di.rcItem;
  ::SetDCBrushColor(di.hDC, ResolveColor(style.BackColor, &SystemColour));
  ::FillRect(di.hDC, &rc, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  ::DrawEdge(di.hDC, &rc, EDGE_SUNKEN, BF_RECT);
  wchar_t caption[128] = {};
  ::GetWindowTextW(di.hwndItem, caption, 128);
  SelectGuard font(di.hDC, PreviewFont(panel));
  ::SetTextColor(di.hDC, ResolveColor(style.TextColor, &SystemColour));
  ::SetBkMode(di.hDC, TRANSPARENT);
  ::InflateRect(&rc, -Scale(6), -Scale(2));
  ::DrawTextW(di.hDC, caption, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void TfrmConfig::cmbFontNameDrawItem(const DRAWITEMSTRUCT& di) {
  const bool selected = (di.itemState & ODS_SELECTED) != 0;
  RECT rc = di.rcItem;
  ::FillRect(di.hDC, &rc, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (di.itemID == static_cast<UINT>(-1)) return;
  const std::wstring name = ComboItem(di.hwndItem, static_cast<LRESULT>(di.itemID));
  // The closed list in the dialog's font; the open list shows each name in its own font.
  Font own;
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(Handle(), WM_GETFONT, 0, 0));
  if (!(di.itemState & ODS_COMBOBOXEDIT)) {
    LOGFONTW lf{};
    ::GetObjectW(font, sizeof lf, &lf);
    lf.lfHeight = lf.lfHeight * 3 / 2;
    lf.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(lf.lfFaceName, name.c_str(), LF_FACESIZE);
    own.Reset(::CreateFontIndirectW(&lf));
    font = own.Get();
  }
  SelectGuard keep(di.hDC, font);
  ::SetTextColor(di.hDC, selected ? RGB(255, 255, 255) : ::GetSysColor(COLOR_WINDOWTEXT));
  ::SetBkMode(di.hDC, TRANSPARENT);
  ::DrawTextW(di.hDC, name.c_str(), -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// ---------------------------------------------------------------------------------------------
// 表示

void TfrmConfig::edtRowHeightExit(int fieldId) {
  const IntRange range = fieldId == IDC_EDTROWHEIGHT  ? keys::RowHeight.range
                         : fieldId == IDC_EDTHINTSTART ? keys::HintStart.range
                                                       : keys::HintTerm.range;
  const HWND field = Control(fieldId);
  const std::wstring kept = std::to_wstring(NumberFieldValue(TextOf(field), range));
  if (TextOf(field) != kept) ::SetWindowTextW(field, kept.c_str());
}

void TfrmConfig::chkEnableHintClick() {
  const bool on = Checked(Control(IDC_CHKENABLEHINT));
  for (const int id : {IDC_EDTHINTSTART, IDC_UPDHINTSTART, IDC_EDTHINTTERM, IDC_UPDHINTTERM, IDC_CHKHINTFULLPATH}) {
    ::EnableWindow(Control(id), on);
  }
  for (const int id : {IDC_EDTHINTSTART, IDC_EDTHINTTERM}) ::InvalidateRect(Control(id), nullptr, TRUE);
}

// ---------------------------------------------------------------------------------------------
// 動作

void TfrmConfig::btnForceWindowToCenterClick() {
  // The main window is hidden while the dialog is open; it shows up there when it comes back.
  const HWND main = ::GetWindow(Handle(), GW_OWNER);
  if (!main) return;
  RECT rc{};
  ::GetWindowRect(main, &rc);
  const int left = (::GetSystemMetrics(SM_CXSCREEN) - (rc.right - rc.left)) / 2;
  const int top = (::GetSystemMetrics(SM_CYSCREEN) - (rc.bottom - rc.top)) / 2;
  ::SetWindowPos(main, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmConfig::UpdateStartupShortcut(bool create) {
  const auto folder = StartupFolder();
  if (!folder) {
    ShowBox(Handle(), BoxKind::Error, L"スタートアップフォルダが見つかりません。");
    return;
  }
  const std::filesystem::path link = *folder / (env_.applicationTitle + L".lnk");
  if (!create) {
    if (!::DeleteFileW(link.c_str()) && IsFile(link.wstring())) {
      ShowBox(Handle(), BoxKind::Error, link.wstring() + L" を削除できませんでした。");
    }
    return;
  }
  bool saved = false;
  if (env_.ensureCom()) {
    ComPtr<IShellLinkW> shellLink;
    ComPtr<IPersistFile> file;
    const std::wstring workingFolder = env_.exePath.parent_path().wstring() + L"\\";
    saved = SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                         shellLink.PutVoid())) &&
            SUCCEEDED(shellLink->SetArguments(L"")) && SUCCEEDED(shellLink->SetPath(env_.exePath.c_str())) &&
            SUCCEEDED(shellLink->SetWorkingDirectory(workingFolder.c_str())) &&
            SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, file.PutVoid())) &&
            SUCCEEDED(file->Save(link.c_str(), FALSE));
  }
  if (!saved) ShowBox(Handle(), BoxKind::Error, link.wstring() + L" を作成できませんでした。");
}

void TfrmConfig::chkEnabledHotKeyClick() {
  const bool on = Checked(Control(IDC_CHKENABLEDHOTKEY));
  for (const int id : kHotKeyLists) ::EnableWindow(Control(id), on);
}

void TfrmConfig::btnAlarmWavSelectClick() {
  const std::filesystem::path current(TextOf(Control(IDC_EDTALARMWAV)));
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring name = current.filename().wstring();
  ::lstrcpynW(file.data(), name.c_str(), static_cast<int>(file.size()));
  const std::wstring folder = current.parent_path().wstring();
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Handle();
  ofn.lpstrFilter = L"WAV ファイル (*.wav)\0*.wav\0";
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrDefExt = L"WAV";
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (!::GetOpenFileNameW(&ofn)) return;
  const std::wstring chosen = file.data();
  if (!ToCp932(chosen).lossless) {
    ShowBox(Handle(), BoxKind::Information,
            L"設定ファイルに保存できない文字がパスに含まれているため、このファイルは使えません。\r\n" + chosen);
    return;
  }
  ::SetWindowTextW(Control(IDC_EDTALARMWAV), chosen.c_str());
}

void TfrmConfig::btnAlarmWavTestClick() {
  const std::wstring path = TextOf(Control(IDC_EDTALARMWAV));
  if (!IsFile(path)) {
    ShowBox(Handle(), BoxKind::Information, L"ファイル " + path + L"が見つかりません。");
    return;
  }
  ::PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
}

// ---------------------------------------------------------------------------------------------
// 情報

void TfrmConfig::lblUrlClick() { ::ShellExecuteW(Handle(), L"open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL); }

// ---------------------------------------------------------------------------------------------
// OK and キャンセル

void TfrmConfig::btnOKClick() {
  // Enter does not take the focus from a number field: keep what leaving it would keep.
  for (const int id : kNumberFields) edtRowHeightExit(id);
  const ConfigPage page = ReadControls();

  if (SameHotKeys(page)) {
    ShowPage(kBehaviourPage);
    ShowBox(Handle(), BoxKind::Information, L"アクティブ化ホットキーと表示・非表示ホットキーの設定が同じです。");
    return;
  }
  const std::wstring wav = TextOf(Control(IDC_EDTALARMWAV));
  if (!ToCp932(wav).lossless) {
    ShowPage(kBehaviourPage);
    ShowBox(Handle(), BoxKind::Information,
            L"設定ファイルに保存できない文字がWAVファイルのパスに含まれています。\r\n" + wav);
    ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(IDC_EDTALARMWAV)), TRUE);
    return;
  }

  // Every key in one replacement of the file. One that cannot be written leaves the file as
  // it was; the dialog stays open and nothing is read again.
  Profile::Edit edit(env_.profile);
  if (WriteConfigPage(env_.profile, page) != nullptr || !edit.Commit()) {
    ShowBox(Handle(), BoxKind::Error, FromUtf8(WriteFailureMessage(env_.settingsPath)));
    return;
  }
  SettingsReloadPending = true;
  EndModal(IDOK);
}

void TfrmConfig::btnCancelClick() {
  SettingsReloadPending = true;
  EndModal(IDCANCEL);
}

}  // namespace lq::win
