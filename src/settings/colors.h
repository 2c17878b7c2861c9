#pragma once
// Colour values as the settings file keeps them: 32 bits, either 0x00BBGGRR or, with the top
// bit set, the Windows system colour whose index is in the rest. System colours are looked
// up only when a colour is used, so a change of the desktop theme shows at once.

#include <cstdint>

namespace lq {

using ColorValue = std::uint32_t;

// Index -> 0x00BBGGRR. The Windows layer passes a wrapper of GetSysColor; tests pass a table.
using SystemColorFn = std::uint32_t (*)(int index);

inline constexpr ColorValue kSystemColorFlag = 0x80000000u;

// The system colour indices the program uses (the indices GetSysColor takes).
inline constexpr int kColorActiveCaption = 2;
inline constexpr int kColorInactiveCaption = 3;
inline constexpr int kColorWindowText = 8;
inline constexpr int kColorCaptionText = 9;
inline constexpr int kColorHighlight = 13;
inline constexpr int kColorHighlightText = 14;
inline constexpr int kColorInactiveCaptionText = 19;
inline constexpr int kColorGradientActiveCaption = 27;
inline constexpr int kColorGradientInactiveCaption = 28;

constexpr ColorValue SystemColor(int index) { return kSystemColorFlag | static_cast<ColorValue>(index); }
constexpr bool IsSystemColor(ColorValue value) { return (value & kSystemColorFlag) != 0; }

// 0x00BBGGRR. A system colour is looked up (a null lookup gives black); of any other value
// only the three colour bytes count, so a stray top byte never reaches the drawing code as a
// palette index.
ColorValue ResolveColor(ColorValue value, SystemColorFn systemColor);

// Both resolved, then each of red, green and blue is the sum of the two halved, rounding down.
ColorValue MixColors(ColorValue a, ColorValue b, SystemColorFn systemColor);

}  // namespace lq
