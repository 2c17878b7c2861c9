#include "geometry/hint.h"

#include <algorithm>

namespace lq {

Rect PlaceHint(Point anchor, int textWidth, int textHeight, const Rect& screen) {
  const int w = std::clamp(textWidth, 0, std::max(0, screen.Width() - 2)) + 2;
  const int h = std::max(0, textHeight) + 2;
  int left = anchor.x - (w - 2) / 2;
  int top = anchor.y - 3 * (h - 2) / 2;
  // The right and bottom edges first, then the left and top, so a hint as wide as the screen
  // starts at its left edge.
  left = std::max(std::min(left, screen.right - w), screen.left);
  top = std::max(std::min(top, screen.bottom - h), screen.top);
  return Rect{left, top, left + w, top + h};
}

}  // namespace lq
