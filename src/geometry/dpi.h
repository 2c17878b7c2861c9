#pragma once
// Lengths are written as pixels at 96 DPI and become pixels at the DPI a window is shown at.

#include <cstdint>

namespace lq {

inline constexpr int kBaseDpi = 96;

// A 96-DPI length at `dpi`, rounded to the nearest pixel with halves away from zero, as
// MulDiv rounds: 215 at 144 DPI is 323. Identity at 96; a DPI of 0 or less counts as 96.
constexpr int ScaleToDpi(int pixels, int dpi) {
  if (dpi <= 0 || dpi == kBaseDpi) return pixels;
  const std::int64_t product = std::int64_t{pixels} * dpi;
  const std::int64_t half = kBaseDpi / 2;
  const std::int64_t scaled = product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi);
  if (scaled > INT32_MAX) return INT32_MAX;
  if (scaled < INT32_MIN) return INT32_MIN;
  return static_cast<int>(scaled);
}

}  // namespace lq
