#include "res/artwork.h"

namespace lq {
namespace {

struct PaletteEntry {
  char c;
  Argb argb;
};

// One palette for every picture, so the icons share their colours. Each hue has an outline
// (upper case, dark enough to hold the shape on saturated orange and on the selection blue),
// then shade, base and light tones, and a highlight; light falls from the top left.
constexpr PaletteEntry kPalette[] = {
    {'.', 0x00000000},  // transparent
    {',', 0x48000000},  // soft shadow (icon only; left out where only the mask counts)
    // greys and steel
    {'K', 0xFF1C1C1C},  // outline
    {'D', 0xFF4B4B4B},
    {'M', 0xFF7A7A7A},
    {'m', 0xFFA5A5A5},
    {'l', 0xFFCDCDCD},
    {'e', 0xFFE8E8E8},
    {'W', 0xFFFFFFFF},
    // blue
    {'B', 0xFF0B2E78},  // outline
    {'a', 0xFF1E52B4},
    {'b', 0xFF2F6FDE},
    {'c', 0xFF5E98F4},
    {'C', 0xFFAACBFF},
    // orange
    {'R', 0xFF6E1A00},  // outline
    {'q', 0xFFC23A00},
    {'r', 0xFFEE5C12},
    {'s', 0xFFFF8F3E},
    {'S', 0xFFFFC58C},
    // green
    {'G', 0xFF124A12},  // outline
    {'f', 0xFF217F21},
    {'g', 0xFF36A936},
    {'h', 0xFF70D450},
    {'H', 0xFFC0F29C},
    // yellow and gold
    {'Y', 0xFF583A00},  // outline
    {'x', 0xFFC08A12},
    {'y', 0xFFEBB524},
    {'z', 0xFFFFD85C},
    {'Z', 0xFFFFF2B4},
    // brown (wood)
    {'N', 0xFF44250A},  // outline
    {'n', 0xFF8A5020},
    {'o', 0xFFB97A3A},
    {'O', 0xFFE2AE6E},
    // pink (eraser)
    {'P', 0xFFB8556C},
    {'p', 0xFFF49AAB},
};

constexpr Argb kMistake = 0xFFFF00FF;  // opaque magenta

}  // namespace

std::optional<Argb> PaletteColor(char c) {
  for (const PaletteEntry& e : kPalette) {
    if (e.c == c) return e.argb;
  }
  return std::nullopt;
}

std::vector<Argb> DecodeArt(const Art& art) {
  const int w = art.Width();
  std::vector<Argb> out;
  out.reserve(static_cast<std::size_t>(w) * art.rows.size());
  for (std::string_view row : art.rows) {
    for (int x = 0; x < w; ++x) {
      const auto i = static_cast<std::size_t>(x);
      out.push_back(i < row.size() ? PaletteColor(row[i]).value_or(kMistake) : kMistake);
    }
  }
  return out;
}

std::vector<Argb> ResizeNearest(const std::vector<Argb>& pixels, int width, int height, int newWidth, int newHeight) {
  if (width <= 0 || height <= 0 || newWidth <= 0 || newHeight <= 0 ||
      pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return {};
  }
  std::vector<Argb> out(static_cast<std::size_t>(newWidth) * static_cast<std::size_t>(newHeight));
  for (int y = 0; y < newHeight; ++y) {
    const auto sy = static_cast<std::size_t>((2LL * y + 1) * height / (2LL * newHeight));
    for (int x = 0; x < newWidth; ++x) {
      const auto sx = static_cast<std::size_t>((2LL * x + 1) * width / (2LL * newWidth));
      out[static_cast<std::size_t>(y) * static_cast<std::size_t>(newWidth) + static_cast<std::size_t>(x)] =
          pixels[sy * static_cast<std::size_t>(width) + sx];
    }
  }
  return out;
}

}  // namespace lq
