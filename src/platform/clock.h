#pragma once
#include "store/seams.h"

namespace lq::win {

// The local date and time of the machine.
class LocalClock final : public Clock {
 public:
  DateTime Now() const override;
};

}  // namespace lq::win
