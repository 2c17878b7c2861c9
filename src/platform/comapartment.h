#pragma once
// The user-interface thread's single-threaded COM apartment, entered once when first needed
// and left when the object goes.

#include <objbase.h>

namespace lq::win {

class ComApartment {
 public:
  ComApartment() = default;
  ~ComApartment() {
    if (entered_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  // True when COM can be used on this thread.
  bool Enter() {
    if (entered_) return true;
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    entered_ = SUCCEEDED(hr);  // S_FALSE too: it must be balanced all the same
    return entered_;
  }

 private:
  bool entered_ = false;
};

}  // namespace lq::win
