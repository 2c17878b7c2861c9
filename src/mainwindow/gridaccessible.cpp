#include "mainwindow/gridaccessible.h"

#include <commctrl.h>

#include <exception>
#include <memory>
#include <utility>

#include "mainwindow/taskgrid.h"
#include "platform/codepage.h"
#include "platform/oleacc.h"
#include "store/rowname.h"

namespace lq::win {
namespace {

HRESULT ReturnText(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* v, long id) {
  v->vt = VT_I4;
  v->lVal = id;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

}  // namespace

LRESULT ReturnAccessibleObject(IAccessible* object, WPARAM wParam, const std::function<bool()>& enterCom) {
  // The object travels to the client through COM marshalling.
  if (enterCom && !enterCom()) return 0;
  const OleaccFunctions* oleacc = Oleacc();
  if (!oleacc) return 0;
  return oleacc->lresultFromObject(IID_IAccessible, wParam, object);
}

// ---------------------------------------------------------------------------------------------
// The task list

HRESULT GridAccessible::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG GridAccessible::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }

ULONG GridAccessible::Release() {
  const LONG left = ::InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT GridAccessible::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}
HRESULT GridAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT GridAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT GridAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

int GridAccessible::TaskCount() const { return list_.Table().TaskCount(); }

bool GridAccessible::Focused() const { return ::GetFocus() == grid_->Handle(); }

HRESULT GridAccessible::RowOf(const VARIANT& child, int* row) const {
  if (!grid_) return CO_E_OBJNOTCONNECTED;
  if (child.vt != VT_I4 || child.lVal < 0 || child.lVal > TaskCount()) return E_INVALIDARG;
  *row = child.lVal;
  return S_OK;
}

HRESULT GridAccessible::get_accParent(IDispatch** parent) {
  if (!parent) return E_POINTER;
  *parent = nullptr;
  if (!grid_) return CO_E_OBJNOTCONNECTED;
  const OleaccFunctions* oleacc = Oleacc();
  if (!oleacc) return S_FALSE;
  return oleacc->createStdAccessibleObject(grid_->Handle(), OBJID_WINDOW, IID_IDispatch,
                                           reinterpret_cast<void**>(parent));
}

HRESULT GridAccessible::get_accChildCount(long* count) {
  if (!count) return E_POINTER;
  if (!grid_) return CO_E_OBJNOTCONNECTED;
  *count = TaskCount();
  return S_OK;
}

HRESULT GridAccessible::get_accChild(VARIANT child, IDispatch** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  int row = 0;
  const HRESULT hr = RowOf(child, &row);
  return FAILED(hr) ? hr : S_FALSE;  // the tasks are simple elements of the list
}

HRESULT GridAccessible::get_accName(VARIANT child, BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  int row = 0;
  if (const HRESULT hr = RowOf(child, &row); FAILED(hr)) return hr;
  if (row == 0) return ReturnText(kListName, name);
  try {
    return ReturnText(FromCp932(AccessibleRowName(list_.Table().Row(row), list_.Today())), name);
  } catch (const std::exception&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT GridAccessible::get_accValue(VARIANT, BSTR* value) {
  if (value) *value = nullptr;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT GridAccessible::get_accDescription(VARIANT, BSTR* description) {
  if (description) *description = nullptr;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT GridAccessible::get_accRole(VARIANT child, VARIANT* role) {
  if (!role) return E_POINTER;
  ::VariantInit(role);
  int row = 0;
  if (const HRESULT hr = RowOf(child, &row); FAILED(hr)) return hr;
  SetChild(role, row == 0 ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM);
  return S_OK;
}

HRESULT GridAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  ::VariantInit(state);
  int row = 0;
  if (const HRESULT hr = RowOf(child, &row); FAILED(hr)) return hr;
  long s = STATE_SYSTEM_FOCUSABLE;
  if (!::IsWindowVisible(grid_->Handle())) s |= STATE_SYSTEM_INVISIBLE;
  if (row == 0) {
    if (Focused()) s |= STATE_SYSTEM_FOCUSED;
  } else {
    s |= STATE_SYSTEM_SELECTABLE;
    if (row == list_.CurrentRow()) {
      s |= STATE_SYSTEM_SELECTED;
      if (Focused()) s |= STATE_SYSTEM_FOCUSED;
    }
    if (row < list_.TopRow() || row >= list_.TopRow() + list_.VisibleRowCount()) s |= STATE_SYSTEM_OFFSCREEN;
  }
  SetChild(state, s);
  return S_OK;
}

HRESULT GridAccessible::get_accHelp(VARIANT, BSTR* help) {
  if (help) *help = nullptr;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT GridAccessible::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
  if (file) *file = nullptr;
  if (topic) *topic = -1;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT GridAccessible::get_accKeyboardShortcut(VARIANT, BSTR* shortcut) {
  if (shortcut) *shortcut = nullptr;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT GridAccessible::get_accFocus(VARIANT* child) {
  if (!child) return E_POINTER;
  ::VariantInit(child);
  if (!grid_) return CO_E_OBJNOTCONNECTED;
  if (!Focused()) return S_FALSE;
  const int row = list_.CurrentRow();
  SetChild(child, row <= TaskCount() ? row : CHILDID_SELF);
  return S_OK;
}

HRESULT GridAccessible::get_accSelection(VARIANT* children) {
  if (!children) return E_POINTER;
  ::VariantInit(children);
  if (!grid_) return CO_E_OBJNOTCONNECTED;
  const int row = list_.CurrentRow();
  if (row > TaskCount()) return S_FALSE;  // the blank row of an empty list
  SetChild(children, row);
  return S_OK;
}

HRESULT GridAccessible::get_accDefaultAction(VARIANT, BSTR* action) {
  if (action) *action = nullptr;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT GridAccessible::accSelect(long flags, VARIANT child) {
  int row = 0;
  if (const HRESULT hr = RowOf(child, &row); FAILED(hr)) return hr;
  // One task is selected at a time, and it is the current one.
  if (row == 0 || (flags & (SELFLAG_ADDSELECTION | SELFLAG_REMOVESELECTION | SELFLAG_EXTENDSELECTION))) {
    return E_INVALIDARG;
  }
  if (flags & (SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS)) grid_->MoveCurrentRow(row);
  if ((flags & SELFLAG_TAKEFOCUS) && grid_ && ::IsWindowVisible(grid_->Handle())) ::SetFocus(grid_->Handle());
  return S_OK;
}

HRESULT GridAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
  if (!left || !top || !width || !height) return E_POINTER;
  *left = *top = *width = *height = 0;
  int row = 0;
  if (const HRESULT hr = RowOf(child, &row); FAILED(hr)) return hr;
  RECT rc{};
  ::GetClientRect(grid_->Handle(), &rc);
  if (row > 0) {
    // The whole line of the row as far as it shows; nothing for a row scrolled away.
    const RECT cell = grid_->CellRect(colText, row);
    if (cell.bottom <= cell.top) return S_FALSE;
    rc.top = cell.top;
    rc.bottom = cell.bottom;
  }
  ::MapWindowPoints(grid_->Handle(), nullptr, reinterpret_cast<POINT*>(&rc), 2);
  *left = rc.left;
  *top = rc.top;
  *width = rc.right - rc.left;
  *height = rc.bottom - rc.top;
  return S_OK;
}

HRESULT GridAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  ::VariantInit(end);
  int row = 0;
  if (const HRESULT hr = RowOf(start, &row); FAILED(hr)) return hr;
  const int count = TaskCount();
  int to = 0;
  if (row == 0) {
    if (direction == NAVDIR_FIRSTCHILD) to = 1;
    if (direction == NAVDIR_LASTCHILD) to = count;
    if (direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD) return S_FALSE;  // the window's object knows
  } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) {
    to = row + 1;
  } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) {
    to = row - 1;
  }
  if (to < 1 || to > count) return S_FALSE;
  SetChild(end, to);
  return S_OK;
}

HRESULT GridAccessible::accHitTest(long x, long y, VARIANT* child) {
  if (!child) return E_POINTER;
  ::VariantInit(child);
  if (!grid_) return CO_E_OBJNOTCONNECTED;
  POINT p{x, y};
  ::ScreenToClient(grid_->Handle(), &p);
  RECT rc{};
  ::GetClientRect(grid_->Handle(), &rc);
  if (!::PtInRect(&rc, p)) return S_FALSE;
  int col = -1;
  int row = -1;
  const bool onCell = grid_->CellAt(p.x, p.y, &col, &row);
  SetChild(child, onCell && row >= 1 && row <= TaskCount() ? row : CHILDID_SELF);
  return S_OK;
}

HRESULT GridAccessible::accDoDefaultAction(VARIANT) { return DISP_E_MEMBERNOTFOUND; }
HRESULT GridAccessible::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }
HRESULT GridAccessible::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

// ---------------------------------------------------------------------------------------------
// A name for a standard control

namespace {

// The system's object for a control, with our name (and value) in place of its own.
class NamedAccessible final : public IAccessible {
 public:
  NamedAccessible(ComPtr<IAccessible> inner, std::function<std::wstring()> name, std::function<std::wstring()> value)
      : inner_(std::move(inner)), name_(std::move(name)), value_(std::move(value)) {}
  void Disconnect() {
    name_ = nullptr;
    value_ = nullptr;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = ::InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return inner_->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return inner_->GetTypeInfo(i, l, t); }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
    return inner_->GetIDsOfNames(r, n, c, l, d);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                   UINT* a) override {
    return inner_->Invoke(d, r, l, f, p, v, e, a);
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Ours(child, name_, name) ? S_OK : inner_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return Ours(child, value_, value) ? S_OK : inner_->get_accValue(child, value);
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return inner_->get_accParent(p); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* c) override { return inner_->get_accChildCount(c); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** d) override { return inner_->get_accChild(c, d); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override { return inner_->get_accDescription(c, d); }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* r) override { return inner_->get_accRole(c, r); }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* s) override { return inner_->get_accState(c, s); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override { return inner_->get_accHelp(c, h); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, long* t) override {
    return inner_->get_accHelpTopic(f, c, t);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
    return inner_->get_accKeyboardShortcut(c, k);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* c) override { return inner_->get_accFocus(c); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* c) override { return inner_->get_accSelection(c); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* a) override {
    return inner_->get_accDefaultAction(c, a);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long f, VARIANT c) override { return inner_->accSelect(f, c); }
  HRESULT STDMETHODCALLTYPE accLocation(long* l, long* t, long* w, long* h, VARIANT c) override {
    return inner_->accLocation(l, t, w, h, c);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long d, VARIANT s, VARIANT* e) override { return inner_->accNavigate(d, s, e); }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* c) override { return inner_->accHitTest(x, y, c); }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override { return inner_->accDoDefaultAction(c); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override { return inner_->put_accName(c, n); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override { return inner_->put_accValue(c, v); }

 private:
  ~NamedAccessible() = default;

  // True when the text is ours to give: asked of the control itself, and not empty.
  static bool Ours(const VARIANT& child, const std::function<std::wstring()>& text, BSTR* out) {
    if (!out || !IsSelf(child) || !text) return false;
    try {
      const std::wstring t = text();
      return !t.empty() && SUCCEEDED(ReturnText(t, out));
    } catch (const std::exception&) {
      return false;
    }
  }

  LONG refs_ = 1;
  ComPtr<IAccessible> inner_;
  std::function<std::wstring()> name_;
  std::function<std::wstring()> value_;
};

struct NamedControl {
  std::function<std::wstring()> name;
  std::function<std::wstring()> value;
  std::function<bool()> enterCom;
  ComPtr<NamedAccessible> object;
};

LRESULT CALLBACK NamedControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
  auto* named = reinterpret_cast<NamedControl*>(data);
  if (msg == WM_GETOBJECT && static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT) {
    try {
      if (!named->object) {
        const OleaccFunctions* oleacc = (!named->enterCom || named->enterCom()) ? Oleacc() : nullptr;
        ComPtr<IAccessible> inner;
        if (oleacc && SUCCEEDED(oleacc->createStdAccessibleObject(hwnd, OBJID_CLIENT, IID_IAccessible,
                                                                 inner.PutVoid())) && inner) {
          named->object = ComPtr<NamedAccessible>(new NamedAccessible(std::move(inner), named->name, named->value));
        }
      }
      if (named->object) return ReturnAccessibleObject(named->object.Get(), wParam, named->enterCom);
    } catch (const std::exception& e) {
      ReportHandlerFailure("accessible name", e.what());
    }
  }
  if (msg == WM_NCDESTROY) {
    ::RemoveWindowSubclass(hwnd, &NamedControlProc, id);
    if (named->object) {
      named->object->Disconnect();
      ::CoDisconnectObject(named->object.Get(), 0);
    }
    delete named;
  }
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void GiveAccessibleName(HWND control, std::function<std::wstring()> name, std::function<std::wstring()> value,
                        std::function<bool()> enterCom) {
  auto named = std::make_unique<NamedControl>();
  named->name = std::move(name);
  named->value = std::move(value);
  named->enterCom = std::move(enterCom);
  if (::SetWindowSubclass(control, &NamedControlProc, 0x4C51A11, reinterpret_cast<DWORD_PTR>(named.get()))) {
    named.release();  // freed at WM_NCDESTROY
  }
}

}  // namespace lq::win
