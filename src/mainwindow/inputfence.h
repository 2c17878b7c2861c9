#pragma once
// The input fence the automation message kInputFence answers (automation.h).

#include <windows.h>

namespace lq::win {

// Starts taking the fence key out of this thread's input (once) and returns how many were taken,
// or the modifiers held at the last one (automation::kFenceModifiers).
LRESULT InputFence(WPARAM what);

}  // namespace lq::win
