// Renders every picture of the artwork into one PNG for review: the image list enlarged eight
// times, then at three times and at real size on each row colour the icons meet, then the
// program icon at each size on light, dark and checked ground.
//   lq_art_preview preview.png

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "res/artwork.h"

namespace {

struct Rgb {
  std::uint8_t r, g, b;
};

class Canvas {
 public:
  Canvas(int w, int h, Rgb fill) : w_(w), h_(h), px_(static_cast<std::size_t>(w) * h, fill) {}
  int Width() const { return w_; }
  int Height() const { return h_; }
  const std::vector<Rgb>& Pixels() const { return px_; }

  void Fill(int x0, int y0, int w, int h, Rgb c) {
    for (int y = y0; y < y0 + h; ++y) {
      for (int x = x0; x < x0 + w; ++x) Put(x, y, c);
    }
  }
  void Checker(int x0, int y0, int w, int h) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        Put(x0 + x, y0 + y, ((x / 8 + y / 8) % 2) ? Rgb{204, 204, 204} : Rgb{255, 255, 255});
      }
    }
  }
  // Straight-alpha "over", the way the image list and the icon are drawn.
  void Draw(const lq::Art& art, int x0, int y0, int scale) {
    const std::vector<lq::Argb> pixels = lq::DecodeArt(art);
    for (int y = 0; y < art.Height(); ++y) {
      for (int x = 0; x < art.Width(); ++x) {
        const lq::Argb p = pixels[static_cast<std::size_t>(y) * art.Width() + x];
        const unsigned a = p >> 24;
        for (int dy = 0; dy < scale; ++dy) {
          for (int dx = 0; dx < scale; ++dx) {
            const int px = x0 + x * scale + dx;
            const int py = y0 + y * scale + dy;
            if (px < 0 || py < 0 || px >= w_ || py >= h_) continue;
            Rgb& d = px_[static_cast<std::size_t>(py) * w_ + px];
            auto mix = [a](unsigned src, unsigned dst) {
              return static_cast<std::uint8_t>((src * a + dst * (255 - a) + 127) / 255);
            };
            d = {mix((p >> 16) & 0xFF, d.r), mix((p >> 8) & 0xFF, d.g), mix(p & 0xFF, d.b)};
          }
        }
      }
    }
  }

 private:
  void Put(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[static_cast<std::size_t>(y) * w_ + x] = c;
  }
  int w_, h_;
  std::vector<Rgb> px_;
};

// PNG with stored (uncompressed) deflate blocks: a few lines, and no library to find.
class PngWriter {
 public:
  static bool Write(const Canvas& c, const std::string& path) {
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < c.Height(); ++y) {
      raw.push_back(0);  // no filter
      for (int x = 0; x < c.Width(); ++x) {
        const Rgb& p = c.Pixels()[static_cast<std::size_t>(y) * c.Width() + x];
        raw.insert(raw.end(), {p.r, p.g, p.b});
      }
    }
    std::vector<std::uint8_t> z = {0x78, 0x01};
    for (std::size_t at = 0; at < raw.size();) {
      const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
      z.push_back(at + n == raw.size() ? 1 : 0);
      z.insert(z.end(), {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                         static_cast<std::uint8_t>(~n), static_cast<std::uint8_t>(~n >> 8)});
      const auto from = raw.begin() + static_cast<std::ptrdiff_t>(at);
      z.insert(z.end(), from, from + static_cast<std::ptrdiff_t>(n));
      at += n;
    }
    Be32(z, Adler32(raw));

    std::vector<std::uint8_t> ihdr;
    Be32(ihdr, static_cast<std::uint32_t>(c.Width()));
    Be32(ihdr, static_cast<std::uint32_t>(c.Height()));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB

    std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Chunk(file, "IHDR", ihdr);
    Chunk(file, "IDAT", z);
    Chunk(file, "IEND", {});
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
  }

 private:
  static void Be32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.insert(out.end(), {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                           static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
  }
  static std::uint32_t Adler32(const std::vector<std::uint8_t>& d) {
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : d) {
      a = (a + v) % 65521;
      b = (b + a) % 65521;
    }
    return (b << 16) | a;
  }
  static std::uint32_t Crc32(const std::vector<std::uint8_t>& d) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::uint8_t v : d) {
      crc ^= v;
      for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
  }
  static void Chunk(std::vector<std::uint8_t>& file, const char* type, const std::vector<std::uint8_t>& data) {
    Be32(file, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    file.insert(file.end(), body.begin(), body.end());
    Be32(file, Crc32(body));
  }
};

// The colours the images are drawn on: the grid's rows, a menu, and the selection.
constexpr std::array<Rgb, 7> kGrounds = {{
    {236, 236, 255},  // pale blue rows
    {255, 68, 0},     // overdue rows
    {255, 200, 150},  // light orange
    {255, 255, 200},  // light yellow
    {255, 255, 255},  // menu
    {0, 120, 215},    // selection
    {10, 36, 106},    // selection, classic scheme
}};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: lq_art_preview out.png\n");
    return 2;
  }
  constexpr int kMargin = 8;
  constexpr int kBigCell = lq::kImageSize * 8 + 16;
  constexpr int kPerRow = 10;
  constexpr int kMidCell = lq::kImageSize * 3 + 8;
  constexpr int kSmallCell = lq::kImageSize + 6;
  const int bigRows = (lq::kImageCount + kPerRow - 1) / kPerRow;
  const int width = kMargin * 2 + std::max(kPerRow * kBigCell, lq::kImageCount * (kMidCell + kSmallCell) + 16);
  const int iconBand = 48 * 4 + 16;
  const int height = kMargin * 4 + bigRows * kBigCell + static_cast<int>(kGrounds.size()) * kMidCell + iconBand;
  Canvas c(width, height, {96, 96, 96});

  int y = kMargin;
  for (int i = 0; i < lq::kImageCount; ++i) {
    const int x = kMargin + (i % kPerRow) * kBigCell;
    const int cy = y + (i / kPerRow) * kBigCell;
    c.Fill(x, cy, kBigCell - 8, kBigCell - 8, kGrounds[0]);
    c.Draw(lq::ImageListArt(i), x + 4, cy + 4, 8);
  }
  y += bigRows * kBigCell + kMargin;

  for (const Rgb& ground : kGrounds) {
    c.Fill(kMargin, y, width - 2 * kMargin, kMidCell, ground);
    for (int i = 0; i < lq::kImageCount; ++i) {
      c.Draw(lq::ImageListArt(i), kMargin + 4 + i * kMidCell, y + 4, 3);
      c.Draw(lq::ImageListArt(i), kMargin + 16 + lq::kImageCount * kMidCell + i * kSmallCell, y + 4, 1);
    }
    y += kMidCell;
  }
  y += kMargin;

  int x = kMargin;
  for (Rgb ground : {Rgb{255, 255, 255}, Rgb{32, 32, 32}, Rgb{0, 120, 215}}) {
    c.Fill(x, y, 16 + 32 + 48 + 32, iconBand, ground);
    int ix = x + 8;
    for (int size : lq::kProgramIconSizes) {
      c.Draw(lq::ProgramIconArt(size), ix, y + 8, 1);
      ix += size + 8;
    }
    x += 16 + 32 + 48 + 40;
  }
  for (int size : lq::kProgramIconSizes) {
    c.Checker(x, y, size * 4, size * 4);
    c.Draw(lq::ProgramIconArt(size), x, y, 4);
    x += size * 4 + 8;
  }

  if (!PngWriter::Write(c, argv[1])) {
    std::fprintf(stderr, "lq_art_preview: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
