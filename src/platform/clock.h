#pragma once
#include "store/seams.h"

namespace lq::win {

// The local date and time of the machine, optionally shifted by a fixed amount (so that a test
// can bring the program to midnight or to an alarm's minute without waiting for it).
class LocalClock final : public Clock {
 public:
  DateTime Now() const override;
  void SetOffsetMilliseconds(long long offset) { offset_ = offset; }

 private:
  long long offset_ = 0;
};

}  // namespace lq::win
