#include "res/icofile.h"

#include <stdexcept>

namespace lq {
namespace {

// Everything in the file is little-endian, whatever machine writes it.
void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

constexpr std::uint32_t kDirHeaderSize = 6;
constexpr std::uint32_t kDirEntrySize = 16;
constexpr std::uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER

std::uint32_t MaskRowBytes(int width) { return static_cast<std::uint32_t>((width + 31) / 32 * 4); }

std::uint32_t ImageBytes(const IcoImage& im) {
  const auto w = static_cast<std::uint32_t>(im.width);
  const auto h = static_cast<std::uint32_t>(im.height);
  return kInfoHeaderSize + w * h * 4 + MaskRowBytes(im.width) * h;
}

void PutImage(std::vector<std::uint8_t>& out, const IcoImage& im) {
  const auto w = static_cast<std::uint32_t>(im.width);
  const auto h = static_cast<std::uint32_t>(im.height);
  Put32(out, kInfoHeaderSize);
  Put32(out, w);
  Put32(out, h * 2);  // an icon bitmap counts the colour rows and the mask rows together
  Put16(out, 1);      // planes
  Put16(out, 32);     // bits per pixel
  Put32(out, 0);      // BI_RGB
  Put32(out, ImageBytes(im) - kInfoHeaderSize);
  for (int i = 0; i < 4; ++i) Put32(out, 0);  // resolution and colour-table counts
  // Both the colour rows and the mask rows run from the bottom up.
  for (int y = im.height - 1; y >= 0; --y) {
    for (int x = 0; x < im.width; ++x) Put32(out, im.pixels[static_cast<std::size_t>(y) * w + x]);
  }
  for (int y = im.height - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(MaskRowBytes(im.width), 0);
    for (int x = 0; x < im.width; ++x) {
      if (IsMaskedOut(im.pixels[static_cast<std::size_t>(y) * w + x])) {
        row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
}

}  // namespace

std::vector<std::uint8_t> BuildIcoFile(std::span<const IcoImage> images) {
  if (images.empty() || images.size() > 0xFFFF) throw std::invalid_argument("an icon file needs 1 to 65535 images");
  for (const IcoImage& im : images) {
    if (im.width < 1 || im.width > 256 || im.height < 1 || im.height > 256) {
      throw std::invalid_argument("icon sizes run from 1 to 256");
    }
    if (im.pixels.size() != static_cast<std::size_t>(im.width) * static_cast<std::size_t>(im.height)) {
      throw std::invalid_argument("icon pixel count does not match its size");
    }
  }

  std::vector<std::uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // 1 = icon, 2 = cursor
  Put16(out, static_cast<std::uint32_t>(images.size()));
  std::uint32_t offset = kDirHeaderSize + kDirEntrySize * static_cast<std::uint32_t>(images.size());
  for (const IcoImage& im : images) {
    out.push_back(static_cast<std::uint8_t>(im.width & 0xFF));  // 256 is written as 0
    out.push_back(static_cast<std::uint8_t>(im.height & 0xFF));
    out.push_back(0);  // no palette
    out.push_back(0);  // reserved
    Put16(out, 1);     // planes
    Put16(out, 32);    // bits per pixel
    Put32(out, ImageBytes(im));
    Put32(out, offset);
    offset += ImageBytes(im);
  }
  for (const IcoImage& im : images) PutImage(out, im);
  return out;
}

namespace {

template <typename SizedArt>
std::vector<std::uint8_t> BuildIcoOf(std::span<const int> sizes, SizedArt artOfSize) {
  std::vector<IcoImage> images;
  for (int size : sizes) {
    const Art art = artOfSize(size);
    images.push_back({art.Width(), art.Height(), DecodeArt(art)});
  }
  return BuildIcoFile(images);
}

}  // namespace

std::vector<std::uint8_t> BuildProgramIcoFile() { return BuildIcoOf(kProgramIconSizes, ProgramIconArt); }

std::vector<std::uint8_t> BuildAlarmIcoFile() { return BuildIcoOf(kAlarmIconSizes, AlarmIconArt); }

}  // namespace lq
