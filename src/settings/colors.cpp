#include "settings/colors.h"

namespace lq {

ColorValue ResolveColor(ColorValue value, SystemColorFn systemColor) {
  if (IsSystemColor(value)) {
    if (systemColor == nullptr) return 0;
    value = systemColor(static_cast<int>(value & ~kSystemColorFlag));
  }
  return value & 0x00FFFFFFu;
}

ColorValue MixColors(ColorValue a, ColorValue b, SystemColorFn systemColor) {
  const ColorValue ra = ResolveColor(a, systemColor);
  const ColorValue rb = ResolveColor(b, systemColor);
  ColorValue mixed = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const ColorValue channel = (((ra >> shift) & 0xFF) + ((rb >> shift) & 0xFF)) >> 1;
    mixed |= channel << shift;
  }
  return mixed;
}

}  // namespace lq
