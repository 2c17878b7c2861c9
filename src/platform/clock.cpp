#include "platform/clock.h"

#include <windows.h>

namespace lq::win {

DateTime LocalClock::Now() const {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  return DateTime{Date{st.wYear, st.wMonth, st.wDay}, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace lq::win
