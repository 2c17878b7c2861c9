#pragma once
// COM for the program: an owning interface pointer, a VARIANT that clears itself, a thread's
// apartment, and late-bound calls by member name whose failures carry the error's own text.

#include <windows.h>
#include <oaidl.h>
#include <objbase.h>

#include <exception>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace lq::win {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(T* p) : p_(p) {}  // takes over a reference
  ComPtr(const ComPtr& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComPtr& operator=(ComPtr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  T* Detach() { return std::exchange(p_, nullptr); }
  // For an out parameter; whatever was held is released first.
  T** Put() {
    Reset();
    return &p_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

 private:
  T* p_ = nullptr;
};

class Variant {
 public:
  Variant() { ::VariantInit(&v_); }
  Variant(const Variant& o);
  Variant(Variant&& o) noexcept : v_(o.v_) { ::VariantInit(&o.v_); }
  Variant& operator=(Variant o) noexcept {
    std::swap(v_, o.v_);
    return *this;
  }
  ~Variant() { ::VariantClear(&v_); }

  static Variant Int(long value);
  static Variant Text(std::wstring_view value);
  static Variant Date(double automationDate);

  const VARIANT& Get() const { return v_; }
  VARTYPE Type() const { return v_.vt; }
  // For an out parameter; the old value is cleared first.
  VARIANT* Put() {
    ::VariantClear(&v_);
    return &v_;
  }

  // The value converted as automation converts it; empty when it cannot be one.
  std::optional<long> ToInt() const;
  std::optional<double> ToDate() const;
  std::optional<std::wstring> ToText() const;
  ComPtr<IDispatch> ToObject() const;  // null when the value holds no object

 private:
  VARIANT v_;
};

// CoInitializeEx for the calling thread (single-threaded apartment) for as long as it lives;
// a thread already in an apartment of another kind stays in it.
class ComApartment {
 public:
  ComApartment() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr_)) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT hr_;
};

// The user-interface thread's apartment for the whole run, entered when first needed (start-up
// does not pay for COM) and left when the object goes.
class ComApartmentOnDemand {
 public:
  ComApartmentOnDemand() = default;
  ~ComApartmentOnDemand() {
    if (entered_) ::CoUninitialize();
  }
  ComApartmentOnDemand(const ComApartmentOnDemand&) = delete;
  ComApartmentOnDemand& operator=(const ComApartmentOnDemand&) = delete;

  // True when COM can be used on this thread.
  bool Enter() {
    if (!entered_) entered_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    return entered_;
  }

 private:
  bool entered_ = false;
};

class ComError : public std::exception {
 public:
  ComError(HRESULT code, std::wstring text) : code_(code), text_(std::move(text)) {}
  HRESULT Code() const { return code_; }
  const std::wstring& Text() const { return text_; }
  const char* what() const noexcept override { return "COM call failed"; }

 private:
  HRESULT code_;
  std::wstring text_;
};

// The system's text for an error code, followed by the code ("… (0x80040154)").
std::wstring ErrorText(HRESULT code);

// The object a program identifier names ("Outlook.Application"), as IDispatch.
ComPtr<IDispatch> CreateAutomationObject(const wchar_t* progId);

// Late-bound calls by member name. Invoke reads a property or calls a method (arguments in
// their written order); both throw ComError.
Variant Invoke(IDispatch* object, const wchar_t* name, std::initializer_list<Variant> args = {});
void PutProperty(IDispatch* object, const wchar_t* name, const Variant& value);
// Invoke for a result that must be an object.
ComPtr<IDispatch> InvokeObject(IDispatch* object, const wchar_t* name, std::initializer_list<Variant> args = {});

}  // namespace lq::win
