#pragma once
// What screen readers see of the main window. The grid draws itself, so it answers
// WM_GETOBJECT with an IAccessible of its own: a list whose items are the tasks (child id =
// row), each named as a person reads the row, the current one selected and focused. Standard
// controls whose own name says nothing useful (the editors, the view image) get a name
// through a thin wrapper around the system's object for them.

#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <string>

#include "platform/com.h"
#include "store/tasklist.h"

namespace lq::win {

class TaskGrid;

// Hands `object` to the client that sent WM_GETOBJECT. COM is entered first (through
// `enterCom`, when given) and oleacc loaded on this first use.
LRESULT ReturnAccessibleObject(IAccessible* object, WPARAM wParam, const std::function<bool()>& enterCom);

class GridAccessible final : public IAccessible {
 public:
  static constexpr const wchar_t* kListName = L"予定表";

  GridAccessible(TaskGrid& grid, const TaskList& list) : grid_(&grid), list_(list) {}
  // The grid window is gone: every call from now on fails as for a disconnected object.
  void Disconnect() { grid_ = nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch: no type information; clients call the IAccessible methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 private:
  ~GridAccessible() = default;
  // The row a child id stands for (0 for the list itself); E_INVALIDARG for any other, and
  // CO_E_OBJNOTCONNECTED once the grid is gone.
  HRESULT RowOf(const VARIANT& child, int* row) const;
  int TaskCount() const;
  bool Focused() const;

  LONG refs_ = 1;
  TaskGrid* grid_;
  const TaskList& list_;
};

// Gives a standard child control an accessible name of ours, and a value when `value` is
// given (both read when a client asks; an empty text leaves the control's own): it answers
// WM_GETOBJECT for OBJID_CLIENT with the system's object for it wrapped. Lives as long as
// the window.
void GiveAccessibleName(HWND control, std::function<std::wstring()> name, std::function<std::wstring()> value,
                        std::function<bool()> enterCom);

}  // namespace lq::win
