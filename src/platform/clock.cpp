#include "platform/clock.h"

#include <windows.h>

namespace lq::win {

DateTime LocalClock::Now() const {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  if (offset_ != 0) {
    FILETIME ft{};
    ::SystemTimeToFileTime(&st, &ft);
    ULARGE_INTEGER t{};
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    t.QuadPart += static_cast<ULONGLONG>(offset_ * 10000);  // 100-ns units; wraps correctly when negative
    ft.dwLowDateTime = t.LowPart;
    ft.dwHighDateTime = t.HighPart;
    ::FileTimeToSystemTime(&ft, &st);
  }
  return DateTime{Date{st.wYear, st.wMonth, st.wDay}, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace lq::win
