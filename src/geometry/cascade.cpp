#include "geometry/cascade.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace lq {
namespace {

// Enough slots to pass every window a person could have open; past them the cascade starts over.
constexpr int kMaxSlots = 512;

// Offset of slot k on one axis within [0, room], starting from `start`.
int SlotOffset(int start, int room, int step, int k) {
  if (room <= 0) return 0;
  const std::int64_t span = static_cast<std::int64_t>(room) + 1;
  return static_cast<int>((start + static_cast<std::int64_t>(step) * k) % span);
}

}  // namespace

Point PlaceAlarmWindow(const Rect& work, int width, int height, int step, std::span<const Point> open) {
  step = std::max(step, 1);
  const int roomX = std::max(0, work.Width() - width);
  const int roomY = std::max(0, work.Height() - height);
  const int startX = roomX / 2;
  const int startY = std::min(roomY, work.Height() / 4);
  const int near = std::max(1, (step + 1) / 2);

  auto slot = [&](int k) {
    return Point{work.left + SlotOffset(startX, roomX, step, k), work.top + SlotOffset(startY, roomY, step, k)};
  };
  auto taken = [&](const Point& p) {
    return std::any_of(open.begin(), open.end(), [&](const Point& q) {
      return std::abs(static_cast<long long>(q.x) - p.x) < near && std::abs(static_cast<long long>(q.y) - p.y) < near;
    });
  };
  for (int k = 0; k < kMaxSlots; ++k) {
    const Point p = slot(k);
    if (!taken(p)) return p;
  }
  return slot(static_cast<int>(open.size() % kMaxSlots));
}

}  // namespace lq
