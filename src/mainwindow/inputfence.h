#pragma once
// The input fence the automation message kInputFence answers (automation.h).

#include <windows.h>

namespace lq::win {

// Starts taking the fence key out of this thread's input (once) and returns how many were taken.
LRESULT InputFenceCount();

}  // namespace lq::win
