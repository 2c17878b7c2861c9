// The list as a screen reader finds it from its own process: the object behind the grid's
// WM_GETOBJECT (oleacc), and the events raised when the current task changes.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "driver.h"
#include "mainwindow/automation.h"

namespace lq::e2e {
namespace {

using namespace automation;
using ScreenReader = App;

std::vector<HWND> ChildrenOf(HWND main, const wchar_t* className) {
  struct Search {
    const wchar_t* className;
    std::vector<HWND> found;
  } search{className, {}};
  EnumChildWindows(
      main,
      [](HWND child, LPARAM p) -> BOOL {
        auto* search = reinterpret_cast<Search*>(p);
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        if (lstrcmpiW(cls, search->className) == 0) search->found.push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND GridOf(HWND main) {
  const std::vector<HWND> grids = ChildrenOf(main, L"TLqTaskGrid");
  return grids.empty() ? nullptr : grids.front();
}

// The window's object as a screen reader asks for it (oleacc.dll is loaded here, since libuuid
// already defines its interface id).
IAccessible* ObjectOf(HWND hwnd) {
  using FromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
  static const auto fromWindow = reinterpret_cast<FromWindow>(
      reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"oleacc.dll"), "AccessibleObjectFromWindow")));
  IAccessible* object = nullptr;
  if (fromWindow) fromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(&object));
  return object;
}

// "3月15日(金)" for a task due `days` from today (the year only when it is not this one).
std::wstring SpokenDate(int days) {
  const std::string d = DueDate(days);  // yyyy/mm/dd(aaa)
  std::wstring s;
  if (d.substr(0, 4) != DueDate(0).substr(0, 4)) s += Wide(d.substr(0, 4)) + L"年";
  s += std::to_wstring(std::stoi(d.substr(5, 2))) + L"月" + std::to_wstring(std::stoi(d.substr(8, 2))) + L"日";
  return s + Wide(d.substr(10));
}

VARIANT Child(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::wstring NameOf(IAccessible* a, long id) {
  BSTR name = nullptr;
  if (FAILED(a->get_accName(Child(id), &name)) || !name) return L"(none)";
  std::wstring s(name, SysStringLen(name));
  SysFreeString(name);
  return s;
}

long IntOf(HRESULT hr, const VARIANT& v) { return SUCCEEDED(hr) && v.vt == VT_I4 ? v.lVal : -1; }

long RoleOf(IAccessible* a, long id) {
  VARIANT v;
  VariantInit(&v);
  return IntOf(a->get_accRole(Child(id), &v), v);
}

long SelectedAndFocused(IAccessible* a, long id) {
  VARIANT v;
  VariantInit(&v);
  return IntOf(a->get_accState(Child(id), &v), v) & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
}

struct Com {
  Com() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~Com() { CoUninitialize(); }
};

TEST_F(ScreenReader, TheListIsItsTasksNamedAsTheyReadAndTheEditorAndButtonsSayWhatTheyAre) {
  Tasks({TaskLine(-2, false, "提出"), TaskLine(0, false, "07:00 起床", "", "A"),
         TaskLine(0, false, "会議の資料", "C:\\資料\\表.txt"), TaskLine(0, true, "電話", "https://example.jp/")});
  Session& w = Start();
  Com com;
  // The window opens with the text editor on the first task; the header buttons say their hints.
  const std::vector<HWND> editors = ChildrenOf(w.window, L"Edit");
  ASSERT_EQ(editors.size(), 1u);
  IAccessible* editor = ObjectOf(editors[0]);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(NameOf(editor, CHILDID_SELF), L"予定の内容（" + SpokenDate(-2) + L"、2日超過）");
  editor->Release();
  // The date picker is made when first opened, and named then.
  Chord({VK_CONTROL, VK_TAB});
  ASSERT_EQ(w.Editors() & kDatePickerFocused, kDatePickerFocused);
  const std::vector<HWND> pickers = ChildrenOf(w.window, L"SysDateTimePick32");
  ASSERT_EQ(pickers.size(), 1u);
  IAccessible* picker = ObjectOf(pickers[0]);
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(NameOf(picker, CHILDID_SELF), L"期限（提出）");
  picker->Release();
  std::vector<std::wstring> buttons;
  for (const HWND b : ChildrenOf(w.window, L"Button")) {
    if (IAccessible* button = ObjectOf(b)) {
      buttons.push_back(NameOf(button, CHILDID_SELF));
      button->Release();
    }
  }
  std::sort(buttons.begin(), buttons.end());
  EXPECT_EQ(buttons, (std::vector<std::wstring>{L"システムメニュー", L"予定の削除", L"予定の追加", L"添付ファイルメニュー",
                                                L"編集メニュー"}));

  Press(VK_RETURN);  // to the list
  ASSERT_EQ(w.Editors() & kListFocused, kListFocused);
  const HWND grid = GridOf(w.window);
  ASSERT_NE(grid, nullptr);
  IAccessible* raw = ObjectOf(grid);
  ASSERT_NE(raw, nullptr);
  long count = 0;
  EXPECT_EQ(raw->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(RoleOf(raw, CHILDID_SELF), ROLE_SYSTEM_LIST);
  const std::wstring today = SpokenDate(0);
  const std::pair<const wchar_t*, std::wstring> rows[] = {
      {L"overdue", SpokenDate(-2) + L"、2日超過、提出"},
      {L"alarm", today + L"、今日まで、07:00 起床、アラームあり"},
      {L"file", today + L"、今日まで、会議の資料、添付ファイルあり"},
      {L"done, web address", today + L"、済、電話、URLあり"},
  };
  for (long id = 1; id <= 4; ++id) {
    SCOPED_TRACE(rows[id - 1].first);
    EXPECT_EQ(RoleOf(raw, id), ROLE_SYSTEM_LISTITEM);
    EXPECT_EQ(NameOf(raw, id), rows[id - 1].second);
    EXPECT_EQ(SelectedAndFocused(raw, id), id == 1 ? STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED : 0);
  }
  Press(VK_DOWN);
  EXPECT_EQ(SelectedAndFocused(raw, 2), STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
  EXPECT_EQ(SelectedAndFocused(raw, 1), 0);
  raw->Release();

}

std::vector<std::pair<DWORD, LONG>> gEvents;  // event and child id, of the grid's client area
HWND gGrid = nullptr;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  if (hwnd == gGrid && object == OBJID_CLIENT) gEvents.emplace_back(event, child);
}

bool Seen(DWORD event, LONG child) {
  for (const auto& e : gEvents) {
    if (e.first == event && e.second == child) return true;
  }
  return false;
}

TEST_F(ScreenReader, MovingToAnotherTaskRaisesFocusAndSelectionForIt) {
  Tasks({TaskLine(0, false, "一"), TaskLine(1, false, "二"), TaskLine(2, false, "三")});
  Session& w = Start();
  Press(VK_RETURN);
  ASSERT_EQ(w.Editors() & kListFocused, kListFocused);
  gGrid = GridOf(w.window);
  ASSERT_NE(gGrid, nullptr);
  gEvents.clear();
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_SELECTION, nullptr, &OnEvent,
                                             w.program.ProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  Press(VK_DOWN);
  EXPECT_TRUE(WaitUntil([] { return Seen(EVENT_OBJECT_FOCUS, 2) && Seen(EVENT_OBJECT_SELECTION, 2); }));
  Press(VK_END);
  EXPECT_TRUE(WaitUntil([] { return Seen(EVENT_OBJECT_FOCUS, 3) && Seen(EVENT_OBJECT_SELECTION, 3); }));
  EXPECT_FALSE(Seen(EVENT_OBJECT_FOCUS, 1)) << "no event for a task the user did not move to";

  // Deleting the first task puts the next one in its row: that is news too.
  Press(VK_HOME);
  ASSERT_TRUE(WaitUntil([] { return Seen(EVENT_OBJECT_FOCUS, 1) && Seen(EVENT_OBJECT_SELECTION, 1); }));
  gEvents.clear();
  Press(VK_DELETE);
  const auto box = w.program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  Program::Answer(*box, IDYES);
  EXPECT_TRUE(WaitUntil([&] { return w.program.Cell(2, 1) == Sj("二") && Seen(EVENT_OBJECT_SELECTION, 1); }));
  UnhookWinEvent(hook);
}

}  // namespace
}  // namespace lq::e2e
