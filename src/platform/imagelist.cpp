#include "platform/imagelist.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "res/artwork.h"

namespace lq::win {
namespace {

// A top-down 32-bit DIB section holding the pixels as decoded: its B, G, R, A bytes are the
// little-endian words of DecodeArt, and transparent pixels are already black, which the
// mask-only drawing path needs.
Bitmap MakeColorBitmap(const std::vector<Argb>& pixels, int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap bmp(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bmp && bits) std::memcpy(bits, pixels.data(), pixels.size() * sizeof(Argb));
  return bmp;
}

// A monochrome mask, set bits transparent. CreateBitmap wants each row padded to 16 bits.
Bitmap MakeMaskBitmap(const std::vector<Argb>& pixels, int width, int height) {
  const int stride = (width + 15) / 16 * 2;
  std::vector<BYTE> bits(static_cast<std::size_t>(stride) * height, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (IsMaskedOut(pixels[static_cast<std::size_t>(y) * width + x])) {
        bits[static_cast<std::size_t>(y) * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
      }
    }
  }
  return Bitmap(::CreateBitmap(width, height, 1, 1, bits.data()));
}

}  // namespace

namespace {

std::vector<Argb> ImagePixels(int index, int size) {
  const Art art = ImageListArt(index);
  std::vector<Argb> pixels = DecodeArt(art);
  if (size == art.Width() && size == art.Height()) return pixels;
  return ResizeNearest(pixels, art.Width(), art.Height(), size, size);
}

}  // namespace

HIMAGELIST CreateMainImageList(int size) {
  if (size <= 0) size = kImageSize;
  ImageList list(::ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, kImageCount, 0));
  if (!list) return nullptr;
  // One strip of all the images side by side, added at once: two bitmaps and one copy instead
  // of two and one for each image, at start-up.
  const int width = size * kImageCount;
  std::vector<Argb> strip(static_cast<std::size_t>(width) * size);
  for (int i = 0; i < kImageCount; ++i) {
    const std::vector<Argb> pixels = ImagePixels(i, size);
    for (int y = 0; y < size; ++y) {
      std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(y) * size, size,
                  strip.begin() + static_cast<std::ptrdiff_t>(y) * width + static_cast<std::ptrdiff_t>(i) * size);
    }
  }
  const Bitmap color = MakeColorBitmap(strip, width, size);
  const Bitmap mask = MakeMaskBitmap(strip, width, size);
  // The list copies both bitmaps; a gap would shift every later index the menus use.
  if (!color || !mask || ::ImageList_Add(list.Get(), color.Get(), mask.Get()) != 0 ||
      ::ImageList_GetImageCount(list.Get()) != kImageCount) {
    return nullptr;
  }
  return list.Release();
}

HBITMAP CreateMenuBitmap(int index, int size) {
  if (index < 0 || index >= kImageCount) return nullptr;
  if (size <= 0) size = kImageSize;
  std::vector<Argb> pixels = ImagePixels(index, size);
  // Menus blend 32-bit bitmaps with premultiplied alpha.
  for (Argb& p : pixels) {
    const unsigned a = p >> 24;
    const unsigned r = ((p >> 16) & 0xFF) * a / 255;
    const unsigned g = ((p >> 8) & 0xFF) * a / 255;
    const unsigned b = (p & 0xFF) * a / 255;
    p = (a << 24) | (r << 16) | (g << 8) | b;
  }
  return MakeColorBitmap(pixels, size, size).Release();
}

HICON CreateProgramIcon(int size) {
  if (std::find(std::begin(kProgramIconSizes), std::end(kProgramIconSizes), size) == std::end(kProgramIconSizes)) {
    return nullptr;
  }
  const Art art = ProgramIconArt(size);
  const std::vector<Argb> pixels = DecodeArt(art);
  const Bitmap color = MakeColorBitmap(pixels, art.Width(), art.Height());
  const Bitmap mask = MakeMaskBitmap(pixels, art.Width(), art.Height());
  if (!color || !mask) return nullptr;
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask.Get();
  info.hbmColor = color.Get();
  return ::CreateIconIndirect(&info);  // copies the bitmaps
}

}  // namespace lq::win
