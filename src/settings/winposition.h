#pragma once
// The main window's position in [WinPosition]: read when the window is created, written when
// it closes.

#include <cstdint>

#include "geometry/dpi.h"
#include "store/seams.h"

namespace lq {

struct WindowPosition {
  std::int32_t x = 0;  // -1 centres the window on that axis
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// A missing key gives its default text ("-1", "-1", "360", "215"); a present text that is not
// a decimal integer gives the key's fallback (0, 0, 465, 408). The default and fallback sizes
// are 96-DPI sizes, scaled to `dpi`; stored values are pixels as Windows reported them and are
// taken as stored. Placing the window on the screen is the caller's business.
WindowPosition ReadWinPosition(const Profile& profile, int dpi = kBaseDpi);

// Writes left, top, width and height as decimal text, together: false when they did not reach
// the file, which then stays as it was.
bool WriteWinPosition(Profile& profile, const WindowPosition& position);

}  // namespace lq
