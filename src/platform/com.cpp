#include "platform/com.h"

#include <oleauto.h>

#include <cstdio>
#include <vector>

namespace lq::win {
namespace {

std::optional<VARIANT> Converted(const VARIANT& v, VARTYPE type) {
  VARIANT out;
  ::VariantInit(&out);
  if (FAILED(::VariantChangeType(&out, const_cast<VARIANT*>(&v), 0, type))) return std::nullopt;
  return out;
}

DISPID MemberId(IDispatch* object, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) throw ComError(hr, ErrorText(hr) + L" \u300C" + name + L"\u300D");  // 「name」
  return id;
}

// The text of a failed Invoke: what the object said, else what the system says of the code.
[[noreturn]] void ThrowInvokeError(HRESULT hr, EXCEPINFO& info) {
  std::wstring text;
  HRESULT code = hr;
  if (hr == DISP_E_EXCEPTION) {
    if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    if (info.bstrDescription) text.assign(info.bstrDescription, ::SysStringLen(info.bstrDescription));
    if (FAILED(info.scode)) code = info.scode;
  }
  ::SysFreeString(info.bstrSource);
  ::SysFreeString(info.bstrDescription);
  ::SysFreeString(info.bstrHelpFile);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
  throw ComError(code, text.empty() ? ErrorText(code) : text);
}

Variant Call(IDispatch* object, const wchar_t* name, WORD flags, const VARIANT* args, UINT count, bool put) {
  if (!object) throw ComError(E_POINTER, ErrorText(E_POINTER));
  const DISPID id = MemberId(object, name);
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{const_cast<VARIANT*>(args), put ? &named : nullptr, count, put ? 1u : 0u};
  EXCEPINFO info{};
  UINT argError = 0;
  Variant result;
  const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, put ? nullptr : result.Put(),
                                    &info, &argError);
  if (FAILED(hr)) ThrowInvokeError(hr, info);
  return result;
}

}  // namespace

Variant::Variant(const Variant& o) {
  ::VariantInit(&v_);
  ::VariantCopy(&v_, const_cast<VARIANT*>(&o.v_));
}

Variant Variant::Int(long value) {
  Variant v;
  v.v_.vt = VT_I4;
  v.v_.lVal = value;
  return v;
}

Variant Variant::Text(std::wstring_view value) {
  Variant v;
  v.v_.bstrVal = ::SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  if (v.v_.bstrVal) v.v_.vt = VT_BSTR;
  return v;
}

Variant Variant::Date(double automationDate) {
  Variant v;
  v.v_.vt = VT_DATE;
  v.v_.date = automationDate;
  return v;
}

std::optional<long> Variant::ToInt() const {
  auto c = Converted(v_, VT_I4);
  if (!c) return std::nullopt;
  return c->lVal;
}

std::optional<double> Variant::ToDate() const {
  auto c = Converted(v_, VT_DATE);
  if (!c) return std::nullopt;
  return c->date;
}

std::optional<std::wstring> Variant::ToText() const {
  auto c = Converted(v_, VT_BSTR);
  if (!c) return std::nullopt;
  std::wstring text(c->bstrVal ? c->bstrVal : L"", c->bstrVal ? ::SysStringLen(c->bstrVal) : 0);
  ::VariantClear(&*c);
  return text;
}

ComPtr<IDispatch> Variant::ToObject() const {
  ComPtr<IDispatch> object;
  if (v_.vt == VT_DISPATCH && v_.pdispVal) {
    v_.pdispVal->AddRef();
    object = ComPtr<IDispatch>(v_.pdispVal);
  } else if (v_.vt == VT_UNKNOWN && v_.punkVal) {
    v_.punkVal->QueryInterface(IID_IDispatch, object.PutVoid());
  }
  return object;
}

std::wstring ErrorText(HRESULT code) {
  wchar_t* buffer = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", buffer ? n : 0);
  ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  wchar_t hex[16];
  std::swprintf(hex, 16, L"0x%08lX", static_cast<unsigned long>(code));
  return text.empty() ? std::wstring(L"\u30A8\u30E9\u30FC ") + hex : text + L" (" + hex + L")";  // エラー
}

ComPtr<IDispatch> CreateAutomationObject(const wchar_t* progId) {
  CLSID clsid{};
  HRESULT hr = ::CLSIDFromProgID(progId, &clsid);
  if (FAILED(hr)) throw ComError(hr, ErrorText(hr));
  ComPtr<IDispatch> object;
  hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch, object.PutVoid());
  if (FAILED(hr)) throw ComError(hr, ErrorText(hr));
  return object;
}

Variant Invoke(IDispatch* object, const wchar_t* name, std::initializer_list<Variant> args) {
  // DISPPARAMS takes the arguments last first; the copies are shallow, the list owns them.
  std::vector<VARIANT> reversed;
  reversed.reserve(args.size());
  for (auto it = args.end(); it != args.begin();) reversed.push_back((--it)->Get());
  return Call(object, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, reversed.data(),
              static_cast<UINT>(reversed.size()), false);
}

void PutProperty(IDispatch* object, const wchar_t* name, const Variant& value) {
  VARIANT arg = value.Get();
  Call(object, name, DISPATCH_PROPERTYPUT, &arg, 1, true);
}

ComPtr<IDispatch> InvokeObject(IDispatch* object, const wchar_t* name, std::initializer_list<Variant> args) {
  ComPtr<IDispatch> result = Invoke(object, name, args).ToObject();
  if (!result) throw ComError(E_NOINTERFACE, ErrorText(E_NOINTERFACE) + L" \u300C" + name + L"\u300D");
  return result;
}

}  // namespace lq::win
