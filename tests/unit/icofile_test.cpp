#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "res/icofile.h"

namespace lq {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Le16(const Bytes& b, std::size_t at) { return b.at(at) | (b.at(at + 1) << 8); }
std::uint32_t Le32(const Bytes& b, std::size_t at) { return Le16(b, at) | (Le16(b, at + 2) << 16); }

struct Entry {
  int width, height, planes, bits;
  std::uint32_t bytes, offset;
};

// Reads the directory the way Windows does, failing the test on a malformed header.
std::vector<Entry> Directory(const Bytes& file) {
  EXPECT_EQ(Le16(file, 0), 0u) << "reserved";
  EXPECT_EQ(Le16(file, 2), 1u) << "type: icon";
  std::vector<Entry> out;
  for (std::uint32_t i = 0; i < Le16(file, 4); ++i) {
    const std::size_t e = 6 + 16 * i;
    out.push_back({file.at(e) ? file.at(e) : 256, file.at(e + 1) ? file.at(e + 1) : 256,
                   static_cast<int>(Le16(file, e + 4)), static_cast<int>(Le16(file, e + 6)), Le32(file, e + 8),
                   Le32(file, e + 12)});
  }
  return out;
}

TEST(IcoFile, ProgramIconDirectoryDescribesEachImage) {
  const Bytes file = BuildProgramIcoFile();
  const std::vector<Entry> dir = Directory(file);
  ASSERT_EQ(dir.size(), std::size(kProgramIconSizes));
  std::uint32_t expectedOffset = 6 + 16 * static_cast<std::uint32_t>(dir.size());
  for (std::size_t i = 0; i < dir.size(); ++i) {
    const Entry& e = dir[i];
    const int size = kProgramIconSizes[i];
    SCOPED_TRACE(size);
    EXPECT_EQ(e.width, size);
    EXPECT_EQ(e.height, size);
    EXPECT_EQ(e.planes, 1);
    EXPECT_EQ(e.bits, 32);
    const std::uint32_t maskRow = (size + 31) / 32 * 4;
    EXPECT_EQ(e.bytes, 40 + size * size * 4 + maskRow * size);
    // Images follow the directory back to back and stay inside the file.
    EXPECT_EQ(e.offset, expectedOffset);
    ASSERT_LE(e.offset + e.bytes, file.size());
    expectedOffset += e.bytes;

    EXPECT_EQ(Le32(file, e.offset), 40u);                 // BITMAPINFOHEADER
    EXPECT_EQ(Le32(file, e.offset + 4), std::uint32_t(size));
    EXPECT_EQ(Le32(file, e.offset + 8), std::uint32_t(size * 2));  // colour rows + mask rows
    EXPECT_EQ(Le16(file, e.offset + 12), 1u);
    EXPECT_EQ(Le16(file, e.offset + 14), 32u);
    EXPECT_EQ(Le32(file, e.offset + 16), 0u);             // BI_RGB
  }
  EXPECT_EQ(expectedOffset, file.size());
}

// Rows run from the bottom up, pixels are B, G, R, A, and mask rows pad to four bytes with
// set bits where the pixel is less than half covered.
TEST(IcoFile, PixelsAndMaskAreStoredBottomUp) {
  const std::vector<Argb> pixels = {
      0xFF112233, 0x00000000, 0x80445566,  // top row
      0x7F778899, 0xFFAABBCC, 0x00000000,  // bottom row
  };
  const Bytes file = BuildIcoFile(std::vector<IcoImage>{{3, 2, pixels}});
  const std::size_t bits = 6 + 16 + 40;
  ASSERT_EQ(file.size(), bits + 3 * 2 * 4 + 4 * 2);
  const Bytes bottomLeft(file.begin() + bits, file.begin() + bits + 4);
  EXPECT_EQ(bottomLeft, (Bytes{0x99, 0x88, 0x77, 0x7F}));
  EXPECT_EQ(Le32(file, bits + 12), 0xFF112233u);  // first pixel of the second stored row: top left
  const std::size_t mask = bits + 3 * 2 * 4;
  EXPECT_EQ(file[mask], 0b1010'0000) << "bottom row: 0x7F alpha and clear are masked out";
  EXPECT_EQ(file[mask + 4], 0b0100'0000) << "top row: only the clear pixel";
  EXPECT_EQ(file[mask + 1] | file[mask + 2] | file[mask + 3], 0) << "padding";
}

TEST(IcoFile, LargestSizeIsWrittenAsZero) {
  const Bytes file = BuildIcoFile(std::vector<IcoImage>{{256, 1, std::vector<Argb>(256, 0xFF000000)}});
  EXPECT_EQ(file[6], 0);
  EXPECT_EQ(file[7], 1);
  EXPECT_EQ(Le32(file, 6 + 16 + 4), 256u);
}

TEST(IcoFile, RefusesImagesWindowsWouldReject) {
  EXPECT_THROW(BuildIcoFile({}), std::invalid_argument);
  EXPECT_THROW(BuildIcoFile(std::vector<IcoImage>{{0, 0, {}}}), std::invalid_argument);
  EXPECT_THROW(BuildIcoFile(std::vector<IcoImage>{{257, 1, std::vector<Argb>(257)}}), std::invalid_argument);
  EXPECT_THROW(BuildIcoFile(std::vector<IcoImage>{{2, 2, std::vector<Argb>(3)}}), std::invalid_argument);
}

}  // namespace
}  // namespace lq
