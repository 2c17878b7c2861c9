// The task list as a screen reader sees it, its objects called directly in this process (the
// end-to-end tests ask for them as a client does); what WM_GETOBJECT hands out is caught by
// putting our own LresultFromObject in place.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes.h"
#include "mainwindow/gridaccessible.h"
#include "mainwindow/taskgrid.h"
#include "platform/com.h"
#include "platform/oleacc.h"
#include "sjis.h"

namespace lq::win {
namespace {

VARIANT Child(long id) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::wstring NameOf(IAccessible* a, long id) {
  BSTR name = nullptr;
  if (FAILED(a->get_accName(Child(id), &name)) || !name) return L"(none)";
  std::wstring s(name, ::SysStringLen(name));
  ::SysFreeString(name);
  return s;
}

long StateOf(IAccessible* a, long id) {
  VARIANT v;
  ::VariantInit(&v);
  a->get_accState(Child(id), &v);
  return v.vt == VT_I4 ? v.lVal : -1;
}

long RoleOf(IAccessible* a, long id) {
  VARIANT v;
  ::VariantInit(&v);
  a->get_accRole(Child(id), &v);
  return v.vt == VT_I4 ? v.lVal : -1;
}

long ChildIn(const VARIANT& v) { return v.vt == VT_I4 ? v.lVal : -1; }

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

TaskRow Row(const char* due, const char* days, const char* text, const char* attachment, const char* flags) {
  return TaskRow{testing::Sj(due), testing::Sj(days), testing::Sj(text), "20240315090000000", testing::Sj(attachment),
                 flags};
}

// A grid of four tasks in a window of its own, three rows high.
class GridWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<TaskRow> rows{TaskRow{},
                              Row("2024/03/14(木)", "-1", "提出", "", "-"),
                              Row("2024/03/15(金)", "0", "07:00 起床", "", "A"),
                              Row("2024/03/18(月)", "3", "会議の資料", "C:\\資料.txt", ""),
                              Row("2024/03/15(金)", "済", "電話", "https://example.jp/", "")};
    list_.Table() = TaskTable(rows);
    list_.Table().SetHeaderCaptions();
    list_.SetVisibleRowCount(3);
    parent_ = ::CreateWindowExW(0, L"STATIC", L"accessible test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 200,
                                nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(grid_.Create(parent_, 100), nullptr);
    ::MoveWindow(grid_.Handle(), 0, 0, 360, 4 * 17 + 4, TRUE);
    list_.SetCurrentRow(1);
    grid_.Refresh();
    Pump();
  }
  void TearDown() override {
    SetOleaccForTests(nullptr);
    ::DestroyWindow(parent_);
  }

  testing::FakeClock clock_{DateTime{Date{2024, 3, 15}, 9, 30, 0, 0}};
  ByteCollation collation_;
  TaskList list_{clock_, collation_};
  TaskGrid grid_{list_, TaskGrid::Callbacks{}};
  HWND parent_ = nullptr;
};

TEST_F(GridWindow, IsAListOfTheTasksEachNamedAsItReads) {
  IAccessible* a = grid_.Accessible();
  ASSERT_NE(a, nullptr);
  long count = 0;
  ASSERT_EQ(a->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(RoleOf(a, CHILDID_SELF), ROLE_SYSTEM_LIST);
  EXPECT_EQ(NameOf(a, CHILDID_SELF), L"予定表");
  const wchar_t* names[] = {
      L"3月14日(木)、1日超過、提出",
      L"3月15日(金)、今日まで、07:00 起床、アラームあり",
      L"3月18日(月)、あと3日、会議の資料、添付ファイルあり",
      L"3月15日(金)、済、電話、URLあり",
  };
  for (long id = 1; id <= 4; ++id) {
    EXPECT_EQ(RoleOf(a, id), ROLE_SYSTEM_LISTITEM) << id;
    EXPECT_EQ(NameOf(a, id), names[id - 1]) << id;
  }
  BSTR none = nullptr;
  EXPECT_EQ(a->get_accName(Child(5), &none), E_INVALIDARG);
  EXPECT_TRUE(StateOf(a, 4) & STATE_SYSTEM_OFFSCREEN) << "below the three rows that show";
  EXPECT_FALSE(StateOf(a, 3) & STATE_SYSTEM_OFFSCREEN);

  // Where the rows are, both ways.
  long x = 0, y = 0, w = 0, h = 0;
  ASSERT_EQ(a->accLocation(&x, &y, &w, &h, Child(2)), S_OK);
  VARIANT hit;
  ::VariantInit(&hit);
  ASSERT_EQ(a->accHitTest(x + w / 2, y + h / 2, &hit), S_OK);
  EXPECT_EQ(ChildIn(hit), 2);
  VARIANT next;
  ::VariantInit(&next);
  ASSERT_EQ(a->accNavigate(NAVDIR_NEXT, Child(2), &next), S_OK);
  EXPECT_EQ(ChildIn(next), 3);
  EXPECT_EQ(a->accNavigate(NAVDIR_NEXT, Child(4), &next), S_FALSE);
}

std::vector<std::pair<DWORD, LONG>> gEvents;  // event, child, for the grid's client object

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_CLIENT && child != CHILDID_SELF) gEvents.emplace_back(event, child);
}

TEST_F(GridWindow, TheSelectedAndFocusedTaskFollowsTheCurrentRowAndIsAnnounced) {
  IAccessible* a = grid_.Accessible();
  ::SetFocus(grid_.Handle());
  ASSERT_EQ(::GetFocus(), grid_.Handle());
  EXPECT_EQ(StateOf(a, 1) & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED), STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
  EXPECT_EQ(StateOf(a, 2) & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED), 0);

  const HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_SELECTION, nullptr, &OnWinEvent,
                                               ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  gEvents.clear();
  ::SendMessageW(grid_.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  Pump();
  ::UnhookWinEvent(hook);
  EXPECT_NE(std::find(gEvents.begin(), gEvents.end(), std::make_pair(DWORD{EVENT_OBJECT_SELECTION}, LONG{2})),
            gEvents.end());
  EXPECT_NE(std::find(gEvents.begin(), gEvents.end(), std::make_pair(DWORD{EVENT_OBJECT_FOCUS}, LONG{2})),
            gEvents.end());

  EXPECT_EQ(StateOf(a, 2) & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED), STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
  EXPECT_EQ(StateOf(a, 1) & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED), 0);
  VARIANT v;
  ::VariantInit(&v);
  ASSERT_EQ(a->get_accFocus(&v), S_OK);
  EXPECT_EQ(ChildIn(v), 2);
  ASSERT_EQ(a->get_accSelection(&v), S_OK);
  EXPECT_EQ(ChildIn(v), 2);

  // A screen reader may move the selection itself.
  ASSERT_EQ(a->accSelect(SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS, Child(3)), S_OK);
  EXPECT_EQ(list_.CurrentRow(), 3);

  // Without the focus no task is focused, the current one stays selected.
  ::SetFocus(nullptr);
  EXPECT_EQ(StateOf(a, 3) & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED), STATE_SYSTEM_SELECTED);
  EXPECT_EQ(a->get_accFocus(&v), S_FALSE);
}

IUnknown* gHandedOut = nullptr;
WPARAM gHandedWParam = 0;
constexpr LRESULT kCookie = 0x4C51;

LRESULT WINAPI CatchObject(REFIID riid, WPARAM wParam, LPUNKNOWN object) {
  if (riid != IID_IAccessible || !object) return E_INVALIDARG;
  object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&gHandedOut));
  gHandedWParam = wParam;
  return kCookie;
}

ComPtr<IUnknown> IdentityOf(IUnknown* p) {
  ComPtr<IUnknown> id;
  if (p) p->QueryInterface(IID_IUnknown, id.PutVoid());
  return id;
}

TEST_F(GridWindow, WmGetObjectForTheClientAreaHandsOutTheList) {
  const OleaccFunctions catcher{&CatchObject, nullptr};
  SetOleaccForTests(&catcher);
  for (const LPARAM id : {static_cast<LPARAM>(static_cast<DWORD>(OBJID_CLIENT)), static_cast<LPARAM>(OBJID_CLIENT)}) {
    gHandedOut = nullptr;
    EXPECT_EQ(::SendMessageW(grid_.Handle(), WM_GETOBJECT, 7, id), kCookie);
    ASSERT_NE(gHandedOut, nullptr);
    EXPECT_EQ(IdentityOf(gHandedOut).Get(), IdentityOf(grid_.Accessible()).Get());
    EXPECT_EQ(gHandedWParam, 7u);
    gHandedOut->Release();
  }
  gHandedOut = nullptr;
  ::SendMessageW(grid_.Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(static_cast<DWORD>(OBJID_WINDOW)));
  EXPECT_EQ(gHandedOut, nullptr) << "the window's own object is the system's";

  // A client that still holds the list after the window is gone gets an error, not a crash.
  ComPtr<IAccessible> held(grid_.Accessible());
  held->AddRef();
  ::DestroyWindow(grid_.Handle());
  long count = 0;
  EXPECT_EQ(held->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  BSTR name = nullptr;
  EXPECT_EQ(held->get_accName(Child(1), &name), CO_E_OBJNOTCONNECTED);
}

TEST(AccessibleName, AStandardControlKeepsItsObjectButSaysOurNameAndValue) {
  ComApartment com;
  const HMODULE oleaccDll = ::LoadLibraryW(L"oleacc.dll");
  ASSERT_NE(oleaccDll, nullptr);
  const OleaccFunctions real{
      &CatchObject, reinterpret_cast<decltype(OleaccFunctions::createStdAccessibleObject)>(
                        reinterpret_cast<void*>(::GetProcAddress(oleaccDll, "CreateStdAccessibleObject")))};
  ASSERT_NE(real.createStdAccessibleObject, nullptr);
  SetOleaccForTests(&real);

  const HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr);
  const HWND edit = ::CreateWindowExW(0, L"EDIT", L"会議の資料", WS_CHILD | WS_VISIBLE, 0, 0, 200, 20, parent, nullptr,
                                      ::GetModuleHandleW(nullptr), nullptr);
  std::wstring name = L"予定の内容（3月18日(月)、あと3日）";
  std::wstring value = L"2024/03/15(金) 09:30:05";
  GiveAccessibleName(
      edit, [&name] { return name; }, [&value] { return value; }, [] { return true; });

  gHandedOut = nullptr;
  EXPECT_EQ(::SendMessageW(edit, WM_GETOBJECT, 0, static_cast<LPARAM>(static_cast<DWORD>(OBJID_CLIENT))), kCookie);
  ASSERT_NE(gHandedOut, nullptr);
  ComPtr<IAccessible> a;
  gHandedOut->QueryInterface(IID_IAccessible, a.PutVoid());
  gHandedOut->Release();
  ASSERT_TRUE(a);
  EXPECT_EQ(NameOf(a.Get(), CHILDID_SELF), name);
  BSTR shown = nullptr;
  ASSERT_EQ(a->get_accValue(Child(CHILDID_SELF), &shown), S_OK);
  EXPECT_EQ(std::wstring(shown, ::SysStringLen(shown)), value);
  ::SysFreeString(shown);
  name = L"期限（会議の資料）";  // read when asked, so it follows the row the editor is on
  EXPECT_EQ(NameOf(a.Get(), CHILDID_SELF), name);

  // Everything else is the system's object for the control.
  ComPtr<IAccessible> system;
  ASSERT_EQ(real.createStdAccessibleObject(edit, OBJID_CLIENT, IID_IAccessible, system.PutVoid()), S_OK);
  EXPECT_EQ(RoleOf(a.Get(), CHILDID_SELF), RoleOf(system.Get(), CHILDID_SELF));
  // With nothing to say, the control's own name stands.
  name.clear();
  EXPECT_EQ(NameOf(a.Get(), CHILDID_SELF), NameOf(system.Get(), CHILDID_SELF));

  ::DestroyWindow(parent);
  EXPECT_EQ(NameOf(a.Get(), CHILDID_SELF), NameOf(system.Get(), CHILDID_SELF)) << "no call into what is gone";
  SetOleaccForTests(nullptr);
}

}  // namespace
}  // namespace lq::win
