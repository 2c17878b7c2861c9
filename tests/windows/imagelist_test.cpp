#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/imagelist.h"
#include "res/artwork.h"

namespace lq::win {
namespace {

constexpr COLORREF kGrounds[] = {RGB(236, 236, 255), RGB(255, 68, 0), RGB(0, 120, 215)};

// A 32-bit memory surface filled with one colour, to draw on and read back exactly.
class Surface {
 public:
  Surface(int w, int h, COLORREF ground) : w_(w), h_(h), dc_(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    bmp_.Reset(::CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
    old_ = ::SelectObject(dc_, bmp_.Get());
    for (int i = 0; i < w * h; ++i) bits_[i] = Rgb(ground);
  }
  ~Surface() {
    ::SelectObject(dc_, old_);
    ::DeleteDC(dc_);
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  HDC Dc() const { return dc_; }
  // 0xRRGGBB; the byte GDI leaves in the fourth place is not part of the picture.
  std::uint32_t At(int x, int y) const {
    ::GdiFlush();
    return bits_[y * w_ + x] & 0xFFFFFF;
  }
  static std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

 private:
  int w_, h_;
  HDC dc_;
  Bitmap bmp_;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

// Every pixel of `art` drawn at (0, 0) on `ground`: transparent ones must leave the ground,
// opaque ones must show their own colour, and partly covered ones something in between.
void ExpectDrawnAs(const Surface& s, const Art& art, COLORREF ground, const std::string& how) {
  const std::vector<Argb> pixels = DecodeArt(art);
  int wrong = 0;
  for (int y = 0; y < art.Height(); ++y) {
    for (int x = 0; x < art.Width(); ++x) {
      const Argb p = pixels[y * art.Width() + x];
      const std::uint32_t got = s.At(x, y);
      const unsigned alpha = p >> 24;
      bool ok = true;
      if (alpha == 0) {
        ok = got == Surface::Rgb(ground);
      } else if (alpha == 255) {
        ok = got == (p & 0xFFFFFF);
      } else {
        for (int shift : {0, 8, 16}) {
          const unsigned src = (p >> shift) & 0xFF;
          const unsigned dst = (Surface::Rgb(ground) >> shift) & 0xFF;
          const int want = static_cast<int>((src * alpha + dst * (255 - alpha)) / 255);
          ok = ok && std::abs(static_cast<int>((got >> shift) & 0xFF) - want) <= 3;
        }
      }
      if (!ok && ++wrong <= 3) {
        ADD_FAILURE() << art.name << " " << how << " at (" << x << "," << y << "): got " << std::hex << got
                      << ", art " << p << ", ground " << Surface::Rgb(ground);
      }
    }
  }
  EXPECT_EQ(wrong, 0) << art.name << " " << how;
}

TEST(ImageList, HoldsEveryImageInOrder) {
  ImageList list(CreateMainImageList());
  ASSERT_TRUE(list);
  EXPECT_EQ(ImageList_GetImageCount(list.Get()), kImageCount);
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(list.Get(), &cx, &cy));
  EXPECT_EQ(cx, kImageSize);
  EXPECT_EQ(cy, kImageSize);
}

TEST(ImageList, DrawsTransparentlyOnEveryRowColour) {
  ImageList list(CreateMainImageList());
  ASSERT_TRUE(list);
  for (COLORREF ground : kGrounds) {
    for (int i = 0; i < kImageCount; ++i) {
      for (UINT style : {ILD_TRANSPARENT, ILD_NORMAL}) {
        Surface s(kImageSize, kImageSize, ground);
        ASSERT_TRUE(ImageList_Draw(list.Get(), i, s.Dc(), 0, 0, style));
        ExpectDrawnAs(s, ImageListArt(i), ground, style == ILD_NORMAL ? "ILD_NORMAL" : "ILD_TRANSPARENT");
      }
    }
  }
}

// Without common controls 6 the list ignores alpha and draws through the mask alone. The mask
// is put down with SRCAND, so a white ground shows it as it is.
TEST(ImageList, MaskCoversExactlyTheOpaquePixels) {
  ImageList list(CreateMainImageList());
  ASSERT_TRUE(list);
  for (int i = 0; i < kImageCount; ++i) {
    Surface s(kImageSize, kImageSize, RGB(255, 255, 255));
    ASSERT_TRUE(ImageList_Draw(list.Get(), i, s.Dc(), 0, 0, ILD_MASK));
    const std::vector<Argb> pixels = DecodeArt(ImageListArt(i));
    int wrong = 0;
    for (int p = 0; p < kImageSize * kImageSize; ++p) {
      const std::uint32_t want = IsMaskedOut(pixels[p]) ? 0xFFFFFF : 0x000000;
      wrong += s.At(p % kImageSize, p / kImageSize) != want;
    }
    EXPECT_EQ(wrong, 0) << ImageListArt(i).name;
  }
}

void ExpectIconDrawsItsArt(HICON icon, int size, const std::string& source) {
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info)) << source;
  Bitmap mask(info.hbmMask);
  Bitmap color(info.hbmColor);
  BITMAP bm{};
  ASSERT_TRUE(color && GetObject(color.Get(), sizeof bm, &bm)) << source;
  EXPECT_EQ(bm.bmWidth, size) << source;
  EXPECT_EQ(bm.bmHeight, size) << source;
  for (COLORREF ground : kGrounds) {
    Surface s(size, size, ground);
    ASSERT_TRUE(DrawIconEx(s.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL)) << source;
    ExpectDrawnAs(s, ProgramIconArt(size), ground, source);
  }
}

TEST(ProgramIcon, IsMadeAtEachDrawnSizeOnly) {
  for (int size : kProgramIconSizes) {
    Icon icon(CreateProgramIcon(size));
    ASSERT_TRUE(icon) << size;
    ExpectIconDrawsItsArt(icon.Get(), size, "CreateProgramIcon(" + std::to_string(size) + ")");
  }
  EXPECT_EQ(CreateProgramIcon(24), nullptr);
  EXPECT_EQ(CreateProgramIcon(0), nullptr);
}

// The .ico the build wrote for the resource compiler, read by Windows' own icon loader.
TEST(ProgramIcon, BuiltIcoFileLoadsEverySize) {
  wchar_t exe[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
  std::wstring path(exe);
  path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"Lindqvale.ico";
  for (int size : kProgramIconSizes) {
    Icon icon(static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE)));
    ASSERT_TRUE(icon) << "Lindqvale.ico beside the test program, size " << size;
    ExpectIconDrawsItsArt(icon.Get(), size, "Lindqvale.ico " + std::to_string(size));
  }
}

}  // namespace
}  // namespace lq::win
